#pragma once

#include "support/ListeningServer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class QTcpSocket;

// What the fake server received, exactly as it came.
struct RecordedRequest {
    QByteArray method;
    QString path;                             // decoded path
    QByteArray rawTarget;                     // the request target as sent
    QList<std::pair<QString, QString>> query; // decoded items, in order
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;

    QByteArray header(const QByteArray &name) const;
    bool hasHeader(const QByteArray &name) const;
    QString queryValue(const QString &name) const;
    // The platform host the client meant (X-Forwarded-Host).
    QString host() const { return QString::fromUtf8(header("X-Forwarded-Host")); }
};

struct ScriptedResponse {
    int status = 200;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    std::chrono::milliseconds delay{0};
    bool never = false; // keep the connection open and never answer

    static ScriptedResponse json(const QByteArray &body, int status = 200);
    static ScriptedResponse hang();
};

// A small HTTP/1.1 server on 127.0.0.1 that plays platforms in tests: it
// answers scripted responses and records every request it receives.
class FakePlatformServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<std::optional<ScriptedResponse>(const RecordedRequest &)>;

    explicit FakePlatformServer(QObject *parent = nullptr);
    ~FakePlatformServer() override;

    quint16 port() const { return m_server.serverPort(); }
    // From now on every connection speaks TLS with this configuration, and
    // the origin is https.
    void useTls(const QSslConfiguration &configuration) { m_server.setTls(configuration); }
    QString origin() const;
    // "*=http://127.0.0.1:port": every platform host comes here.
    QString endpointsForAll() const;

    // Queues answers for METHOD + path (optionally only for one platform
    // host). Each request takes the next; the last one keeps answering.
    void on(const QByteArray &method, const QString &path, ScriptedResponse response,
            const QString &host = {});
    // Consulted before the queues; returning nothing falls through.
    void handle(Handler handler);
    // Every request, whatever its path, takes the next of these; the last
    // one keeps answering.
    void answerInTurn(QList<ScriptedResponse> responses);
    void reset();

    const QList<RecordedRequest> &requests() const { return m_requests; }
    QList<RecordedRequest> requestsTo(const QString &path) const;

private:
    void readFrom(QTcpSocket *socket);
    ScriptedResponse answer(const RecordedRequest &request);
    void respond(QTcpSocket *socket, const ScriptedResponse &response);

    ListeningServer m_server;
    QList<Handler> m_handlers;
    QHash<QString, QList<ScriptedResponse>> m_queues; // "host METHOD path"
    QList<RecordedRequest> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
