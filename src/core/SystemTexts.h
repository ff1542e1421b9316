#pragma once

#include <QString>

// Texts that name the operating system or its facilities. The macOS wording
// is the original; other systems say the same thing in their own terms. Every
// such text lives in this one table so a macOS build shows the original.
namespace SystemTexts {

enum class Text {
    UserAgentSystem,   // the system named in the User-Agent
    MissingKey,        // poller: the account's key is not in the keyring
    KeyringNoAnswer,   // the keyring did not answer within its time limit
    KeyringRefused,    // the keyring could not store a key
    TokenInKeyring,    // connect-form note: where a pasted token is kept
    KeysStayLocal,     // accounts pane: where keys live and what removing does
    SellsIntoNotch,    // walkthrough welcome: what the app does
    KeysInKeyring,     // walkthrough platforms: where keys stay
    MainDisplayFooter, // general settings: which screen is the main one
    LoginItemRefused,  // opening at login failed: what comes before the reason
    LoginItemAdvice,   // ... and the advice after it
};

QString get(Text text);

}
