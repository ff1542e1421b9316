#pragma once

#include "connectors/JsonFields.h"
#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Iso.h"
#include "core/Keychain.h"
#include "framer/Watcher.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"
#include "notch/NotchModel.h"
#include "shell/Autostart.h"
#include "shell/SettingsModel.h"
#include "shell/Updates.h"
#include "sources/StandardSources.h"
#include "support/TestHttp.h"

#include <QSettings>
#include <QTemporaryDir>

// A platform as small as a platform gets: one GET lists the shop's events,
// each with its kind and amount. It talks real HTTP to the fake server.
struct ListSource {
    static KeyHelp help() { return {}; }
    static constexpr double minInterval = 0;
    static QCoro::Task<QString> verify(SourceContext, QString, Extra) { co_return "List"; }
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime, QString = {})
    {
        const QUrl url(QStringLiteral("https://api.list.test/events?shop=") + extra.value("shop"));
        const QJsonValue body =
            co_await ctx.http.json(Http::request(url, secret), Platform::Gumroad);
        Fetched events;
        for (const QJsonObject &o : Json::objects(body))
            events.append({o.value("id").toString(), account, Platform::Gumroad,
                           *SaleEvent::kindFromName(o.value("kind").toString()),
                           o.value("title").toString(), Money{o.value("amount").toInteger(), "USD"},
                           ctx.clock.now()});
        co_return events;
    }
};

// Everything the shell works with, over real stores in a temporary folder,
// the test keyring and real HTTP to the fake server.
struct ShellFixture {
    QTemporaryDir dir;
    FakePlatformServer server;
    ManualClock clock{QDateTime::currentDateTimeUtc()};
    // Tests move the clock by minutes while a request may be on its way.
    Http http{clock, std::get<Endpoints>(Endpoints::parse(server.endpointsForAll())),
              HttpLimits{std::chrono::minutes(5), std::chrono::minutes(5)}};
    SourceCaches caches;
    QSettings settings{dir.filePath("Korvanta.conf"), QSettings::IniFormat};
    Keychain keychain{QStringLiteral("app.vexalon.korvanta.tests")};
    AccountStore accounts{settings, keychain};
    EventStore events{dir.filePath("events.json")};
    SourceRegistry sources = standardSources();
    Poller poller{accounts, events, keychain, sources, SourceContext{http, clock, caches}};
    Autostart autostart{dir.filePath("autostart/korvanta.desktop"), "/opt/Korvanta Apps/korvanta"};
    SettingsModel settingsModel{accounts, poller, SourceContext{http, clock, caches}, autostart};
    EffectSoundOutput sound;
    ChimePlayer chime{settings, sound};
    NotchModel notch{settings, clock, chime};
    Watcher watcher{settings, dir.filePath("framer-polls.csv")};
    Updates updates{http, QUrl(), "0.1"};

    ShellFixture()
    {
        settings.setValue("chime", "off");
        // Gumroad accounts here read the small list platform above.
        sources.add(Platform::Gumroad, SourceEntry::of<ListSource>());
    }

    Account add(const QString &shop)
    {
        Account a{QUuid::createUuid(), Platform::Gumroad, shop, {{"shop", shop}}, false};
        runTask(accounts.add(a, "key-" + shop));
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
