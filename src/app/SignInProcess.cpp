#include "app/SignInProcess.h"

#include "app/SignInCommand.h"

SignInProcess::SignInProcess(QString program, QObject *parent)
    : QObject(parent), m_program(std::move(program))
{
}

SignInProcess::~SignInProcess()
{
    // The window closes when its standard input ends.
    if (m_process)
        m_process->closeWriteChannel();
}

void SignInProcess::show()
{
    if (m_process) {
        m_process->write("raise\n");
        return;
    }
    m_process = std::make_unique<QProcess>();
    QProcess *process = m_process.get();
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::finished, this,
            [this, process](int code, QProcess::ExitStatus how) {
                if (!release(process))
                    return;
                const bool normal = how == QProcess::NormalExit;
                if (onClose)
                    onClose(normal && code == 0);
                if (normal && code == SignInCommand::quitStatus && onQuit)
                    onQuit();
            });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && release(process) && onFailedToStart)
            onFailedToStart();
    });
    process->start(m_program, {QStringLiteral("--framer-sign-in")});
}

// Whether this was the running process; it is deleted once its own signal is over.
bool SignInProcess::release(QProcess *process)
{
    if (process != m_process.get())
        return false;
    m_process.release()->deleteLater();
    return true;
}
