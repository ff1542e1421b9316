#include "ui/TodayModel.h"

#include "core/Clock.h"
#include "notch/NotchModel.h"
#include "ui/Dashboard.h"

#include <QDesktopServices>
#include <QPointer>

using namespace std::chrono_literals;

TodayModel::TodayModel(NotchModel &notch, Clock &clock, QLocale locale, QObject *parent)
    : QObject(parent), m_notch(notch), m_clock(clock), m_locale(std::move(locale))
{
    for (auto signal : {&NotchModel::tabChanged, &NotchModel::accountsChanged,
                        &NotchModel::salesChanged, &NotchModel::yesterdaySalesChanged,
                        &NotchModel::todayChanged, &NotchModel::signedInChanged})
        connect(&m_notch, signal, this, &TodayModel::recompute);
    connect(&m_notch, &NotchModel::lastCheckChanged, this, &TodayModel::updateStatus);
    connect(&m_notch, &NotchModel::showTopChanged, this, &TodayModel::showTopChanged);
    connect(&m_notch, &NotchModel::accentChanged, this, &TodayModel::accentChanged);
    recompute();
    updateStatus();
}

void TodayModel::recompute()
{
    const bool framerShown = m_notch.signedIn() && m_notch.today();
    m_tabs = TodayTabs::tabs(framerShown, m_notch.accounts());
    m_current = TodayTabs::current(m_tabs, m_notch.tab());
    const TodayInput in{m_current,       m_tabs.size(), m_notch.sales(), m_notch.yesterdaySales(),
                        m_notch.today(), m_clock.now(), m_locale};
    m_title = TodayFigures::title(in);
    m_subtitle = TodayFigures::subtitle(in);
    m_stats = TodayFigures::stats(in);
    m_rows = TodayFigures::topRows(in);
    if (m_active)
        m_notch.setTopCount(int(m_rows.size()));
    Q_EMIT changed();
}

void TodayModel::updateStatus()
{
    const QString line = TodayFigures::statusLine(m_notch.lastCheck(), m_clock.now());
    if (line == m_statusLine)
        return;
    m_statusLine = line;
    Q_EMIT statusLineChanged();
}

void TodayModel::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    ++m_generation;
    if (on) {
        recompute();
        updateStatus();
        refreshEveryMinute(m_generation);
    }
    Q_EMIT activeChanged();
}

// Runs only while the dashboard is shown; a newer generation ends it.
QCoro::Task<> TodayModel::refreshEveryMinute(int generation)
{
    QPointer<TodayModel> self(this);
    Clock &clock = m_clock;
    while (true) {
        co_await clock.sleep(60s);
        if (!self || self->m_generation != generation)
            co_return;
        self->updateStatus();
    }
}

void TodayModel::select(const QString &id)
{
    m_notch.setTab(id);
}

void TodayModel::toggleTop()
{
    m_notch.setShowTop(!m_notch.showTop());
}

bool TodayModel::showTop() const
{
    return m_notch.showTop();
}

void TodayModel::share()
{
    m_notch.requestShare();
}

void TodayModel::openDashboard()
{
    switch (m_current.kind) {
    case TodayTab::Kind::Framer:
        m_notch.requestDashboard();
        return;
    case TodayTab::Kind::Account:
        if (const auto url = Dashboard::url(*m_current.account)) {
            QDesktopServices::openUrl(*url);
            m_notch.collapse();
        }
        return;
    default:
        m_notch.requestSettings();
    }
}

void TodayModel::connectPlatform()
{
    m_notch.requestConnect();
}

void TodayModel::reportHeight(qreal height)
{
    if (std::abs(height - m_notch.panelHeight()) > 0.5)
        m_notch.setPanelHeight(height);
}

QString TodayModel::accentHex() const
{
    return m_notch.accentHex();
}

QString TodayModel::avatarPlatform() const
{
    if (m_current.kind == TodayTab::Kind::Framer)
        return Platforms::rawValue(Platform::Framer);
    return m_current.account ? Platforms::rawValue(m_current.account->platform) : QString();
}

bool TodayModel::showChips() const
{
    return m_tabs.size() > 2 || (m_tabs.size() == 2 && m_tabs[1].kind != TodayTab::Kind::Framer);
}

QVariantList TodayModel::tabs() const
{
    QVariantList list;
    for (const TodayTab &tab : m_tabs) {
        QString label = QStringLiteral("All");
        QString platform;
        if (tab.kind == TodayTab::Kind::Framer) {
            label = Platforms::name(Platform::Framer);
            platform = Platforms::rawValue(Platform::Framer);
        } else if (tab.account) {
            label = tab.account->label.isEmpty() ? Platforms::name(tab.account->platform)
                                                 : tab.account->label;
            platform = Platforms::rawValue(tab.account->platform);
        }
        list.append(QVariantMap{{QStringLiteral("id"), tab.id},
                                {QStringLiteral("label"), label},
                                {QStringLiteral("platform"), platform},
                                {QStringLiteral("selected"), tab.id == m_current.id}});
    }
    return list;
}

QVariantList TodayModel::stats() const
{
    QVariantList list;
    for (const TodayStat &s : m_stats)
        list.append(
            QVariantMap{{QStringLiteral("label"), s.label}, {QStringLiteral("value"), s.value}});
    return list;
}

QVariantList TodayModel::topRows() const
{
    QVariantList list;
    for (const TopRow &r : m_rows)
        list.append(QVariantMap{{QStringLiteral("title"), r.title},
                                {QStringLiteral("detail"), r.detail},
                                {QStringLiteral("amount"), r.amount},
                                {QStringLiteral("platform"),
                                 r.platform ? Platforms::rawValue(*r.platform) : QString()}});
    return list;
}

QString TodayModel::emptyText()
{
    return QStringLiteral("Connect a platform and today's sales show up here, with every new one "
                          "dropping into the notch.");
}
