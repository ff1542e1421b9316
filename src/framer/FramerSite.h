#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// Where Framer lives and how Korvanta's web pages present themselves there.
namespace FramerSite {

inline constexpr const char *domain = "framer.com";      // the bare domain
inline constexpr const char *webHost = "www.framer.com"; // the web host

// Both the reader and the sign-in window present themselves as this browser,
// so Framer sees one consistent client.
QByteArray userAgent();

// The account endpoint: a JSON page whose load puts a page on Framer's origin.
QUrl home();
QUrl login();

// Framer's bare domain or its web host, compared exactly.
bool isPageHost(const QString &host);
// Framer's bare domain or any sub-domain of it, nothing that merely contains it.
bool isInDomain(const QString &host);

}
