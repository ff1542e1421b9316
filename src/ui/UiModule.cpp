#include "ui/UiModule.h"

#include <QQmlEngine>

extern void qml_register_types_Korvanta_Ui();

namespace UiModule {

void prepare(QQmlEngine &engine)
{
    static const bool registered = [] {
        qml_register_types_Korvanta_Ui();
        return true;
    }();
    Q_UNUSED(registered);
    const QString root = QStringLiteral("qrc:/qt/qml");
    if (!engine.importPathList().contains(root))
        engine.addImportPath(root);
}

QUrl url(const QString &view)
{
    return QUrl(QStringLiteral("qrc:/qt/qml/Korvanta/Ui/") + view + QStringLiteral(".qml"));
}

}
