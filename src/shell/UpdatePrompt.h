#pragma once

#include "shell/Updates.h"

#include <QCoroTask>

// Runs an update check and tells the user what came of it in a small
// dialog; when a newer version exists it offers to open its download page.
namespace UpdatePrompt {
QCoro::Task<> checkAndTell(Updates &updates);
}
