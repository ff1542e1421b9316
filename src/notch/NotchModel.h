#pragma once

#include "core/Account.h"
#include "core/Clock.h"
#include "core/SaleEvent.h"
#include "moments/Moment.h"
#include "moments/TodaySummary.h"
#include "notch/ChimePlayer.h"
#include "notch/RestStyle.h"
#include "notch/Spring.h"

#include <QColor>
#include <QCoroTask>
#include <QObject>
#include <QSettings>
#include <QSizeF>
#include <QVariant>
#include <functional>
#include <optional>

// The state behind the island on the screen's notch: the queue of moments
// and the player that steps each through its phases, the island's size for
// every phase, hovering, and what the island and the dashboard show. Every
// animated change first sets `animation` to the spring the view should use.
class NotchModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(
        RestStyles::RestStyle restStyle READ restStyle WRITE setRestStyle NOTIFY restStyleChanged)
    Q_PROPERTY(QVariant shownTotal READ shownTotalValue NOTIFY shownTotalChanged)
    Q_PROPERTY(QVariant shownRevenue READ shownRevenueValue NOTIFY shownRevenueChanged)
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QVariant moment READ momentValue NOTIFY momentChanged)
    Q_PROPERTY(QSizeF notch READ notch WRITE setNotch NOTIFY notchChanged)
    Q_PROPERTY(bool hasHardwareNotch READ hasHardwareNotch WRITE setHasHardwareNotch NOTIFY
                   hasHardwareNotchChanged)
    Q_PROPERTY(bool hovering READ hovering NOTIFY hoveringChanged)
    Q_PROPERTY(QVariant today READ todayValue NOTIFY todayChanged)
    Q_PROPERTY(bool signedIn READ signedIn WRITE setSignedIn NOTIFY signedInChanged)
    Q_PROPERTY(QVariantList sales READ salesValue NOTIFY salesChanged)
    Q_PROPERTY(QVariantList yesterdaySales READ yesterdaySalesValue NOTIFY yesterdaySalesChanged)
    Q_PROPERTY(bool hasAccounts READ hasAccounts WRITE setHasAccounts NOTIFY hasAccountsChanged)
    Q_PROPERTY(QDateTime lastCheck READ lastCheckValue NOTIFY lastCheckChanged)
    Q_PROPERTY(QVariantList accounts READ accountsValue NOTIFY accountsChanged)
    Q_PROPERTY(QString tab READ tab WRITE setTab NOTIFY tabChanged)
    Q_PROPERTY(qreal panelHeight READ panelHeight WRITE setPanelHeight NOTIFY panelHeightChanged)
    Q_PROPERTY(bool showTop READ showTop WRITE setShowTop NOTIFY showTopChanged)
    Q_PROPERTY(int topCount READ topCount WRITE setTopCount NOTIFY topCountChanged)
    Q_PROPERTY(QVariant lastError READ lastErrorValue NOTIFY lastErrorChanged)
    Q_PROPERTY(QSizeF islandSize READ islandSize NOTIFY islandChanged)
    Q_PROPERTY(qreal radius READ radius NOTIFY islandChanged)
    Q_PROPERTY(qreal restExtra READ restExtra NOTIFY islandChanged)
    Q_PROPERTY(QString accentHex READ accentHex NOTIFY accentChanged)
    Q_PROPERTY(QColor accent READ accent NOTIFY accentChanged)
    Q_PROPERTY(Spring animation READ animation NOTIFY animationChanged)

