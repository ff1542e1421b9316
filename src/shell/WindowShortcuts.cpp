#include "shell/WindowShortcuts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

WindowShortcuts::WindowShortcuts(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool WindowShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    // Key presses reach the window first, then its items; acting on the
    // window's copy handles each press once.
    if (event->type() != QEvent::KeyPress || !qobject_cast<QWindow *>(watched))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Quit)
        || key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Q)) {
        QCoreApplication::quit();
        return true;
    }
    if (key->matches(QKeySequence::Close)) {
        static_cast<QWindow *>(watched)->close();
        return true;
    }
    return false;
}
