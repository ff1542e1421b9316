#include "ui/SoundSettingsModel.h"

#include "notch/ChimePlayer.h"
#include "shell/SettingsModel.h"

SoundSettingsModel::SoundSettingsModel(SettingsModel &settings, QSettings &preferences,
                                       ChimePlayer &player, QObject *parent)
    : QObject(parent), m_settings(settings), m_preferences(preferences), m_player(player)
{
}

void SoundSettingsModel::playTestMoment()
{
    m_settings.playDemo();
}

QVariantList SoundSettingsModel::chimes()
{
    QVariantList list;
    for (Chime c : Chimes::all())
        list.append(QVariantMap{{QStringLiteral("label"), Chimes::label(c)},
                                {QStringLiteral("value"), Chimes::rawValue(c)}});
    return list;
}

QString SoundSettingsModel::chime() const
{
    return Chimes::rawValue(Chimes::current(m_preferences));
}

void SoundSettingsModel::setChime(const QString &raw)
{
    const auto chime = Chimes::fromRaw(raw);
    if (!chime)
        return;
    Chimes::setCurrent(m_preferences, *chime);
    Q_EMIT chimeChanged();
    m_player.play(*chime);
}

bool SoundSettingsModel::volumeEnabled() const
{
    return Chimes::current(m_preferences) != Chime::Off;
}

double SoundSettingsModel::volume() const
{
    return Chimes::volume(m_preferences);
}

void SoundSettingsModel::setVolume(double volume)
{
    m_preferences.setValue(QStringLiteral("chimeVolume"), std::clamp(volume, 0.0, 1.0));
    Q_EMIT volumeChanged();
    m_player.playCurrent();
}

QVariantMap SoundSettingsModel::texts()
{
    return {
        {QStringLiteral("section"), QStringLiteral("Sound")},
        {QStringLiteral("picker"), QStringLiteral("Moment sound")},
        {QStringLiteral("footer"),
         QStringLiteral("Several sales that arrive together play as one grouped moment. Refunds "
                        "and failed payments never play a sound.")},
        {QStringLiteral("test"), QStringLiteral("Play a test moment")},
    };
}
