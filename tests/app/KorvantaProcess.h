#pragma once

#include <QDateTime>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

// Runs the real korvanta binary in its own temporary home, pointed at a fake
// platform server, while the test's event loop keeps serving it.
struct KorvantaRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class KorvantaProcess {
public:
    explicit KorvantaProcess(const QString &endpoints)
    {
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("HOME", m_home.path());
        m_env.insert("XDG_CONFIG_HOME", m_home.filePath(".config"));
        m_env.insert("XDG_DATA_HOME", m_home.filePath(".local/share"));
        m_env.insert("KORVANTA_ENDPOINTS", endpoints);
        m_env.insert("TZ", noonZone());
    }

    // The binary's "today": its time zone puts the start of the test at local
    // noon, so no run crosses local midnight whenever it starts.
    QDate today() const { return QDateTime::currentDateTimeUtc().addSecs(m_offset).date(); }

    QProcessEnvironment &environment() { return m_env; }
    QString dataFolder() const { return m_home.filePath(".local/share/Korvanta"); }

    // Starts korvanta without waiting; the caller keeps the event loop running.
    QProcess *start(const QStringList &args, const QByteArray &input = {})
    {
        auto *p = new QProcess;
        p->setProcessEnvironment(m_env);
        p->start(QString::fromLocal8Bit(qgetenv("KORVANTA_BINARY")), args);
        p->write(input);
        p->closeWriteChannel();
        return p;
    }

    KorvantaRun run(const QStringList &args, const QByteArray &input = {})
    {
        std::unique_ptr<QProcess> p(start(args, input));
        [&] { QTRY_VERIFY_WITH_TIMEOUT(p->state() == QProcess::NotRunning, 60000); }();
        return {p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1,
                QString::fromUtf8(p->readAllStandardOutput()),
                QString::fromUtf8(p->readAllStandardError())};
    }

private:
    // A POSIX zone (its sign is west-positive) whose local time is now noon.
    QString noonZone()
    {
        const int day = 24 * 3600;
        const int sinceMidnight =
            QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay() / 1000;
        m_offset = (((12 * 3600 - sinceMidnight) % day + day + day / 2) % day - day / 2) / 60 * 60;
        const int west = -m_offset;
        return QStringLiteral("KVT%1%2:%3")
            .arg(QLatin1Char(west < 0 ? '-' : '+'))
            .arg(std::abs(west) / 3600)
            .arg(std::abs(west) % 3600 / 60, 2, 10, QLatin1Char('0'));
    }

    int m_offset = 0;
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
};
