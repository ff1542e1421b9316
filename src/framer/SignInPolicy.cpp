#include "framer/SignInPolicy.h"

#include "framer/FramerSite.h"

#include <QUrlQuery>

namespace SignInPolicy {

bool isSignInStep(const QUrl &url)
{
    const QString path = url.path().toLower();
    if (path.isEmpty())
        return true;
    if (path == u"/" && url.fragment().contains(u"token"))
        return true;
    static const char *steps[] = {"login", "signup",   "auth",   "oauth",
                                  "sso",   "callback", "verify", "api"};
    for (const char *step : steps)
        if (path.contains(QLatin1String(step)))
            return true;
    return false;
}

Decision decide(const QUrl &url, bool mainFrame)
{
    if (FramerSite::isPageHost(url.host()) && mainFrame && !isSignInStep(url))
        return {false, true, std::nullopt};
    const QString path = url.path();
    if (url.host() == QLatin1String(googleHost)
        && (path.contains(u"oauth") || path.contains(u"/o/"))) {
        if (const auto chooser = withAccountChooser(url))
            return {false, false, chooser};
    }
    return {};
}

std::optional<QUrl> withAccountChooser(const QUrl &url)
{
    QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyDecoded);
    for (const auto &[name, value] : items)
        if (name == u"prompt" && value.contains(u"select_account"))
            return std::nullopt;
    query.removeAllQueryItems(QStringLiteral("prompt"));
    query.addQueryItem(QStringLiteral("prompt"), QStringLiteral("select_account"));
    QUrl rebuilt = url;
    rebuilt.setQuery(query);
    if (!rebuilt.isValid())
        return std::nullopt;
    return rebuilt;
}

std::optional<QUrl> signInLink(const QString &clipboard)
{
    const QUrl url(clipboard.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"https" || !FramerSite::isInDomain(url.host()))
        return std::nullopt;
    return url;
}

}
