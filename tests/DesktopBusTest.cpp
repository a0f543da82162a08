// The dock entry's progress, the desktop notifications and the sleep inhibitor, on a bus of the
// test's own with a notification service, a login manager and a dock listener served by the
// test; and the program's dealings with buses that misbehave, on sockets of the test's own.
#include "BusLink.h"
#include "Alarm.h"
#include "DesktopBus.h"
#include "F_Steepo.h"
#include "FakeBus.h"
#include "F_Steepo2.h"
#include "OrbDialogs.h"
#include "OnShow.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "SleepInhibitor.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace {

// What the notification service was asked, and how it answers.
struct TServiceLog {
  QList<QVariantList> Notifies;   // the arguments of each Notify
  QList<uint> Closed;             // the ids of each CloseNotification
  QList<QDBusMessage> Unanswered; // Notify calls left waiting
  bool Answers = true;
};

class TNotificationsAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
  TNotificationsAdaptor(QObject* parent, TServiceLog& log) : QDBusAbstractAdaptor(parent), Log(log) {}

public slots:
  uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary, const QString& body,
              const QStringList& actions, const QVariantMap& hints, int timeout, const QDBusMessage& message) {
    Log.Notifies << QVariantList{app, replaces, icon, summary, body, actions, hints, timeout};
    if (!Log.Answers) {
      message.setDelayedReply(true);
      Log.Unanswered << message;
    }
    return uint(40 + Log.Notifies.size());
  }
  void CloseNotification(uint id) { Log.Closed << id; }

signals:
  void ActionInvoked(uint id, const QString& key);
  void ActivationToken(uint id, const QString& token);

private:
  TServiceLog& Log;
};

// What the notification portal was asked.
struct TPortalLog {
  QStringList Ids;             // the id of each AddNotification
  QList<QVariantMap> Added;    // and its notification
  QStringList Removed;         // the ids of each RemoveNotification
};

class TPortalAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Notification")

public:
  TPortalAdaptor(QObject* parent, TPortalLog& log) : QDBusAbstractAdaptor(parent), Log(log) {}

public slots:
  void AddNotification(const QString& id, const QVariantMap& notification) {
    Log.Ids << id;
    Log.Added << notification;
  }
  void RemoveNotification(const QString& id) { Log.Removed << id; }

signals:
  void ActionInvoked(const QString& id, const QString& action, const QVariantList& parameter);

private:
  TPortalLog& Log;
};

// What the portal was asked for locks, and how often their requests were closed.
struct TPortalLockLog {
  QList<QVariantList> Inhibits;  // window, flags, reason
  int Closed = 0;
};

class TPortalInhibitAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
  TPortalInhibitAdaptor(QObject* parent, TPortalLockLog& log) : QDBusAbstractAdaptor(parent), Log(log) {}
  static inline const QString Request = QStringLiteral("/org/freedesktop/portal/desktop/request/1_1/steepo");

public slots:
  QDBusObjectPath Inhibit(const QString& window, uint flags, const QVariantMap& options) {
    Log.Inhibits << QVariantList{window, flags, options.value(QStringLiteral("reason"))};
    return QDBusObjectPath(Request);
  }

private:
  TPortalLockLog& Log;
};

class TRequestAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
  TRequestAdaptor(QObject* parent, TPortalLockLog& log) : QDBusAbstractAdaptor(parent), Log(log) {}

public slots:
  void Close() { ++Log.Closed; }

private:
  TPortalLockLog& Log;
};

// Every Update the dock would see, in short: "p0.33" (progress shown), "urgent", "hide".
class TDockListener : public QObject {
  Q_OBJECT

public:
  QStringList Updates;
  QString AppUri;

public slots:
  void Update(const QString& appUri, const QVariantMap& properties) {
    AppUri = appUri;
    if (properties.value(QStringLiteral("progress-visible")).toBool())
      Updates << QStringLiteral("p%1").arg(properties.value(QStringLiteral("progress")).toDouble(), 0, 'f', 2);
    else if (properties.value(QStringLiteral("urgent")).toBool())
      Updates << QStringLiteral("urgent");
    else if (properties.contains(QStringLiteral("progress-visible")) && properties.contains(QStringLiteral("urgent")))
      Updates << QStringLiteral("hide");
  }
};

// What the login manager was asked, with the far end of each lock it handed out: the lock is
// given back when that end hangs up.
struct TLoginLog {
  QList<QStringList> Inhibits;
  QList<int> LockEnds;
  QList<QDBusMessage> Unanswered;  // replies kept back, locks inside
  bool Answers = true;
  ~TLoginLog() {
    for (const int end : LockEnds)
      ::close(end);
  }
};

class TLoginAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
  TLoginAdaptor(QObject* parent, TLoginLog& log) : QDBusAbstractAdaptor(parent), Log(log) {}

public slots:
  QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode,
                                  const QDBusMessage& message) {
    Log.Inhibits << QStringList{what, who, why, mode};
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
      return {};
    Log.LockEnds << ends[0];
    const QDBusUnixFileDescriptor lock(ends[1]);  // a copy of its own
    ::close(ends[1]);
    if (Log.Answers)
      return lock;
    message.setDelayedReply(true);
    Log.Unanswered << message.createReply(QVariant::fromValue(lock));
    return {};
  }

private:
  TLoginLog& Log;
};

// Whether the other end of a lock has been closed.
bool HungUp(int end) {
  pollfd ready{end, POLLIN, 0};
  return ::poll(&ready, 1, 0) == 1 && (ready.revents & POLLHUP);
}

// Whether this process holds the other end of a lock: a second descriptor of the same pipe.
bool HeldHere(int end) {
  const QString pipe = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(end));
  int copies = 0;
  for (const QFileInfo& fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System))
    copies += fd.symLinkTarget() == pipe;
  return copies >= 2;
}

// The accessibility service as the desktop runs it: screen readers on, the bus at Address.
class TAccessibilityStatus : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
  Q_PROPERTY(bool IsEnabled READ IsEnabled)
  Q_PROPERTY(bool ScreenReaderEnabled READ IsEnabled)

public:
  explicit TAccessibilityStatus(QObject* parent) : QDBusAbstractAdaptor(parent) {}
  bool IsEnabled() const { return true; }
};

