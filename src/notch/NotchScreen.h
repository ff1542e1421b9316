#pragma once

#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>

class QScreen;

// Where the island goes. Linux has no camera notch, so a notch is always
// drawn: 185 wide and as high as the top panel of that screen, at least 24.
namespace NotchScreen {
// The laptop's own panel: an eDP, LVDS or DSI output.
bool isBuiltIn(const QString &outputName);
// The built-in screen when `onBuiltIn` and there is one; otherwise the
// primary screen (the one with the main panel), else the first; null if none.
QScreen *choose(const QList<QScreen *> &screens, QScreen *primary, bool onBuiltIn);
// The drawn notch for a screen with this full and available geometry.
QSizeF drawnNotch(const QRect &geometry, const QRect &available);
// "eDP-1: drawn notch 185×32" (sizes truncated to whole pixels).
QString description(const QString &screenName, QSizeF notch, bool hardware);
// The panel's frame: 900 × 500, centred under the top edge of `geometry`.
QRect panelFrame(const QRect &geometry);
}
