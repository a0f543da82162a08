#include "DesktopBus.h"

#include "BusLink.h"
#include "Platform.h"

#include <QGuiApplication>
#include <QPointer>
#include <QVariantMap>

#include <array>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace DesktopBus {

namespace {

using BusWire::TMessage;
using BusWire::TReader;
using BusWire::TWriter;

const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString NotificationsInterface = NotificationsService;
// Inside a Flatpak sandbox the notifications go through the desktop's portal, under ids of
// the program's own.
const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalInterface = QStringLiteral("org.freedesktop.portal.Notification");
const QString LauncherEntryPath = QStringLiteral("/org/varnak/Steepo/LauncherEntry");
const QString LauncherEntryInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");
const QString Silent = QStringLiteral("the session bus did not answer");

// A bus whose Hello has not been answered within a second is given up for this run.
constexpr int AnswerMilliseconds = 1000;
// A notification service that has not answered Notify by then is taken as not reached.
constexpr int NotifyMilliseconds = 25000;
// The start-up's check of the buses, all questions together.
constexpr int CheckMilliseconds = 500;

// The program's notifications: the alarm, and the warning before the end.
enum TSlot { nsAlarm, nsWarning, nsCount };
const std::array<QString, nsCount> PortalIds{QStringLiteral("alarm"), QStringLiteral("warning")};

// The user-interface thread's side.
struct TState {
  enum TBus { Unconnected, Connecting, Failed } Bus = Unconnected;
  QString FailReason;               // why the bus was given up
  bool Reported = false;            // the one line on stderr has been written
  bool Hidden = false;              // the session bus has been hidden from Qt for this run
  double ProgressSent = -1;         // the dock's last progress, below 0: none shown
  std::array<TInvoked, nsCount> OnInvoked;
};

TState& State() {
  static TState state;
  return state;
}

QString& UnreachedText() {
  static QString text = QStringLiteral(
      "steepo: the desktop's notification service was not reached (%1); the alarm shows in its window only");
  return text;
}

// The bus thread's side: touched there only.
struct TNote {
  quint32 Id = 0;         // the service's id of the notification shown, 0: none
  int Sent = 0;           // Notify calls so far: an answer to an earlier one is stale
  bool Live = false;      // sent and not withdrawn since
  QByteArray Service;     // the unique name of the service that answered: its signals count
  QString Token;          // the activation token for the next invocation
};
struct TBusSide {
  QPointer<BusLink::TLink> Link;
  std::array<TNote, nsCount> Notes;
};

TBusSide& BusSide() {
  static TBusSide side;
  return side;
}

void Report(const QString& reason) {
  TState& state = State();
  if (std::exchange(state.Reported, true))
    return;
  Platform::ReportProblem(UnreachedText().arg(reason));
}

void Fail(const QString& reason) {
  TState& state = State();
  if (state.Bus == TState::Failed)
    return;
  state.Bus = TState::Failed;
  state.FailReason = reason;
}

// ---- On the bus thread ----------------------------------------------------------------------

void Received(TMessage& signal);

// The connection, made on the first job that may connect; a failed one stays failed, and
// answers every call with an error at once.
BusLink::TLink* LinkOnBus(const QString& address, bool connect) {
  TBusSide& side = BusSide();
  if (!side.Link && connect) {
    side.Link = new BusLink::TLink;
    side.Link->OnSignal = Received;
    side.Link->OnFailed = [](const QString& why) { BusLink::OnUiThread([why] { Fail(why); }); };
    side.Link->Open(address, false, AnswerMilliseconds);
    side.Link->AddMatch(QStringLiteral("type='signal',interface='%1',path='%2'").arg(NotificationsInterface, NotificationsPath));
    side.Link->AddMatch(QStringLiteral("type='signal',interface='%1',path='%2'").arg(PortalInterface, PortalPath));
  }
  return side.Link.data();
}

TMessage NotificationsCall(const QString& member) {
  return TMessage::Call(NotificationsService, NotificationsPath, NotificationsInterface, member);
}

TMessage PortalCall(const QString& member) { return TMessage::Call(PortalService, PortalPath, PortalInterface, member); }

void CloseNotification(BusLink::TLink& link, TSlot slot, bool portal, quint32 id) {
  TMessage call = portal ? PortalCall(QStringLiteral("RemoveNotification")) : NotificationsCall(QStringLiteral("CloseNotification"));
  call.Flags = BusWire::NoReplyExpected;
  if (portal)
    TWriter(call).String(PortalIds[slot]);
  else
    TWriter(call).UInt32(id);
  link.Send(std::move(call));
}

void WithdrawOnBus(BusLink::TLink& link, TSlot slot, bool portal) {
  TNote& note = BusSide().Notes[slot];
  // The portal knows the notification by the program's id: it goes even before the answer.
  if (std::exchange(note.Live, false) && (portal || note.Id != 0))
    CloseNotification(link, slot, portal, note.Id);
  note.Id = 0;
}

// The answer to Notify: the id of a notification that is no longer wanted closes it at once.
void NotifyAnswered(BusLink::TLink& link, TSlot slot, int sent, bool portal, TMessage& reply) {
  TNote& note = BusSide().Notes[slot];
  if (reply.Type == BusWire::mtError) {
    // An error of the service carries its name; one of the link's own, its reason in words.
    const QString reason = reply.Sender.isEmpty() ? TReader(reply).String() : BusWire::ErrorOf(reply);
    BusLink::OnUiThread([reason] { Report(reason); });
    return;
  }
  const quint32 id = portal ? 1 : TReader(reply).UInt32();
  const bool current = sent == note.Sent;
  if (current && note.Live) {
    note.Id = id;
    note.Service = reply.Sender;
    return;
  }
  // Withdrawn, or followed by a newer one. The portal's went by the program's id already, or
  // a newer one has taken that id.
  if (!portal)
    CloseNotification(link, slot, portal, id);
}

void SendNotification(BusLink::TLink& link, TSlot slot, TMessage call, bool portal) {
  WithdrawOnBus(link, slot, portal);
  TNote& note = BusSide().Notes[slot];
  note.Live = true;
  note.Token.clear();
  const int sent = ++note.Sent;
  // Its id is awaited at the end, so that the end can close it.
  link.Call(std::move(call), [&link, slot, sent, portal](TMessage& reply) { NotifyAnswered(link, slot, sent, portal, reply); },
            NotifyMilliseconds, !portal);
}

void Invoke(TSlot slot, const QString& action, QString token) {
  TNote& note = BusSide().Notes[slot];
  const QString given = std::exchange(note.Token, QString());
  if (token.isEmpty())
    token = given;
  BusLink::OnUiThread([slot, action, token] {
    if (const TInvoked& onInvoked = State().OnInvoked[slot])
      onInvoked(action, token);
  });
}

// The slot of the live notification with the service's id, from that service; nsCount: none.
TSlot SlotOf(const TMessage& signal, quint32 id) {
  for (int slot = 0; slot < nsCount; ++slot) {
    const TNote& note = BusSide().Notes[slot];
    if (id != 0 && note.Live && note.Id == id && signal.Sender == note.Service)
      return TSlot(slot);
  }
  return nsCount;
}

// A newer portal sends the activation token in a dictionary after the action's target.
QString PortalToken(TReader& reader) {
  QString token;
  const int end = reader.ArrayEnd(1);
  while (reader.Before(end)) {
    QByteArray type = reader.Signature();
    if (type != "a{sv}") {
      reader.Skip(type);
      continue;
    }
    const int entries = reader.ArrayEnd(8);
    while (reader.Before(entries)) {
      reader.Align(8);
      const QString key = reader.String();
      QByteArray value = reader.Signature();
      if (key == QLatin1String("activation-token") && value == "s")
        token = reader.String();
      else
        reader.Skip(value);
    }
  }
  return reader.Ok() ? token : QString();
}

void ReceivedFromPortal(TMessage& signal) {
  TReader reader(signal);
  const QString id = reader.String();
  const QString action = reader.String();
  const QString token = PortalToken(reader);
  for (int slot = 0; slot < nsCount; ++slot) {
    const TNote& note = BusSide().Notes[slot];
    if (reader.Ok() && id == PortalIds[slot] && note.Live && note.Id != 0 && signal.Sender == note.Service)
      Invoke(TSlot(slot), action, token);
  }
}

void Received(TMessage& signal) {
  if (signal.Interface == PortalInterface.toUtf8() && signal.Member == "ActionInvoked" && signal.Signature == "ssav") {
    ReceivedFromPortal(signal);
    return;
  }
  if (signal.Interface != NotificationsInterface.toUtf8())
    return;
  TReader reader(signal);
  const quint32 id = reader.UInt32();
  const TSlot slot = SlotOf(signal, id);
  if (slot == nsCount)
    return;
  TNote& note = BusSide().Notes[slot];
  if (signal.Member == "ActionInvoked" && signal.Signature == "us") {
    const QString action = reader.String();
    if (reader.Ok())
      Invoke(slot, action, {});
  } else if (signal.Member == "ActivationToken" && signal.Signature == "us") {
    note.Token = reader.String();
  } else if (signal.Member == "NotificationClosed" && signal.Signature == "uu") {
    note.Id = 0;  // gone already: nothing to withdraw
  }
}

// ---- On the user-interface thread -----------------------------------------------------------

// Runs job(link) on the bus thread, in the order of the calls; connects first where connect is
// set, and does nothing where there is no connection.
template <typename F>
void OnBus(bool connect, F job) {
  if (State().Bus == TState::Failed || (!connect && State().Bus == TState::Unconnected))
    return;
  BusLink::Post([connect, address = BusLink::SessionAddress(), job = std::move(job)] {
    if (BusLink::TLink* link = LinkOnBus(address, connect))
      job(*link);
  });
}

void Update(const QVariantMap& properties) {
  TMessage signal = TMessage::Signal(LauncherEntryPath, LauncherEntryInterface, QStringLiteral("Update"));
  TWriter(signal).String(QStringLiteral("application://%1.desktop").arg(QGuiApplication::desktopFileName())).Dictionary(properties);
  OnBus(false, [signal](BusLink::TLink& link) { link.Send(signal); });
}

// The notification as the notification service takes it; a click is the action "default".
TMessage NotifyCall(const TNotification& notification, uchar urgency) {
  const QString appId = QGuiApplication::desktopFileName();
  const QVariantMap hints{
      {QStringLiteral("urgency"), QVariant::fromValue(urgency)},
      {QStringLiteral("desktop-entry"), appId},
      {QStringLiteral("suppress-sound"), true},  // the program plays its own sound
  };
  QStringList actions;
  if (!notification.ActionLabel.isEmpty())
    actions << QStringLiteral("default") << notification.ActionLabel;
  for (const TAction& action : notification.Actions)
    actions << action.Id << action.Label;
  TMessage call = NotificationsCall(QStringLiteral("Notify"));
  TWriter(call)
      .String(QStringLiteral("Steepo"))
      .UInt32(0)
      .String(appId)
      .String(notification.Summary)
      .String(notification.Body)
      .StringList(actions)
      .Dictionary(hints)
      .Int32(-1);
  return call;
}

// The same through the portal, which knows the program by its sandbox.
TMessage AddNotificationCall(const TNotification& notification, TSlot slot, const QString& priority) {
  QVariantList buttons;
  for (const TAction& action : notification.Actions)
    buttons << QVariantMap{{QStringLiteral("label"), action.Label}, {QStringLiteral("action"), action.Id}};
  if (buttons.isEmpty() && !notification.ActionLabel.isEmpty())
    buttons << QVariantMap{{QStringLiteral("label"), notification.ActionLabel}, {QStringLiteral("action"), QStringLiteral("default")}};
  QVariantMap content{
      {QStringLiteral("title"), notification.Summary},
      {QStringLiteral("body"), notification.Body},
      {QStringLiteral("priority"), priority},
  };
  if (!notification.ActionLabel.isEmpty())
    content.insert(QStringLiteral("default-action"), QStringLiteral("default"));
  if (!buttons.isEmpty())
    content.insert(QStringLiteral("buttons"), buttons);
  TMessage call = PortalCall(QStringLiteral("AddNotification"));
  TWriter(call).String(PortalIds[slot]).Dictionary(content);
  return call;
}

void Show(TSlot slot, const TNotification& notification) {
  Connect();
  TState& state = State();
  if (state.Bus == TState::Failed) {
    Report(state.FailReason);
    return;
  }
  const bool portal = BusLink::Sandboxed();
  const bool alarm = slot == nsAlarm;
  const TMessage call = portal ? AddNotificationCall(notification, slot, alarm ? QStringLiteral("urgent") : QStringLiteral("normal"))
                               : NotifyCall(notification, alarm ? 2 : 1);
  OnBus(true, [slot, call, portal](BusLink::TLink& link) { SendNotification(link, slot, call, portal); });
}

void Withdraw(TSlot slot) {
  State().OnInvoked[slot] = {};
  const bool portal = BusLink::Sandboxed();
  OnBus(false, [slot, portal](BusLink::TLink& link) { WithdrawOnBus(link, slot, portal); });
}

// At the end, whatever is shown goes and the dock entry is cleared; the bus thread then
// waits a bounded time for the ids still to come.
void AtEnd() {
  static bool hooked = false;
  if (std::exchange(hooked, true))
    return;
  BusLink::AtEnd([] {
    Clear();
    Withdraw(nsAlarm);
    Withdraw(nsWarning);
  });
}

} // namespace

