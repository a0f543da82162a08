#include "DesktopBus.h"

#include "Platform.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QGuiApplication>
#include <QVariantMap>

#include <cerrno>
#include <optional>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>


namespace DesktopBus {

namespace {

const QString ConnectionName = QStringLiteral("steepo-desktop-%1");
const QString NotificationsService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString NotificationsInterface = NotificationsService;
// Inside a Flatpak sandbox the notification goes through the desktop's portal.
const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalInterface = QStringLiteral("org.freedesktop.portal.Notification");
const QString PortalNotification = QStringLiteral("alarm");  // the portal's id of ours
constexpr quint32 PortalShown = 1;                          // its stand-in for a server's id
const QString LauncherEntryPath = QStringLiteral("/org/varnak/Steepo/LauncherEntry");
const QString LauncherEntryInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");
const QString Silent = QStringLiteral("the session bus did not answer");

// How long the bus may take to answer the first step of a connection, and how long a
// connection may take in all before the desktop's channels are given up for this run.
constexpr int AnswerMilliseconds = 300;
constexpr int ConnectMilliseconds = 1000;
// How long the program's end waits for the last signal to the dock to leave.
constexpr int FinishMilliseconds = 250;

// Whether a bus answers at all, found without the bus library, which would wait for ever.
enum class TProbe { Answers, Silent, Unreachable };

// The socket of the first address of a bus: a path, or an abstract name (led by a zero byte);
// empty for any other transport.
QByteArray SocketName(const QString& address) {
  const QString first = address.section(u';', 0, 0);
  if (!first.startsWith(QStringLiteral("unix:")))
    return {};
  for (const QString& pair : first.mid(5).split(u',')) {
    const QByteArray value = QByteArray::fromPercentEncoding(pair.section(u'=', 1).toUtf8());
    if (pair.startsWith(QStringLiteral("path=")))
      return value;
    if (pair.startsWith(QStringLiteral("abstract=")))
      return '\0' + value;
  }
  return {};
}

// Opens the conversation a connection opens with and waits a bounded time for any answer.
// A bus of another transport is taken on trust.
TProbe Probe(const QString& address, int milliseconds) {
  const QByteArray name = SocketName(address);
  sockaddr_un socketAddress{};
  if (name.isEmpty() || size_t(name.size()) >= sizeof socketAddress.sun_path)
    return TProbe::Answers;
  socketAddress.sun_family = AF_UNIX;
  std::memcpy(socketAddress.sun_path, name.constData(), size_t(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return TProbe::Unreachable;
  const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()));
  TProbe result = TProbe::Unreachable;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&socketAddress), length) == 0 || errno == EAGAIN) {
    // A full backlog is a bus that takes no one in: as silent as one that does not answer.
    static const char Greeting[] = "\0AUTH\r\n";
    result = TProbe::Silent;
    pollfd wait{fd, POLLIN, 0};
    QDeadlineTimer deadline(milliseconds);
    if (errno != EAGAIN && ::send(fd, Greeting, sizeof Greeting - 1, MSG_NOSIGNAL) == sizeof Greeting - 1) {
      int ready = 0;
      do
        ready = ::poll(&wait, 1, int(deadline.remainingTime()));
      while (ready < 0 && errno == EINTR);
      char answer = 0;
      if (ready > 0 && ::recv(fd, &answer, 1, 0) == 1)
        result = TProbe::Answers;
    }
  }
  ::close(fd);
  return result;
}

// The session bus: the test's, the session's address, or the user's bus socket. Never the
// autolaunch that libdbus would otherwise try, which would start a bus of its own.
QString SessionAddress();

// The bus's side: a thread of its own holds the connection, so that a bus that stops
// answering stops nothing but this thread. Everything it learns goes back to the
// user-interface thread as a queued call.
class TWorker : public QObject {
  Q_OBJECT

public:
  TWorker(int generation, const QString& name) : Generation(generation), Name(name) {}

