#include "support/FakePlatformServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <algorithm>

namespace {

QString queueKey(const QString &host, const QByteArray &method, const QString &path)
{
    return host + u' ' + QString::fromLatin1(method) + u' ' + path;
}

// Parses one complete request at the front of `buffer`, removing it.
std::optional<RecordedRequest> takeRequest(QByteArray &buffer)
{
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    RecordedRequest r;
    const QList<QByteArray> start = lines.first().trimmed().split(' ');
    if (start.size() < 2)
        return std::nullopt;
    r.method = start[0];
    r.rawTarget = start[1];
    qsizetype length = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        r.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        if (line.left(colon).trimmed().compare("Content-Length", Qt::CaseInsensitive) == 0)
            length = line.mid(colon + 1).trimmed().toLongLong();
    }
    if (buffer.size() < end + 4 + length)
        return std::nullopt;
    r.body = buffer.mid(end + 4, length);
    buffer.remove(0, end + 4 + length);
    const QUrl url = QUrl::fromEncoded(r.rawTarget);
    r.path = url.path();
    for (const auto &[name, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        r.query.append({name, value});
    return r;
}

}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool RecordedRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString RecordedRequest::queryValue(const QString &name) const
{
    for (const auto &[key, value] : query)
        if (key == name)
            return value;
    return {};
}

ScriptedResponse ScriptedResponse::json(const QByteArray &body, int status)
{
    return {status, body, {{"Content-Type", "application/json"}}};
}

ScriptedResponse ScriptedResponse::hang()
{
    ScriptedResponse r;
    r.never = true;
    return r;
}

FakePlatformServer::FakePlatformServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
    m_server.listen(QHostAddress::LocalHost, 0);
}

FakePlatformServer::~FakePlatformServer()
{
    // The sockets die with the listening server, after our own members.
    for (QTcpSocket *socket : m_server.findChildren<QTcpSocket *>())
        disconnect(socket, nullptr, this, nullptr);
}

QString FakePlatformServer::origin() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_server.isTls() ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(port());
}

QString FakePlatformServer::endpointsForAll() const
{
    return QStringLiteral("*=") + origin();
}

void FakePlatformServer::on(const QByteArray &method, const QString &path,
                            ScriptedResponse response, const QString &host)
{
    m_queues[queueKey(host, method, path)].append(std::move(response));
}

void FakePlatformServer::handle(Handler handler)
{
    m_handlers.append(std::move(handler));
}

void FakePlatformServer::answerInTurn(QList<ScriptedResponse> responses)
{
    handle([responses = std::move(responses), next = qsizetype(0)](
               const RecordedRequest &) mutable -> std::optional<ScriptedResponse> {
        return responses.value(std::min(next++, responses.size() - 1));
    });
}

void FakePlatformServer::reset()
{
    m_handlers.clear();
    m_queues.clear();
    m_requests.clear();
}

QList<RecordedRequest> FakePlatformServer::requestsTo(const QString &path) const
{
    QList<RecordedRequest> list;
    for (const RecordedRequest &r : m_requests)
        if (r.path == path)
            list.append(r);
    return list;
}

ScriptedResponse FakePlatformServer::answer(const RecordedRequest &request)
{
    for (const Handler &handler : m_handlers)
        if (auto response = handler(request))
            return *response;
    for (const QString &host : {request.host(), QString()}) {
        auto it = m_queues.find(queueKey(host, request.method, request.path));
        if (it == m_queues.end() || it->isEmpty())
            continue;
        return it->size() > 1 ? it->takeFirst() : it->first();
    }
    return ScriptedResponse::json(R"({"error":{"message":"No such route on the fake server"}})",
                                  404);
}

void FakePlatformServer::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer.append(socket->readAll());
    while (auto request = takeRequest(buffer)) {
        m_requests.append(*request);
        const ScriptedResponse response = answer(*request);
        if (response.never)
            return;
        if (response.delay.count() > 0) {
            QPointer<QTcpSocket> guard(socket);
            QTimer::singleShot(response.delay, this, [this, guard, response] {
                if (guard)
                    respond(guard, response);
            });
            continue;
        }
        respond(socket, response);
    }
}

void FakePlatformServer::respond(QTcpSocket *socket, const ScriptedResponse &response)
{
    // Clients read the code; the reason phrase is only for people.
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status)
        + (response.status < 400 ? " OK\r\n" : " Error\r\n");
    bool typed = false;
    for (const auto &[name, value] : response.headers) {
        out += name + ": " + value + "\r\n";
        typed = typed || name.compare("Content-Type", Qt::CaseInsensitive) == 0;
    }
    if (!typed)
        out += "Content-Type: application/json\r\n";
    out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n";
    out += response.body;
    socket->write(out);
}