class TAccessibilityBus : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.a11y.Bus")

public:
  TAccessibilityBus(QObject* parent, QString address) : QDBusAbstractAdaptor(parent), Address(std::move(address)) {}

public slots:
  QString GetAddress() { return Address; }

private:
  QString Address;
};

// A private session bus, one for the whole test program.
class TBusDaemon : public ::testing::Environment {
public:
  static inline QString Address;
  static inline qint64 Pid = 0;

  void SetUp() override {
    Daemon = std::make_unique<QProcess>();
    // It goes with this program however it ends, a death test's child included.
    Daemon->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    Daemon->start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (Daemon->waitForReadyRead(10000))
      Address = QString::fromUtf8(Daemon->readLine()).trimmed();
    Pid = Daemon->processId();
  }
  void TearDown() override {
    Daemon->terminate();
    Daemon->waitForFinished();
    Daemon.reset();
  }

private:
  std::unique_ptr<QProcess> Daemon;
};
const auto* const BusDaemon = ::testing::AddGlobalTestEnvironment(new TBusDaemon);

QString BusAddress() { return TBusDaemon::Address; }

class DesktopBusTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(BusAddress().isEmpty()) << "dbus-daemon did not start";
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Tea"));
    DesktopBus::Reset();
    SleepInhibitor::Reset();
    DesktopBus::SetBusAddress(BusAddress());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", BusAddress().toUtf8());
    OrbDialogs::LangIndex = 0;
    OrbUtils::SetCommandLine({QStringLiteral("steepo")});
    Platform::SetSettingsPathSource([this] { return Store.filePath(QStringLiteral("steepo.ini")); });
    Platform::SetProblemSink([this](const QString& line) { Problems << line; });
    Platform::SetTickSource([this] { return Tick; });
    Platform::SetSleeper([](int) {});
    Platform::SetApplicationTitle(QStringLiteral("Steepo"));
  }
  void TearDown() override {
    if (AccessibilityService) {
      AccessibilityService.release()->deleteLater();  // on its thread, as that ends
      AccessibilityThread.quit();
      AccessibilityThread.wait();
    }
    DesktopBus::Reset();
    SleepInhibitor::Reset();
    F_Steepo::KeepAwake = false;
    Alarm::Current.Forget();
    qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (!ServiceName.isEmpty())
      QDBusConnection::disconnectFromBus(ServiceName);
    Platform::SetMainWindow(nullptr);
    Platform::SetSettingsPathSource({});
    Platform::SetProblemSink({});
    Platform::SetTickSource({});
    Platform::SetSleeper({});
    OrbDialogs::LangIndex = 0;
  }

  // Serves the notification service and listens for the dock's signal.
  void Serve(bool answers = true) {
    static int count = 0;
    ServiceName = QStringLiteral("service-%1").arg(++count);
    QDBusConnection bus = QDBusConnection::connectToBus(BusAddress(), ServiceName);
    ASSERT_TRUE(bus.isConnected());
    Log.Answers = answers;
    Service = std::make_unique<QObject>();
    Adaptor = new TNotificationsAdaptor(Service.get(), Log);
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), Service.get()));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    PortalService = std::make_unique<QObject>();
    Portal = new TPortalAdaptor(PortalService.get(), PortalLog);
    new TPortalInhibitAdaptor(PortalService.get(), PortalLocks);
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), PortalService.get()));
    PortalRequest = std::make_unique<QObject>();
    new TRequestAdaptor(PortalRequest.get(), PortalLocks);
    ASSERT_TRUE(bus.registerObject(TPortalInhibitAdaptor::Request, PortalRequest.get()));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    ASSERT_TRUE(bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                            QStringLiteral("Update"), &Dock, SLOT(Update(QString, QVariantMap))));
  }

  // Serves the login manager on the same bus, which the tests name the system bus.
  void ServeLogin(bool answers) {
    Serve();
    Login.Answers = answers;
    LoginService = std::make_unique<QObject>();
    new TLoginAdaptor(LoginService.get(), Login);
    QDBusConnection bus(ServiceName);
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/login1"), LoginService.get()));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.login1")));
  }

  // Serves the accessibility service, with screen readers on and its bus at address, from a
  // thread of its own: it answers while this thread waits for the start-up's check.
  void ServeAccessibility(const QString& address) {
    Serve();
    AccessibilityService = std::make_unique<QObject>();
    new TAccessibilityStatus(AccessibilityService.get());
    new TAccessibilityBus(AccessibilityService.get(), address);
    AccessibilityThread.start();
    AccessibilityService->moveToThread(&AccessibilityThread);
    QDBusConnection bus(ServiceName);
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/a11y/bus"), AccessibilityService.get(),
                                   QDBusConnection::ExportAdaptors));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.a11y.Bus")));
  }

  // The main window as the program shows it, with its own timer stopped, set to 3 seconds.
  static void Open(TFSteepo& window) {
    window.Timer()->stop();
    Platform::SetMainWindow(&window);
    F_Steepo2::CreateAlarmDialog(&window);
    window.show();
    F_Steepo::TimerState.BrewTime = 3;
  }

  // The end of a countdown with the real windows; during runs while the alarm is shown.
  void RunToTheAlarm(TFSteepo& window, const std::function<void(TFSteepo2&)>& during) {
    TFSteepo2* alarm = F_Steepo2::FSteepo2;
    TOnShow onShow(alarm, [&] {
      during(*alarm);
      if (alarm->isVisible())
        QTest::mouseClick(alarm->BBOK(), Qt::LeftButton);
    });
    Tick = F_Steepo::TimerState.EndTick;
    window.TimerTimer();
  }

  QTemporaryDir Store;
  QStringList Problems;  // the lines for stderr
  quint64 Tick = 1000;
  QString ServiceName;
  TServiceLog Log;
  std::unique_ptr<QObject> Service;
  TNotificationsAdaptor* Adaptor = nullptr;
  TPortalLog PortalLog;
  std::unique_ptr<QObject> PortalService;
  TPortalAdaptor* Portal = nullptr;
  TPortalLockLog PortalLocks;
  std::unique_ptr<QObject> PortalRequest;
  TDockListener Dock;
  TLoginLog Login;
  std::unique_ptr<QObject> LoginService;
  std::unique_ptr<QObject> AccessibilityService;
  QThread AccessibilityThread;
};