  QDBusConnection Bus() const { return QDBusConnection(Name); }
  void Connect(const QString& address);
  bool Connected = false;

public slots:
  void ActionInvoked(uint id, const QString& action);
  void ActivationToken(uint id, const QString& token);
  void NotificationClosed(uint id, uint reason);
  void PortalActionInvoked(const QString& id, const QString& action, const QVariantList& parameter);

private:
  void ListenTo(const char* name, const char* slot);
  void Invoked(uint id, const QString& token);

  const int Generation;
  const QString Name;
};

struct TState {
  enum TBus { Unconnected, Connecting, Connected, Failed } Bus = Unconnected;
  QString Address;                  // set by tests; empty: the session's
  std::optional<bool> Sandboxed;    // set by tests; unset: whether this runs in a Flatpak
  QString FailReason;               // why the bus was given up
  bool Reported = false;            // the one line on stderr has been written
  int Generation = 0;               // answers to an earlier generation are stale
  QThread* Thread = nullptr;
  TWorker* Worker = nullptr;
  QList<QObject*> Stranded;         // workers and threads of earlier generations still stuck
  quint32 NotificationId = 0;       // the shown notification, 0: none
  int Notifications = 0;            // Notify calls so far: answers to earlier ones are stale
  bool NotifyPending = false;       // Notify sent, its answer outstanding
  bool WithdrawWhenKnown = false;   // withdrawn before its id came back
  double ProgressSent = -1;         // the dock's last progress, below 0: none shown
  QString Token;                    // activation token for the next invocation
  std::function<void(const QString&)> OnInvoked;
};

TState& State() {
  // Never destroyed: the workers it keeps stay reachable to the end, when the bus library's
  // own teardown still refers to them.
  static TState& state = *new TState;
  return state;
}

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

QString& UnreachedText() {
  static QString text = QStringLiteral(
      "steepo: the desktop's notification service was not reached (%1); the alarm shows in its window only");
  return text;
}

void Report(const QString& reason) {
  TState& state = State();
  if (state.Reported)
    return;
  state.Reported = true;
  Platform::ReportProblem(UnreachedText().arg(reason));
}

// Runs call on the user-interface thread, unless a Reset came in between.
template <typename F>
void OnUiThread(int generation, F call) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [generation, call = std::move(call)] {
        if (generation == State().Generation)
          call();
      },
      Qt::QueuedConnection);
}

// Runs call(worker) on the bus's thread, in the order of the calls.
template <typename F>
void OnBusThread(F call) {
  TWorker* worker = State().Worker;
  if (worker && State().Bus != TState::Failed)
    QMetaObject::invokeMethod(
        worker,
        [worker, call = std::move(call)] {
          if (worker->Connected)
            call(worker);
        },
        Qt::QueuedConnection);
}

void Fail(const QString& reason) {
  TState& state = State();
  if (state.Bus == TState::Failed)
    return;
  state.Bus = TState::Failed;
  state.FailReason = reason;
  if (std::exchange(state.NotifyPending, false))
    Report(reason);
}

void TWorker::Connect(const QString& address) {
  const TProbe probe = Probe(address, AnswerMilliseconds);
  QDBusConnection bus = probe == TProbe::Answers ? QDBusConnection::connectToBus(address, Name) : Bus();
  if (!bus.isConnected()) {
    if (probe == TProbe::Answers)
      QDBusConnection::disconnectFromBus(Name);
    OnUiThread(Generation, [probe] { Fail(probe == TProbe::Silent ? Silent : QStringLiteral("no session bus")); });
    return;
  }
  ListenTo("ActionInvoked", SLOT(ActionInvoked(uint, QString)));
  ListenTo("ActivationToken", SLOT(ActivationToken(uint, QString)));
  ListenTo("NotificationClosed", SLOT(NotificationClosed(uint, uint)));
  Bus().connect(QString(), PortalPath, PortalInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(PortalActionInvoked(QString, QString, QVariantList)));
  qDBusRegisterMetaType<QList<QVariantMap>>();  // the portal's buttons
  Connected = true;
  OnUiThread(Generation, [] {
    if (State().Bus == TState::Connecting)
      State().Bus = TState::Connected;
  });
}

