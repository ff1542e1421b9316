#pragma once

class FramerWebRoutes;

// What Qt WebEngine reads when it starts: it must be set before the
// application object exists. Pages are made only when needed; this only
// prepares the engine for them.
namespace WebEngineSetup {
void prepare(const FramerWebRoutes &routes);
}
