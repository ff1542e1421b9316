#include "ui/GeneralSettingsModel.h"

#include "core/SystemTexts.h"
#include "shell/SettingsModel.h"

namespace {
const QString builtInKey = QStringLiteral("notchOnBuiltIn");

QVariantMap choice(const QString &label, const QVariant &value)
{
    return {{QStringLiteral("label"), label}, {QStringLiteral("value"), value}};
}
}

GeneralSettingsModel::GeneralSettingsModel(SettingsModel &settings, QSettings &preferences,
                                           LoginItemAccess login, QObject *parent)
    : QObject(parent), m_settings(settings), m_preferences(preferences), m_login(std::move(login)),
      m_openAtLogin(m_login.enabled()), m_builtIn(preferences.value(builtInKey, false).toBool())
{
    connect(&m_settings, &SettingsModel::restStyleChanged, this,
            &GeneralSettingsModel::restStyleChanged);
    connect(&m_settings, &SettingsModel::intervalChanged, this,
            &GeneralSettingsModel::intervalChanged);
}

void GeneralSettingsModel::setOpenAtLogin(bool on)
{
    if (const auto refused = m_login.setEnabled(on)) {
        m_loginError = SystemTexts::get(SystemTexts::Text::LoginItemRefused)
            + refused->chopped(refused->endsWith(u'.') ? 1 : 0)
            + SystemTexts::get(SystemTexts::Text::LoginItemAdvice);
        m_openAtLogin = m_login.enabled();
    } else {
        m_loginError.clear();
        m_openAtLogin = on;
    }
    Q_EMIT openAtLoginChanged();
}

void GeneralSettingsModel::setBuiltIn(bool on)
{
    if (on == m_builtIn)
        return;
    m_builtIn = on;
    m_preferences.setValue(builtInKey, on);
    Q_EMIT builtInChanged();
    m_settings.replaceNotch();
}

QString GeneralSettingsModel::restStyle() const
{
    return RestStyles::rawValue(m_settings.restStyle());
}

void GeneralSettingsModel::setRestStyle(const QString &raw)
{
    if (const auto style = RestStyles::fromRaw(raw))
        m_settings.setRestStyle(*style);
}

int GeneralSettingsModel::interval() const
{
    return int(m_settings.interval());
}

void GeneralSettingsModel::setInterval(int seconds)
{
    m_settings.setInterval(seconds);
}

QVariantList GeneralSettingsModel::screens()
{
    return {choice(QStringLiteral("Main display"), false),
            choice(QStringLiteral("Built-in display"), true)};
}

QVariantList GeneralSettingsModel::restStyles()
{
    QVariantList list;
    for (RestStyle s : RestStyles::all())
        list.append(choice(RestStyles::label(s), RestStyles::rawValue(s)));
    return list;
}

QVariantList GeneralSettingsModel::intervals()
{
    return {choice(QStringLiteral("1 minute"), 60), choice(QStringLiteral("2 minutes"), 120),
            choice(QStringLiteral("5 minutes"), 300)};
}

QVariantMap GeneralSettingsModel::texts()
{
    return {
        {QStringLiteral("startup"), QStringLiteral("Startup")},
        {QStringLiteral("openAtLogin"), QStringLiteral("Open at login")},
        {QStringLiteral("showOn"), QStringLiteral("Show the notch on")},
        {QStringLiteral("screenFooter"), SystemTexts::get(SystemTexts::Text::MainDisplayFooter)},
        {QStringLiteral("atRest"), QStringLiteral("At rest")},
        {QStringLiteral("restPicker"), QStringLiteral("When nothing is happening, show")},
        {QStringLiteral("checking"), QStringLiteral("Checking")},
        {QStringLiteral("intervalPicker"), QStringLiteral("Check platforms every")},
        {QStringLiteral("intervalFootnote"),
         QStringLiteral("Stripe is checked at most every 5 minutes, to stay within its free read "
                        "allowance.")},
    };
}
