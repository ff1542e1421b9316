#include "notch/NotchModel.h"

#include "notch/QmlValues.h"

NotchModel::NotchModel(QSettings &settings, Clock &clock, ChimePlayer &chime, QObject *parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_chime(chime),
      m_restStyle(RestStyles::stored(settings))
{
}

void NotchModel::expand()
{
    if (m_phase == Phase::Moment || isOpen())
        return;
    animate(Springs::expand);
    setPhase(Phase::Expanded);
    setHoveringNow(false);
}

void NotchModel::collapse()
{
    if (!isOpen())
        return;
    animate(Springs::collapse);
    setPhase(Phase::Rest);
    setShowTop(false);
    onClosed();
}

void NotchModel::openShare()
{
    animate(Springs::share);
    setPhase(Phase::Share);
    setShowTop(false);
}

void NotchModel::setHovering(bool on)
{
    if (on == m_hovering)
        return;
    animate(Springs::hover);
    setHoveringNow(on);
}

void NotchModel::setRestStyle(RestStyle style)
{
    RestStyles::store(m_settings, style);
    if (change(m_restStyle, style, &NotchModel::restStyleChanged))
        Q_EMIT islandChanged();
}

void NotchModel::setNotch(QSizeF notch)
{
    if (change(m_notch, notch, &NotchModel::notchChanged))
        Q_EMIT islandChanged();
}

void NotchModel::setHasHardwareNotch(bool on)
{
    change(m_hasHardwareNotch, on, &NotchModel::hasHardwareNotchChanged);
}

void NotchModel::setToday(std::optional<TodaySummary> today)
{
    if (change(m_today, std::move(today), &NotchModel::todayChanged))
        Q_EMIT accentChanged();
    if (!m_busy)
        setShownTotal(m_today ? std::optional(m_today->remixes) : std::nullopt);
}

void NotchModel::setSignedIn(bool on)
{
    if (change(m_signedIn, on, &NotchModel::signedInChanged))
        Q_EMIT accentChanged();
}

void NotchModel::setSales(QList<SaleEvent> sales)
{
    change(m_sales, std::move(sales), &NotchModel::salesChanged);
}

void NotchModel::setYesterdaySales(QList<SaleEvent> sales)
{
    change(m_yesterdaySales, std::move(sales), &NotchModel::yesterdaySalesChanged);
}

void NotchModel::setHasAccounts(bool on)
{
    if (change(m_hasAccounts, on, &NotchModel::hasAccountsChanged))
        Q_EMIT islandChanged();
}

void NotchModel::setLastCheck(std::optional<QDateTime> at)
{
    change(m_lastCheck, std::move(at), &NotchModel::lastCheckChanged);
}

void NotchModel::setAccounts(QList<Account> accounts)
{
    if (change(m_accounts, std::move(accounts), &NotchModel::accountsChanged))
        Q_EMIT accentChanged();
}

void NotchModel::setTab(const QString &tab)
{
    if (change(m_tab, tab, &NotchModel::tabChanged))
        Q_EMIT accentChanged();
}

void NotchModel::setPanelHeight(qreal height)
{
    if (change(m_panelHeight, height, &NotchModel::panelHeightChanged))
        Q_EMIT islandChanged();
}

void NotchModel::setShowTop(bool on)
{
    change(m_showTop, on, &NotchModel::showTopChanged);
}
void NotchModel::setTopCount(int count)
{
    change(m_topCount, count, &NotchModel::topCountChanged);
}

void NotchModel::setLastError(std::optional<QString> error)
{
    change(m_lastError, std::move(error), &NotchModel::lastErrorChanged);
}

void NotchModel::setRevenue(std::optional<Money> revenue)
{
    m_revenue = std::move(revenue);
    if (!m_busy)
        setShownRevenue(m_revenue);
}

void NotchModel::animate(const Spring &spring)
{
    change(m_animation, spring, &NotchModel::animationChanged);
}

void NotchModel::setPhase(Phase phase)
{
    if (change(m_phase, phase, &NotchModel::phaseChanged))
        Q_EMIT islandChanged();
}

void NotchModel::setHoveringNow(bool on)
{
    if (change(m_hovering, on, &NotchModel::hoveringChanged))
        Q_EMIT islandChanged();
}

void NotchModel::setShownTotal(std::optional<qint64> total)
{
    change(m_shownTotal, total, &NotchModel::shownTotalChanged);
}

void NotchModel::setShownRevenue(std::optional<Money> revenue)
{
    change(m_shownRevenue, std::move(revenue), &NotchModel::shownRevenueChanged);
}

QVariant NotchModel::shownTotalValue() const
{
    return QmlValues::optional(m_shownTotal);
}
QVariant NotchModel::shownRevenueValue() const
{
    return QmlValues::optional(m_shownRevenue);
}
QVariant NotchModel::momentValue() const
{
    return QmlValues::optional(m_moment);
}
QVariant NotchModel::todayValue() const
{
    return QmlValues::optional(m_today);
}
QVariantList NotchModel::salesValue() const
{
    return QmlValues::list(m_sales);
}
QVariantList NotchModel::yesterdaySalesValue() const
{
    return QmlValues::list(m_yesterdaySales);
}
QVariantList NotchModel::accountsValue() const
{
    return QmlValues::list(m_accounts);
}
QVariant NotchModel::lastErrorValue() const
{
    return QmlValues::optional(m_lastError);
}
