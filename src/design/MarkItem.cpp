#include "design/MarkItem.h"

#include "design/KorvantaMark.h"

MarkItem::MarkItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void MarkItem::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    Q_EMIT colorChanged();
}

void MarkItem::paint(QPainter *painter)
{
    KorvantaMark::paint(*painter, QRectF(QPointF(), size()), m_color);
}
