#include "ui/FirstRunWindow.h"

#include "ui/FirstRunModel.h"
#include "ui/UiModule.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

FirstRunWindow::FirstRunWindow(QQmlEngine &engine, Parts parts, QStringList arguments,
                               QObject *parent)
    : QObject(parent), m_engine(engine), m_parts(parts), m_arguments(std::move(arguments))
{
    UiModule::prepare(engine);
}

FirstRunWindow::~FirstRunWindow()
{
    // A window being destroyed still says it turned invisible; it must not
    // reach us then.
    if (m_window)
        m_window->disconnect(this);
    delete m_window;
}

void FirstRunWindow::show()
{
    if (!m_window)
        build();
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}

void FirstRunWindow::build()
{
    auto *model = new FirstRunModel(m_parts.settings, m_parts.sources, m_parts.preferences,
                                    m_parts.chime, m_arguments);
    QQmlComponent component(&m_engine, UiModule::url(QStringLiteral("FirstRunWindow")));
    QObject *root = component.createWithInitialProperties(
        {{QStringLiteral("model"), QVariant::fromValue(model)}});
    m_window = qobject_cast<QQuickWindow *>(root);
    if (!m_window) {
        qWarning().noquote() << component.errorString();
        delete root;
        delete model;
        return;
    }
    model->setParent(m_window);
    // Centred on the first screen's available area.
    if (const QList<QScreen *> screens = QGuiApplication::screens(); !screens.isEmpty()) {
        const QRect area = screens.first()->availableGeometry();
        m_window->setPosition(area.center().x() - 360, area.center().y() - 260);
    }
    connect(model, &FirstRunModel::signInFramerRequested, this,
            &FirstRunWindow::signInFramerRequested);
    connect(model, &FirstRunModel::registerAtLoginRequested, this,
            &FirstRunWindow::registerAtLoginRequested);
    connect(model, &FirstRunModel::finished, m_window, &QWindow::close);
    connect(m_window, &QWindow::visibleChanged, this, [this, model](bool visible) {
        if (visible || !m_window)
            return;
        model->markOnboarded();
        m_window->deleteLater();
    });
}
