#include "app/TrayArt.h"

#include <QGuiApplication>
#include <QPainter>
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

// SEAM: the mark itself comes from the design library's menuBarImage() once
// it lands; until then a plain disc stands in its place.
QPixmap drawn(int size, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0, 0, size, size).adjusted(1.5, 1.5, -1.5, -1.5));
    return pixmap;
}

}

QIcon trayArt()
{
    QIcon icon;
    const QColor color = markColor();
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(drawn(size, color));
    return icon;
}
