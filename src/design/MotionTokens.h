#pragma once

#include "design/Motion.h"

// The named animations: `swap` for content that changes in place, `chip`
// for selections.
class MotionTokens : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(Motion *swap READ swap CONSTANT)
    Q_PROPERTY(Motion *chip READ chip CONSTANT)

public:
    explicit MotionTokens(QObject *parent = nullptr) : QObject(parent) {}
    Motion *swap() { return &m_swap; }
    Motion *chip() { return &m_chip; }

private:
    Motion m_swap{Motion::cubic({0.22, 1.0}, {0.36, 1.0}), 170, this};
    // The common ease-out curve.
    Motion m_chip{Motion::cubic({0.0, 0.0}, {0.58, 1.0}), 200, this};
};
