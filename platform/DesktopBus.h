#pragma once
// The desktop's own channels for a running countdown and its alarm, over the session bus:
// progress and urgency on the program's dock or taskbar entry, and desktop notifications.
// Every call returns at once and nothing here is needed: without a bus or a notification
// service the calls do nothing, and the timer works as without them. The bus is reached on
// the first call that needs it, on a thread of its own; start-up only checks that it answers.

#include <QList>
#include <QString>
#include <functional>

namespace DesktopBus {

// ---- Start-up -------------------------------------------------------------------------------

// How a bus answered the start-up's check: nothing listens (nothing can wait for it either),
// it answered every question in time, or it did not.
enum class TAnswer { Absent, Answers, Silent };
struct TBusCheck {
  TAnswer Session = TAnswer::Absent;
  TAnswer Accessibility = TAnswer::Absent;  // the accessibility bus, where screen readers listen
  QString AccessibilityAddress;             // where screen readers are on and their bus answers
};
// Asks the session bus for Hello and for the accessibility service's state, and, where that
// is on (or accessibilityAddress names the bus), the accessibility bus for Hello and a ping
// of its registry: all within milliseconds. Qt's accessibility bridge asks the same on the
// user-interface thread without a limit.
TBusCheck CheckBuses(const QString& sessionAddress, const QString& accessibilityAddress, int milliseconds);

// What GuardSessionBus did, where the caller says it in one line: nothing to say, or a bus
// given up for this run.
enum TGuard { gdNothing, gdSessionSilent, gdAccessibilitySilent };
// Keeps Qt's accessibility bridge, which asks the buses on the user-interface thread without
// a limit, off any bus that has not just answered. The buses of the environment are checked
// on a thread of its own, within half a second; then, for the rest of the run:
// - a bus that did not answer is hidden from Qt (its other users, the desktop theme among
//   them, find none as well), and accessibility is off;
// - with screen readers on, the bridge is sent straight to their bus, which has answered;
// - with screen readers off, the session bus is hidden from Qt: the bridge has nothing to do
//   there, and a bus that stopped after the check would hold it. Inside a Flatpak sandbox it
//   stays, for the portal's dialogs.
// The program's own connection keeps the session bus where it answers. Called before the
// application is made (its theme may use the bus) and again right before the first window,
// unless the first call has settled it.
TGuard GuardSessionBus();

// ---- The dock entry -------------------------------------------------------------------------

// Connects to the session bus, once, on the bus thread: nothing on the calling thread ever
// waits for the bus. A bus that has not answered within a second is given up for this run.
// Progress, Urgent, Notify and Warn connect by themselves; Clear and Withdraw never do.
void Connect();

// The dock entry: fraction (0 to 1) of the set time elapsed, with the progress shown; sent
// when it has moved by a hundredth since the last one sent (a dock shows no finer step).
void Progress(double fraction);
// The dock entry asks for attention.
void Urgent();
// The dock entry as it is without a countdown: no progress, not urgent.
void Clear();

// ---- Notifications --------------------------------------------------------------------------

// A button of a notification: the id its invocation reports, and its label.
struct TAction {
  QString Id;
  QString Label;
};
// The alarm's notification: critical, through the notification service, or inside a Flatpak
// sandbox through the desktop's notification portal. A click on it is the action "default",
// labelled ActionLabel; Actions are its buttons.
struct TNotification {
  QString Summary;
  QString Body;
  QString ActionLabel;
  QList<TAction> Actions = {};
};
// onInvoked receives the invoked action's id and the activation token the desktop sent with
// it (empty where it sent none), on the user-interface thread, until the notification is
// withdrawn. A warning still shown is withdrawn first.
using TInvoked = std::function<void(const QString& action, const QString& token)>;
void Notify(const TNotification& notification, TInvoked onInvoked);
// As above, for a caller that only brings its window to the front on a click.
void Notify(const TNotification& notification, std::function<void(const QString& token)> onInvoked);
// Withdraws the alarm's notification: at once where its id is known, else as soon as the
// id comes.
void Withdraw();

// A warning of normal urgency without buttons ("Ready in 30 seconds"), replacing the one
// shown before.
void Warn(const QString& summary, const QString& body);
// Withdraws the warning, as Withdraw does the alarm's.
void WithdrawWarning();

// Whatever is shown is withdrawn when the program ends, and the dock entry cleared. A
// notification whose id has not come then is given half a second at most; one that comes
// later is no longer seen by the program, and stays on screen as the notification service
// keeps it (a critical one until it is dismissed).

// The line said once when the notification service is not reached, %1 the reason: English
// unless the program gives it in the user's language.
void SetUnreachedText(const QString& text);

// ---- For tests ------------------------------------------------------------------------------

// The bus address to use instead of the session's (empty: the session's).
void SetBusAddress(const QString& address);
// As inside a Flatpak sandbox, where notifications go through the portal.
void SetSandboxed(bool sandboxed);
// A fresh start: no connection, no notification, the bus thread stopped.
void Reset();

} // namespace DesktopBus
