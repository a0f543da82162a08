#pragma once
// The desktop's own channels for a running countdown and its alarm, over the session bus:
// progress and urgency on the program's dock or taskbar entry, and a desktop notification.
// Every call returns at once and nothing here is needed: without a bus or a notification
// service the calls do nothing, and the timer works as without them. The bus is reached on
// the first call that needs it; start-up only checks that it answers.

#include <QString>
#include <functional>

namespace DesktopBus {

// Before the application starts: a session bus that takes a connection but never answers
// (a stopped daemon) is given up for this run, also for Qt's own users of it, which would
// otherwise wait for it with the window not yet drawn.
void GuardSessionBus();

// Connects to the session bus, once, on a thread of its own: nothing on the calling thread
// ever waits for the bus. A bus that has not answered within a second is given up for this
// run. Progress, Urgent and Notify connect by themselves; Clear and Withdraw never do.
void Connect();

// The dock entry: fraction (0 to 1) of the set time elapsed, with the progress shown; sent
// when it has moved by a hundredth since the last one sent (a dock shows no finer step).
void Progress(double fraction);
// The dock entry asks for attention.
void Urgent();
// The dock entry as it is without a countdown: no progress, not urgent.
void Clear();

// A critical notification with one action labelled actionLabel: through the notification
// service, or inside a Flatpak sandbox through the desktop's notification portal. onInvoked receives the
// activation token the desktop sent with the invocation (empty where it sent none).
struct TNotification {
  QString Summary;
  QString Body;
  QString ActionLabel;
};
void Notify(const TNotification& notification, std::function<void(const QString& token)> onInvoked);
// Withdraws the notification that Notify showed, once its id is known.
void Withdraw();

// The line said once when the notification service is not reached, %1 the reason: English
// unless the program gives it in the user's language.
void SetUnreachedText(const QString& text);

// For tests: the bus address to use instead of the session's (empty: the session's), and a
// fresh start without connection or notification.
void SetBusAddress(const QString& address);
// For tests: as inside a Flatpak sandbox, where the notification goes through the portal.
void SetSandboxed(bool sandboxed);
void Reset();

} // namespace DesktopBus