// ---- The notification ----------------------------------------------------------------------

struct TLanguageRow {
  const char* Name;
  quint8 LangIndex;
  const char16_t* Body;
};
void PrintTo(const TLanguageRow& row, std::ostream* out) { *out << row.Name; }

class NotificationTest : public DesktopBusTest, public ::testing::WithParamInterface<TLanguageRow> {};

TEST_P(NotificationTest, AlarmIsNotifiedInTheLanguageAndWithdrawnWhenClosed) {
  Serve();
  OrbDialogs::LangIndex = GetParam().LangIndex;
  QWidget mainWindow;
  mainWindow.setWindowTitle(QStringLiteral("Steepo 2.3"));
  F_Steepo2::CreateAlarmDialog(&mainWindow);
  TFSteepo2* alarm = F_Steepo2::FSteepo2;

  alarm->open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 1; }));
  const QVariantList& args = Log.Notifies.first();
  EXPECT_EQ(args.at(0), QStringLiteral("Steepo"));
  EXPECT_EQ(args.at(1).toUInt(), 0u);
  EXPECT_EQ(args.at(2), QStringLiteral("org.example.Tea"));
  EXPECT_EQ(args.at(3), QStringLiteral("Steepo 2.3"));
  EXPECT_EQ(args.at(4), QString::fromUtf16(GetParam().Body));
  // A click brings the dialog to the front; the button is the dialog's.
  EXPECT_EQ(args.at(5).toStringList(),
            (QStringList{QStringLiteral("default"), QStringLiteral("OK"), QStringLiteral("ok"), QStringLiteral("OK")}));
  const QVariantMap hints = args.at(6).toMap();
  EXPECT_EQ(hints.value(QStringLiteral("urgency")).metaType(), QMetaType::fromType<uchar>());
  EXPECT_EQ(hints.value(QStringLiteral("urgency")).toInt(), 2);
  EXPECT_EQ(hints.value(QStringLiteral("desktop-entry")), QStringLiteral("org.example.Tea"));
  EXPECT_EQ(hints.value(QStringLiteral("suppress-sound")), true);
  EXPECT_EQ(args.at(7).toInt(), -1);

  // Invoking it brings the dialog back to the front over another window.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
  emit Adaptor->ActivationToken(41, QStringLiteral("token-1"));
  emit Adaptor->ActionInvoked(41, QStringLiteral("default"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == alarm; }));

  alarm->accept();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Log.Closed.isEmpty() && Dock.Updates.size() >= 2; }));
  EXPECT_EQ(Log.Closed, QList<uint>{41});
  EXPECT_EQ(Dock.AppUri, QStringLiteral("application://org.example.Tea.desktop"));
  EXPECT_EQ(Dock.Updates, (QStringList{QStringLiteral("urgent"), QStringLiteral("hide")}));
  EXPECT_TRUE(PortalLog.Added.isEmpty());  // outside a sandbox
  EXPECT_TRUE(Problems.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Languages, NotificationTest,
                         ::testing::Values(TLanguageRow{"English", 0, u"Your tea is prepared"},
                                           TLanguageRow{"German", 2, u"Ihr Tee ist fertig"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Inside a Flatpak sandbox the portal shows the notification, and nothing else does.
TEST_F(DesktopBusTest, InASandboxTheAlarmGoesThroughTheNotificationPortal) {
  Serve();
  DesktopBus::SetSandboxed(true);
  QWidget mainWindow;
  mainWindow.setWindowTitle(QStringLiteral("Steepo 2.3"));
  F_Steepo2::CreateAlarmDialog(&mainWindow);
  TFSteepo2* alarm = F_Steepo2::FSteepo2;

  alarm->open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return PortalLog.Added.size() == 1; }));
  EXPECT_EQ(PortalLog.Ids, QStringList{QStringLiteral("alarm")});
  const QVariantMap& added = PortalLog.Added.first();
  EXPECT_EQ(added.value(QStringLiteral("title")), QStringLiteral("Steepo 2.3"));
  EXPECT_EQ(added.value(QStringLiteral("body")), QStringLiteral("Your tea is prepared"));
  EXPECT_EQ(added.value(QStringLiteral("priority")), QStringLiteral("urgent"));
  EXPECT_EQ(added.value(QStringLiteral("default-action")), QStringLiteral("default"));
  const auto buttons = qdbus_cast<QList<QVariantMap>>(added.value(QStringLiteral("buttons")).value<QDBusArgument>());
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons.first().value(QStringLiteral("label")), QStringLiteral("OK"));
  EXPECT_EQ(buttons.first().value(QStringLiteral("action")), QStringLiteral("ok"));

  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
  emit Portal->ActionInvoked(QStringLiteral("another"), QStringLiteral("default"), {});
  emit Portal->ActionInvoked(QStringLiteral("alarm"), QStringLiteral("default"), {});
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == alarm; }));

  alarm->accept();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !PortalLog.Removed.isEmpty(); }));
  EXPECT_EQ(PortalLog.Removed, QStringList{QStringLiteral("alarm")});
  EXPECT_TRUE(Log.Notifies.isEmpty());
  EXPECT_TRUE(Problems.isEmpty());
}

// ---- The dock entry through a countdown -----------------------------------------------------

TEST_F(DesktopBusTest, DockShowsProgressPerSecondOrHundredthUrgencyAtTheEndAndHidesAfter) {
  Serve();
  TFSteepo window;
  Open(window);
  const auto ticks = [&](int count) {
    for (int i = 0; i < count; ++i) {
      window.TimerTimer();
      Tick += 500;
    }
  };

  F_Steepo::TimerState.BrewTime = 300;  // a long brew: the bar moves in hundredths, every third second
  window.BBStartClick();
  ticks(12);  // 300, 300, 299, ... 295, 295
  window.BBStopClick();
  F_Steepo::TimerState.BrewTime = 3;
  window.BBStartClick();
  ticks(4);  // 03, 03, 02, 02
  window.BBStopClick();
  window.BBStartClick();
  ticks(6);  // 03, 03, 02, 02, 01, 01
  RunToTheAlarm(window, [](TFSteepo2&) {});

  const QStringList expected{QStringLiteral("p0.00"), QStringLiteral("p0.01"), QStringLiteral("hide"),
                             QStringLiteral("p0.00"), QStringLiteral("p0.33"), QStringLiteral("hide"),
                             QStringLiteral("p0.00"), QStringLiteral("p0.33"), QStringLiteral("p0.67"),
                             QStringLiteral("urgent"), QStringLiteral("hide")};
  EXPECT_TRUE(QTest::qWaitFor([&] { return Dock.Updates.size() >= expected.size(); }));
  EXPECT_EQ(Dock.Updates, expected);
}

