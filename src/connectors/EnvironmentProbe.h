#pragma once

#include "connectors/KeySource.h"
#include "core/Sandbox.h"
#include "core/SourceError.h"

#include <QCoroTask>
#include <functional>

// Platforms that run a production and a sandbox environment on separate hosts
// (Polar, Square, Whop) remember which one a key belongs to as extra sandbox = "1".
namespace Environment {

inline bool isSandbox(const Extra &extra)
{
    return Sandbox::flagged(extra);
}

// Runs `attempt` in the environment `extra` names (production for a new
// account) and, when that fails, in the sandbox. When both fail, the
// sandbox's error is the one thrown: the production error has already been
// answered by trying the sandbox.
template <typename T>
QCoro::Task<T> probe(Extra extra, std::function<QCoro::Task<T>(Extra)> attempt)
{
    try {
        co_return co_await attempt(extra);
    } catch (const Failure &) {
        // Already the sandbox: asking it again would only repeat its answer.
        if (isSandbox(extra))
            throw;
    }
    co_return co_await attempt(Sandbox::marked(std::move(extra)));
}

// One key check in the environment that `extra` names; returns the label.
using Attempt = QCoro::Task<QString> (*)(SourceContext ctx, QString secret, Extra extra);

inline QCoro::Task<QString> probe(SourceContext ctx, QString secret, Extra extra, Attempt attempt)
{
    return probe<QString>(std::move(extra),
                          [=](Extra e) { return attempt(ctx, secret, std::move(e)); });
}

}
