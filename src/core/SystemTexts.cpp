#include "core/SystemTexts.h"

namespace SystemTexts {

namespace {
struct Entry {
    Text text;
    const char *mac;
    const char *other;
};

constexpr Entry table[] = {
    {Text::UserAgentSystem, "macOS", "Linux"},
    {Text::MissingKey, "The key is missing from the Keychain. Reconnect ",
     "The key is missing from your system keyring. Reconnect "},
    {Text::KeyringNoAnswer, "The Keychain didn't answer. Unlock it and check again",
     "Your system keyring didn't answer. Unlock it and check again"},
    {Text::KeyringRefused,
     "The Keychain couldn't store the key: ", "Your system keyring couldn't store the key: "},
    {Text::TokenInKeyring, "The token stays in your Mac's Keychain.",
     "The token stays in your system keyring."},
    {Text::LoginItemRefused, "macOS didn't allow it: ", "Your desktop didn't allow it: "},
    {Text::LoginItemAdvice, ". Move Korvanta to Applications and try again.",
     ". Check that your autostart folder can be written and try again."},
};
}

QString get(Text text)
{
    for (const Entry &e : table) {
        if (e.text == text) {
#ifdef Q_OS_MACOS
            return QString::fromUtf8(e.mac);
#else
            return QString::fromUtf8(e.other);
#endif
        }
    }
    return {};
}

}