// ---- Never in the way -----------------------------------------------------------------------

enum class TDesktop { NoBus, NoNotificationService, NeverAnswers, FaultyBus };
struct TAbsentRow {
  const char* Name;
  TDesktop Desktop;
  TFault Fault;   // of the faulty bus
  bool Reported;  // the one line on stderr, once the answer is in or the bus given up
};
void PrintTo(const TAbsentRow& row, std::ostream* out) { *out << row.Name; }

class AbsentServiceTest : public DesktopBusTest, public ::testing::WithParamInterface<TAbsentRow> {};

// The dialog is up and takes its OK while the call is still out, so nothing waits for the
// answer; a waiting call would have timed out, and said so, before the dialog got its turn.
TEST_P(AbsentServiceTest, AlarmComesAsWithoutTheDesktop) {
  const TAbsentRow& row = GetParam();
  std::unique_ptr<TFakeBus> faulty;
  if (row.Desktop == TDesktop::NoBus)
    DesktopBus::SetBusAddress(QStringLiteral("unix:path=") + Store.filePath(QStringLiteral("no-bus")));
  if (row.Desktop == TDesktop::FaultyBus) {
    faulty = std::make_unique<TFakeBus>(row.Fault, Store.path());
    DesktopBus::SetBusAddress(faulty->Address());
  }
  if (row.Desktop == TDesktop::NeverAnswers)
    Serve(false);
  TFSteepo window;
  window.Timer()->stop();
  F_Steepo2::CreateAlarmDialog(&window);
  window.show();
  window.BBStartClick();

  bool shown = false;
  RunToTheAlarm(window, [&](TFSteepo2& alarm) {
    shown = alarm.isVisible();
    if (row.Desktop == TDesktop::NoBus) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return Problems.size() == 1; }));
    }
    if (row.Desktop == TDesktop::NeverAnswers) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return Log.Unanswered.size() == 1; }));
      EXPECT_TRUE(Problems.isEmpty());
    }
  });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(window.isVisible());  // OK ended the program
  if (row.Reported) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Problems.isEmpty(); }));
    EXPECT_EQ(Problems.size(), 1);  // one line, however many calls failed
  } else {
    EXPECT_TRUE(Problems.isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, AbsentServiceTest,
    ::testing::Values(TAbsentRow{"NoBus", TDesktop::NoBus, {}, true},
                      TAbsentRow{"NoNotificationService", TDesktop::NoNotificationService, {}, true},
                      TAbsentRow{"NeverAnswers", TDesktop::NeverAnswers, {}, false},
                      TAbsentRow{"MuteBus", TDesktop::FaultyBus, TFault::Mute, true},
                      TAbsentRow{"OneByteBus", TDesktop::FaultyBus, TFault::OneByte, true},
                      TAbsentRow{"BusClosesAtFirstMessage", TDesktop::FaultyBus, TFault::ClosesAtFirstMessage, true},
                      TAbsentRow{"BusClosesMidReply", TDesktop::FaultyBus, TFault::ClosesMidReply, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- A bus that stops answering ------------------------------------------------------------

// The test's bus daemon stopped as a stuck one would be. Should the program wait for it, a
// watchdog lets it go on after ten seconds, so that the test fails instead of hanging.
class TStoppedBus {
public:
  void Stop() {
    ::kill(pid_t(TBusDaemon::Pid), SIGSTOP);
    Watchdog = std::thread([this] {
      std::unique_lock lock(Mutex);
      if (!Done.wait_for(lock, std::chrono::seconds(10), [this] { return Ended; }))
        Resumed = true;
      ::kill(pid_t(TBusDaemon::Pid), SIGCONT);
    });
  }
  ~TStoppedBus() {
    if (!Watchdog.joinable())
      return;
    {
      const std::lock_guard lock(Mutex);
      Ended = true;
    }
    Done.notify_one();
    Watchdog.join();
  }
  std::atomic<bool> Resumed = false;

private:
  std::thread Watchdog;
  std::mutex Mutex;
  std::condition_variable Done;
  bool Ended = false;
};

enum class TMoment { BeforeLaunch, BeforeStart, WhileCounting, DuringTheAlarm };
struct TStoppedRow {
  const char* Name;
  TMoment Moment;
  bool Reported;  // the one line: the bus was given up
};
void PrintTo(const TStoppedRow& row, std::ostream* out) { *out << row.Name; }

class StoppedBusTest : public DesktopBusTest, public ::testing::WithParamInterface<TStoppedRow> {};

// Start minimises at once, the caption counts, the alarm comes at the end and its OK ends the
// program, whenever the bus stopped.
TEST_P(StoppedBusTest, TheTimerGoesOnAsWithoutTheDesktop) {
  const TStoppedRow& row = GetParam();
  Serve();
  TFSteepo window;
  Open(window);
  TStoppedBus bus;
  const QByteArray environment = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  if (row.Moment == TMoment::BeforeLaunch) {
    bus.Stop();
    // The program says it in one line; nothing later repeats it.
    EXPECT_EQ(DesktopBus::GuardSessionBus(), DesktopBus::gdSessionSilent);
    // Qt's own users of the bus find none instead of waiting for it.
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/dev/null");
    qputenv("DBUS_SESSION_BUS_ADDRESS", environment);
  }
  if (row.Moment == TMoment::BeforeStart)
    bus.Stop();

  window.BBStartClick();
  EXPECT_TRUE(window.isMinimized());
  window.TimerTimer();
  if (row.Moment == TMoment::WhileCounting) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Dock.Updates.isEmpty(); }));
    bus.Stop();
  }
  Tick += 1000;
  window.TimerTimer();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Steepo [00:02]"));

  bool shown = false;
  RunToTheAlarm(window, [&](TFSteepo2& alarm) {
    if (row.Moment == TMoment::DuringTheAlarm) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 1; }));
      bus.Stop();
    }
    shown = alarm.isVisible();
  });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(window.isVisible());  // OK ended the program
  if (row.Reported) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Problems.isEmpty(); }));
  }
  EXPECT_EQ(Problems.size(), row.Reported ? 1 : 0) << Problems.join(u'\n').toStdString();
  EXPECT_FALSE(bus.Resumed) << "the program waited for the bus";
}