void TWorker::ListenTo(const char* name, const char* slot) {
  Bus().connect(QString(), NotificationsPath, NotificationsInterface, QString::fromLatin1(name), this, slot);
}

void TWorker::Invoked(uint id, const QString& token) {
  OnUiThread(Generation, [id, token] {
    TState& state = State();
    if (id == 0 || id != state.NotificationId || !state.OnInvoked)
      return;
    const QString given = std::exchange(state.Token, QString());
    state.OnInvoked(token.isEmpty() ? given : token);
  });
}

void TWorker::ActionInvoked(uint id, const QString&) { Invoked(id, {}); }

void TWorker::PortalActionInvoked(const QString& id, const QString&, const QVariantList& parameter) {
  // A newer portal sends the activation token in a dictionary after the action's target.
  QString token;
  for (const QVariant& value : parameter)
    if (value.canConvert<QDBusArgument>())
      token = qdbus_cast<QVariantMap>(value.value<QDBusArgument>()).value(QStringLiteral("activation-token")).toString();
  if (id == PortalNotification)
    Invoked(PortalShown, token);
}

void TWorker::ActivationToken(uint id, const QString& token) {
  OnUiThread(Generation, [id, token] {
    if (id != 0 && id == State().NotificationId)
      State().Token = token;
  });
}

void TWorker::NotificationClosed(uint id, uint) {
  OnUiThread(Generation, [id] {
    if (id != 0 && id == State().NotificationId)
      State().NotificationId = 0;  // gone already: nothing to withdraw
  });
}

void Update(const QVariantMap& properties) {
  QDBusMessage signal = QDBusMessage::createSignal(LauncherEntryPath, LauncherEntryInterface, QStringLiteral("Update"));
  signal << QStringLiteral("application://%1.desktop").arg(QGuiApplication::desktopFileName()) << properties;
  OnBusThread([signal](TWorker* worker) { worker->Bus().send(signal); });
}

bool Sandboxed() {
  TState& state = State();
  if (!state.Sandboxed)
    state.Sandboxed = QFileInfo::exists(QStringLiteral("/.flatpak-info"));
  return *state.Sandboxed;
}

void CloseNotification(quint32 id) {
  QDBusMessage call;
  if (Sandboxed()) {
    call = QDBusMessage::createMethodCall(PortalService, PortalPath, PortalInterface, QStringLiteral("RemoveNotification"));
    call << PortalNotification;
  } else {
    call = QDBusMessage::createMethodCall(NotificationsService, NotificationsPath, NotificationsInterface,
                                          QStringLiteral("CloseNotification"));
    call << id;
  }
  OnBusThread([call](TWorker* worker) { worker->Bus().asyncCall(call); });
}

// The notification as the notification service takes it: a critical one whose click (the
// "default" action) carries the action's label.
QDBusMessage NotifyCall(const TNotification& notification) {
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
  return call;
}

// The same through the portal, which knows the program by its sandbox.
QDBusMessage AddNotificationCall(const TNotification& notification) {
  const QList<QVariantMap> buttons{
      {{QStringLiteral("label"), notification.ActionLabel}, {QStringLiteral("action"), QStringLiteral("default")}}};
  const QVariantMap content{
      {QStringLiteral("title"), notification.Summary},
      {QStringLiteral("body"), notification.Body},
      {QStringLiteral("priority"), QStringLiteral("urgent")},
      {QStringLiteral("default-action"), QStringLiteral("default")},
      {QStringLiteral("buttons"), QVariant::fromValue(buttons)},
  };
  QDBusMessage call =
      QDBusMessage::createMethodCall(PortalService, PortalPath, PortalInterface, QStringLiteral("AddNotification"));
  call << PortalNotification << content;
  return call;
}

void NotifyAnswered(const QString& error, quint32 id) {
  TState& state = State();
  state.NotifyPending = false;
  if (!error.isEmpty()) {
    Report(error);
    return;
  }
  state.NotificationId = id;
  if (state.WithdrawWhenKnown)
    Withdraw();
}

