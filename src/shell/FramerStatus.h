#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// What the shell knows about Framer for the menu: the status line, when it
// was last read, the templates remixed in the latest period and the login.
struct FramerStatus {
    struct Remixed {
        QString title;
        qint64 remixes = 0;
        friend bool operator==(const Remixed &, const Remixed &) = default;
    };

    QString status = QStringLiteral("Not checked yet");
    std::optional<QDateTime> lastChecked;
    QList<Remixed> today;         // highest first
    std::optional<bool> signedIn; // unknown until the first read
};
