#include "framer/SignInWindow.h"

#include "core/Clock.h"
#include "core/Http.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSite.h"
#include "framer/PageScript.h"
#include "framer/SignInPage.h"
#include "framer/SignInPolicy.h"
#include "framer/SignInView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>

namespace {

const QString emailHint =
    QStringLiteral("Framer's email link opens your browser, not Korvanta. In the email, "
                   "right-click the sign-in button and choose Copy Link. Korvanta picks it up "
                   "and finishes here.");

// Whether the page says a verification link went out, and what the account
// endpoint answers with the session's cookies (0 when the request failed).
constexpr const char *probeScript =
    "const waiting = !!(document.body && /verification link sent/i.test(document.body.innerText));\n"
    "let status = 0;\n"
    "try { status = (await fetch('/creators/api/account/', {credentials: 'include'})).status; } "
    "catch (e) {}\n"
    "return JSON.stringify({waiting, status});";

QByteArray cookieHeader(const QList<QNetworkCookie> &cookies)
{
    QList<QByteArray> pairs;
    for (const QNetworkCookie &c : cookies)
        pairs.append(c.toRawForm(QNetworkCookie::NameAndValueOnly));
    return pairs.join("; ");
}

}

SignInWindow::SignInWindow(FramerProfile &profile, Http &http, Clock &clock, QObject *parent)
    : QObject(parent), m_profile(profile), m_http(http), m_clock(clock)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app->clipboard(), &QClipboard::dataChanged, this,
                [this] { m_clipboardChanged = true; });
}

SignInWindow::~SignInWindow() = default;

QWidget *SignInWindow::window() const
{
    return m_view.get();
}

void SignInWindow::show()
{
    if (m_view) {
        m_view->raise();
        m_view->activateWindow();
        return;
    }
    m_done = false;
    const int session = ++m_session;
    m_view = std::make_unique<SignInView>(*this, m_profile);
    m_page = m_view->page();
    // Handled once the view's close event is over, so the view can go at once.
    connect(m_view.get(), &SignInView::closed, this, &SignInWindow::closed, Qt::QueuedConnection);
    connect(m_page, &SignInPage::confirmRequested, this, [this] { confirm(); });
    setHelper(false, emailHint);
    // Whatever was on the clipboard before the window opened is not a link for it.
    m_clipboardChanged = false;
    m_page->load(FramerSite::login());
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
    Q_EMIT openChanged();
    watch(session);
}

void SignInWindow::close()
{
    if (m_view)
        m_view->close();
}

void SignInWindow::closed()
{
    ++m_session;
    m_page = nullptr;
    m_view.reset();
    if (onClose)
        onClose();
    Q_EMIT openChanged();
}

QCoro::Task<> SignInWindow::watch(int session)
{
    while (session == m_session) {
        co_await m_clock.sleep(std::chrono::seconds(1));
        if (session == m_session)
            tick();
    }
}

void SignInWindow::tick()
{
    if (!m_page || m_done)
        return;
    if (takeClipboardLink())
        return;
    if (FramerSite::isPageHost(m_page->url().host()))
        probe();
}

bool SignInWindow::takeClipboardLink()
{
    if (!std::exchange(m_clipboardChanged, false))
        return false;
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    const auto link = SignInPolicy::signInLink(app ? app->clipboard()->text() : QString());
    if (!link)
        return false;
    setHelper(m_helperVisible, QStringLiteral("Got the link. Signing you in…"));
    m_page->load(*link);
    return true;
}

QCoro::Task<> SignInWindow::probe()
{
    QJsonValue answer;
    try {
        answer = co_await m_page->script().run(QString::fromUtf8(probeScript));
    } catch (const std::exception &) {
        co_return; // the next tick probes again
    }
    const QJsonObject o = QJsonDocument::fromJson(answer.toString().toUtf8()).object();
    if (o.value(QLatin1String("status")).toInteger(-1) == 200)
        finish();
    else if (o.value(QLatin1String("waiting")).toBool() && m_view && !m_done)
        setHelper(true, m_helperText);
}

QCoro::Task<> SignInWindow::confirm()
{
    const int session = m_session;
    const QByteArray sent = cookieHeader(m_profile.framerCookies());
    bool signedIn = co_await accountAnswers(sent);
    // The cookies of the answer that sent the page on can be reported just
    // after the navigation: ask once more when they arrived meanwhile.
    const QByteArray now = cookieHeader(m_profile.framerCookies());
    if (!signedIn && now != sent && session == m_session)
        signedIn = co_await accountAnswers(now);
    if (session != m_session)
        co_return;
    if (signedIn)
        finish();
    else if (m_page)
        m_page->load(FramerSite::login());
}

QCoro::Task<bool> SignInWindow::accountAnswers(QByteArray cookies)
{
    HttpRequest request = Http::request(FramerSite::home());
    request.setHeader("User-Agent", FramerSite::userAgent());
    if (!cookies.isEmpty())
        request.setHeader("Cookie", cookies);
    try {
        co_return (co_await m_http.send(request)).status == 200;
    } catch (const std::exception &) {
        co_return false;
    }
}

void SignInWindow::finish()
{
    if (m_done || !m_view)
        return;
    m_done = true;
    setHelper(true, QStringLiteral("Connected. Korvanta is watching your templates."));
    Q_EMIT finished();
    closeSoon(m_session);
}

QCoro::Task<> SignInWindow::closeSoon(int session)
{
    co_await m_clock.sleep(std::chrono::milliseconds(1200));
    if (session == m_session)
        close();
}

void SignInWindow::setHelper(bool visible, const QString &text)
{
    m_helperVisible = visible;
    m_helperText = text;
    Q_EMIT helperChanged();
}
