#pragma once

#include <QSettings>

// Remembers in the preferences that a Framer sign-in was completed. Until
// then no check starts a web engine for Framer; the account switch forgets it.
class FramerLogin {
public:
    static constexpr const char *key = "framerSignedIn";

    explicit FramerLogin(QSettings &settings) : m_settings(settings) {}

    bool completed() const { return m_settings.value(QLatin1String(key)).toBool(); }
    void remember() { m_settings.setValue(QLatin1String(key), true); }
    void forget() { m_settings.remove(QLatin1String(key)); }

private:
    QSettings &m_settings;
};
