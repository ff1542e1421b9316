#pragma once

// Whether a store may write. The running app owns the data folder; a second
// process that only reads (a status bar calling --today) must change nothing.
enum class StoreAccess { ReadWrite, ReadOnly };
