#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <chrono>
#include <utility>

// A request as connectors build it: GET by default; a connector that needs a
// body or another method (GraphQL, form posts) changes it before sending.
struct HttpRequest {
    using Header = std::pair<QByteArray, QByteArray>;

    QUrl url;
    QByteArray method = "GET";
    QByteArray body;
    QList<Header> headers;
    std::chrono::milliseconds timeout{60000};

    // Sets a header, replacing one of the same name (names compare case-insensitively).
    void setHeader(const QByteArray &name, const QByteArray &value);
    QByteArray header(const QByteArray &name) const;
    void removeHeader(const QByteArray &name);
};
