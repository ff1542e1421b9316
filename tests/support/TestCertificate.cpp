#include "support/TestCertificate.h"

#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>
#include <QTemporaryDir>

std::optional<QSslConfiguration> selfSignedServer(const QStringList &hosts)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    QTemporaryDir dir;
    if (openssl.isEmpty() || !dir.isValid() || hosts.isEmpty())
        return std::nullopt;
    QStringList names;
    for (const QString &h : hosts)
        names.append(QStringLiteral("DNS:") + h);
    QProcess p;
    p.start(openssl,
            {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
             "-days", "2", "-subj", "/CN=" + hosts.first(), "-addext",
             "subjectAltName=" + names.join(u','), "-keyout", dir.filePath("key.pem"), "-out",
             dir.filePath("cert.pem")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return std::nullopt;
    QFile certFile(dir.filePath("cert.pem"));
    QFile keyFile(dir.filePath("key.pem"));
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QSslCertificate certificate(&certFile, QSsl::Pem);
    const QSslKey key(&keyFile, QSsl::Ec, QSsl::Pem);
    if (certificate.isNull() || key.isNull())
        return std::nullopt;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}
