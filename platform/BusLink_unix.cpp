#include "BusLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <optional>
#include <unistd.h>
#include <vector>

namespace BusLink {

namespace {

// The end of the program waits no longer than this for its buses.
constexpr int EndMilliseconds = 500;
// How often the end looks whether everything has gone out.
constexpr int SettleStepMilliseconds = 5;

struct TThread {
  QThread* Thread = nullptr;
  QObject* Home = nullptr;  // lives on Thread; the links are its children
  std::vector<std::function<void()>> Hooks;
  bool Ended = false;  // the program's end has come: no thread is started again
  QString KeptSessionAddress;
  std::optional<bool> Sandboxed;
};

TThread& Bus() {
  // Never destroyed: a thread left behind at the end may still refer to it.
  static TThread& bus = *new TThread;
  return bus;
}

// Answers posted to the user-interface thread before a Reset are dropped.
std::atomic<int> Generation{0};

void Start() {
  TThread& bus = Bus();
  if (bus.Thread)
    return;
  bus.Thread = new QThread;
  bus.Thread->setObjectName(QStringLiteral("SteepoBus"));
  bus.Home = new QObject;
  bus.Home->moveToThread(bus.Thread);
  bus.Thread->start();
  static bool endConnected = false;
  if (!std::exchange(endConnected, true) && QCoreApplication::instance())
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, QCoreApplication::instance(),
                     [] { Finish(EndMilliseconds); });
}

// On the bus thread: the links go once everything is out or the deadline has passed, and the
// thread ends.
void Settle(QObject* home, QDeadlineTimer deadline) {
  const QList<TLink*> links = home->findChildren<TLink*>(Qt::FindDirectChildrenOnly);
  const bool settled = std::all_of(links.cbegin(), links.cend(), [](const TLink* link) { return link->Settled(); });
  if (!settled && !deadline.hasExpired()) {
    QTimer::singleShot(SettleStepMilliseconds, home, [home, deadline] { Settle(home, deadline); });
    return;
  }
  qDeleteAll(links);
  QThread::currentThread()->quit();
}

// Stops the thread within milliseconds; one that does not stop is left to itself.
void Stop(QDeadlineTimer deadline, int graceMilliseconds) {
  TThread& bus = Bus();
  QThread* thread = std::exchange(bus.Thread, nullptr);
  QObject* home = std::exchange(bus.Home, nullptr);
  if (!thread)
    return;
  QMetaObject::invokeMethod(home, [home, deadline] { Settle(home, deadline); }, Qt::QueuedConnection);
  if (thread->wait(QDeadlineTimer(deadline.remainingTime() + graceMilliseconds))) {
    delete home;
    delete thread;
  }
}

} // namespace

// ---- The link -------------------------------------------------------------------------------

BusWire::TMessage LocalError(const QString& name, const QString& why) {
  BusWire::TMessage error;
  error.Type = BusWire::mtError;
  error.ErrorName = name.toUtf8();
  BusWire::TWriter(error).String(why);
  return error;
}

TLink::TLink() { setParent(Home()); }

TLink::~TLink() = default;

void TLink::Open(const QString& address, bool unixFds, int answerMilliseconds) {
  if (Wire.Open(address, unixFds) != BusWire::TWire::Opened) {
    QMetaObject::invokeMethod(this, [this, why = Wire.Failure()] { Fail(why); }, Qt::QueuedConnection);
    return;
  }
  Readable = std::make_unique<QSocketNotifier>(Wire.Socket(), QSocketNotifier::Read);
  Writable = std::make_unique<QSocketNotifier>(Wire.Socket(), QSocketNotifier::Write);
  connect(Readable.get(), &QSocketNotifier::activated, this, [this] { Serve(); });
  connect(Writable.get(), &QSocketNotifier::activated, this, [this] { Serve(); });
  Watch();
  QTimer::singleShot(answerMilliseconds, this, [this] {
    if (!Wire.Answered())
      Fail(QStringLiteral("the bus did not answer"));
  });
}

void TLink::Serve() {
  Wire.Write();
  Wire.Read();
  BusWire::TMessage message;
  while (!Broken && Wire.Next(message))
    Dispatch(message);
  Watch();
}

void TLink::Watch() {
  if (Wire.Failed()) {
    Fail(Wire.Failure());
    return;
  }
  if (Writable)
    Writable->setEnabled(Wire.WantsWrite());
}

