#pragma once

#include <QString>
#include <exception>

// A failure the user should read. `description()` is the complete sentence
// shown as the account's error line or in the connect form, unchanged.
class Failure : public std::exception {
public:
    explicit Failure(QString description)
        : m_description(std::move(description)), m_utf8(m_description.toUtf8())
    {
    }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// Raised by connectors and HTTP for conditions they word themselves. When the
// platform answered with an error status, `status` keeps it, so a caller can
// tell a rejected token from any other failure; 0 otherwise.
class SourceError : public Failure {
public:
    explicit SourceError(QString message, int status = 0)
        : Failure(std::move(message)), m_status(status)
    {
    }
    const QString &message() const { return description(); }
    int status() const { return m_status; }

private:
    int m_status = 0;
};

// The request never got an HTTP answer: offline, refused, timed out, TLS.
class TransportError : public Failure {
public:
    using Failure::Failure;
};

// The answer was not the JSON the connector expects at its top level.
class ParseError : public Failure {
public:
    using Failure::Failure;
};
