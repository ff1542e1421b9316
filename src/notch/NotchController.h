#pragma once

#include "core/Clock.h"
#include "notch/IslandContent.h"
#include "notch/NotchModel.h"

#include <QCoroTask>
#include <QObject>
#include <QPointF>
#include <QQuickView>
#include <QSettings>
#include <cstdint>
#include <memory>
#include <optional>

// Puts the island on screen: one frameless, translucent, always-on-top
// window of 900 × 500 at the top centre of the chosen screen, on every
// workspace and out of the taskbar, that takes input only over the island
// (clicks elsewhere reach the windows beneath) and never takes focus at rest.
// Turns pointer enter/move/leave and clicks into hover, expand and collapse
// on the model; nothing polls the pointer. Follows screens as they come, go
// and change. The shell creates it once, after registerNotchQml().
class NotchController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString screenDescription READ screenDescription NOTIFY placed)

public:
    // Reads "notchOnBuiltIn" from `settings` at every place(); waits run on `clock`.
    NotchController(NotchModel &model, QSettings &settings, Clock &clock,
                    QObject *parent = nullptr);
    ~NotchController() override;

    // The open island's content, loaded with its `model` property set.
    void setDashboard(const QUrl &qml, QObject *model);
    void setShareSheet(const QUrl &qml, QObject *model);

    // Chooses the screen, measures the notch and moves the window; also
    // called when the screen preference changes.
    void place();
    // e.g. "eDP-1: drawn notch 185×32", for the menu.
    QString screenDescription() const { return m_description; }
    QQuickView &window() { return *m_window; }

Q_SIGNALS:
    void placed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void updateInputRegion();

private:
    // An open island takes clicks and keys: the dashboard and the share sheet.
    void takeFocus();
    QRectF islandRect() const;
    void pointerMoved(std::optional<QPointF> p);
    void startLeave();
    QCoro::Task<> closeAfterLeaving();
    void phaseChanged();
    void watchScreens();

    NotchModel &m_model;
    QSettings &m_settings;
    Clock &m_clock;
    IslandContent m_content;
    std::unique_ptr<QQuickView> m_window;
    QString m_description;
    std::optional<QPointF> m_pointer; // in window coordinates, while inside
    quint64 m_leave = 0;              // the pending close after leaving; 0: none
    quint64 m_leaveCounter = 0;
    std::uint32_t m_focusBefore = 0; // the window that had the keyboard before the island took it
};