// Lets the bus's thread end once it has sent what it was given, waiting for it no longer than
// milliseconds. A thread stuck on the bus is left to itself; nothing of it is touched again.
void StopWorker(int milliseconds) {
  TState& state = State();
  if (!state.Thread)
    return;
  QThread* thread = std::exchange(state.Thread, nullptr);
  TWorker* worker = std::exchange(state.Worker, nullptr);
  QMetaObject::invokeMethod(worker, [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
  if (thread->wait(QDeadlineTimer(milliseconds)))
    delete thread;
  else
    state.Stranded << thread;
  // The bus library keeps the worker as a receiver of its signals: it ends with the program.
  state.Stranded << worker;
}

} // namespace

void GuardSessionBus() {
  const QString address = SessionAddress();
  if (address.isEmpty() || Probe(address, AnswerMilliseconds) != TProbe::Silent)
    return;
  State().Bus = TState::Failed;
  State().FailReason = Silent;
  // Qt's own users of the session bus (the accessibility bridge, the desktop theme) would
  // wait for it for good: they find none.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
}

void Connect() {
  TState& state = State();
  if (state.Bus != TState::Unconnected)
    return;
  const QString address = SessionAddress();
  if (address.isEmpty()) {
    Fail(QStringLiteral("no session bus"));
    return;
  }
  state.Bus = TState::Connecting;
  const int generation = state.Generation;
  state.Thread = new QThread;
  state.Thread->setObjectName(QStringLiteral("SteepoDesktopBus"));
  state.Worker = new TWorker(generation, ConnectionName.arg(generation));
  state.Worker->moveToThread(state.Thread);
  state.Thread->start();
  QMetaObject::invokeMethod(state.Worker, [worker = state.Worker, address] { worker->Connect(address); },
                            Qt::QueuedConnection);
  QTimer::singleShot(ConnectMilliseconds, QCoreApplication::instance(), [generation] {
    if (generation == State().Generation && State().Bus == TState::Connecting)
      Fail(Silent);
  });
  // The dock entry loses its progress when the program ends, however it ends.
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, state.Thread, [] {
    Clear();
    StopWorker(FinishMilliseconds);
  });
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

void Notify(const TNotification& notification, std::function<void(const QString& token)> onInvoked) {
  Connect();
  TState& state = State();
  if (state.Bus == TState::Failed) {
    Report(state.FailReason);
    return;
  }
  const bool portal = Sandboxed();
  const QDBusMessage call = portal ? AddNotificationCall(notification) : NotifyCall(notification);
  state.OnInvoked = std::move(onInvoked);
  state.NotificationId = 0;
  state.Token.clear();
  state.WithdrawWhenKnown = false;
  state.NotifyPending = true;
  const int generation = state.Generation;
  const int count = ++state.Notifications;
  OnBusThread([call, generation, count, portal](TWorker* worker) {
    auto* watcher = new QDBusPendingCallWatcher(worker->Bus().asyncCall(call), worker);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [=](QDBusPendingCallWatcher* w) {
      w->deleteLater();
      const QDBusMessage reply = w->reply();
      const bool failed = reply.type() != QDBusMessage::ReplyMessage;
      const QString error = failed ? reply.errorName() : QString();
      const quint32 id = failed ? 0 : portal ? PortalShown : reply.arguments().value(0).toUInt();
      OnUiThread(generation, [=] {
        if (count == State().Notifications)
          NotifyAnswered(error, id);
      });
    });
  });
}

void Withdraw() {
  TState& state = State();
  state.OnInvoked = {};
  state.WithdrawWhenKnown = state.NotifyPending;
  if (state.NotificationId != 0)
    CloseNotification(std::exchange(state.NotificationId, 0u));
}

void SetUnreachedText(const QString& text) { UnreachedText() = text; }

void SetBusAddress(const QString& address) { State().Address = address; }

void SetSandboxed(bool sandboxed) { State().Sandboxed = sandboxed; }

void Reset() {
  TState& state = State();
  StopWorker(5000);
  QList<QObject*> stranded = std::move(state.Stranded);
  const int generation = state.Generation + 1;
  state = TState{};
  state.Generation = generation;
  state.Stranded = std::move(stranded);
}

} // namespace DesktopBus

#include "DesktopBus_unix.moc"
