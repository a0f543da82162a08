// The platform layer's services on Linux and other Unix desktops: the boot-time clock, the
// termination signals, the sound module, the desktop's opener, Qt's locale and the window
// system's activation.

#include "Platform.h"
#include "PlatformNative.h"
#include "SteepoConfig.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QLocale>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <optional>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

// ---- Time ---------------------------------------------------------------------------------

quint64 Native::TickCount() {
  timespec now{};
#ifdef CLOCK_BOOTTIME
  // Keeps counting while the machine sleeps, so a countdown ends on time after a suspend.
  if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
#endif
    clock_gettime(CLOCK_MONOTONIC, &now);
  return quint64(now.tv_sec) * 1000u + quint64(now.tv_nsec) / 1000000u;
}

// ---- Application ----------------------------------------------------------------------------

namespace {
int SignalPipe[2] = {-1, -1};

constexpr int TerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnTerminationSignal(int) {
  // Everything here is async-signal-safe. The loop ends the program in its own time; should it
  // be stuck, the next signal takes the default action and ends the process at once.
  const int savedErrno = errno;
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  for (const int signal : TerminationSignals)
    sigaction(signal, &fallback, nullptr);
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(SignalPipe[1], &byte, 1);
  errno = savedErrno;
}
} // namespace

namespace {
// Leaves every running loop, modal ones included, without asking the windows to close. A
// signal that comes while the window is still being built (its first display lets events
// through before the loop runs) waits for the loop, since ending it before it runs does nothing.
void EndTheLoop() {
  if (QThread::currentThread()->loopLevel() > 0)
    QCoreApplication::exit(0);
  else
    QTimer::singleShot(0, QCoreApplication::instance(), EndTheLoop);
}
} // namespace

void UseParentConsole() {}

void SetAppUserModelID(const QString&) {}

// Terminals take the locale's bytes.
std::optional<bool> Native::WriteConsoleText(std::FILE*, const QString&) { return std::nullopt; }

void EndOnTerminationSignals() {
  if (SignalPipe[0] >= 0 || ::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char byte = 0;
    while (::read(SignalPipe[0], &byte, 1) > 0) {
    }
    EndTheLoop();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  // While one of them is being handled the others wait, so the first one always resets all.
  for (const int signal : TerminationSignals)
    sigaddset(&action.sa_mask, signal);
  for (const int signal : TerminationSignals)
    sigaction(signal, &action, nullptr);
}

// ---- Sound --------------------------------------------------------------------------------

namespace {
// The module's two entry points: play answers as TPlayed does.
struct TSoundModule {
  int (*Play)(const QString& source, bool file, void (*onLateRefusal)()) = nullptr;
  void (*Stop)() = nullptr;
};

// The sound module lies beside the program, or in the program's library folder once installed.
TSoundModule LoadSoundModule() {
  const QString programDir = QCoreApplication::applicationDirPath();
  for (const QString& dir : {programDir, programDir + u'/' + QString::fromUtf8(SteepoConfig::ModuleRelativeDir)}) {
    QLibrary library(dir + QStringLiteral("/steepo-sound"));
    TSoundModule module;
    module.Play = reinterpret_cast<decltype(module.Play)>(library.resolve("SteepoPlaySound"));
    module.Stop = reinterpret_cast<decltype(module.Stop)>(library.resolve("SteepoStopSound"));
    if (module.Play && module.Stop)
      return module;
  }
  return {};
}

// Loaded when a sound first plays; never only to stop one.
const TSoundModule* SoundModule(bool load) {
  static std::optional<TSoundModule> module;
  if (!module && load)
    module = LoadSoundModule();
  return module ? &*module : nullptr;
}

void OnLateRefusal() { Native::SoundFailedLate(); }
} // namespace

TPlayed Native::PlaySound(const QString& source, bool file) {
  if (!file && !QFile::exists(source))
    return TPlayed::Refused;
  // Without the module nothing can play; the beep stands in, as without a sound device.
  const TSoundModule* module = SoundModule(true);
  if (!module->Play)
    return TPlayed::NoOutput;
  return TPlayed(module->Play(source, file, &OnLateRefusal));
}

void Native::StopSound() {
  if (const TSoundModule* module = SoundModule(false); module && module->Stop)
    module->Stop();
}

void Native::MessageBeep() { QApplication::beep(); }

// ---- Shell --------------------------------------------------------------------------------

bool Native::ShellOpen(const QString& target) { return QDesktopServices::openUrl(QUrl::fromUserInput(target)); }

// ---- Locale -------------------------------------------------------------------------------

QChar TimeSeparator() {
  // The first character of the time format that is neither a field letter nor a blank, after
  // the hour field: the one between hours and minutes.
  const QString format = QLocale().timeFormat(QLocale::ShortFormat);
  const qsizetype hour = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
  if (hour >= 0) {
    for (qsizetype i = hour; i < format.size(); ++i) {
      const QChar c = format.at(i);
      if (c == u'h' || c == u'H')
        continue;
      if (c == u'm')
        break;
      if (c == u'\'' || c.isSpace())
        continue;
      return c;
    }
  }
  return u':';
}

// ---- Settings -----------------------------------------------------------------------------

QByteArray SettingsFileNameFor(const QByteArray& home, const QByteArray& configHome) {
  struct stat info {};
  QByteArray folder;
  if (configHome.startsWith('/'))
    folder = configHome;
  else if (home.startsWith('/') && ::stat(home.constData(), &info) == 0 && S_ISDIR(info.st_mode))
    folder = home + "/.config";
  else
    return {};
  // Latin-1 carries every byte through unchanged; the cleaning only looks at "/" and ".".
  return QDir::cleanPath(QString::fromLatin1(folder + "/Varnak/Steepo.conf")).toLatin1();
}

QString SettingsPathFor(const QString& home, const QString& configHome) {
  return QFile::decodeName(SettingsFileNameFor(QFile::encodeName(home), QFile::encodeName(configHome)));
}

QByteArray Native::SettingsFileName() { return SettingsFileNameFor(qgetenv("HOME"), qgetenv("XDG_CONFIG_HOME")); }

// ---- Foreground ---------------------------------------------------------------------------

void ForceForeground(QWidget* window) {
  if (!window)
    return;
  if (window->isMinimized())
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  if (QApplication::activeWindow() == window)
    return;
  window->show();
  window->raise();
  window->activateWindow();
  if (QWindow* handle = window->windowHandle())
    handle->requestActivate();
  // Window managers that refuse to hand over the focus (most Wayland compositors) at least
  // mark the window as wanting attention.
  if (QApplication::activeWindow() != window)
    QApplication::alert(window);
}

} // namespace Platform
