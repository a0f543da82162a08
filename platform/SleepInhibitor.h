#pragma once
// Keeps the computer from going to sleep while a countdown runs. On Linux it takes logind's
// inhibitor lock on the system bus ("sleep", in the "block" mode) and holds the descriptor
// that logind hands back until Release; inside a Flatpak sandbox it asks the desktop's portal
// instead. On Windows it sets the thread's execution state. Every call returns at once:
// nothing on the calling thread waits for a bus, and a lock that cannot be had changes nothing
// but the one line that says so. Whatever is held goes when the program ends, and with the
// process when it is killed.

#include <QString>

namespace SleepInhibitor {

// Takes the lock, with reason in words for whoever lists the locks; nothing when it is held.
void Hold(const QString& reason);
// Gives the lock back; nothing when none is held. A lock still being taken goes as it comes.
void Release();
// Whether Hold has been called without a Release since.
bool Held();

// The line said once when the lock cannot be had, %1 the reason: English unless the program
// gives it in the user's language.
void SetUnheldText(const QString& text);

// For tests: forgets everything (the lock goes) and stops the bus thread.
void Reset();

} // namespace SleepInhibitor
