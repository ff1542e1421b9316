#pragma once

#include "framer/Watcher.h"
#include "notch/ChimePlayer.h"
#include "notch/EffectSoundOutput.h"
#include "notch/NotchModel.h"
#include "shell/Autostart.h"
#include "shell/SettingsModel.h"
#include "shell/Updates.h"
#include "sources/StandardSources.h"
#include "support/PollerParts.h"

// Everything the shell works with, over the poller's real stores, keyring
// and fake server. Gumroad accounts read the small list platform.
struct ShellFixture : PollerParts {
    Autostart autostart{dir.filePath("autostart/korvanta.desktop"), "/opt/Korvanta Apps/korvanta"};
    SettingsModel settingsModel{accounts, poller, SourceContext{http, clock, caches}, autostart};
    EffectSoundOutput sound;
    ChimePlayer chime{settings, sound};
    NotchModel notch{settings, clock, chime};
    Watcher watcher{settings, dir.filePath("framer-polls.csv")};
    Updates updates{http, QUrl(), "0.1"};

    ShellFixture() : PollerParts(QDateTime::currentDateTimeUtc())
    {
        settings.setValue("chime", "off");
        sources = standardSources();
        sources.add(Platform::Gumroad, SourceEntry::of<ListSource<>>());
    }
};
