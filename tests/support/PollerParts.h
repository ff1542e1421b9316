#pragma once

#include "connectors/JsonFields.h"
#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Iso.h"
#include "core/Keychain.h"
#include "support/TestHttp.h"

#include <QSettings>
#include <QTemporaryDir>

// A platform as small as a platform gets: one GET lists the shop's events
// since the cut-off, each with its kind, title and amount (a $5 sale of
// "Zine" unless it says otherwise). It talks real HTTP to the fake server
// like every connector, and is read at most every `Interval` seconds.
template <int Interval = 0>
struct ListSource {
    static KeyHelp help() { return {}; }
    static constexpr double minInterval = Interval;
    static QCoro::Task<QString> verify(SourceContext, QString, Extra) { co_return "List"; }
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString = {})
    {
        QUrl url(QStringLiteral("https://api.list.test/events"));
        url.setQuery(QStringLiteral("since=") + Iso::plain(since) + QStringLiteral("&shop=")
                     + extra.value("shop"));
        const QJsonValue body =
            co_await ctx.http.json(Http::request(url, secret), Platform::Gumroad);
        Fetched events;
        for (const QJsonObject &o : Json::objects(body))
            events.append({o.value("id").toString(), account, Platform::Gumroad,
                           *SaleEvent::kindFromName(o.value("kind").toString("sale")),
                           o.value("title").toString("Zine"),
                           Money{o.value("amount").toInteger(500), "USD"}, ctx.clock.now()});
        co_return events;
    }
};

// Real stores' folder, the test keyring and real HTTP to the fake server on
// a manual clock: what every test of the poller stands on.
struct PollerHome {
    QTemporaryDir dir;
    FakePlatformServer server;
    ManualClock clock;
    // Tests move the clock by minutes while a request may be on its way.
    Http http{clock, std::get<Endpoints>(Endpoints::parse(server.endpointsForAll())),
              HttpLimits{std::chrono::minutes(5), std::chrono::minutes(5)}};
    SourceCaches caches;
    QSettings settings{dir.filePath("Korvanta.conf"), QSettings::IniFormat};
    Keychain keychain{QStringLiteral("app.vexalon.korvanta.tests")};
    AccountStore accounts{settings, keychain};

    explicit PollerHome(const QDateTime &start) : clock(start) {}
    SourceContext context() { return {http, clock, caches}; }
};

// The poller over that home's stores, with the platforms a test registers.
struct PollerParts : PollerHome {
    EventStore events{dir.filePath("events.json")};
    SourceRegistry sources;
    Poller poller{accounts, events, keychain, sources, context()};

    explicit PollerParts(const QDateTime &start) : PollerHome(start) {}

    // An account of `shop`; without a key, its key is gone from the keyring.
    Account add(const QString &shop, Platform platform = Platform::Gumroad, bool paused = false,
                bool withKey = true)
    {
        Account a{QUuid::createUuid(), platform, shop, {{"shop", shop}}, paused};
        runTask(accounts.add(a, "key-" + shop));
        if (!withKey)
            runTask(keychain.remove(a.id));
        return a;
    }

    void serve(const QString &shop, const QByteArray &body, int status = 200)
    {
        server.handle([=](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.queryValue("shop") != shop)
                return std::nullopt;
            return ScriptedResponse::json(body, status);
        });
    }
};
