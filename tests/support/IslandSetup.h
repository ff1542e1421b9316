#pragma once

#include "support/RecordingOutput.h"
#include "notch/NotchModel.h"
#include "support/ManualClock.h"

#include <QSettings>
#include <QTemporaryDir>

// A notch model on a hand-moved clock with its settings in a temporary folder.
struct IslandSetup {
    QTemporaryDir dir;
    QSettings settings{dir.filePath("settings.ini"), QSettings::IniFormat};
    ManualClock clock;
    RecordingOutput output;
    ChimePlayer chime{settings, output};
    NotchModel model{settings, clock, chime};
};
