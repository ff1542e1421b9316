#include "connectors/SandboxedApi.h"

#include "connectors/EnvironmentProbe.h"
#include "core/Http.h"

QUrl SandboxedApi::base(const Extra &extra) const
{
    return Environment::isSandbox(extra) ? sandbox : production;
}

QUrl SandboxedApi::dashboard(const Account &account) const
{
    return account.isSandbox() ? sandboxDashboard : productionDashboard;
}

HttpRequest SandboxedApi::request(const Extra &extra, const QString &path, const QString &secret,
                                  const QueryItems &query) const
{
    return Http::request(queryUrl(base(extra), path, query), secret, headers);
}
