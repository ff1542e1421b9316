#include "framer/PageScript.h"

#include "framer/ScriptFailure.h"

#include <QCoroSignal>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

QString channelLibrary()
{
    static const QString text = [] {
        QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }();
    return text;
}

// The engine's Chromium lacks AbortSignal.timeout, which Framer scripts use.
constexpr const char *abortTimeout =
    "if (!AbortSignal.timeout) AbortSignal.timeout = (ms) => { const c = new AbortController();"
    " setTimeout(() => c.abort(new DOMException('signal timed out', 'TimeoutError')), ms);"
    " return c.signal; };\n";

}

// One script's answer, shared by the page's bridge and the waiting caller.
class ScriptCall : public QObject {
    Q_OBJECT
public:
    std::optional<QJsonValue> value;
    std::optional<QString> error;

    // Resumes the waiter from the event loop, never from inside the caller.
    void settle() { QMetaObject::invokeMethod(this, &ScriptCall::settled, Qt::QueuedConnection); }
Q_SIGNALS:
    void settled();
};

PageScript::PageScript(QWebEnginePage &page)
    : QObject(&page), m_page(page), m_channel(std::make_unique<QWebChannel>())
{
    m_channel->registerObject(QStringLiteral("korvanta"), this);
    m_page.setWebChannel(m_channel.get(), QWebEngineScript::MainWorld);
    // A new document or a dead renderer never answers the scripts of the old one.
    connect(&m_page, &QWebEnginePage::loadStarted, this,
            [this] { abandonAll(QStringLiteral("The page moved on before the script answered")); });
    connect(&m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this] { abandonAll(QStringLiteral("The page's web process ended")); });
}

PageScript::~PageScript()
{
    abandonAll(QStringLiteral("The page was closed"));
}

QString PageScript::source(int id, const QString &body, const QList<Argument> &arguments) const
{
    QStringList names;
    QJsonArray values;
    for (const Argument &a : arguments) {
        names.append(a.name);
        values.append(a.value);
    }
    const QString args = QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact));
    return QStringLiteral("(function () {\n") + QLatin1String(abortTimeout)
        + QStringLiteral("if (!window.__korvanta) {\n") + channelLibrary()
        + QStringLiteral(
               "\nwindow.__korvanta = new Promise((resolve) => new "
               "QWebChannel(qt.webChannelTransport, (c) => resolve(c.objects.korvanta)));\n}\n"
               "window.__korvanta.then(async (bridge) => {\n"
               "  try {\n    const v = await (async function (")
        + names.join(u',') + QStringLiteral(") {\n") + body + QStringLiteral("\n}).apply(null, ")
        + args
        + QStringLiteral(");\n    bridge.report(%1, v === undefined ? null : v);\n"
                         "  } catch (e) { bridge.fail(%1, String((e && e.message) || e)); }\n"
                         "});\nreturn 'started';\n})();")
              .arg(id);
}

QCoro::Task<QJsonValue> PageScript::run(QString body, QList<Argument> arguments)
{
    const int id = ++m_next;
    auto call = std::make_shared<ScriptCall>();
    m_calls.insert(id, call);
    // The wrapper ends with "started"; anything else means it threw before
    // it could report, as on an error page.
    QPointer<PageScript> self(this);
    m_page.runJavaScript(source(id, body, arguments), QWebEngineScript::MainWorld,
                         [self, id](const QVariant &result) {
                             if (self && result.toString() != u"started")
                                 self->fail(id, QStringLiteral("the page could not run it"));
                         });
    // Nothing of `this` is touched after the wait: the page may be gone.
    co_await qCoro(call.get(), &ScriptCall::settled);
    if (call->error)
        throw ScriptFailure(*call->error);
    co_return call->value.value_or(QJsonValue());
}

void PageScript::report(int id, const QJsonValue &value)
{
    if (const auto call = m_calls.take(id)) {
        call->value = value;
        call->settle();
    }
}

void PageScript::fail(int id, const QString &message)
{
    if (const auto call = m_calls.take(id)) {
        call->error = QStringLiteral("Framer's page script failed: ") + message;
        call->settle();
    }
}

void PageScript::abandonAll(const QString &why)
{
    const auto calls = std::exchange(m_calls, {});
    for (const auto &call : calls) {
        call->error = why;
        call->settle();
    }
}

#include "PageScript.moc"
