#include "SleepInhibitor.h"
#include "SleepInhibitorState.h"

#include "Platform.h"

#include <utility>

namespace SleepInhibitor {

namespace {

QString& UnheldText() {
  static QString text = QStringLiteral("steepo: the computer cannot be kept awake during the countdown (%1)");
  return text;
}

} // namespace

TState& State() {
  static TState state;
  return state;
}

void Report(const QString& reason) {
  if (std::exchange(State().Reported, true))
    return;
  Platform::ReportProblem(UnheldText().arg(reason));
}

bool Held() { return State().Wanted; }

void SetUnheldText(const QString& text) { UnheldText() = text; }

} // namespace SleepInhibitor
