#include "notch/NotchScreen.h"

#include <QScreen>
#include <algorithm>

namespace {
constexpr qreal drawnWidth = 185;
constexpr qreal minimumHeight = 24;
constexpr int panelWidth = 900;
constexpr int panelHeight = 500;
}

bool NotchScreen::isBuiltIn(const QString &outputName)
{
    for (const char *prefix : {"eDP", "LVDS", "DSI"})
        if (outputName.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return true;
    return false;
}

QScreen *NotchScreen::choose(const QList<QScreen *> &screens, QScreen *primary, bool onBuiltIn)
{
    if (onBuiltIn) {
        const auto builtIn = std::find_if(screens.begin(), screens.end(),
                                          [](QScreen *s) { return isBuiltIn(s->name()); });
        if (builtIn != screens.end())
            return *builtIn;
    }
    if (primary)
        return primary;
    return screens.isEmpty() ? nullptr : screens.first();
}

QSizeF NotchScreen::drawnNotch(const QRect &geometry, const QRect &available)
{
    const qreal panel = available.top() - geometry.top();
    return {drawnWidth, std::max(minimumHeight, panel)};
}

QString NotchScreen::description(const QString &screenName, QSizeF notch, bool hardware)
{
    return screenName + (hardware ? QStringLiteral(": notch ") : QStringLiteral(": drawn notch "))
        + QString::number(int(notch.width())) + u'×' + QString::number(int(notch.height()));
}

QRect NotchScreen::panelFrame(const QRect &geometry)
{
    return {geometry.x() + geometry.width() / 2 - panelWidth / 2, geometry.top(), panelWidth,
            panelHeight};
}
