#pragma once

#include <QWebEnginePage>

class FramerProfile;
class PageScript;

// A page of the Framer profile that can run asynchronous scripts, and that
// accepts a certificate error only for a host sent to loopback for tests.
class FramerPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit FramerPage(FramerProfile &profile, QObject *parent = nullptr);

    PageScript &script() { return *m_script; }

private:
    PageScript *m_script;
};
