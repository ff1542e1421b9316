#include "app/EnvironmentEndpoints.h"

#include <QCoreApplication>
#include <QTextStream>

std::optional<Endpoints> endpointsFromEnvironment()
{
    const QString text = qEnvironmentVariable("KORVANTA_ENDPOINTS");
    if (text.trimmed().isEmpty())
        return Endpoints();
    auto parsed = Endpoints::parse(text);
    QTextStream err(stderr);
    if (auto *why = std::get_if<QString>(&parsed)) {
        err << *why << Qt::endl;
        return std::nullopt;
    }
    err << "Warning: KORVANTA_ENDPOINTS is set, so platform requests go to local test servers."
        << Qt::endl;
    return std::get<Endpoints>(parsed);
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvanta"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("vexalon.app"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvanta"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANTA_VERSION));
}
