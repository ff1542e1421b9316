#pragma once

#include "connectors/SourceRegistry.h"

// Every connector Korvanta ships, keyed by platform.
SourceRegistry standardSources();
