#pragma once

#include <QHash>
#include <QString>
#include <QUrl>
#include <optional>
#include <variant>

// Sends requests for a platform host to a loopback origin instead, for tests
// and end-to-end runs ("HOST=ORIGIN,..."; HOST may be "*"). Only loopback
// origins are accepted, so a key can never be sent anywhere else this way.
class Endpoints {
public:
    struct Route {
        QUrl url;                 // where the request really goes
        QByteArray forwardedHost; // the original host, empty when not rerouted
    };

    Endpoints() = default;
    // The parsed overrides, or a sentence saying why the text was refused.
    static std::variant<Endpoints, QString> parse(const QString &text);

    bool isEmpty() const { return m_origins.isEmpty(); }
    Route route(const QUrl &url) const;

private:
    QHash<QString, QUrl> m_origins; // host (lower case) or "*" → origin
};
