#pragma once

// Makes the QML module Korvanta.Design (`T`, the `DS` building blocks,
// `PlatformLogo`, `Mark`) available to the program's QML engines. Call it
// once before loading QML that imports the module; the types register
// themselves when the module is first imported.
void registerDesignQml();
