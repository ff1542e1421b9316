#pragma once

#include <QCoroTask>
#include <QObject>
#include <QSize>
#include <functional>
#include <memory>

class Clock;
class FramerProfile;
class Http;
class SignInPage;
class SignInView;
class QWidget;

// Lets the user sign in with Framer's own login page in a small window of
// Korvanta. It watches for success by itself (a probe of the account
// endpoint every second, and a confirmation request whenever Framer sends
// the page on to the site), takes Framer's e-mail link from the clipboard,
// forces Google's account chooser, and closes once the user is in. There is
// never more than one window.
class SignInWindow : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool open READ isOpen NOTIFY openChanged)
    Q_PROPERTY(bool helperVisible READ helperVisible NOTIFY helperChanged)
    Q_PROPERTY(QString helperText READ helperText NOTIFY helperChanged)
public:
    static constexpr QSize size{540, 720};

    SignInWindow(FramerProfile &profile, Http &http, Clock &clock, QObject *parent = nullptr);
    ~SignInWindow() override;

    static QString title() { return QStringLiteral("Connect Framer"); }
    static QString helperTitle() { return QStringLiteral("One more step"); }

    // Opens the window, or brings the open one forward.
    void show();
    // Closes the window as the user would.
    void close();

    bool isOpen() const { return m_view != nullptr; }
    bool isDone() const { return m_done; }
    bool helperVisible() const { return m_helperVisible; }
    const QString &helperText() const { return m_helperText; }
    SignInPage *page() const { return m_page; }
    QWidget *window() const;

    // Called every time the window closes, signed in or not.
    std::function<void()> onClose;

Q_SIGNALS:
    void openChanged();
    void helperChanged();
    // The sign-in was recognised; its owner remembers it (a window in a
    // process of its own leaves that to the app).
    void finished();

private:
    QCoro::Task<> watch(int session);
    void tick();
    bool takeClipboardLink();
    QCoro::Task<> probe();
    QCoro::Task<> confirm();
    // Whether the account endpoint answers 200 to a request with these cookies.
    QCoro::Task<bool> accountAnswers(QByteArray cookies);
    void finish();
    QCoro::Task<> closeSoon(int session);
    void closed();
    void setHelper(bool visible, const QString &text);

    FramerProfile &m_profile;
    Http &m_http;
    Clock &m_clock;
    std::unique_ptr<SignInView> m_view;
    SignInPage *m_page = nullptr; // owned by the view
    int m_session = 0;            // windows opened so far
    bool m_done = false;
    bool m_clipboardChanged = false;
    bool m_helperVisible = false;
    QString m_helperText;
};
