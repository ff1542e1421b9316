#include "app/SignInCommand.h"

#include "app/EnvironmentEndpoints.h"
#include "app/WebEngineSetup.h"
#include "core/Clock.h"
#include "core/Http.h"
#include "framer/FramerProfile.h"
#include "framer/FramerWebRoutes.h"
#include "framer/SignInWindow.h"
#include "shell/WindowShortcuts.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <unistd.h>

namespace {

// Follows the app's requests on standard input.
void followParent(QSocketNotifier &notifier, SignInWindow &window)
{
    QObject::connect(&notifier, &QSocketNotifier::activated, &window, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0 && QByteArray(buffer, int(n)).contains("raise")) {
            window.show();
            return;
        }
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
            notifier.setEnabled(false);
            window.close();
        }
    });
}

}

namespace SignInCommand {

bool requested(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--framer-sign-in"));
}

int run(int argc, char **argv)
{
    auto endpoints = endpointsFromEnvironment();
    if (!endpoints)
        return 2;
    const FramerWebRoutes routes(*endpoints);
    WebEngineSetup::prepare(routes);
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setQuitOnLastWindowClosed(false);
    WindowShortcuts shortcuts;
    SystemClock clock;
    Http http(clock, std::move(*endpoints));
    FramerProfile profile(routes);
    SignInWindow window(profile, http, clock);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    followParent(input, window);
    // Ends from the event loop, once the window's own signal is over.
    QObject::connect(&window, &SignInWindow::openChanged, &app, [&] {
        if (!window.isOpen())
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    window.show();
    app.exec();
    // Still open: the quit shortcut ended the loop, for the whole app.
    if (window.isOpen())
        return quitStatus;
    return window.isDone() ? 0 : 1;
}

}
