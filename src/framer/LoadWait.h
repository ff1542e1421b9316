#pragma once

#include <QObject>

// A read waiting for the current page load to end; ended at most once.
class LoadWait : public QObject {
    Q_OBJECT
Q_SIGNALS:
    void ended();
};
