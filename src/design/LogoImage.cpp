#include "design/LogoImage.h"

#include <QPainter>
#include <QQuickWindow>

LogoImage::LogoImage(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void LogoImage::setCache(LogoCache *cache)
{
    if (m_cache == cache)
        return;
    m_cache = cache;
    update();
    Q_EMIT sourceChanged();
}

void LogoImage::setFile(const QString &file)
{
    if (m_file == file)
        return;
    m_file = file;
    update();
    Q_EMIT sourceChanged();
}

void LogoImage::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    Q_EMIT colorChanged();
}

void LogoImage::paint(QPainter *painter)
{
    QSvgRenderer *svg = renderer();
    const QSizeF box = size();
    if (!svg || box.isEmpty())
        return;
    const QSizeF fitted = QSizeF(svg->defaultSize()).scaled(box, Qt::KeepAspectRatio);
    const QRectF target(
        QPointF((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2), fitted);
    // Draw the shapes into a layer, then keep only their coverage, in `color`.
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QImage layer((box * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    svg->render(&p, target);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRectF(QPointF(), box), m_color);
    p.end();
    painter->drawImage(QPointF(), layer);
}
