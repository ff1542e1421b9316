#pragma once

#include "core/Endpoints.h"

#include <optional>

// KORVANTA_ENDPOINTS, when set; refuses anything but loopback origins (the
// reason goes to stderr and the result is empty).
std::optional<Endpoints> endpointsFromEnvironment();

// The names that place settings, data and the keyring items.
void nameApplication();
