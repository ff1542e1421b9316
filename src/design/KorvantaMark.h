#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

class QPainter;

// Korvanta's own mark: one outline and one filled ellipse, in the units the
// outline was drawn in.
namespace KorvantaMark {
// The outline, parsed once.
const QPainterPath &outline();
// The whole mark (outline and ellipse) as one path.
const QPainterPath &shape();
// Fills the mark in `color`, scaled uniformly to fit `target` and centred.
void paint(QPainter &painter, const QRectF &target, const QColor &color);
}

// The tray icon: the mark inset from every edge of an image of `size`, in
// `color` on transparency (the tray host decides light or dark).
QImage menuBarImage(const QSize &size, const QColor &color);
