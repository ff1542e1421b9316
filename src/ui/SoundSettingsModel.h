#pragma once

#include <QObject>
#include <QSettings>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class ChimePlayer;
class SettingsModel;

// The Celebrations tab: the moment sound and its volume, and a test moment.
// Every choice is stored at once and played so the user hears it.
class SoundSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the settings window")
    Q_PROPERTY(QVariantList chimes READ chimes CONSTANT)
    Q_PROPERTY(QString chime READ chime WRITE setChime NOTIFY chimeChanged)
    Q_PROPERTY(bool volumeEnabled READ volumeEnabled NOTIFY chimeChanged)
    Q_PROPERTY(double volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(QVariantMap texts READ texts CONSTANT)

public:
    SoundSettingsModel(SettingsModel &settings, QSettings &preferences, ChimePlayer &player,
                       QObject *parent = nullptr);

    Q_INVOKABLE void playTestMoment();

    static QVariantList chimes();
    QString chime() const;
    void setChime(const QString &raw);
    bool volumeEnabled() const;
    double volume() const;
    void setVolume(double volume);
    static QVariantMap texts();

Q_SIGNALS:
    void chimeChanged();
    void volumeChanged();

private:
    SettingsModel &m_settings;
    QSettings &m_preferences;
    ChimePlayer &m_player;
};
