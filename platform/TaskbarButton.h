#pragma once
// A window's taskbar button on Windows: the progress of a countdown, and the attention state
// when it has ended. Each call says whether the system took it.

#include <QtGui/qwindowdefs.h>

namespace Platform::TaskbarButton {

// The green bar at fraction (0 to 1) of its length.
bool SetProgress(WId window, double fraction);
// The bar full in the paused (yellow) state, and the button flashing until Clear.
bool SetAttention(WId window);
// The button as it is without a countdown: no bar, no flashing.
bool Clear(WId window);

// Drops the taskbar object, so that the next call makes a new one (tests).
void Release();

} // namespace Platform::TaskbarButton
