// The system's own call: the user-interface thread's execution state asks that the system
// stay awake while it is set, and the system clears it when the thread or the process ends.
#include "SleepInhibitor.h"

#include "Platform.h"

#include <QCoreApplication>

#include <windows.h>

namespace SleepInhibitor {

namespace {

struct TState {
  bool Wanted = false;
  bool Reported = false;
};

TState& State() {
  static TState state;
  return state;
}

QString& UnheldText() {
  static QString text = QStringLiteral("steepo: the computer cannot be kept awake during the countdown (%1)");
  return text;
}

} // namespace

void Hold(const QString&) {
  TState& state = State();
  if (std::exchange(state.Wanted, true))
    return;
  static bool hooked = false;
  if (!std::exchange(hooked, true) && QCoreApplication::instance())
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, QCoreApplication::instance(), Release);
  if (SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) == 0 && !std::exchange(state.Reported, true))
    Platform::ReportProblem(UnheldText().arg(QStringLiteral("SetThreadExecutionState failed")));
}

void Release() {
  if (!std::exchange(State().Wanted, false))
    return;
  SetThreadExecutionState(ES_CONTINUOUS);
}

bool Held() { return State().Wanted; }

void SetUnheldText(const QString& text) { UnheldText() = text; }

void Reset() {
  Release();
  State() = TState{};
}

} // namespace SleepInhibitor
