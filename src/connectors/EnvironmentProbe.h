#pragma once

#include "connectors/KeySource.h"
#include "core/SourceError.h"

#include <QCoroTask>

// Platforms that run a production and a sandbox environment on separate hosts
// (Square, Whop) remember which one a key belongs to as extra sandbox = "1".
namespace Environment {

inline const QString sandboxKey = QStringLiteral("sandbox");

inline bool isSandbox(const Extra &extra)
{
    return extra.value(sandboxKey) == u"1";
}

// One key check in the environment that `extra` names; returns the label.
using Attempt = QCoro::Task<QString> (*)(SourceContext ctx, QString secret, Extra extra);

// Tries the key where `extra` points (production for a new account), then in
// the sandbox. When both refuse it, the sandbox's error is the one thrown: the
// production error has already been answered by trying the sandbox.
inline QCoro::Task<QString> probe(SourceContext ctx, QString secret, Extra extra, Attempt attempt)
{
    try {
        co_return co_await attempt(ctx, secret, extra);
    } catch (const Failure &) {
        // Already the sandbox: asking it again would only repeat its answer.
        if (isSandbox(extra))
            throw;
    }
    extra.insert(sandboxKey, QStringLiteral("1"));
    co_return co_await attempt(ctx, secret, extra);
}

}
