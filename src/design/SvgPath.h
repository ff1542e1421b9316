#pragma once

#include <QPainterPath>
#include <QString>

// Reads the small subset of SVG path data the mark is written in: the
// absolute commands M, L, C, Q and Z, numbers separated by spaces, commas or
// a minus sign. Other letters end the current command; their numbers are
// skipped. An incomplete group of numbers at the end is ignored.
QPainterPath parseSVGPath(const QString &d);
