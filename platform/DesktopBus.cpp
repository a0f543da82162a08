#include "DesktopBus.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QVariantMap>


namespace DesktopBus {

namespace {

const QString ConnectionName = QStringLiteral("steepo-desktop");
const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString NotificationsInterface = NotificationsService;
const QString LauncherEntryPath = QStringLiteral("/org/varnak/Steepo/LauncherEntry");
const QString LauncherEntryInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");

// Receives the notification server's signals on the user-interface thread.
class TListener : public QObject {
  Q_OBJECT

public:
  using QObject::QObject;

public slots:
  void ActionInvoked(uint id, const QString& action);
  void ActivationToken(uint id, const QString& token);
  void NotificationClosed(uint id, uint reason);
};

struct TState {
  enum TBus { Unconnected, Connected, Failed } Bus = Unconnected;
  QString Address;                  // set by tests; empty: the session's
  bool Reported = false;            // the one line on stderr has been written
  int Generation = 0;               // replies to an earlier generation are stale
  QPointer<TListener> Listener;
  quint32 NotificationId = 0;       // the shown notification, 0: none
  bool NotifyPending = false;       // Notify sent, its answer outstanding
  bool WithdrawWhenKnown = false;   // withdrawn before its id came back
  QString Token;                    // activation token for the next invocation
  std::function<void(const QString&)> OnInvoked;
};

TState& State() {
  static TState state;
  return state;
}

void Report(const QString& reason) {
  TState& state = State();
  if (state.Reported)
    return;
  state.Reported = true;
  Platform::ReportProblem(
      QStringLiteral("steepo: the desktop's notification service was not reached (%1); the alarm shows in its window only")
          .arg(reason));
}

// The session bus: the test's, the session's address, or the user's bus socket. Never the
// autolaunch that libdbus would otherwise try, which would start a bus of its own.
QString SessionAddress() {
  if (!State().Address.isEmpty())
    return State().Address;
  const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  if (!address.isEmpty())
    return address;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
    return QStringLiteral("unix:path=") + runtime + QStringLiteral("/bus");
  return {};
}

QDBusConnection Bus() { return QDBusConnection(ConnectionName); }

void Update(const QVariantMap& properties) {
  if (State().Bus != TState::Connected)
    return;
  QDBusMessage signal = QDBusMessage::createSignal(LauncherEntryPath, LauncherEntryInterface, QStringLiteral("Update"));
  signal << QStringLiteral("application://%1.desktop").arg(QGuiApplication::desktopFileName()) << properties;
  Bus().send(signal);
}

void CloseNotification(quint32 id) {
  QDBusMessage call = QDBusMessage::createMethodCall(NotificationsService, NotificationsPath, NotificationsInterface,
                                                     QStringLiteral("CloseNotification"));
  call << id;
  Bus().asyncCall(call);
}

void NotifyAnswered(int generation, const QDBusPendingReply<uint>& reply) {
  TState& state = State();
  if (generation != state.Generation)
    return;
  state.NotifyPending = false;
  if (reply.isError()) {
    Report(reply.error().name());
    return;
  }
  state.NotificationId = reply.value();
  if (state.WithdrawWhenKnown)
    Withdraw();
}

void ListenTo(const char* name, const char* slot) {
  Bus().connect(QString(), NotificationsPath, NotificationsInterface, QString::fromLatin1(name), State().Listener, slot);
}

} // namespace

void TListener::ActionInvoked(uint id, const QString&) {
  TState& state = State();
  if (id == 0 || id != state.NotificationId || !state.OnInvoked)
    return;
  const QString token = std::exchange(state.Token, QString());
  state.OnInvoked(token);
}

void TListener::ActivationToken(uint id, const QString& token) {
  if (id != 0 && id == State().NotificationId)
    State().Token = token;
}

void TListener::NotificationClosed(uint id, uint) {
  if (id != 0 && id == State().NotificationId)
    State().NotificationId = 0;  // gone already: nothing to withdraw
}

void Connect() {
  TState& state = State();
  if (state.Bus != TState::Unconnected)
    return;
  state.Bus = TState::Failed;
  const QString address = SessionAddress();
  if (address.isEmpty())
    return;
  if (!QDBusConnection::connectToBus(address, ConnectionName).isConnected()) {
    QDBusConnection::disconnectFromBus(ConnectionName);
    return;
  }
  state.Bus = TState::Connected;
  state.Listener = new TListener(QCoreApplication::instance());
  ListenTo("ActionInvoked", SLOT(ActionInvoked(uint, QString)));
  ListenTo("ActivationToken", SLOT(ActivationToken(uint, QString)));
  ListenTo("NotificationClosed", SLOT(NotificationClosed(uint, uint)));
  // The dock entry loses its progress when the program ends, however it ends.
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, state.Listener, [] { Clear(); });
}

void Progress(double fraction) {
  Connect();
  Update({{QStringLiteral("progress"), qBound(0.0, fraction, 1.0)}, {QStringLiteral("progress-visible"), true}});
}

void Urgent() {
  Connect();
  Update({{QStringLiteral("urgent"), true}});
}

void Clear() { Update({{QStringLiteral("progress-visible"), false}, {QStringLiteral("urgent"), false}}); }

void Notify(const TNotification& notification, std::function<void(const QString& token)> onInvoked) {
  Connect();
  TState& state = State();
  if (state.Bus != TState::Connected) {
    Report(QStringLiteral("no session bus"));
    return;
  }
  const QString appId = QGuiApplication::desktopFileName();
  const QVariantMap hints{
      {QStringLiteral("urgency"), QVariant::fromValue(uchar(2))},  // critical
      {QStringLiteral("desktop-entry"), appId},
      {QStringLiteral("suppress-sound"), true},  // the alarm plays its own chime
  };
  QDBusMessage call = QDBusMessage::createMethodCall(NotificationsService, NotificationsPath, NotificationsInterface,
                                                     QStringLiteral("Notify"));
  call << QStringLiteral("Steepo") << uint(0) << appId << notification.Summary << notification.Body
       << QStringList{QStringLiteral("default"), notification.ActionLabel} << hints << int(-1);

  state.OnInvoked = std::move(onInvoked);
  state.NotificationId = 0;
  state.Token.clear();
  state.WithdrawWhenKnown = false;
  state.NotifyPending = true;
  const int generation = ++state.Generation;
  auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call), state.Listener);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [generation](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    NotifyAnswered(generation, *w);
  });
}

void Withdraw() {
  TState& state = State();
  state.OnInvoked = {};
  state.WithdrawWhenKnown = state.NotifyPending;
  if (state.NotificationId != 0 && state.Bus == TState::Connected)
    CloseNotification(std::exchange(state.NotificationId, 0u));
}

void SetBusAddress(const QString& address) { State().Address = address; }

void Reset() {
  TState& state = State();
  if (state.Bus == TState::Connected)
    QDBusConnection::disconnectFromBus(ConnectionName);
  delete state.Listener;
  const int generation = state.Generation + 1;
  state = TState{};
  state.Generation = generation;
}

} // namespace DesktopBus

#include "DesktopBus.moc"
