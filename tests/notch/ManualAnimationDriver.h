#pragma once

#include <QAnimationDriver>
#include <QCoreApplication>

// Drives Qt's animations (springs, fades, QML timers) by hand, one 16 ms
// frame at a time, so views reach any moment of their motion at once.
// Install it after the window is shown: the window's render loop installs
// its own.
class ManualAnimationDriver : public QAnimationDriver {
public:
    ~ManualAnimationDriver() override { uninstall(); }

    qint64 elapsed() const override { return m_elapsed; }
    void advance(qint64 ms)
    {
        for (qint64 left = ms; left > 0; left -= frame) {
            QCoreApplication::processEvents(); // animations start from the event loop
            m_elapsed += std::min(frame, left);
            QAnimationDriver::advance();
        }
    }

private:
    static constexpr qint64 frame = 16;
    qint64 m_elapsed = 0;
};
