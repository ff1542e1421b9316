#pragma once

#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Keychain.h"
#include "notch/ChimePlayer.h"
#include "shell/Autostart.h"
#include "shell/SettingsModel.h"
#include "sources/StandardSources.h"
#include "support/RecordingOutput.h"
#include "support/TestHttp.h"

#include <QSettings>
#include <QTemporaryDir>

// The settings model over real stores and settings in a temporary folder,
// the test keyring and every shipped connector talking to the fake server.
struct SettingsParts {
    QTemporaryDir dir;
    TestHttp t;
    QSettings settings{dir.filePath("Korvanta.conf"), QSettings::IniFormat};
    Keychain keychain{QStringLiteral("app.vexalon.korvanta.tests")};
    AccountStore store{settings, keychain};
    EventStore events{dir.filePath("events.json")};
    SourceRegistry sources = standardSources();
    Poller poller{store, events, keychain, sources, t.context()};
    Autostart autostart{dir.filePath("autostart/korvanta.desktop"), QStringLiteral("korvanta")};
    SettingsModel model{store, poller, t.context(), autostart};
    RecordingOutput sound;
    ChimePlayer chime{settings, sound};
};
