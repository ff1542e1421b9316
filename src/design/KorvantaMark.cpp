#include "design/KorvantaMark.h"

#include "design/SvgPath.h"

#include <QPainter>

namespace {

const char *const outlineData =
    "M551 296C551 255 585 222 626 222C668 222 702 254 703 296C806 331 867 413 868 525L868 579Q868 "
    "589 858 586L505 497C480 490 457 496 440 511C410 538 425 570 467 583L806 670C842 680 865 698 "
    "879 729C900 774 919 813 928 841C943 885 916 902 837 902L303 902C287 902 281 890 287 876C314 "
    "824 354 779 399 778L720 775L473 705C400 685 365 649 365 588C361 443 423 345 551 296Z";

// The clapper under the bell's rim.
const QRectF ellipse(548, 918, 110, 72);

// The tray icon's margins, as fractions of its width and height.
constexpr double menuBarInsetX = 1.5 / 18;
constexpr double menuBarInsetY = 0.5 / 18;

} // namespace

const QPainterPath &KorvantaMark::outline()
{
    static const QPainterPath path = parseSVGPath(QString::fromLatin1(outlineData));
    return path;
}

const QPainterPath &KorvantaMark::shape()
{
    static const QPainterPath path = [] {
        QPainterPath p = outline();
        p.addEllipse(ellipse);
        p.setFillRule(Qt::WindingFill);
        return p;
    }();
    return path;
}

void KorvantaMark::paint(QPainter &painter, const QRectF &target, const QColor &color)
{
    const QRectF bounds = shape().boundingRect();
    if (bounds.isEmpty() || target.isEmpty())
        return;
    const double scale =
        std::min(target.width() / bounds.width(), target.height() / bounds.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-bounds.center());
    painter.fillPath(shape(), color);
    painter.restore();
}

QImage menuBarImage(const QSize &size, const QColor &color)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const double dx = size.width() * menuBarInsetX;
    const double dy = size.height() * menuBarInsetY;
    KorvantaMark::paint(painter, QRectF(QPointF(0, 0), size).adjusted(dx, dy, -dx, -dy), color);
    return image;
}
