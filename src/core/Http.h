#pragma once

#include "core/Clock.h"
#include "core/Endpoints.h"
#include "core/HttpRequest.h"
#include "core/Platform.h"
#include "core/SourceError.h"

#include <QCoroTask>
#include <QJsonValue>
#include <QNetworkAccessManager>
#include <optional>

struct HttpResponse {
    int status = 0;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
};

// The one HTTP client of the process: every request carries Korvanta's
// User-Agent and the same time limits, and every failure turns into the same
// kind of sentence. Built once in main and handed to the connectors.
struct HttpLimits {
    std::chrono::milliseconds inactivity{20000}; // longest wait for data
    std::chrono::milliseconds whole{40000};      // longest whole transfer
};

class Http {
public:
    using Limits = HttpLimits;

    // The whole-transfer limit runs on `clock`.
    explicit Http(Clock &clock, Endpoints endpoints = {}, Limits limits = HttpLimits());
    Http(const Http &) = delete;
    Http &operator=(const Http &) = delete;

    static QByteArray userAgent();

    // A GET with Accept: application/json, an optional bearer token and extra
    // headers set last (so they replace the two above).
    static HttpRequest request(const QUrl &url, const std::optional<QString> &bearer = std::nullopt,
                               const QList<HttpRequest::Header> &headers = {});

    // Sends and decodes an object or array; throws SourceError for HTTP
    // errors, TransportError when no answer came, ParseError for bad JSON.
    QCoro::Task<QJsonValue> json(HttpRequest request, Platform platform);

    // Sends and returns whatever HTTP answer came; throws TransportError.
    QCoro::Task<HttpResponse> send(HttpRequest request);

    // A platform's own error sentence in an error body, if it has one.
    static std::optional<QString> errorMessage(const QByteArray &body);
    // The standard sentence for an HTTP status.
    static SourceError statusError(int status, Platform platform);

    QNetworkAccessManager &network() { return m_network; }

private:
    QCoro::Task<HttpResponse> sendOnce(const HttpRequest &request);

    QNetworkAccessManager m_network;
    Clock &m_clock;
    Endpoints m_endpoints;
    Limits m_limits;
};
