// NotchModel's derived layout: the island's size and corners per phase, and
// the dashboard's accent colour.
#include "notch/NotchModel.h"

#include <algorithm>

namespace {
constexpr qreal hoverWidth = 18;
constexpr qreal hoverHeight = 5;
constexpr auto fallbackAccent = "#ffe03a";
}

qreal NotchModel::restExtra() const
{
    switch (m_restStyle) {
    case RestStyle::Hidden:
        return 0;
    case RestStyle::Dot:
        return 46;
    case RestStyle::Total:
        break;
    }
    return m_hasAccounts ? 136 : 96;
}

QSizeF NotchModel::islandSize() const
{
    const qreal w = m_notch.width();
    const qreal h = m_notch.height();
    const QSizeF hover = m_hovering ? QSizeF(hoverWidth, hoverHeight) : QSizeF(0, 0);
    switch (m_phase) {
    case Phase::Rest:
        return QSizeF(w + restExtra(), h) + hover;
    case Phase::Moment:
        return {std::max<qreal>(420, w + 200), h + 78};
    case Phase::Afterglow:
        return QSizeF(w + (m_hasAccounts ? 136 : 96), h) + hover;
    case Phase::Expanded:
        return {std::max<qreal>(560, w + 330) + 14, h + (m_panelHeight > 0 ? m_panelHeight : 257)};
    case Phase::Share:
        break;
    }
    return {834, h + 388};
}

qreal NotchModel::radius() const
{
    switch (m_phase) {
    case Phase::Expanded:
    case Phase::Share:
        return 32;
    case Phase::Moment:
        return 26;
    case Phase::Rest:
    case Phase::Afterglow:
        break;
    }
    return std::min<qreal>(m_notch.height() * 0.5, 10) + (m_hovering ? 2 : 0);
}

QString NotchModel::accentHex() const
{
    if (m_tab == u"framer" && m_signedIn && m_today)
        return Platforms::brandHex(Platform::Framer);
    const QUuid selected = QUuid::fromString(m_tab);
    for (const Account &a : m_accounts)
        if (!selected.isNull() && a.id == selected)
            return Platforms::brandHex(a.platform);
    return QString::fromLatin1(fallbackAccent);
}
