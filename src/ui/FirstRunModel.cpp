#include "ui/FirstRunModel.h"

#include "connectors/SourceRegistry.h"
#include "core/SystemTexts.h"
#include "notch/ChimePlayer.h"
#include "shell/SettingsModel.h"
#include "ui/ConnectFormModel.h"

using Step = FirstRunStep;

FirstRunModel::FirstRunModel(SettingsModel &settings, const SourceRegistry &sources,
                             QSettings &preferences, ChimePlayer &chime,
                             const QStringList &arguments, QObject *parent)
    : QObject(parent), m_settings(settings), m_sources(sources), m_preferences(preferences),
      m_chime(chime), m_step(FirstRunSteps::starting(arguments))
{
    if (FirstRunSteps::stepRequested(arguments))
        m_picked = Platform::Stripe;
    if (m_step == Step::Key)
        makeForm();
    connect(&m_settings, &SettingsModel::restStyleChanged, this, &FirstRunModel::tuneChanged);
}

void FirstRunModel::go(int step)
{
    if (step < 0 || step >= FirstRunSteps::count)
        return;
    Step next = Step(step);
    if (next == Step::Key && !m_picked)
        next = Step::Pick;
    m_step = next;
    if (m_step == Step::Key)
        makeForm();
    Q_EMIT stepChanged();
}

void FirstRunModel::makeForm()
{
    if (!m_picked || *m_picked == Platform::Framer) {
        delete m_form;
        return;
    }
    if (m_form && m_form->platform() == *m_picked)
        return;
    delete m_form;
    m_form = new ConnectFormModel(*m_picked, m_settings, m_sources, this);
    connect(m_form, &ConnectFormModel::connected, this, [this](const QString &name) {
        m_connectedName = name;
        go(int(Step::Tune));
    });
}

void FirstRunModel::primary()
{
    switch (m_step) {
    case Step::Welcome:
        return go(int(Step::Platforms));
    case Step::Platforms:
        return go(int(Step::Demo));
    case Step::Demo:
        return go(int(Step::Pick));
    case Step::Pick:
        return later();
    case Step::Key:
        if (framerKey()) {
            m_connectedName = Platforms::name(Platform::Framer);
            go(int(Step::Tune));
        } else if (m_form) {
            m_form->submit();
        }
        return;
    case Step::Tune:
        return go(int(Step::Live));
    case Step::Live:
        return finish();
    }
}

void FirstRunModel::secondary()
{
    switch (m_step) {
    case Step::Welcome:
        return go(int(Step::Pick));
    case Step::Key:
        if (framerKey())
            Q_EMIT signInFramerRequested();
        else
            backToPick();
        return;
    case Step::Tune:
        return m_settings.playDemo();
    default:
        return;
    }
}

void FirstRunModel::pick(const QString &platform)
{
    const auto p = Platforms::fromRaw(platform);
    if (!p)
        return;
    m_picked = p;
    if (*p == Platform::Framer)
        Q_EMIT signInFramerRequested();
    go(int(Step::Key));
}

void FirstRunModel::playDemo()
{
    m_settings.playDemo();
    if (!m_played) {
        m_played = true;
        Q_EMIT playedChanged();
    }
}

void FirstRunModel::chooseChime(const QString &raw)
{
    const auto chime = Chimes::fromRaw(raw);
    if (!chime)
        return;
    Chimes::setCurrent(m_preferences, *chime);
    m_chime.play(*chime);
    Q_EMIT tuneChanged();
}

void FirstRunModel::chooseRestStyle(const QString &raw)
{
    if (const auto style = RestStyles::fromRaw(raw))
        m_settings.setRestStyle(*style);
}

void FirstRunModel::setOpenAtLogin(bool on)
{
    if (on == m_openAtLogin)
        return;
    m_openAtLogin = on;
    Q_EMIT openAtLoginChanged();
}

// Registering at login may fail; the settings window reports that, not this.
void FirstRunModel::finish()
{
    if (m_openAtLogin)
        Q_EMIT registerAtLoginRequested();
    m_chime.playCurrent();
    markOnboarded();
    Q_EMIT finished();
}

void FirstRunModel::markOnboarded()
{
    m_preferences.setValue(QStringLiteral("onboarded"), true);
}

bool FirstRunModel::framerKey() const
{
    return m_step == Step::Key && m_picked == Platform::Framer;
}

QString FirstRunModel::demoLabel() const
{
    return m_played ? QStringLiteral("Play it again") : QStringLiteral("Show me a sale");
}

QVariantList FirstRunModel::platforms() const
{
    QVariantList list;
    for (Platform p : Platforms::all())
        list.append(QVariantMap{{QStringLiteral("platform"), Platforms::rawValue(p)},
                                {QStringLiteral("name"), Platforms::name(p)}});
    return list;
}

// Framer signs in through its own window; the others need a connector.
QVariantList FirstRunModel::pickable() const
{
    QVariantList list;
    for (Platform p : Platforms::all())
        if (p == Platform::Framer || m_sources.find(p))
            list.append(QVariantMap{{QStringLiteral("platform"), Platforms::rawValue(p)},
                                    {QStringLiteral("name"), Platforms::name(p)}});
    return list;
}

QVariantList FirstRunModel::chimes() const
{
    const Chime current = Chimes::current(m_preferences);
    QVariantList list;
    for (Chime c : Chimes::all())
        list.append(QVariantMap{{QStringLiteral("id"), Chimes::rawValue(c)},
                                {QStringLiteral("label"), Chimes::label(c)},
                                {QStringLiteral("selected"), c == current}});
    return list;
}

QVariantList FirstRunModel::restStyles() const
{
    QVariantList list;
    for (RestStyle s : RestStyles::all())
        list.append(QVariantMap{{QStringLiteral("id"), RestStyles::rawValue(s)},
                                {QStringLiteral("label"), RestStyles::label(s)},
                                {QStringLiteral("selected"), s == m_settings.restStyle()}});
    return list;
}
