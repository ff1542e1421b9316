#include "framer/SignInPage.h"

#include "framer/SignInPolicy.h"

#include <QTimer>
#include <QWebEngineNewWindowRequest>

SignInPage::SignInPage(FramerProfile &profile, QObject *parent) : FramerPage(profile, parent)
{
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) {
                if (request.requestedUrl().isValid())
                    load(request.requestedUrl());
            });
}

bool SignInPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    const SignInPolicy::Decision decision = SignInPolicy::decide(url, isMainFrame);
    if (decision.confirm)
        Q_EMIT confirmRequested();
    // Loading from inside the engine's navigation callback is not allowed.
    if (decision.load)
        QTimer::singleShot(0, this, [this, url = *decision.load] { load(url); });
    return decision.allow;
}