void TLink::Dispatch(BusWire::TMessage& message) {
  switch (message.Type) {
  case BusWire::mtReturn:
  case BusWire::mtError:
    Answer(message.ReplySerial, message);
    break;
  case BusWire::mtSignal:
    if (OnSignal)
      OnSignal(message);
    break;
  case BusWire::mtCall:
    // Nothing is served here: the caller learns so at once instead of waiting.
    if (!(message.Flags & BusWire::NoReplyExpected)) {
      BusWire::TMessage error = LocalError(QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"), QString());
      error.ReplySerial = message.Serial;
      error.Destination = message.Sender;
      Wire.Send(error);
    }
    break;
  }
  for (const int fd : std::as_const(message.Fds))
    if (fd >= 0)
      ::close(fd);
  message.Fds.clear();
}

void TLink::Answer(quint32 serial, BusWire::TMessage& reply) {
  const auto pending = Pending.find(serial);
  if (pending == Pending.end())
    return;
  const TReply onReply = std::move(pending->second.OnReply);
  Pending.erase(pending);
  if (onReply)
    onReply(reply);
}

void TLink::Call(BusWire::TMessage call, TReply onReply, int timeoutMilliseconds, bool awaitedAtEnd) {
  if (Broken) {
    QMetaObject::invokeMethod(this, [onReply = std::move(onReply)] {
      BusWire::TMessage error = LocalError(QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
                                           QStringLiteral("the bus was given up"));
      onReply(error);
    }, Qt::QueuedConnection);
    return;
  }
  const quint32 serial = Wire.Send(std::move(call));
  Pending[serial] = {std::move(onReply), awaitedAtEnd};
  QTimer::singleShot(timeoutMilliseconds, this, [this, serial] {
    BusWire::TMessage error = LocalError(QStringLiteral("org.freedesktop.DBus.Error.NoReply"), QStringLiteral("no answer"));
    Answer(serial, error);
  });
  Watch();
}

void TLink::Send(BusWire::TMessage message) {
  if (Broken)
    return;
  Wire.Send(std::move(message));
  Watch();
}

void TLink::AddMatch(const QString& rule) {
  BusWire::TMessage call =
      BusWire::TMessage::Call(BusWire::BusName, QStringLiteral("/org/freedesktop/DBus"), BusWire::BusName, QStringLiteral("AddMatch"));
  call.Flags = BusWire::NoReplyExpected;
  BusWire::TWriter(call).String(rule);
  Send(std::move(call));
}

bool TLink::Settled() const {
  return Broken || (!Wire.WantsWrite() &&
                    std::none_of(Pending.cbegin(), Pending.cend(), [](const auto& p) { return p.second.AwaitedAtEnd; }));
}

void TLink::Fail(const QString& why) {
  if (Broken)
    return;
  Broken = true;
  Readable.reset();
  Writable.reset();
  Wire.Close();
  std::map<quint32, TPending> pending = std::move(Pending);
  Pending.clear();
  for (auto& [serial, call] : pending) {
    BusWire::TMessage error = LocalError(QStringLiteral("org.freedesktop.DBus.Error.Disconnected"), why);
    if (call.OnReply)
      call.OnReply(error);
  }
  if (OnFailed)
    OnFailed(why);
}

// ---- The thread -----------------------------------------------------------------------------

void Post(std::function<void()> job) {
  if (Bus().Ended)
    return;
  Start();
  QMetaObject::invokeMethod(Bus().Home, std::move(job), Qt::QueuedConnection);
}

QObject* Home() { return Bus().Home; }

void OnUiThread(std::function<void()> job) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application)
    return;
  QMetaObject::invokeMethod(
      application,
      [generation = Generation.load(), job = std::move(job)] {
        if (generation == Generation.load())
          job();
      },
      Qt::QueuedConnection);
}

void AtEnd(std::function<void()> hook) { Bus().Hooks.push_back(std::move(hook)); }

void Finish(int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  const std::vector<std::function<void()>> hooks = Bus().Hooks;
  for (const auto& hook : hooks)
    hook();
  Bus().Ended = true;
  ++Generation;
  Stop(deadline, 50);
}

void Reset() {
  ++Generation;
  TThread& bus = Bus();
  bus.Ended = false;
  bus.KeptSessionAddress.clear();
  bus.Sandboxed.reset();
  Stop(QDeadlineTimer(0), 5000);
}

bool Running() { return Bus().Thread != nullptr; }

// ---- Where the buses are --------------------------------------------------------------------

QString SessionAddress() {
  if (!Bus().KeptSessionAddress.isEmpty())
    return Bus().KeptSessionAddress;
  const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  if (!address.isEmpty())
    return address;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
    return QStringLiteral("unix:path=") + runtime + QStringLiteral("/bus");
  return {};
}

void KeepSessionAddress(const QString& address) { Bus().KeptSessionAddress = address; }

QString SystemAddress() {
  const QString address = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
  return address.isEmpty() ? QStringLiteral("unix:path=/var/run/dbus/system_bus_socket") : address;
}

bool Sandboxed() {
  TThread& bus = Bus();
  if (!bus.Sandboxed)
    bus.Sandboxed = QFileInfo::exists(QStringLiteral("/.flatpak-info"));
  return *bus.Sandboxed;
}

void SetSandboxed(bool sandboxed) { Bus().Sandboxed = sandboxed; }

} // namespace BusLink
