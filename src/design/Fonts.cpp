#include "design/Fonts.h"

#include <QDirIterator>
#include <QFontDatabase>

void Fonts::registerAll()
{
    QDirIterator files(QStringLiteral(":/fonts"), {QStringLiteral("*.ttf")}, QDir::Files);
    while (files.hasNext())
        QFontDatabase::addApplicationFont(files.next());
}
