#include "shell/Updates.h"

#include "core/Http.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QVersionNumber>

namespace {

Updates::Result failed(const QString &why)
{
    return {Updates::Result::Kind::Failed,
            {},
            {},
            QStringLiteral("Korvanta couldn't check for updates: %1. Try again later.").arg(why)};
}

}

Updates::Updates(Http &http, QUrl feed, QString currentVersion)
    : m_http(http), m_feed(std::move(feed)), m_current(std::move(currentVersion))
{
}

QCoro::Task<Updates::Result> Updates::check()
{
    if (m_feed.isEmpty())
        co_return Result{Result::Kind::NoFeed,
                         {},
                         {},
                         QStringLiteral("Updates for Korvanta come with the package that "
                                        "installed it. Your package manager offers new versions.")};
    try {
        const HttpResponse response = co_await m_http.send(Http::request(m_feed));
        if (response.status != 200)
            co_return failed(QStringLiteral("the update feed answered %1").arg(response.status));
        co_return compare(response.body);
    } catch (const Failure &failure) {
        QString why = failure.description();
        while (why.endsWith(u'.'))
            why.chop(1);
        co_return failed(why);
    }
}

Updates::Result Updates::compare(const QByteArray &body) const
{
    const QJsonObject feed = QJsonDocument::fromJson(body).object();
    const QString version = feed.value(QLatin1String("version")).toString();
    const QUrl page(feed.value(QLatin1String("url")).toString(), QUrl::StrictMode);
    const QVersionNumber theirs = QVersionNumber::fromString(version);
    // Only a web page is ever opened from what the feed says.
    const bool web = page.isValid() && (page.scheme() == u"https" || page.scheme() == u"http");
    if (theirs.isNull() || !web)
        return failed(QStringLiteral("the update feed could not be read"));
    if (theirs <= QVersionNumber::fromString(m_current))
        return {Result::Kind::UpToDate,
                version,
                {},
                QStringLiteral("Korvanta %1 is the newest version.").arg(m_current)};
    return {Result::Kind::Available, version, page,
            QStringLiteral("Korvanta %1 is available. You have %2.").arg(version, m_current)};
}
