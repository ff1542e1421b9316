#pragma once

#include "app/Services.h"
#include "framer/FramerCheck.h"
#include "framer/FramerLogin.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSource.h"
#include "framer/SignInWindow.h"
#include "framer/Watcher.h"

// The Framer parts of a run, built only by the commands that read Framer.
// Members go in reverse order, so every page is gone before the profile.
struct FramerServices {
    FramerServices(Services &services, FramerWebRoutes routes)
        : login(services.settings), profile(std::move(routes)), source(profile, services.clock),
          watcher(services.settings), signIn(profile, services.http, services.clock),
          check(profile, source, watcher, login, services.clock)
    {
        QObject::connect(&signIn, &SignInWindow::finished, &signIn, [this] { login.remember(); });
    }

    FramerLogin login;
    FramerProfile profile;
    FramerSource source;
    Watcher watcher;
    SignInWindow signIn;
    FramerCheck check;
};
