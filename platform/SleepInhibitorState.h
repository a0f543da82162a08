#pragma once
// What both systems' sleep inhibitors keep on the user-interface thread: whether a lock is
// wanted, and the one line said when it cannot be had.

#include <QString>

namespace SleepInhibitor {

struct TState {
  bool Wanted = false;    // Hold called without a Release since
  bool Reported = false;  // the line has been said
};

TState& State();
// Says the line with reason, the first time only.
void Report(const QString& reason);

} // namespace SleepInhibitor
