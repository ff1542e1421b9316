#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The island's filled outline (islandPath) over the whole item.
class IslandShapeItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(IslandShape)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY shapeChanged)
    Q_PROPERTY(qreal ear READ ear WRITE setEar NOTIFY shapeChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY shapeChanged)

public:
    explicit IslandShapeItem(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal ear() const { return m_ear; }
    void setEar(qreal ear);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    void paint(QPainter *painter) override;

Q_SIGNALS:
    void shapeChanged();

private:
    template <typename T>
    void change(T &field, const T &value);

    qreal m_radius = 10;
    qreal m_ear = 7;
    QColor m_color = Qt::black;
};
