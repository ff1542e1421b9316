#pragma once

#include <QSslConfiguration>
#include <QString>
#include <optional>

// A fresh self-signed certificate for the given host names, made with the
// openssl program; nothing when it is not installed.
std::optional<QSslConfiguration> selfSignedServer(const QStringList &hosts);
