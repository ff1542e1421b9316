#pragma once

#include "framer/FramerPage.h"

// The sign-in window's page: applies the sign-in navigation rules and never
// opens a second window; a new window's address loads here instead.
class SignInPage : public FramerPage {
    Q_OBJECT
public:
    explicit SignInPage(FramerProfile &profile, QObject *parent = nullptr);

Q_SIGNALS:
    // A Framer page outside the sign-in steps was asked for: confirm the sign-in.
    void confirmRequested();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};
