#pragma once

#include <QString>

// The one call the ribs page takes, with the complete state:
// KV.set({<extra>,color:'#rrggbb',reach:0.55,vreach:0.88,visible:true}).
// `extra` is in the page's own object-literal syntax and may be empty.
QString ribsScript(const QString &color, double reach, double vreach, bool visible,
                   const QString &extra);

// A number in its shortest exact decimal form, always with a point: 0.55, 1.0.
QString ribsNumber(double value);
