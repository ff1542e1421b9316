#pragma once

#include <QObject>
#include <QProcess>
#include <functional>
#include <memory>

// The "Connect Framer" window shown by a short-lived korvanta process of its
// own (korvanta --framer-sign-in). A web page leaves tens of MiB of the web
// engine's code resident in the process that showed it; a seller who only
// looks at the window, or signs in once, keeps a small app at rest.
class SignInProcess : public QObject {
    Q_OBJECT
public:
    explicit SignInProcess(QString program, QObject *parent = nullptr);
    ~SignInProcess() override;

    // Starts the window's process, or asks the running one to come forward.
    void show();
    bool isOpen() const { return m_process != nullptr; }

    // Called when the window's process ended, with whether the sign-in was
    // recognised.
    std::function<void(bool signedIn)> onClose;
    // Called when the user asked to quit Korvanta in the window.
    std::function<void()> onQuit;
    // Called when the process could not start; the app shows the window itself.
    std::function<void()> onFailedToStart;

private:
    bool release(QProcess *process);

    QString m_program;
    std::unique_ptr<QProcess> m_process;
};
