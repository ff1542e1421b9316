#include "notch/IslandShapeItem.h"

#include "notch/IslandShape.h"

#include <QPainter>

IslandShapeItem::IslandShapeItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

template <typename T>
void IslandShapeItem::change(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    update();
    Q_EMIT shapeChanged();
}

void IslandShapeItem::setRadius(qreal radius)
{
    change(m_radius, radius);
}

void IslandShapeItem::setEar(qreal ear)
{
    change(m_ear, ear);
}

void IslandShapeItem::setColor(const QColor &color)
{
    change(m_color, color);
}

void IslandShapeItem::paint(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(islandPath(QRectF(QPointF(), size()), m_radius, m_ear), m_color);
}
