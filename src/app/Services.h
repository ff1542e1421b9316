#pragma once

#include "connectors/Poller.h"
#include "connectors/SourceCaches.h"
#include "connectors/SourceRegistry.h"
#include "core/AccountStore.h"
#include "core/Clock.h"
#include "core/EventStore.h"
#include "core/Http.h"
#include "core/Keychain.h"
#include "shell/Autostart.h"
#include "shell/SettingsModel.h"
#include "sources/StandardSources.h"

#include <QCoreApplication>
#include <QSettings>

// The long-lived objects of one run, built once in main in dependency order
// and handed down by reference.
struct Services {
    // A read-only run (a status bar asking beside the running app) writes,
    // creates and renames nothing.
    Services(Endpoints endpoints, StoreAccess access)
        : http(clock, std::move(endpoints)), accounts(settings, keychain, access),
          events(EventStore::defaultPath(), access), sources(standardSources()),
          poller(accounts, events, keychain, sources, context()),
          autostart(Autostart::defaultPath(), QCoreApplication::applicationFilePath()),
          settingsModel(accounts, poller, context(), autostart)
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
    Autostart autostart;
    SettingsModel settingsModel;
};
