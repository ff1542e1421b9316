#include "ui/FirstRunModel.h"

#include "core/SystemTexts.h"

// The walkthrough's words, screen by screen.

using Step = FirstRunStep;

QString FirstRunModel::title() const
{
    switch (m_step) {
    case Step::Welcome:
        return QStringLiteral("Every sale, live in your notch.");
    case Step::Platforms:
        return QStringLiteral("Works with the places you already sell.");
    case Step::Demo:
        return QStringLiteral("Here's what a sale looks like.");
    case Step::Pick:
        return QStringLiteral("Connect your first platform.");
    case Step::Key:
        return framerKey() ? QStringLiteral("Sign in to Framer.") : QString();
    case Step::Tune:
        return QStringLiteral("Make it yours.");
    case Step::Live:
        return QStringLiteral("You're live.");
    }
    return {};
}

QString FirstRunModel::body() const
{
    switch (m_step) {
    case Step::Welcome:
        return SystemTexts::get(SystemTexts::Text::SellsIntoNotch);
    case Step::Platforms:
        return SystemTexts::get(SystemTexts::Text::KeysInKeyring);
    case Step::Demo:
        return QStringLiteral("Look at the top of your screen. This plays a real moment in the "
                              "notch, with sound.");
    case Step::Pick:
        return QStringLiteral("Pick where you sell. You can add more later in Settings.");
    case Step::Key:
        if (!framerKey())
            return {};
        return QStringLiteral("A small window with Framer's own sign-in page is open. Sign in "
                              "there, and it closes by itself once you're in. Korvanta only reads "
                              "your creator stats.");
    case Step::Tune:
        return QStringLiteral("Every paid sale celebrates. Several at once play as one moment, and "
                              "refunds stay quiet. Pick a sound, and what the notch shows between "
                              "sales.");
    case Step::Live:
        if (m_connectedName.isEmpty())
            return QStringLiteral("Connect a platform any time from the Korvanta menu → Settings "
                                  "→ Accounts.");
        return QStringLiteral("Korvanta is watching ") + m_connectedName
            + QStringLiteral(". The next sale drops into the notch the moment it lands, and "
                             "today's total sits beside the notch between sales.");
    }
    return {};
}

QString FirstRunModel::primaryLabel() const
{
    switch (m_step) {
    case Step::Welcome:
        return QStringLiteral("Get started");
    case Step::Platforms:
    case Step::Demo:
    case Step::Tune:
        return QStringLiteral("Continue");
    case Step::Pick:
        return laterLabel();
    case Step::Key:
        return framerKey() ? QStringLiteral("I've signed in") : QStringLiteral("Connect");
    case Step::Live:
        return QStringLiteral("Finish");
    }
    return {};
}

QString FirstRunModel::secondaryLabel() const
{
    switch (m_step) {
    case Step::Welcome:
        return QStringLiteral("Skip to connecting");
    case Step::Key:
        return framerKey() ? QStringLiteral("Open the sign-in window again")
                           : QStringLiteral("Back");
    case Step::Tune:
        return QStringLiteral("Preview");
    default:
        return {};
    }
}
