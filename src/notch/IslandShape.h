#pragma once

#include <QPainterPath>
#include <QRectF>

// The island's outline in `rect`: a straight top edge, concave ears of size
// `ear` flaring the body into the screen's top edge, and bottom corners of
// `radius`, limited to half the height and half the body's width (so a short
// island gets half-circle corners). The body is 2 × ear narrower than rect.
QPainterPath islandPath(const QRectF &rect, qreal radius, qreal ear);
