#pragma once

#include <QStringList>

// The walkthrough's screens, in order; the raw value is the step number
// that "--first-run-step" takes.
namespace FirstRunSteps {
enum class Step { Welcome, Platforms, Demo, Pick, Key, Tune, Live };
inline constexpr int count = 7;

// The step after "--first-run-step" when it names one, else the welcome step.
Step starting(const QStringList &arguments);
// Whether the walkthrough was started on a given step (it then offers Stripe).
bool stepRequested(const QStringList &arguments);
}

using FirstRunStep = FirstRunSteps::Step;