public:
    enum class Phase { Rest, Moment, Afterglow, Expanded, Share };
    Q_ENUM(Phase)

    // `settings` holds "restStyle" and the chime choice; waits run on `clock`.
    NotchModel(QSettings &settings, Clock &clock, ChimePlayer &chime, QObject *parent = nullptr);

    // Queues a moment; starts the player unless it is already running.
    void show(const Moment &moment);
    Q_INVOKABLE void expand();
    Q_INVOKABLE void collapse();
    Q_INVOKABLE void openShare();
    Q_INVOKABLE void setHovering(bool on);

    // The shell's callbacks, reachable from the views.
    Q_INVOKABLE void requestShare() { onShare(); }
    Q_INVOKABLE void requestShareAction(const QString &action, const QVariantMap &data)
    {
        onShareAction(action, data);
    }
    Q_INVOKABLE void requestSettings() { onOpenSettings(); }
    Q_INVOKABLE void requestDashboard() { onOpenDashboard(); }
    Q_INVOKABLE void requestConnect() { onConnect(); }

    RestStyle restStyle() const { return m_restStyle; }
    void setRestStyle(RestStyle style);
    std::optional<qint64> shownTotal() const { return m_shownTotal; }
    const std::optional<Money> &shownRevenue() const { return m_shownRevenue; }
    Phase phase() const { return m_phase; }
    const std::optional<Moment> &moment() const { return m_moment; }
    QSizeF notch() const { return m_notch; }
    void setNotch(QSizeF notch);
    bool hasHardwareNotch() const { return m_hasHardwareNotch; }
    void setHasHardwareNotch(bool on);
    bool hovering() const { return m_hovering; }
    const std::optional<TodaySummary> &today() const { return m_today; }
    // Also shows the new remix count at rest, unless a moment is playing.
    void setToday(std::optional<TodaySummary> today);
    bool signedIn() const { return m_signedIn; }
    void setSignedIn(bool on);
    const QList<SaleEvent> &sales() const { return m_sales; }
    void setSales(QList<SaleEvent> sales);
    const QList<SaleEvent> &yesterdaySales() const { return m_yesterdaySales; }
    void setYesterdaySales(QList<SaleEvent> sales);
    bool hasAccounts() const { return m_hasAccounts; }
    void setHasAccounts(bool on);
    std::optional<QDateTime> lastCheck() const { return m_lastCheck; }
    void setLastCheck(std::optional<QDateTime> at);
    const QList<Account> &accounts() const { return m_accounts; }
    void setAccounts(QList<Account> accounts);
    QString tab() const { return m_tab; }
    void setTab(const QString &tab);
    qreal panelHeight() const { return m_panelHeight; }
    void setPanelHeight(qreal height);
    bool showTop() const { return m_showTop; }
    void setShowTop(bool on);
    int topCount() const { return m_topCount; }
    void setTopCount(int count);
    const std::optional<QString> &lastError() const { return m_lastError; }
    void setLastError(std::optional<QString> error);

    // Today's revenue as last computed; shown at rest at once unless a moment
    // is playing, in which case the player shows it after the moment.
    const std::optional<Money> &revenue() const { return m_revenue; }
    void setRevenue(std::optional<Money> revenue);

    QSizeF islandSize() const;
    qreal radius() const;
    qreal restExtra() const;
    QString accentHex() const;
    QColor accent() const { return QColor(accentHex()); }
    Spring animation() const { return m_animation; }

    const QList<Moment> &queue() const { return m_queue; }
    bool busy() const { return m_busy; }

    QVariantMap shareData;
    bool pinned = false; // the open island stays open on its own
    std::function<void()> onShare = [] {};
    std::function<void(const QString &, const QVariantMap &)> onShareAction =
        [](const QString &, const QVariantMap &) {};
    std::function<void()> onClosed = [] {};
    std::function<void()> onOpenSettings = [] {};
    std::function<void()> onOpenDashboard = [] {};
    std::function<void()> onConnect = [] {};

Q_SIGNALS:
    void restStyleChanged();
    void shownTotalChanged();
    void shownRevenueChanged();
    void phaseChanged();
    void momentChanged();
    void notchChanged();
    void hasHardwareNotchChanged();
    void hoveringChanged();
    void todayChanged();
    void signedInChanged();
    void salesChanged();
    void yesterdaySalesChanged();
    void hasAccountsChanged();
    void lastCheckChanged();
    void accountsChanged();
    void tabChanged();
    void panelHeightChanged();
    void showTopChanged();
    void topCountChanged();
    void lastErrorChanged();
    void islandChanged(); // islandSize, radius, restExtra
    void accentChanged();
    void animationChanged();

private:
    QCoro::Task<> runPlayer();
    void present(const Moment &moment);
    void showCurrentNumbers();
    bool isOpen() const { return m_phase == Phase::Expanded || m_phase == Phase::Share; }

    void animate(const Spring &spring);
    void setPhase(Phase phase);
    void setHoveringNow(bool on);
    void setShownTotal(std::optional<qint64> total);
    void setShownRevenue(std::optional<Money> revenue);

    // Stores `value` and emits `signal` when it differs; true when it did.
    template <typename T>
    bool change(T &field, T value, void (NotchModel::*signal)())
    {
        if (field == value)
            return false;
        field = std::move(value);
        Q_EMIT(this->*signal)();
        return true;
    }

    QVariant shownTotalValue() const;
    QVariant shownRevenueValue() const;
    QVariant momentValue() const;
    QVariant todayValue() const;
    QVariantList salesValue() const;
    QVariantList yesterdaySalesValue() const;
    QDateTime lastCheckValue() const { return m_lastCheck.value_or(QDateTime()); }
    QVariantList accountsValue() const;
    QVariant lastErrorValue() const;

    QSettings &m_settings;
    Clock &m_clock;
    ChimePlayer &m_chime;

    RestStyle m_restStyle;
    std::optional<qint64> m_shownTotal;
    std::optional<Money> m_shownRevenue;
    Phase m_phase = Phase::Rest;
    std::optional<Moment> m_moment;
    QSizeF m_notch{185, 32};
    bool m_hasHardwareNotch = true;
    bool m_hovering = false;
    std::optional<TodaySummary> m_today;
    bool m_signedIn = true;
    QList<SaleEvent> m_sales;
    QList<SaleEvent> m_yesterdaySales;
    bool m_hasAccounts = false;
    std::optional<QDateTime> m_lastCheck;
    QList<Account> m_accounts;
    QString m_tab = QStringLiteral("all");
    qreal m_panelHeight = 0;
    bool m_showTop = false;
    int m_topCount = 0;
    std::optional<QString> m_lastError;

    std::optional<Money> m_revenue;
    Spring m_animation;
    QList<Moment> m_queue;
    bool m_busy = false;
};