INSTANTIATE_TEST_SUITE_P(Moments, StoppedBusTest,
                         ::testing::Values(TStoppedRow{"BeforeLaunch", TMoment::BeforeLaunch, false},
                                           TStoppedRow{"BeforeStart", TMoment::BeforeStart, true},
                                           TStoppedRow{"WhileCounting", TMoment::WhileCounting, false},
                                           TStoppedRow{"DuringTheAlarm", TMoment::DuringTheAlarm, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Takes name on the test's bus with a connection that then never answers: a stopped service.
void TakeName(BusWire::TWire& owner, const QString& name) {
  ASSERT_EQ(owner.Open(BusAddress()), BusWire::TWire::Opened);
  BusWire::TMessage request = BusWire::TMessage::Call(BusWire::BusName, QStringLiteral("/org/freedesktop/DBus"),
                                                      BusWire::BusName, QStringLiteral("RequestName"));
  BusWire::TWriter(request).String(name).UInt32(4);  // not queued behind another owner
  const quint32 serial = owner.Send(request);
  bool named = false;
  ASSERT_TRUE(BusWire::Pump(owner, QDeadlineTimer(5000), [&] {
    BusWire::TMessage reply;
    while (owner.Next(reply))
      named = named || reply.IsReplyTo(serial);
    return named;
  }));
}

// ---- The start-up's check -------------------------------------------------------------------

enum class TCheckBus { Live, None, Faulty, AccessibilityStopped, AccessibilityBusFaulty, AccessibilityBusLive, AtSpiFaulty };
struct TCheckRow {
  const char* Name;
  TCheckBus Bus;
  TFault Fault;
  DesktopBus::TAnswer Session, Accessibility;
};
void PrintTo(const TCheckRow& row, std::ostream* out) { *out << row.Name; }

class CheckTest : public DesktopBusTest, public ::testing::WithParamInterface<TCheckRow> {};

// What Qt's accessibility bridge would wait for on the user-interface thread is found within
// the check's half second. The check runs beside the event loop that serves the test's
// services.
TEST_P(CheckTest, BusesThatDoNotAnswerAreFoundSilentWithinTheBound) {
  const TCheckRow& row = GetParam();
  TFakeBus faulty(row.Fault, Store.path());
  QString session = BusAddress(), accessibility;
  BusWire::TWire owner;
  switch (row.Bus) {
  case TCheckBus::Live: break;
  case TCheckBus::None: session = QStringLiteral("unix:path=") + Store.filePath(QStringLiteral("no-bus")); break;
  case TCheckBus::Faulty: session = faulty.Address(); break;
  case TCheckBus::AccessibilityStopped: TakeName(owner, QStringLiteral("org.a11y.Bus")); break;
  case TCheckBus::AccessibilityBusFaulty: ServeAccessibility(faulty.Address()); break;
  case TCheckBus::AccessibilityBusLive: ServeAccessibility(BusAddress()); break;
  case TCheckBus::AtSpiFaulty: accessibility = faulty.Address(); break;
  }
  auto check = std::async(std::launch::async, [&] { return DesktopBus::CheckBuses(session, accessibility, 500); });
  ASSERT_TRUE(QTest::qWaitFor([&] { return check.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
  const DesktopBus::TBusCheck found = check.get();
  EXPECT_EQ(found.Session, row.Session);
  EXPECT_EQ(found.Accessibility, row.Accessibility);
}

constexpr auto Answers = DesktopBus::TAnswer::Answers, Absent = DesktopBus::TAnswer::Absent,
               Silent = DesktopBus::TAnswer::Silent;
INSTANTIATE_TEST_SUITE_P(
    Buses, CheckTest,
    ::testing::Values(TCheckRow{"LiveBus", TCheckBus::Live, {}, Answers, Absent},
                      TCheckRow{"NoBus", TCheckBus::None, {}, Absent, Absent},
                      TCheckRow{"MuteBus", TCheckBus::Faulty, TFault::Mute, Silent, Absent},
                      TCheckRow{"OneByteBus", TCheckBus::Faulty, TFault::OneByte, Silent, Absent},
                      TCheckRow{"BusClosesAtFirstMessage", TCheckBus::Faulty, TFault::ClosesAtFirstMessage, Silent, Absent},
                      TCheckRow{"BusClosesMidReply", TCheckBus::Faulty, TFault::ClosesMidReply, Silent, Absent},
                      TCheckRow{"UnansweringBus", TCheckBus::Faulty, TFault::Unanswering, Silent, Absent},
                      TCheckRow{"AccessibilityServiceStopped", TCheckBus::AccessibilityStopped, {}, Answers, Silent},
                      TCheckRow{"AccessibilityBusMute", TCheckBus::AccessibilityBusFaulty, TFault::Mute, Answers, Silent},
                      TCheckRow{"AccessibilityBusLive", TCheckBus::AccessibilityBusLive, {}, Answers, Answers},
                      TCheckRow{"AtSpiAddressMute", TCheckBus::AtSpiFaulty, TFault::Mute, Answers, Silent}),
    [](const auto& info) { return std::string(info.param.Name); });

enum class TGuardBus { Live, AccessibilityOn, AccessibilityStopped };
struct TGuardRow {
  const char* Name;
  TGuardBus Bus;
  bool Sandboxed;
  DesktopBus::TGuard Guard;
  bool SessionHidden;         // from Qt, for the run
  bool ToAccessibilityBus;    // the bridge sent straight to the screen readers' bus
};
void PrintTo(const TGuardRow& row, std::ostream* out) { *out << row.Name; }

class GuardTest : public DesktopBusTest, public ::testing::WithParamInterface<TGuardRow> {};

// Qt's bridge is kept off any bus that has not just answered, and the program's own
// connection keeps the session bus.
TEST_P(GuardTest, TheBridgeIsKeptOffTheSessionBus) {
  const TGuardRow& row = GetParam();
  const QByteArray session = qgetenv("DBUS_SESSION_BUS_ADDRESS"), accessibility = qgetenv("AT_SPI_BUS_ADDRESS");
  qunsetenv("AT_SPI_BUS_ADDRESS");
  BusWire::TWire owner;
  if (row.Bus == TGuardBus::AccessibilityOn)
    ServeAccessibility(BusAddress());
  if (row.Bus == TGuardBus::AccessibilityStopped)
    TakeName(owner, QStringLiteral("org.a11y.Bus"));
  DesktopBus::SetSandboxed(row.Sandboxed);

  EXPECT_EQ(DesktopBus::GuardSessionBus(), row.Guard);
  EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS") == "unix:path=/dev/null", row.SessionHidden);
  EXPECT_EQ(qgetenv("AT_SPI_BUS_ADDRESS"), row.ToAccessibilityBus ? BusAddress().toUtf8() : QByteArray());
  EXPECT_EQ(BusLink::SessionAddress(), BusAddress());
  EXPECT_EQ(DesktopBus::GuardSessionBus(), DesktopBus::gdNothing);  // nothing more to say
  qputenv("DBUS_SESSION_BUS_ADDRESS", session);
  qputenv("AT_SPI_BUS_ADDRESS", accessibility);
  if (accessibility.isEmpty())
    qunsetenv("AT_SPI_BUS_ADDRESS");
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, GuardTest,
    ::testing::Values(TGuardRow{"ScreenReadersOff", TGuardBus::Live, false, DesktopBus::gdNothing, true, false},
                      TGuardRow{"ScreenReadersOffInASandbox", TGuardBus::Live, true, DesktopBus::gdNothing, false, false},
                      TGuardRow{"ScreenReadersOn", TGuardBus::AccessibilityOn, false, DesktopBus::gdNothing, false, true},
                      TGuardRow{"AccessibilityServiceStopped", TGuardBus::AccessibilityStopped, false,
                                DesktopBus::gdAccessibilitySilent, true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Notifications that come late, actions, the warning ------------------------------------

// The end's hook of the test: runs once, when the program's end begins.
std::function<void()>& AtTheEnd() {
  static std::function<void()> hook;
  static const bool installed = [] {
    BusLink::AtEnd([] {
      if (const auto run = std::exchange(hook, {}))
        run();
    });
    return true;
  }();
  (void)installed;
  return hook;
}

enum class TLate { AfterTheDialogClosed, AtTheEnd };
struct TLateRow {
  const char* Name;
  TLate When;
};
void PrintTo(const TLateRow& row, std::ostream* out) { *out << row.Name; }

class LateNotifyTest : public DesktopBusTest, public ::testing::WithParamInterface<TLateRow> {};

// The id that comes after the notification was withdrawn, or while the program ends, closes
// it at once.
TEST_P(LateNotifyTest, AnIdThatComesLateClosesItsNotification) {
  Serve(false);
  QWidget mainWindow;
  F_Steepo2::CreateAlarmDialog(&mainWindow);
  TFSteepo2* alarm = F_Steepo2::FSteepo2;
  alarm->open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Log.Unanswered.size() == 1; }));
  const QDBusMessage late = Log.Unanswered.first().createReply(QVariant::fromValue(uint(77)));
  const auto answer = [&] { QDBusConnection(ServiceName).send(late); };
  if (GetParam().When == TLate::AfterTheDialogClosed) {
    alarm->accept();
    answer();
  } else {
    AtTheEnd() = answer;
    BusLink::Finish(500);  // as the application's end does; the close goes out before it returns
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Log.Closed.isEmpty(); }));
  EXPECT_EQ(Log.Closed, QList<uint>{77});
}

INSTANTIATE_TEST_SUITE_P(Moments, LateNotifyTest,
                         ::testing::Values(TLateRow{"AfterTheDialogClosed", TLate::AfterTheDialogClosed},
                                           TLateRow{"AtTheEnd", TLate::AtTheEnd}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TActionRow {
  const char* Name;
  bool Sandboxed;
};
void PrintTo(const TActionRow& row, std::ostream* out) { *out << row.Name; }

class ActionTest : public DesktopBusTest, public ::testing::WithParamInterface<TActionRow> {};

// The dialog's buttons as the notification's, and the invoked one reported with its token.
TEST_P(ActionTest, TheInvokedActionReachesTheCallerWithItsToken) {
  Serve();
  DesktopBus::SetSandboxed(GetParam().Sandboxed);
  QString invoked, token;
  DesktopBus::Notify({QStringLiteral("Steepo 2.3"), QStringLiteral("Your tea is prepared"), QStringLiteral("OK"),
                      {{QStringLiteral("ok"), QStringLiteral("OK")}, {QStringLiteral("next"), QStringLiteral("Next infusion 0:25 (3/6)")}}},
                     [&](const QString& action, const QString& given) {
                       invoked = action;
                       token = given;
                     });
  if (GetParam().Sandboxed) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return PortalLog.Added.size() == 1; }));
    const auto buttons = qdbus_cast<QList<QVariantMap>>(PortalLog.Added.first().value(QStringLiteral("buttons")).value<QDBusArgument>());
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons.at(1).value(QStringLiteral("label")), QStringLiteral("Next infusion 0:25 (3/6)"));
    EXPECT_EQ(buttons.at(1).value(QStringLiteral("action")), QStringLiteral("next"));
    // The answer has gone out already: the invocation comes after it, on the same connection.
    emit Portal->ActionInvoked(QStringLiteral("alarm"), QStringLiteral("next"),
                               {QVariant::fromValue(QVariantMap{{QStringLiteral("activation-token"), QStringLiteral("t-9")}})});
  } else {
    ASSERT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 1; }));
    EXPECT_EQ(Log.Notifies.first().at(5).toStringList(),
              (QStringList{QStringLiteral("default"), QStringLiteral("OK"), QStringLiteral("ok"), QStringLiteral("OK"),
                           QStringLiteral("next"), QStringLiteral("Next infusion 0:25 (3/6)")}));
    emit Adaptor->ActivationToken(41, QStringLiteral("t-9"));
    emit Adaptor->ActionInvoked(41, QStringLiteral("next"));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return !invoked.isEmpty(); }));
  EXPECT_EQ(invoked, QStringLiteral("next"));
  EXPECT_EQ(token, QStringLiteral("t-9"));
}

