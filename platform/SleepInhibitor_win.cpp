// The system's own call: the user-interface thread's execution state asks that the system
// stay awake while it is set, and the system clears it when the thread or the process ends.
#include "SleepInhibitor.h"
#include "SleepInhibitorState.h"


#include <QCoreApplication>

#include <windows.h>

namespace SleepInhibitor {

void Hold(const QString&) {
  TState& state = State();
  if (std::exchange(state.Wanted, true))
    return;
  static bool hooked = false;
  if (!std::exchange(hooked, true) && QCoreApplication::instance())
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, QCoreApplication::instance(), Release);
  if (SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) == 0)
    Report(QStringLiteral("SetThreadExecutionState failed"));
}

void Release() {
  if (!std::exchange(State().Wanted, false))
    return;
  SetThreadExecutionState(ES_CONTINUOUS);
}

void Reset() {
  Release();
  State() = TState{};
}

} // namespace SleepInhibitor
