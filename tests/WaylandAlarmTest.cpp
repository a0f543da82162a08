// The end of a countdown on a real Wayland compositor: a headless weston of the test's own,
// with its own runtime folder, is up before the application connects to it.
#include "F_Steepo.h"
#include "F_Steepo2.h"
#include "OnShow.h"
#include "OrbUtils.h"
#include "Platform.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

TEST(WaylandAlarmTest, AlarmAppearsOnTheCompositorAndOKEndsTheProgram) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
  QTemporaryDir store;
  quint64 tick = 1000;
  OrbUtils::SetCommandLine({QStringLiteral("steepo")});
  Platform::SetSettingsPathSource([&] { return store.filePath(QStringLiteral("steepo.ini")); });
  Platform::SetTickSource([&] { return tick; });
  Platform::SetSleeper([](int) {});
  Platform::SetApplicationTitle(QStringLiteral("Steepo"));

  // As the program starts: the main window, the alarm dialog prepared, the window shown.
  TFSteepo window;
  F_Steepo::FSteepo = &window;
  Platform::SetMainWindow(&window);
  F_Steepo2::PrepareAlarmDialog(&window);
  TFSteepo2* alarm = F_Steepo2::AlarmDialog();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  bool alarmExposed = false;
  bool transient = true;
  TOnShow onShow(alarm, [&] {
    alarmExposed = QTest::qWaitForWindowExposed(alarm);
    transient = alarm->windowHandle()->transientParent() != nullptr;
    QTest::mouseClick(alarm->BBOK(), Qt::LeftButton);
  });
  // Start, then let the window's own timer find the end.
  QTimer::singleShot(0, &window, [&] {
    window.BBStartClick();
    tick = F_Steepo::TimerState.EndTick;
  });
  const int status = QApplication::exec();

  EXPECT_EQ(status, 0);
  EXPECT_TRUE(alarmExposed);
  // A compositor hides the dialogs of a minimised window, which the program cannot restore.
  EXPECT_FALSE(transient);
  EXPECT_FALSE(window.isVisible());
  F_Steepo::FSteepo = nullptr;
  Platform::SetMainWindow(nullptr);
  Platform::SetSettingsPathSource({});
  Platform::SetTickSource({});
  Platform::SetSleeper({});
}

// ---- The program itself on a session bus that stops answering ------------------------------

// Counts the dock's signals: the program has reached the bus.
class TDockCounter : public QObject {
  Q_OBJECT

public:
  int Updates = 0;

public slots:
  void Update(const QString&, const QVariantMap&) { ++Updates; }
};

// Whether the process handles SIGTERM already: its application is up.
bool HandlesTermination(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly))
    return false;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("SigCgt:"))
      return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
  return false;
}

// Started with -start: the bus stops before the program starts (Qt's own accessibility bridge
// would wait for it as the window is built), or once the countdown has reached it. Either
// way the first SIGTERM stores the preset and ends the program with status 0.
TEST(StoppedBusProgramTest, FirstTerminationStoresThePresetAndEnds) {
  for (const bool beforeLaunch : {true, false}) {
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--print-address"),
                                                 QStringLiteral("--nofork")});
    ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon did not start";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    TDockCounter dock;
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("dock-%1").arg(beforeLaunch));
    ASSERT_TRUE(bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                            QStringLiteral("Update"), &dock, SLOT(Update(QString, QVariantMap))));
    if (beforeLaunch)
      ::kill(pid_t(daemon.processId()), SIGSTOP);

    QTemporaryDir config;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(STEEPO_PROGRAM), {QStringLiteral("-start")});
    ASSERT_TRUE(program.waitForStarted());
    if (!beforeLaunch) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return dock.Updates > 0; }, 10000));
      ::kill(pid_t(daemon.processId()), SIGSTOP);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return HandlesTermination(program.processId()); }, 10000));
    program.terminate();
    const bool ended = program.waitForFinished(10000);
    EXPECT_TRUE(ended) << (beforeLaunch ? "stopped before launch" : "stopped while counting");
    if (!ended)
      program.kill();
    program.waitForFinished();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    QFile preset(config.filePath(QStringLiteral("Varnak/Steepo.conf")));
    EXPECT_TRUE(preset.open(QIODevice::ReadOnly));
    EXPECT_EQ(preset.readAll(), "[General]\nPreset=180\n");

    ::kill(pid_t(daemon.processId()), SIGCONT);
    QDBusConnection::disconnectFromBus(bus.name());
    daemon.terminate();
    daemon.waitForFinished();
  }
}

// A headless weston on a socket of its own in a private runtime folder.
class TCompositor {
public:
  TCompositor() {
    char pattern[] = "/tmp/steepo-wayland-XXXXXX";
    if (!mkdtemp(pattern))
      return;
    RuntimeDir = pattern;
    chmod(pattern, 0700);
    Socket = "steepo-test-" + std::to_string(getpid());
    setenv("XDG_RUNTIME_DIR", pattern, 1);
    std::string backend = "--backend=headless-backend.so", socket = "--socket=" + Socket, idle = "--idle-time=0";
    char program[] = "weston";
    char* argv[] = {program, backend.data(), socket.data(), idle.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (RuntimeDir + "/weston.log").c_str(),
                                     O_WRONLY | O_CREAT, 0600);
    if (posix_spawnp(&Pid, program, &actions, nullptr, argv, environ) != 0)
      Pid = 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~TCompositor() {
    if (Pid > 0) {
      kill(Pid, SIGTERM);
      waitpid(Pid, nullptr, 0);
    }
    if (!RuntimeDir.empty())
      std::filesystem::remove_all(RuntimeDir);
  }

  // Waits until the compositor listens on its socket; false when it ended or never did.
  bool WaitListening() const {
    for (int i = 0; Pid > 0 && i < 1000; ++i) {
      if (std::filesystem::exists(RuntimeDir + "/" + Socket))
        return true;
      if (waitpid(Pid, nullptr, WNOHANG) == Pid)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  pid_t Pid = 0;
  std::string RuntimeDir, Socket;
};

} // namespace

int main(int argc, char** argv) {
  TCompositor compositor;
  if (!compositor.WaitListening()) {
    std::fprintf(stderr, "weston (headless backend) did not start; install it with scripts/deps.sh --tests\n");
    return 1;
  }
  setenv("WAYLAND_DISPLAY", compositor.Socket.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "wayland", 1);
  unsetenv("DISPLAY");
  int status = 1;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  return status;
}

#include "WaylandAlarmTest.moc"
