// The dock entry's progress and the alarm's desktop notification, on a session bus of the
// test's own with a notification service and a dock listener served by the test.
#include "DesktopBus.h"
#include "F_Steepo.h"
#include "F_Steepo2.h"
#include "OrbDialogs.h"
#include "OnShow.h"
#include "OrbUtils.h"
#include "Platform.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <memory>
#include <mutex>
#include <thread>

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

// A private session bus, one for the whole test program.
class TBusDaemon : public ::testing::Environment {
public:
  static inline QString Address;
  static inline qint64 Pid = 0;

  void SetUp() override {
    Daemon = std::make_unique<QProcess>();
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
    DesktopBus::SetBusAddress(BusAddress());
    OrbDialogs::LangIndex = 0;
    OrbUtils::SetCommandLine({QStringLiteral("steepo")});
    Platform::SetSettingsPathSource([this] { return Store.filePath(QStringLiteral("steepo.ini")); });
    Platform::SetProblemSink([this](const QString& line) { Problems << line; });
    Platform::SetTickSource([this] { return Tick; });
    Platform::SetSleeper([](int) {});
    Platform::SetApplicationTitle(QStringLiteral("Steepo"));
  }
  void TearDown() override {
    DesktopBus::Reset();
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
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), PortalService.get()));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    ASSERT_TRUE(bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                            QStringLiteral("Update"), &Dock, SLOT(Update(QString, QVariantMap))));
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
  TDockListener Dock;
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
  EXPECT_EQ(args.at(5).toStringList(), (QStringList{QStringLiteral("default"), QStringLiteral("OK")}));
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
  EXPECT_EQ(buttons.first().value(QStringLiteral("action")), QStringLiteral("default"));

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

struct TAbsentRow {
  const char* Name;
  bool Bus;
  bool Service;
  bool Reported;  // the one line on stderr, once the answer is in
};
void PrintTo(const TAbsentRow& row, std::ostream* out) { *out << row.Name; }

class AbsentServiceTest : public DesktopBusTest, public ::testing::WithParamInterface<TAbsentRow> {};

// The dialog is up and takes its OK while the call is still out, so nothing waits for the
// answer; a waiting call would have timed out, and said so, before the dialog got its turn.
TEST_P(AbsentServiceTest, AlarmComesAsWithoutTheDesktop) {
  const TAbsentRow& row = GetParam();
  if (!row.Bus)
    DesktopBus::SetBusAddress(QStringLiteral("unix:path=") + Store.filePath(QStringLiteral("no-bus")));
  if (row.Service)
    Serve(false);
  TFSteepo window;
  window.Timer()->stop();
  F_Steepo2::CreateAlarmDialog(&window);
  window.show();
  window.BBStartClick();

  bool shown = false;
  RunToTheAlarm(window, [&](TFSteepo2& alarm) {
    shown = alarm.isVisible();
    if (!row.Bus) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return Problems.size() == 1; }));
    }
    if (row.Service) {
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

INSTANTIATE_TEST_SUITE_P(Desktops, AbsentServiceTest,
                         ::testing::Values(TAbsentRow{"NoBus", false, false, true},
                                           TAbsentRow{"NoNotificationService", true, false, true},
                                           TAbsentRow{"NeverAnswers", true, true, false}),
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
    DesktopBus::GuardSessionBus();
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
                         ::testing::Values(TStoppedRow{"BeforeLaunch", TMoment::BeforeLaunch, true},
                                           TStoppedRow{"BeforeStart", TMoment::BeforeStart, true},
                                           TStoppedRow{"WhileCounting", TMoment::WhileCounting, false},
                                           TStoppedRow{"DuringTheAlarm", TMoment::DuringTheAlarm, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace

#include "DesktopBusTest.moc"
