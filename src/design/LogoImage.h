#pragma once

#include "design/LogoCache.h"

#include <QColor>
#include <QPointer>
#include <QQuickPaintedItem>

// A platform logo file from the cache, drawn in one colour (its shapes
// filled with `color`), aspect ratio kept, centred. `loaded` is false when
// the file is missing, so the view can show something else instead.
class LogoImage : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(LogoCache *cache READ cache WRITE setCache NOTIFY sourceChanged)
    Q_PROPERTY(QString file READ file WRITE setFile NOTIFY sourceChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(bool loaded READ loaded NOTIFY sourceChanged)

public:
    explicit LogoImage(QQuickItem *parent = nullptr);

    LogoCache *cache() const { return m_cache; }
    void setCache(LogoCache *cache);
    QString file() const { return m_file; }
    void setFile(const QString &file);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool loaded() const { return renderer() != nullptr; }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void sourceChanged();
    void colorChanged();

private:
    QSvgRenderer *renderer() const { return m_cache ? m_cache->logo(m_file) : nullptr; }

    QPointer<LogoCache> m_cache;
    QString m_file;
    QColor m_color = Qt::white;
};
