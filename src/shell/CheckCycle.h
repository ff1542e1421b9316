#pragma once

#include "core/SaleEvent.h"
#include "shell/FramerReadHandler.h"
#include "shell/FramerStatus.h"

#include <QCoroTask>
#include <QObject>

class AccountStore;
class Clock;
class FramerReader;
class NotchModel;
class Poller;
class SettingsModel;
class Watcher;

// One check: read Framer, poll every account, refresh what the notch and the
// settings show, and hand the new sales to the notch as one moment. Checks
// never overlap: one asked for while another runs is dropped.
class CheckCycle : public QObject {
    Q_OBJECT
public:
    struct Parts {
        Poller &poller;
        AccountStore &accounts;
        NotchModel &notch;
        SettingsModel &settings;
        Watcher &watcher;
        Clock &clock;
    };

    explicit CheckCycle(Parts parts, QObject *parent = nullptr);

    QCoro::Task<> check();
    bool checking() const { return m_checking; }

    // Until a reader is set, the Framer step is skipped.
    void setFramerReader(FramerReader *reader) { m_reader = reader; }
    const FramerStatus &framer() const { return m_framer; }
    // Sign-in window opened by the walkthrough: checks stop opening it.
    void markSignInPrompted() { m_framer.promptedSignIn = true; }
    // Steps of a Framer account switch that concern the shell's state.
    void forgetFramerAccount();

Q_SIGNALS:
    void signInWanted(); // not signed in to Framer, first time this run
    void framerChanged();
    void checked();

private:
    QCoro::Task<> checkFramer();
    void showFigures();

    Parts m_parts;
    FramerReadHandler m_framerReads;
    FramerReader *m_reader = nullptr;
    FramerStatus m_framer;
    bool m_checking = false;
};
