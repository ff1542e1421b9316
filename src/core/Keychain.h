#pragma once

#include <QCoroTask>
#include <QHash>
#include <QString>
#include <QUuid>
#include <chrono>
#include <optional>

// Account keys in the system keyring: one item per account, named by the
// account's UUID in upper case, under Korvanta's service name. Keys read or
// written once are kept in memory for the rest of the run.
struct KeychainLimits {
    std::chrono::milliseconds read{15000};
    // Storing may wait for the user to unlock the keyring.
    std::chrono::milliseconds write{60000};
};

class Keychain {
public:
    using Limits = KeychainLimits;

    struct Read {
        std::optional<QString> key;
        // Set when the keyring failed or did not answer, rather than simply
        // having no item for the account.
        std::optional<QString> problem;
    };

    static constexpr const char *service = "app.vexalon.korvanta";

    explicit Keychain(QString serviceName = QString::fromLatin1(service),
                      Limits limits = KeychainLimits());

    QCoro::Task<Read> get(const QUuid &id);
    // Throws SourceError when the keyring cannot store the key.
    QCoro::Task<> set(const QString &secret, const QUuid &id);
    QCoro::Task<> remove(const QUuid &id);

private:
    QString m_service;
    Limits m_limits;
    QHash<QString, QString> m_cache;
};