INSTANTIATE_TEST_SUITE_P(Services, ActionTest,
                         ::testing::Values(TActionRow{"NotificationService", false}, TActionRow{"Portal", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The warning is a normal one without buttons, and the alarm takes its place.
TEST_F(DesktopBusTest, TheWarningIsNormalAndGoesWhenTheAlarmComes) {
  Serve();
  DesktopBus::Warn(QStringLiteral("Steepo 2.3"), QStringLiteral("Ready in 30 seconds"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 1; }));
  const QVariantList& warning = Log.Notifies.first();
  EXPECT_EQ(warning.at(4), QStringLiteral("Ready in 30 seconds"));
  EXPECT_TRUE(warning.at(5).toStringList().isEmpty());
  EXPECT_EQ(warning.at(6).toMap().value(QStringLiteral("urgency")).toInt(), 1);
  // Its id is in or on its way: either way the alarm closes it.
  DesktopBus::Notify({QStringLiteral("Steepo 2.3"), QStringLiteral("Your tea is prepared"), QStringLiteral("OK")},
                     [](const QString&) {});
  EXPECT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 2 && !Log.Closed.isEmpty(); }));
  EXPECT_EQ(Log.Closed, QList<uint>{41});
}

// The alarm dialog's buttons are its notification's: invoking one does what the button does,
// and the dialog closes with it.
TEST_F(DesktopBusTest, TheAlarmsNotificationButtonsAnswerTheDialog) {
  const struct {
    const char* Action;
    bool Next;  // a tea's next infusion is offered
    QStringList Actions;
    int Result;
  } rows[] = {
      {"ok", false, {"default", "OK", "ok", "OK"}, QDialog::Accepted},
      {"ok", true, {"default", "OK", "ok", "OK", "next", "Next infusion 0:25 (3/6)"}, QDialog::Accepted},
      {"next", true, {"default", "OK", "ok", "OK", "next", "Next infusion 0:25 (3/6)"}, TFSteepo2::NextInfusionResult},
  };
  Serve();
  QWidget mainWindow;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Action);
    Log.Notifies.clear();
    F_Steepo2::CreateAlarmDialog(&mainWindow);
    TFSteepo2* alarm = F_Steepo2::FSteepo2;
    if (row.Next)
      alarm->SetNextInfusion(Teas::TInfusion{25, 3, 6});
    bool invoked = false;
    QTimer::singleShot(0, alarm, [&] {
      invoked = QTest::qWaitFor([&] { return Log.Notifies.size() == 1; });
      if (invoked) {
        EXPECT_EQ(Log.Notifies.first().at(5).toStringList(), row.Actions);
        emit Adaptor->ActionInvoked(40 + uint(Log.Notifies.size()), QString::fromUtf8(row.Action));
      }
      QTimer::singleShot(5000, alarm, [alarm] { alarm->done(-1); });  // never hang the test
    });
    EXPECT_EQ(alarm->exec(), row.Result);
    EXPECT_TRUE(invoked);
    delete alarm;
  }
}

