#include "notch/AudioOutputCheck.h"

#include <QAudioDevice>
#include <QLoggingCategory>
#include <QMediaDevices>

bool hasAudioOutput()
{
    // The sound backend reports a missing sound server as an uncategorised
    // warning the first time it is asked; that is the answer, not an error.
    QLoggingCategory *general = QLoggingCategory::defaultCategory();
    const bool warned = general->isWarningEnabled();
    general->setEnabled(QtWarningMsg, false);
    const bool present = !QMediaDevices::defaultAudioOutput().isNull();
    general->setEnabled(QtWarningMsg, warned);
    return present;
}