void Connect() {
  TState& state = State();
  if (state.Bus != TState::Unconnected)
    return;
  if (BusLink::SessionAddress().isEmpty()) {
    Fail(QStringLiteral("no session bus"));
    return;
  }
  state.Bus = TState::Connecting;
  AtEnd();
  OnBus(true, [](BusLink::TLink&) {});
}

void Progress(double fraction) {
  // A dock's bar shows no finer step than a hundredth: a countdown longer than 100 seconds
  // sends fewer signals than it shows seconds, which keeps it as light as a plain window.
  constexpr double Step = 0.01 - 1e-9;
  TState& state = State();
  const double progress = qBound(0.0, fraction, 1.0);
  if (state.ProgressSent >= 0 && progress - state.ProgressSent < Step)
    return;
  Connect();
  if (state.Bus == TState::Failed)
    return;
  state.ProgressSent = progress;
  Update({{QStringLiteral("progress"), progress}, {QStringLiteral("progress-visible"), true}});
}

void Urgent() {
  Connect();
  Update({{QStringLiteral("urgent"), true}});
}

void Clear() {
  State().ProgressSent = -1;
  Update({{QStringLiteral("progress-visible"), false}, {QStringLiteral("urgent"), false}});
}

void Notify(const TNotification& notification, TInvoked onInvoked) {
  WithdrawWarning();
  State().OnInvoked[nsAlarm] = std::move(onInvoked);
  Show(nsAlarm, notification);
}

