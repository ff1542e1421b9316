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
    {Text::KeysStayLocal,
     "Keys live in your Mac's Keychain and go only to the platform they belong to. Removing a "
     "platform deletes its key and stops checking it.",
     "Keys live in your system keyring and go only to the platform they belong to. Removing a "
     "platform deletes its key and stops checking it."},
    {Text::SellsIntoNotch,
     "Korvanta watches the places you sell and drops each sale into your Mac's notch with a "
     "chime, then settles back. It lives in the menu bar and stays out of your way.",
     "Korvanta watches the places you sell and drops each sale into a notch at the top of your "
     "screen with a chime, then settles back. It lives in your panel's tray and stays out of your "
     "way."},
    {Text::KeysInKeyring,
     "Framer reads your Marketplace stats through your Framer login. Everything else uses a "
     "read-only key you paste once. Keys stay in your Mac's Keychain, and Korvanta talks to each "
     "platform directly: there's no Korvanta server.",
     "Framer reads your Marketplace stats through your Framer login. Everything else uses a "
     "read-only key you paste once. Keys stay in your system keyring, and Korvanta talks to each "
     "platform directly: there's no Korvanta server."},
    {Text::MainDisplayFooter,
     "The main display is the one with the menu bar. Screens without a notch get one drawn at "
     "the top.",
     "The main display is your primary screen. Screens without a notch get one drawn at the top."},
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
