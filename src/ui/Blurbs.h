#pragma once

#include "core/Platform.h"

// What each platform brings, shown under its name in "Add a platform".
namespace Blurbs {
QString of(Platform platform);
}
