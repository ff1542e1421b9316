#pragma once

#include <QCoroTask>
#include <QHash>
#include <QJsonValue>
#include <QObject>
#include <QStringList>
#include <memory>

class QWebChannel;
class ScriptCall;
class QWebEnginePage;

// Runs a script as the body of an asynchronous function in a page's own
// world and hands back what it resolves to. The page reports through a web
// channel, since the engine does not wait for a promise itself.
class PageScript : public QObject {
    Q_OBJECT
public:
    struct Argument {
        QString name;
        QString value;
    };

    explicit PageScript(QWebEnginePage &page);
    ~PageScript() override;

    // The resolved value (null when it resolved to nothing). Throws
    // ScriptFailure when the script rejects, or when the page loses the
    // document first (a new load, a crash, the page going away).
    QCoro::Task<QJsonValue> run(QString body, QList<Argument> arguments = {});

    // Called from the page.
    Q_INVOKABLE void report(int id, const QJsonValue &value);
    Q_INVOKABLE void fail(int id, const QString &message);

private:
    QString source(int id, const QString &body, const QList<Argument> &arguments) const;
    void abandonAll(const QString &why);

    QWebEnginePage &m_page;
    std::unique_ptr<QWebChannel> m_channel;
    QHash<int, std::shared_ptr<ScriptCall>> m_calls;
    int m_next = 0;
};
