#pragma once

#include "connectors/Poller.h"
#include "connectors/SourceCaches.h"
#include "connectors/SourceRegistry.h"
#include "core/AccountStore.h"
#include "core/Clock.h"
#include "core/EventStore.h"
#include "core/Http.h"
#include "core/Keychain.h"
#include "shell/SettingsModel.h"
#include "sources/StandardSources.h"

#include <QSettings>

// The long-lived objects of one run, built once in main in dependency order
// and handed down by reference.
struct Services {
    explicit Services(Endpoints endpoints)
        : http(clock, std::move(endpoints)), accounts(settings, keychain),
          events(EventStore::defaultPath()), sources(standardSources()),
          poller(accounts, events, keychain, sources, context()),
          settingsModel(accounts, poller, context())
    {
    }

    SourceContext context() { return {http, clock, caches}; }

    SystemClock clock;
    Http http;
    SourceCaches caches;
    Keychain keychain;
    QSettings settings;
    AccountStore accounts;
    EventStore events;
    SourceRegistry sources;
    Poller poller;
    SettingsModel settingsModel;
};
