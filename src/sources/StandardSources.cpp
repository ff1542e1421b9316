#include "sources/StandardSources.h"

// Connectors join here: one include and one line each.

SourceRegistry standardSources()
{
    SourceRegistry r;
    return r;
}
