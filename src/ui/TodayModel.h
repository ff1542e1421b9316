#pragma once

#include "ui/TodayFigures.h"

#include <QCoroTask>
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class Clock;
class NotchModel;

// The dashboard inside the open island, as the view shows it: the tabs,
// the displayed tab's title, figures and top rows, and the status line,
// all read from the notch model. While the view is shown (`active`) the
// status line is refreshed every minute; otherwise nothing runs.
class TodayModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built once by the application")
    Q_PROPERTY(QVariantList tabs READ tabs NOTIFY changed)
    Q_PROPERTY(bool showChips READ showChips NOTIFY changed)
    Q_PROPERTY(QString currentId READ currentId NOTIFY changed)
    Q_PROPERTY(bool notConnected READ notConnected NOTIFY changed)
    Q_PROPERTY(QString avatarPlatform READ avatarPlatform NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(QVariantList stats READ stats NOTIFY changed)
    Q_PROPERTY(QVariantList topRows READ topRows NOTIFY changed)
    Q_PROPERTY(bool showTop READ showTop NOTIFY showTopChanged)
    Q_PROPERTY(QString statusLine READ statusLine NOTIFY statusLineChanged)
    Q_PROPERTY(bool retrying READ retrying NOTIFY statusLineChanged)
    Q_PROPERTY(QString accentHex READ accentHex NOTIFY accentChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(QString topHeader READ topHeader CONSTANT)
    Q_PROPERTY(QString shareLabel READ shareLabel CONSTANT)
    Q_PROPERTY(QString openLabel READ openLabel CONSTANT)
    Q_PROPERTY(QString emptyTitle READ emptyTitle CONSTANT)
    Q_PROPERTY(QString emptyText READ emptyText CONSTANT)
    Q_PROPERTY(QString emptyButton READ emptyButton CONSTANT)

public:
    TodayModel(NotchModel &notch, Clock &clock, QLocale locale = QLocale(),
               QObject *parent = nullptr);

    Q_INVOKABLE void select(const QString &id);
    Q_INVOKABLE void toggleTop();
    Q_INVOKABLE void share();
    Q_INVOKABLE void openDashboard();
    Q_INVOKABLE void connectPlatform();
    // The view's measured height; the island follows it.
    Q_INVOKABLE void reportHeight(qreal height);

    const TodayTab &current() const { return m_current; }
    QVariantList tabs() const;
    bool showChips() const;
    QString currentId() const { return m_current.id; }
    bool notConnected() const { return m_current.kind == TodayTab::Kind::None; }
    QString avatarPlatform() const;
    QString title() const { return m_title; }
    QString subtitle() const { return m_subtitle; }
    const QList<TodayStat> &statList() const { return m_stats; }
    QVariantList stats() const;
    const QList<TopRow> &rows() const { return m_rows; }
    QVariantList topRows() const;
    bool showTop() const;
    QString statusLine() const { return m_statusLine; }
    bool retrying() const { return m_statusLine.endsWith(u"retrying"); }
    QString accentHex() const;
    bool active() const { return m_active; }
    void setActive(bool on);

    static QString topHeader() { return QStringLiteral("Today's top sellers"); }
    static QString shareLabel() { return QStringLiteral("Share today"); }
    static QString openLabel() { return QStringLiteral("Open dashboard"); }
    static QString emptyTitle() { return QStringLiteral("Nothing connected yet"); }
    static QString emptyText();
    static QString emptyButton() { return QStringLiteral("Connect a platform"); }

Q_SIGNALS:
    void changed();
    void showTopChanged();
    void statusLineChanged();
    void accentChanged();
    void activeChanged();

private:
    void recompute();
    void updateStatus();
    QCoro::Task<> refreshEveryMinute(int generation);

    NotchModel &m_notch;
    Clock &m_clock;
    QLocale m_locale;
    QList<TodayTab> m_tabs;
    TodayTab m_current;
    QString m_title;
    QString m_subtitle;
    QList<TodayStat> m_stats;
    QList<TopRow> m_rows;
    QString m_statusLine;
    bool m_active = false;
    int m_generation = 0;
};
