#include "notch/NotchController.h"

#include "notch/NotchScreen.h"
#include "notch/X11Focus.h"
#include "notch/X11WindowHints.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QQuickItem>
#include <QScreen>

namespace {
using namespace std::chrono_literals;
constexpr auto leaveDelay = 500ms;
constexpr qreal hoverMargin = 6; // the resting island is easier to find
constexpr qreal canvasWidth = 900;
const QUrl islandView(QStringLiteral("qrc:/qt-project.org/imports/Korvanta/Notch/IslandView.qml"));

bool isOpen(NotchModel::Phase phase)
{
    return phase == NotchModel::Phase::Expanded || phase == NotchModel::Phase::Share;
}
bool isResting(NotchModel::Phase phase)
{
    return phase == NotchModel::Phase::Rest || phase == NotchModel::Phase::Afterglow;
}
} // namespace

NotchController::NotchController(NotchModel &model, QSettings &settings, Clock &clock,
                                 QObject *parent)
    : QObject(parent), m_model(model), m_settings(settings), m_clock(clock),
      m_window(std::make_unique<QQuickView>())
{
    QQuickView &w = *m_window;
    w.setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
               | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    w.setColor(Qt::transparent);
    w.setResizeMode(QQuickView::SizeRootObjectToView);
    w.setInitialProperties(
        {{QStringLiteral("model"), QVariant::fromValue<QObject *>(&m_model)},
         {QStringLiteral("content"), QVariant::fromValue<QObject *>(&m_content)}});
    w.setSource(islandView);
    w.installEventFilter(this);
    if (QQuickItem *root = w.rootObject())
        connect(root, SIGNAL(shownChanged()), this, SLOT(updateInputRegion()));
    place();
    w.create();
    keepOnAllWorkspaces(w);
    w.show();
    updateInputRegion();

    connect(&m_model, &NotchModel::islandChanged, this, [this] { pointerMoved(m_pointer); });
    connect(&m_model, &NotchModel::phaseChanged, this, &NotchController::phaseChanged);
    connect(&w, &QWindow::activeChanged, this, [this] {
        // A click in another application takes the focus from the open island.
        if (!m_window->isActive() && isOpen(m_model.phase()) && !m_model.pinned)
            m_model.collapse();
    });
    watchScreens();
}

NotchController::~NotchController() = default;

void NotchController::setDashboard(const QUrl &qml, QObject *model)
{
    m_content.setDashboard(qml, model);
}

void NotchController::setShareSheet(const QUrl &qml, QObject *model)
{
    m_content.setShareSheet(qml, model);
}

void NotchController::place()
{
    const bool onBuiltIn = m_settings.value(QStringLiteral("notchOnBuiltIn"), false).toBool();
    QScreen *screen = NotchScreen::choose(QGuiApplication::screens(),
                                          QGuiApplication::primaryScreen(), onBuiltIn);
    if (!screen)
        return;
    const QSizeF notch = NotchScreen::drawnNotch(screen->geometry(), screen->availableGeometry());
    m_model.setNotch(notch);
    m_model.setHasHardwareNotch(false);
    m_description = NotchScreen::description(screen->name(), notch, false);
    m_window->setScreen(screen);
    m_window->setGeometry(NotchScreen::panelFrame(screen->geometry()));
    Q_EMIT placed();
}

void NotchController::takeFocus()
{
    const std::uint32_t focused = X11Focus::current();
    if (!m_window->isActive() && focused != m_window->winId())
        m_focusBefore = focused;
    m_window->setFlag(Qt::WindowDoesNotAcceptFocus, false);
    m_window->requestActivate();
    updateInputRegion();
}

void NotchController::watchScreens()
{
    auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &NotchController::place);
        connect(screen, &QScreen::availableGeometryChanged, this, &NotchController::place);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen *screen) {
        watch(screen);
        place();
    });
    // Queued: the list still holds the screen while it is being removed.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &NotchController::place,
            Qt::QueuedConnection);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &NotchController::place);
}

QRectF NotchController::islandRect() const
{
    const QSizeF size = m_model.islandSize();
    return {(canvasWidth - size.width()) / 2, 0, size.width(), size.height()};
}

bool NotchController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window.get())
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        pointerMoved(static_cast<QEnterEvent *>(event)->position());
        break;
    case QEvent::MouseMove:
        pointerMoved(static_cast<QMouseEvent *>(event)->position());
        break;
    case QEvent::Leave:
        pointerMoved(std::nullopt);
        break;
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton && isResting(m_model.phase())) {
            m_model.expand();
            pointerMoved(press->position());
            return true; // the click opens the island and goes no further
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void NotchController::pointerMoved(std::optional<QPointF> p)
{
    m_pointer = p;
    const QRectF island = islandRect();
    switch (m_model.phase()) {
    case NotchModel::Phase::Rest:
    case NotchModel::Phase::Afterglow: {
        const bool over =
            p && island.adjusted(-hoverMargin, 0, hoverMargin, hoverMargin).contains(*p);
        if (over != m_model.hovering())
            m_model.setHovering(over);
        break;
    }
    case NotchModel::Phase::Moment:
        if (m_model.hovering())
            m_model.setHovering(false);
        break;
    case NotchModel::Phase::Expanded:
        if (m_model.pinned)
            break;
        if (p && island.contains(*p))
            m_leave = 0; // back in time: stay open
        else if (!m_leave)
            startLeave();
        break;
    case NotchModel::Phase::Share:
        break;
    }
}

void NotchController::startLeave()
{
    m_leave = ++m_leaveCounter;
    closeAfterLeaving();
}

QCoro::Task<> NotchController::closeAfterLeaving()
{
    const quint64 mine = m_leave;
    const QPointer<NotchController> alive(this);
    co_await m_clock.sleep(leaveDelay);
    if (!alive || m_leave != mine)
        co_return; // cancelled: the pointer came back, or the island closed
    m_leave = 0;
    if (m_pointer && islandRect().contains(*m_pointer))
        co_return;
    m_model.collapse();
    pointerMoved(m_pointer);
}

void NotchController::phaseChanged()
{
    const NotchModel::Phase phase = m_model.phase();
    if (!isOpen(phase)) {
        m_leave = 0;
        m_window->setFlag(Qt::WindowDoesNotAcceptFocus, true);
        if (m_window->isActive())
            X11Focus::giveTo(std::exchange(m_focusBefore, 0));
    } else {
        takeFocus(); // the dashboard and the share sheet both take keys
    }
    updateInputRegion();
    pointerMoved(m_pointer);
}

void NotchController::updateInputRegion()
{
    // The island as drawn (its animated size), widened where hovering counts.
    QSizeF size = m_model.islandSize();
    if (QQuickItem *root = m_window->rootObject()) {
        const QSizeF shown = root->property("shown").toSizeF();
        if (shown.isValid())
            size = size.expandedTo(shown);
    }
    QRectF rect((canvasWidth - size.width()) / 2, 0, size.width(), size.height());
    if (isResting(m_model.phase()))
        rect.adjust(-hoverMargin, 0, hoverMargin, hoverMargin);
    m_window->setMask(QRegion(rect.toAlignedRect()));
}