void Notify(const TNotification& notification, std::function<void(const QString& token)> onInvoked) {
  Notify(notification, [onInvoked = std::move(onInvoked)](const QString&, const QString& token) {
    if (onInvoked)
      onInvoked(token);
  });
}

void Withdraw() { Withdraw(nsAlarm); }

void Warn(const QString& summary, const QString& body) {
  State().OnInvoked[nsWarning] = {};
  Show(nsWarning, {summary, body, QString(), {}});
}

void WithdrawWarning() { Withdraw(nsWarning); }

void SetUnreachedText(const QString& text) { UnreachedText() = text; }

void SetBusAddress(const QString& address) { BusLink::KeepSessionAddress(address); }

void SetSandboxed(bool sandboxed) { BusLink::SetSandboxed(sandboxed); }

void Reset() {
  BusLink::Reset();
  BusSide() = TBusSide{};
  State() = TState{};
}

// ---- Start-up -------------------------------------------------------------------------------

TGuard GuardSessionBus() {
  TState& state = State();
  if (state.Hidden || state.Bus == TState::Failed)
    return gdNothing;
  const QString session = BusLink::SessionAddress();
  const QString accessibility = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
  if (session.isEmpty() && accessibility.isEmpty())
    return gdNothing;
  // On a thread of its own: should anything of it block after all, the start goes on.
  auto answer = std::make_shared<std::promise<TBusCheck>>();
  std::future<TBusCheck> check = answer->get_future();
  std::thread([answer, session, accessibility] {
    answer->set_value(CheckBuses(session, accessibility, CheckMilliseconds));
  }).detach();
  const bool ready = check.wait_for(std::chrono::milliseconds(CheckMilliseconds + 100)) == std::future_status::ready;
  const TBusCheck found = ready ? check.get() : TBusCheck{TAnswer::Silent, TAnswer::Silent, {}};
  const bool silent = found.Session == TAnswer::Silent || found.Accessibility == TAnswer::Silent;
  if (!silent && !found.AccessibilityAddress.isEmpty()) {
    // The bridge goes straight to the screen readers' bus, never through the session bus.
    qputenv("AT_SPI_BUS_ADDRESS", found.AccessibilityAddress.toUtf8());
    return gdNothing;
  }
  if (!silent && (found.Session != TAnswer::Answers || BusLink::Sandboxed()))
    return gdNothing;
  // Qt's users find no bus; the program's own connection keeps the session bus that answers.
  BusLink::KeepSessionAddress(session);
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
  qunsetenv("AT_SPI_BUS_ADDRESS");
  state.Hidden = true;
  if (!silent)
    return gdNothing;
  if (found.Session != TAnswer::Silent)
    return gdAccessibilitySilent;
  Fail(Silent);
  state.Reported = true;  // the caller's line says it
  return gdSessionSilent;
}

} // namespace DesktopBus
