#include "core/Http.h"

#include "core/SystemTexts.h"

#include <QCoroNetworkReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QPointer>
#include <memory>

namespace {

constexpr int maxRedirects = 5;
constexpr const char *webSite = "https://korvanta.app";

// Headers that carry a key; they never follow a redirect to another origin.
const QByteArray credentialHeaders[] = {"Authorization", "X-Shopify-Access-Token", "Cookie"};

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0
        && a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

struct ReplyDeleter {
    void operator()(QNetworkReply *reply) const { reply->deleteLater(); }
};

std::optional<QString> stringAt(const QJsonObject &o, QLatin1String key)
{
    const QJsonValue v = o.value(key);
    return v.isString() ? std::optional(v.toString()) : std::nullopt;
}

// Aborts `reply` once `limit` has passed, unless it has finished by then.
QCoro::Task<> abortAfter(Clock &clock, std::chrono::milliseconds limit,
                         QPointer<QNetworkReply> reply)
{
    co_await clock.sleep(limit);
    if (reply && reply->isRunning())
        reply->abort();
}

}

Http::Http(Clock &clock, Endpoints endpoints, Limits limits)
    : m_clock(clock), m_endpoints(std::move(endpoints)), m_limits(limits)
{
    // Nothing of a session is kept on disk; credentials are ours to send.
    m_network.setCache(nullptr);
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QByteArray Http::userAgent()
{
    return QStringLiteral("Korvanta/0.1 (%1; +%2)")
        .arg(SystemTexts::get(SystemTexts::Text::UserAgentSystem), QLatin1String(webSite))
        .toUtf8();
}

HttpRequest Http::request(const QUrl &url, const std::optional<QString> &bearer,
                          const QList<HttpRequest::Header> &headers)
{
    HttpRequest r;
    r.url = url;
    if (bearer)
        r.setHeader("Authorization", "Bearer " + bearer->toUtf8());
    r.setHeader("Accept", "application/json");
    for (const auto &[name, value] : headers)
        r.setHeader(name, value);
    return r;
}

QCoro::Task<HttpResponse> Http::sendOnce(const HttpRequest &request)
{
    const Endpoints::Route route = m_endpoints.route(request.url);
    QNetworkRequest nr(route.url);
    nr.setRawHeader("User-Agent", userAgent());
    for (const auto &[name, value] : request.headers)
        nr.setRawHeader(name, value);
    if (!route.forwardedHost.isEmpty())
        nr.setRawHeader("X-Forwarded-Host", route.forwardedHost);
    nr.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    nr.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    nr.setTransferTimeout(int(m_limits.inactivity.count()));

    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(
        m_network.sendCustomRequest(nr, request.method, request.body));
    // A rerouted request goes to a loopback test server (nothing else is
    // accepted as a route), whose certificate is its own.
    if (!route.forwardedHost.isEmpty())
        QObject::connect(reply.get(), &QNetworkReply::sslErrors, reply.get(),
                         [r = reply.get()] { r->ignoreSslErrors(); });
    // The whole transfer may not take longer than the shorter of the two limits.
    abortAfter(m_clock, std::min(m_limits.whole, request.timeout), reply.get());
    co_await qCoro(reply.get()).waitForFinished(std::chrono::milliseconds(-1));

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        // Both limits end a transfer by cancelling it.
        const bool expired = reply->error() == QNetworkReply::OperationCanceledError;
        throw TransportError(expired ? QStringLiteral("The request timed out.")
                                     : reply->errorString());
    }
    HttpResponse response{status.toInt(), reply->readAll(), {}};
    for (const auto &pair : reply->rawHeaderPairs())
        response.headers.append(pair);
    co_return response;
}

QCoro::Task<HttpResponse> Http::send(HttpRequest request)
{
    for (int hop = 0;; ++hop) {
        HttpResponse response = co_await sendOnce(request);
        const bool redirect =
            response.status >= 300 && response.status < 400 && response.status != 304;
        QByteArray location;
        for (const auto &[name, value] : response.headers)
            if (name.compare("Location", Qt::CaseInsensitive) == 0)
                location = value;
        if (!redirect || location.isEmpty() || hop == maxRedirects)
            co_return response;
        const QUrl next = request.url.resolved(QUrl::fromEncoded(location));
        const bool rewritesToGet = response.status == 303
            || ((response.status == 301 || response.status == 302) && request.method == "POST");
        if (!sameOrigin(request.url, next)) {
            // A body may hold credentials too (a client secret): it never
            // travels to another origin, so such a redirect is not followed.
            if (!request.body.isEmpty() && !rewritesToGet)
                co_return response;
            for (const QByteArray &name : credentialHeaders)
                request.removeHeader(name);
        }
        if (rewritesToGet) {
            request.method = "GET";
            request.body.clear();
            request.removeHeader("Content-Type");
        }
        request.url = next;
    }
}

QCoro::Task<QJsonValue> Http::json(HttpRequest request, Platform platform)
{
    const HttpResponse response = co_await send(std::move(request));
    if (response.status >= 200 && response.status < 300) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(response.body, &error);
        if (error.error != QJsonParseError::NoError)
            throw ParseError(QStringLiteral("%1 sent an answer that isn't valid JSON (%2).")
                                 .arg(Platforms::name(platform), error.errorString()));
        co_return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    }
    const auto message = errorMessage(response.body);
    if (response.status >= 400 && response.status < 500 && response.status != 429 && message)
        throw SourceError(Platforms::name(platform) + QStringLiteral(": ") + *message,
                          response.status);
    throw statusError(response.status, platform);
}

std::optional<QString> Http::errorMessage(const QByteArray &body)
{
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    if (!doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const QJsonValue error = o.value(QLatin1String("error"));
    if (error.isObject()) {
        const QJsonObject e = error.toObject();
        if (auto m = stringAt(e, QLatin1String("message")))
            return m;
        return stringAt(e, QLatin1String("detail"));
    }
    if (error.isString()) {
        if (auto d = stringAt(o, QLatin1String("error_description")))
            return d;
        return error.toString();
    }
    const QJsonArray errors = o.value(QLatin1String("errors")).toArray();
    if (!errors.isEmpty() && errors.first().isObject()) {
        const QJsonObject first = errors.first().toObject();
        for (const auto key :
             {QLatin1String("detail"), QLatin1String("message"), QLatin1String("title")})
            if (auto m = stringAt(first, key))
                return m;
        return std::nullopt;
    }
    if (auto d = stringAt(o, QLatin1String("detail")))
        return d;
    return stringAt(o, QLatin1String("message"));
}

SourceError Http::statusError(int status, Platform platform)
{
    const QString name = Platforms::name(platform);
    switch (status) {
    case 401:
    case 403:
        return SourceError(name + QStringLiteral(" rejected the key. It may have been revoked"),
                           status);
    case 404:
        return SourceError(
            name + QStringLiteral(" couldn't find that address. Check the store or shop address"),
            status);
    case 429:
        return SourceError(name + QStringLiteral(" asked us to slow down"), status);
    default:
        return SourceError(name + QStringLiteral(" answered ") + QString::number(status), status);
    }
}
