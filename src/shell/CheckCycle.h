#pragma once

#include "core/SaleEvent.h"
#include "shell/FramerStatus.h"

#include <QCoroTask>
#include <QObject>

class AccountStore;
class Clock;
class FramerCheck;
class NotchModel;
class Poller;
class SettingsModel;

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
        Clock &clock;
    };

    explicit CheckCycle(Parts parts, QObject *parent = nullptr);

    QCoro::Task<> check();
    bool checking() const { return m_checking; }

    // Until the Framer check is set, the Framer step is skipped.
    void setFramer(FramerCheck *framer);
    // What the menu shows about Framer.
    FramerStatus framer() const;
    // Sign-in window opened by the walkthrough: checks stop opening it.
    void markSignInPrompted();
    // Signs out of Framer, forgets its counters and asks for a new sign-in.
    QCoro::Task<> switchFramerAccount();

Q_SIGNALS:
    void signInWanted(); // not signed in to Framer, first time this run
    void framerChanged();
    void checked();

private:
    QCoro::Task<> checkFramer();
    void showFramer();
    void showFigures();

    Parts m_parts;
    FramerCheck *m_framer = nullptr;
    bool m_checking = false;
};
