#include "app/TrayArt.h"

#include "design/KorvantaMark.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

namespace {

// Panels follow the desktop's colour scheme: a light mark on a dark one.
QColor markColor()
{
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < 128 ? QColor(0xf4, 0xf2, 0xec)
                                                             : QColor(0x10, 0x10, 0x0e);
}

}

QIcon trayArt()
{
    QIcon icon;
    const QColor color = markColor();
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(menuBarImage(QSize(size, size), color)));
    return icon;
}
