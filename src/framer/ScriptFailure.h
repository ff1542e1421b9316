#pragma once

#include "core/SourceError.h"

// A page script rejected, or its page lost the document before it answered.
class ScriptFailure : public Failure {
public:
    using Failure::Failure;
};
