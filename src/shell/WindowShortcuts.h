#pragma once

#include <QObject>

// The usual window shortcuts in every window of the app: the quit shortcut
// quits and the close shortcut closes the window that has the keyboard.
// Text fields bring their own edit shortcuts.
class WindowShortcuts : public QObject {
    Q_OBJECT
public:
    explicit WindowShortcuts(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
