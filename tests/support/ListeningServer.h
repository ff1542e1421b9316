#pragma once

#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpServer>
#include <optional>

// A TCP server that can speak TLS: once given a configuration, every new
// connection is a server-side QSslSocket whose readyRead carries plain text.
class ListeningServer : public QTcpServer {
    Q_OBJECT
public:
    using QTcpServer::QTcpServer;

    void setTls(const QSslConfiguration &configuration) { m_tls = configuration; }
    bool isTls() const { return m_tls.has_value(); }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        if (!m_tls)
            return QTcpServer::incomingConnection(descriptor);
        auto *socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setSslConfiguration(*m_tls);
        addPendingConnection(socket);
        socket->startServerEncryption();
    }

private:
    std::optional<QSslConfiguration> m_tls;
};
