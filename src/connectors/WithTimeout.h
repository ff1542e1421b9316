#pragma once

#include "core/SourceError.h"
#include "core/TimeLimit.h"

// Runs `body` and returns its result or error, unless `limit` passes first:
// then a source error says how long it waited.
template <typename T>
QCoro::Task<T> withTimeout(Clock &clock, std::chrono::seconds limit, QCoro::Task<T> body)
{
    std::optional<T> value = co_await limitedWait(clock, limit, std::move(body));
    if (!value)
        throw SourceError(QStringLiteral("No answer in %1 seconds").arg(limit.count()));
    co_return std::move(*value);
}
