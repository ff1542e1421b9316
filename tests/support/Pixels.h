#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdlib>

// How many pixels of `image` inside `rect` are within `tolerance` of `colour`
// in every channel. See-through pixels never count, whatever their colour.
inline int pixelsNear(const QImage &image, const QRect &rect, const QColor &colour,
                      int tolerance = 40)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.alpha() > 200 && std::abs(c.red() - colour.red()) <= tolerance
                && std::abs(c.green() - colour.green()) <= tolerance
                && std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    return n;
}
