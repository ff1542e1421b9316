#pragma once

#include "core/Platform.h"

#include <QJsonObject>
#include <QMap>
#include <QUuid>
#include <optional>

// One connected platform account. Its key lives in the keyring, never here.
struct Account {
    QUuid id = QUuid::createUuid();
    Platform platform = Platform::Stripe;
    QString label;
    QMap<QString, QString> extra;
    bool paused = false;

    // A label containing "(sandbox)" or extra sandbox = "1" marks a test account.
    bool isSandbox() const;

    QJsonObject toJson() const;
    static std::optional<Account> fromJson(const QJsonValue &value);

    friend bool operator==(const Account &, const Account &) = default;
};