// The warning before the end reaches the notification service as a normal one, before the
// alarm, which takes its place; Stop withdraws it too.
TEST_F(DesktopBusTest, TheWarningComesBeforeTheEndAndGoes) {
  Serve();
  ASSERT_TRUE(Alarm::Current.Change([] {
    Alarm::TOptions options;
    options.Warning = 2;
    return options;
  }()));
  TFSteepo window;
  Open(window);
  F_Steepo::TimerState.BrewTime = 5;
  const auto urgencies = [&] {
    QList<int> urgency;
    for (const QVariantList& args : Log.Notifies)
      urgency << args.at(6).toMap().value(QStringLiteral("urgency")).toInt();
    return urgency;
  };
  window.BBStartClick();
  Tick += 2999;
  window.TimerTimer();
  window.TimerTimer();
  Tick += 1;
  window.TimerTimer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 1; }));
  EXPECT_EQ(Log.Notifies.first().at(3), QStringLiteral("Steepo"));
  EXPECT_EQ(Log.Notifies.first().at(4), QStringLiteral("Ready in 2 seconds"));
  window.BBStopClick();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Log.Closed == QList<uint>{41}; }));

  window.BBStartClick();
  Tick += 3000;
  window.TimerTimer();
  RunToTheAlarm(window, [](TFSteepo2&) {});
  EXPECT_TRUE(QTest::qWaitFor([&] { return Log.Notifies.size() == 3 && Log.Closed.contains(42); }));
  EXPECT_EQ(urgencies(), (QList<int>{1, 1, 2}));
}

// ---- The end --------------------------------------------------------------------------------

class EndTest : public DesktopBusTest, public ::testing::WithParamInterface<TFault> {};

