#include "notch/IslandShape.h"

#include <algorithm>

QPainterPath islandPath(const QRectF &rect, qreal radius, qreal ear)
{
    const qreal r =
        std::max<qreal>(0, std::min({radius, rect.height() / 2, (rect.width() - 2 * ear) / 2}));
    const qreal top = rect.top();
    const qreal bottom = rect.bottom();
    const qreal left = rect.left() + ear;
    const qreal right = rect.right() - ear;

    QPainterPath path;
    path.moveTo(rect.left(), top);
    path.lineTo(rect.right(), top);
    path.quadTo(right, top, right, top + ear);
    path.lineTo(right, bottom - r);
    path.quadTo(right, bottom, right - r, bottom);
    path.lineTo(left + r, bottom);
    path.quadTo(left, bottom, left, bottom - r);
    path.lineTo(left, top + ear);
    path.quadTo(left, top, rect.left(), top);
    path.closeSubpath();
    return path;
}
