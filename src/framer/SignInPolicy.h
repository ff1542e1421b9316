#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The sign-in window's rules, apart from the window: which navigations are
// sign-in steps, when to confirm a sign-in, Google's account chooser and
// which clipboard texts are Framer sign-in links.
namespace SignInPolicy {

inline constexpr const char *googleHost = "accounts.google.com";

struct Decision {
    bool allow = true;
    bool confirm = false;     // start the confirmation request
    std::optional<QUrl> load; // load this instead
};

// An empty path, the root with a token fragment, or a path naming a login,
// sign-up, auth, callback, verify or api step.
bool isSignInStep(const QUrl &url);

// A main-frame navigation to any other Framer page means Framer considers
// the user signed in: cancel it and confirm.
Decision decide(const QUrl &url, bool mainFrame);

// Google's sign-in with "prompt=select_account" as its only prompt, or
// nothing when it already asks to choose the account.
std::optional<QUrl> withAccountChooser(const QUrl &url);

// The clipboard text as an https link into Framer's domain, or nothing.
std::optional<QUrl> signInLink(const QString &clipboard);

}