// The program's end sequence, OK included, on a bus that takes the connection and then never
// answers, before or after Hello: the process ends with status 0, without an abort and without
// waiting for the bus beyond the end's bound (a watchdog ends it with 3 ten times past it).
TEST_P(EndTest, TheEndOnAMuteBusExitsWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TFakeBus mute(GetParam(), Store.path());
  const auto end = [&] {
    DesktopBus::SetBusAddress(mute.Address());
    TFSteepo window;
    Open(window);
    window.BBStartClick();
    window.TimerTimer();  // the dock's first signal: the connection is on its way
    QTimer::singleShot(0, &window, [&] { RunToTheAlarm(window, [](TFSteepo2&) {}); });
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::seconds(5));
      ::_exit(3);
    }).detach();
    const int status = QApplication::exec();
    Store.remove();  // the child's own folder: its exit skips the fixture's teardown
    std::exit(status);
  };
  // The child ends without tearing down the test's application, whose font cache the leak
  // check would count against it.
  const QByteArray sanitizer = qgetenv("ASAN_OPTIONS");
  qputenv("ASAN_OPTIONS", sanitizer + (sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0");
  EXPECT_EXIT(end(), ::testing::ExitedWithCode(0), "");
  if (sanitizer.isEmpty())
    qunsetenv("ASAN_OPTIONS");
  else
    qputenv("ASAN_OPTIONS", sanitizer);
}

INSTANTIATE_TEST_SUITE_P(Buses, EndTest, ::testing::Values(TFault::Mute, TFault::MuteAfterHello),
                         [](const auto& info) { return info.param == TFault::Mute ? "Mute" : "MuteAfterHello"; });

// ---- The sleep inhibitor --------------------------------------------------------------------

enum class TLogin { Answers, NeverAnswers, Absent, NoSystemBus };
struct TInhibitRow {
  const char* Name;
  TLogin Login;
  bool Reported;  // the one line
};
void PrintTo(const TInhibitRow& row, std::ostream* out) { *out << row.Name; }

class InhibitTest : public DesktopBusTest, public ::testing::WithParamInterface<TInhibitRow> {};

// The lock is asked for "sleep" in the "block" mode and given back by closing its descriptor,
// also when it comes after the release. Nothing waits: the login manager is served on this
// very thread, so a wait for it would never end.
TEST_P(InhibitTest, TheLockIsTakenAndGivenBackWithoutAWait) {
  const TInhibitRow& row = GetParam();
  if (row.Login == TLogin::Answers || row.Login == TLogin::NeverAnswers)
    ServeLogin(row.Login == TLogin::Answers);
  if (row.Login == TLogin::NoSystemBus)
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + Store.filePath(QStringLiteral("no-bus")).toUtf8());
  SleepInhibitor::Hold(QStringLiteral("A tea is brewing"));
  EXPECT_TRUE(SleepInhibitor::Held());
  if (row.Login == TLogin::Answers || row.Login == TLogin::NeverAnswers) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return Login.Inhibits.size() == 1; }));
    EXPECT_EQ(Login.Inhibits.first(), (QStringList{QStringLiteral("sleep"), QStringLiteral("Steepo"),
                                                   QStringLiteral("A tea is brewing"), QStringLiteral("block")}));
    if (row.Login == TLogin::Answers) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return HeldHere(Login.LockEnds.first()); }));
    }
  }
  SleepInhibitor::Release();
  if (row.Login == TLogin::NeverAnswers)
    QDBusConnection(ServiceName).send(Login.Unanswered.takeFirst());  // the lock comes after the release
  if (!Login.LockEnds.isEmpty()) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return HungUp(Login.LockEnds.first()); }));
  }
  SleepInhibitor::Hold(QStringLiteral("A tea is brewing"));  // a second try says nothing more
  if (row.Reported) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Problems.isEmpty(); }));
  }
  EXPECT_EQ(Problems.size(), row.Reported ? 1 : 0) << Problems.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(LoginManagers, InhibitTest,
                         ::testing::Values(TInhibitRow{"Answers", TLogin::Answers, false},
                                           TInhibitRow{"NeverAnswers", TLogin::NeverAnswers, false},
                                           TInhibitRow{"NoLoginManager", TLogin::Absent, true},
                                           TInhibitRow{"NoSystemBus", TLogin::NoSystemBus, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Inside a sandbox the portal holds the lock for suspending, until its request is closed.
TEST_F(DesktopBusTest, InASandboxThePortalHoldsTheLock) {
  Serve();
  DesktopBus::SetSandboxed(true);
  SleepInhibitor::Hold(QStringLiteral("A tea is brewing"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return PortalLocks.Inhibits.size() == 1; }));
  EXPECT_EQ(PortalLocks.Inhibits.first(), (QVariantList{QString(), 4u, QStringLiteral("A tea is brewing")}));
  SleepInhibitor::Release();
  EXPECT_TRUE(QTest::qWaitFor([&] { return PortalLocks.Closed == 1; }));
  EXPECT_TRUE(Login.Inhibits.isEmpty());
  EXPECT_TRUE(Problems.isEmpty());
}

// A countdown holds the lock from Start to Stop, to the end, and to the program's end.
TEST_F(DesktopBusTest, ACountdownHoldsTheLockUntilStopTheEndOrTheProgramsEnd) {
  ServeLogin(true);
  F_Steepo::KeepAwake = true;
  TFSteepo window;
  Open(window);
  const auto lockGiven = [&](int count) { return QTest::qWaitFor([&] { return Login.LockEnds.size() == count; }); };
  const auto lockBack = [&](int index) { return QTest::qWaitFor([&] { return HungUp(Login.LockEnds.at(index)); }); };

  window.BBStartClick();
  ASSERT_TRUE(lockGiven(1));
  window.BBStopClick();
  EXPECT_TRUE(lockBack(0));
  window.BBStartClick();
  ASSERT_TRUE(lockGiven(2));
  RunToTheAlarm(window, [](TFSteepo2&) {});
  EXPECT_TRUE(lockBack(1));
  window.BBStartClick();
  ASSERT_TRUE(lockGiven(3));
  ASSERT_TRUE(QTest::qWaitFor([&] { return HeldHere(Login.LockEnds.at(2)); }));
  BusLink::Finish(500);
  EXPECT_TRUE(HungUp(Login.LockEnds.at(2)));
  EXPECT_TRUE(Problems.isEmpty());
}

// With the option off a countdown takes no lock; turned on in the menu while counting, it
// takes one at once, and turned off gives it back.
TEST_F(DesktopBusTest, TheOptionDecidesWhetherACountdownKeepsAwake) {
  ServeLogin(true);
  F_Steepo::KeepAwake = true;
  Alarm::TOptions options;
  options.KeepAwake = false;
  ASSERT_TRUE(Alarm::Current.Change(options));
  TFSteepo window;
  Open(window);
  window.BBStartClick();
  const auto toggle = [&] {
    window.ShowMenu(window.mapToGlobal(QPoint()));
    QAction* item = window.Menu()->findChild<QAction*>(QStringLiteral("AlarmKeepAwake"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    window.Menu()->hide();
  };
  toggle();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Login.LockEnds.size() == 1; }));
  EXPECT_TRUE(Alarm::Current.Get().KeepAwake);
  toggle();
  EXPECT_TRUE(QTest::qWaitFor([&] { return HungUp(Login.LockEnds.at(0)); }));
  EXPECT_EQ(Login.LockEnds.size(), 1);  // none was taken at Start
  window.BBStopClick();
  EXPECT_TRUE(Problems.isEmpty());
}

} // namespace

#include "DesktopBusTest.moc"
