#include "ui/SettingsWindow.h"

#include "ui/AccountsModel.h"
#include "ui/SoundSettingsModel.h"
#include "ui/UiModule.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

SettingsWindow::SettingsWindow(QQmlEngine &engine, Parts parts, QObject *parent)
    : QObject(parent), m_engine(engine), m_parts(std::move(parts))
{
    UiModule::prepare(engine);
}

SettingsWindow::~SettingsWindow()
{
    // A window being destroyed still says it turned invisible; it must not
    // reach us then.
    if (m_window)
        m_window->disconnect(this);
    delete m_window;
}

void SettingsWindow::show(int tab)
{
    if (!m_window)
        build(tab);
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->requestActivate();
}

void SettingsWindow::build(int tab)
{
    QQmlComponent component(&m_engine, UiModule::url(QStringLiteral("SettingsWindow")));
    auto *general = new GeneralSettingsModel(m_parts.settings, m_parts.preferences, m_parts.login);
    auto *sound = new SoundSettingsModel(m_parts.settings, m_parts.preferences, m_parts.chime);
    auto *accounts = new AccountsModel(m_parts.settings, m_parts.store, m_parts.poller);
    QObject *root = component.createWithInitialProperties(
        {{QStringLiteral("general"), QVariant::fromValue(general)},
         {QStringLiteral("sound"), QVariant::fromValue(sound)},
         {QStringLiteral("accounts"), QVariant::fromValue(accounts)},
         {QStringLiteral("currentTab"), tab}});
    m_window = qobject_cast<QQuickWindow *>(root);
    if (!m_window) {
        qWarning().noquote() << component.errorString();
        delete root;
        delete general;
        delete sound;
        delete accounts;
        return;
    }
    for (QObject *model : {static_cast<QObject *>(general), static_cast<QObject *>(sound),
                           static_cast<QObject *>(accounts)})
        model->setParent(m_window);
    connect(m_window, &QQuickWindow::frameSwapped, this, &SettingsWindow::shown,
            Qt::SingleShotConnection);
    // Closing drops the window; the next show builds a fresh one.
    connect(m_window, &QWindow::visibleChanged, this, [this](bool visible) {
        if (!visible && m_window)
            m_window->deleteLater();
    });
}
