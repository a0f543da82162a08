#include "Platform.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QBitmap>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QKeyEvent>
#include <QLibrary>
#include <QLocale>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <ctime>

namespace Platform {

namespace {

QString Title;
QPointer<QWidget> TheMainWindow;
TTickSource TickSourceOverride;
TSleeper SleeperOverride;
TShellOpener ShellOpenerOverride;
std::function<quint16()> LangIDSourceOverride;
std::function<QString()> SettingsPathSourceOverride;
std::function<void(const QString&)> ProblemSinkOverride;

quint64 MonotonicMilliseconds() {
  timespec now{};
#ifdef CLOCK_BOOTTIME
  // Keeps counting while the machine sleeps, so a countdown ends on time after a suspend.
  if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
#endif
    clock_gettime(CLOCK_MONOTONIC, &now);
  return quint64(now.tv_sec) * 1000u + quint64(now.tv_nsec) / 1000000u;
}


} // namespace

// ---- Application ----------------------------------------------------------------------------

QString ApplicationTitle() { return Title; }
void SetApplicationTitle(const QString& title) { Title = title; }

void SetMainWindow(QWidget* window) { TheMainWindow = window; }
QWidget* MainWindow() { return TheMainWindow; }

void MinimizeApplication() {
  if (TheMainWindow)
    TheMainWindow->showMinimized();
}

void RestoreApplication() {
  if (!TheMainWindow)
    return;
  TheMainWindow->setWindowState(TheMainWindow->windowState() & ~Qt::WindowMinimized);
  TheMainWindow->showNormal();
  TheMainWindow->raise();
  TheMainWindow->activateWindow();
}

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

void EndOnTerminationSignals() {
  if (SignalPipe[0] >= 0 || ::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char byte = 0;
    while (::read(SignalPipe[0], &byte, 1) > 0) {
    }
    // Leaves every running loop, modal ones included, without asking the windows to close.
    QCoreApplication::exit(0);
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

void ProcessMessages() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QFont LayoutFont(int pixelHeight, bool bold) {
  // Built from nothing and with every attribute marked as set, so that nothing of the
  // application's font, nor of a desktop theme's font for labels or buttons, shows through.
  QFont font(QStringLiteral("Tahoma"));
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setResolveMask(QFont::AllPropertiesResolved);
  return font;
}

namespace {
// The gap that Qt's styles leave between a push button's icon and its text.
constexpr int StyleIconSpacing = 4;

// The image for screens of twice the pixel density beside a glyph: "BBOK.bmp" has "BBOK@2x.png".
QString DoubleDensityPath(const QString& resource) {
  const int dot = resource.lastIndexOf(u'.');
  return (dot < 0 ? resource : resource.left(dot)) + QStringLiteral("@2x.png");
}

// Image index of a strip of count, olive made transparent, trailing transparent columns added.
QPixmap GlyphImage(const QImage& strip, int count, int index, int trailing) {
  const int width = strip.width() / count;
  QImage glyph(width + trailing, strip.height(), QImage::Format_ARGB32);
  glyph.fill(Qt::transparent);
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < width; ++x)
      if (const QRgb pixel = strip.pixel(index * width + x, y); pixel != qRgb(128, 128, 0))
        glyph.setPixel(x, y, pixel);
  return QPixmap::fromImage(glyph);
}

QIcon GlyphIcon(const QString& resource, int count, int trailing) {
  const QImage strip(resource);
  if (strip.isNull() || count < 1)
    return {};
  // Where there is a twin of twice the size, screens of a higher density draw that one.
  const QImage fine(DoubleDensityPath(resource));
  const bool sharp = fine.size() == strip.size() * 2;
  QIcon icon;
  for (int index = 0; index < std::min(count, 2); ++index) {
    const QIcon::Mode mode = index == 0 ? QIcon::Normal : QIcon::Disabled;
    icon.addPixmap(GlyphImage(strip, count, index, trailing), mode);
    if (sharp) {
      QPixmap pixmap = GlyphImage(fine, count, index, 2 * trailing);
      pixmap.setDevicePixelRatio(2);
      icon.addPixmap(pixmap, mode);
    }
  }
  return icon;
}
} // namespace

QIcon GlyphIcon(const QString& resource, int count) { return GlyphIcon(resource, count, 0); }

void SetButtonGlyph(QPushButton* button, const QString& resource, int count, int spacing) {
  // The style puts its own gap after the icon; transparent columns at the icon's right make
  // up the rest.
  const int trailing = qMax(0, spacing - StyleIconSpacing);
  const QIcon icon = GlyphIcon(resource, count, trailing);
  button->setIcon(icon);
  if (!icon.isNull())
    button->setIconSize(icon.availableSizes().value(0));
}

void CallLoaded(QWidget* form) {
  const auto children = form->findChildren<QWidget*>();
  for (QWidget* child : children) {
    const QMetaObject* meta = child->metaObject();
    const int index = meta->indexOfMethod("Loaded()");
    if (index >= 0)
      meta->method(index).invoke(child, Qt::DirectConnection);
  }
}

// ---- Messages -----------------------------------------------------------------------------

void PostMessage(QObject* target, int message, qintptr wParam, qintptr lParam) {
  QCoreApplication::postEvent(target, new TMessageEvent(message, wParam, lParam));
}

// ---- Keys ---------------------------------------------------------------------------------

int VirtualKeyCode(const QKeyEvent& event) {
  const int key = event.key();
  const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return keypad ? 0x60 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return 0x70 + (key - Qt::Key_F1);
  switch (key) {
  case Qt::Key_Backspace: return 0x08;
  case Qt::Key_Tab: return 0x09;
  case Qt::Key_Backtab: return 0x09;
  case Qt::Key_Return: return 0x0D;
  case Qt::Key_Enter: return 0x0D;
  case Qt::Key_Shift: return 0x10;
  case Qt::Key_Control: return 0x11;
  case Qt::Key_Alt: return 0x12;
  case Qt::Key_Pause: return 0x13;
  case Qt::Key_Escape: return 0x1B;
  case Qt::Key_Space: return 0x20;
  case Qt::Key_PageUp: return 0x21;
  case Qt::Key_PageDown: return 0x22;
  case Qt::Key_End: return 0x23;
  case Qt::Key_Home: return 0x24;
  case Qt::Key_Left: return 0x25;
  case Qt::Key_Up: return 0x26;
  case Qt::Key_Right: return 0x27;
  case Qt::Key_Down: return 0x28;
  case Qt::Key_Insert: return 0x2D;
  case Qt::Key_Delete: return 0x2E;
  case Qt::Key_Asterisk: return keypad ? 0x6A : 0;
  case Qt::Key_Plus: return keypad ? 0x6B : 0xBB;
  case Qt::Key_Minus: return keypad ? 0x6D : 0xBD;
  case Qt::Key_Period: return keypad ? 0x6E : 0xBE;
  case Qt::Key_Slash: return keypad ? 0x6F : 0xBF;
  case Qt::Key_Comma: return 0xBC;
  default: return 0;
  }
}

// ---- Time ---------------------------------------------------------------------------------

quint64 TickCount() { return TickSourceOverride ? TickSourceOverride() : MonotonicMilliseconds(); }
void SetTickSource(TTickSource source) { TickSourceOverride = std::move(source); }

void Sleep(int milliseconds) {
  if (SleeperOverride)
    SleeperOverride(milliseconds);
  else if (milliseconds > 0)
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
void SetSleeper(TSleeper sleeper) { SleeperOverride = std::move(sleeper); }

// ---- Sound --------------------------------------------------------------------------------

namespace {
using TPlaySound = bool (*)(const QString& resource, void (*onLateFailure)());

// The sound module lies beside the program, or in the program's library folder once installed.
TPlaySound LoadSoundPlayer() {
  const QString programDir = QCoreApplication::applicationDirPath();
  for (const QString& dir : {programDir, programDir + QStringLiteral("/" STEEPO_MODULE_RELATIVE_DIR)}) {
    QLibrary module(dir + QStringLiteral("/steepo-sound"));
    if (auto play = reinterpret_cast<TPlaySound>(module.resolve("SteepoPlaySound")))
      return play;
  }
  return nullptr;
}
} // namespace

bool PlaySound(const QString& resource) {
  if (!QFile::exists(resource))
    return false;
  static const TPlaySound play = LoadSoundPlayer();
  return play && play(resource, &MessageBeep);
}

void MessageBeep() { QApplication::beep(); }

// ---- Shell --------------------------------------------------------------------------------

bool ShellOpen(const QString& target) {
  if (ShellOpenerOverride)
    return ShellOpenerOverride(target);
  return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}
void SetShellOpener(TShellOpener opener) { ShellOpenerOverride = std::move(opener); }

// ---- Locale -------------------------------------------------------------------------------

quint16 PrimaryLanguageID(QLocale::Language language) {
  switch (language) {
  case QLocale::Arabic: return 0x01;
  case QLocale::Bulgarian: return 0x02;
  case QLocale::Catalan: return 0x03;
  case QLocale::Chinese: return 0x04;
  case QLocale::Czech: return 0x05;
  case QLocale::Danish: return 0x06;
  case QLocale::German: return 0x07;
  case QLocale::Greek: return 0x08;
  case QLocale::English: return 0x09;
  case QLocale::Spanish: return 0x0A;
  case QLocale::Finnish: return 0x0B;
  case QLocale::French: return 0x0C;
  case QLocale::Hebrew: return 0x0D;
  case QLocale::Hungarian: return 0x0E;
  case QLocale::Icelandic: return 0x0F;
  case QLocale::Italian: return 0x10;
  case QLocale::Japanese: return 0x11;
  case QLocale::Korean: return 0x12;
  case QLocale::Dutch: return 0x13;
  case QLocale::NorwegianBokmal: return 0x14;
  case QLocale::NorwegianNynorsk: return 0x14;
  case QLocale::Polish: return 0x15;
  case QLocale::Portuguese: return 0x16;
  case QLocale::Romanian: return 0x18;
  case QLocale::Russian: return 0x19;
  case QLocale::Croatian: return 0x1A;
  case QLocale::Serbian: return 0x1A;
  case QLocale::Slovak: return 0x1B;
  case QLocale::Albanian: return 0x1C;
  case QLocale::Swedish: return 0x1D;
  case QLocale::Thai: return 0x1E;
  case QLocale::Turkish: return 0x1F;
  case QLocale::Urdu: return 0x20;
  case QLocale::Indonesian: return 0x21;
  case QLocale::Ukrainian: return 0x22;
  case QLocale::Belarusian: return 0x23;
  case QLocale::Slovenian: return 0x24;
  case QLocale::Estonian: return 0x25;
  case QLocale::Latvian: return 0x26;
  case QLocale::Lithuanian: return 0x27;
  case QLocale::Persian: return 0x29;
  case QLocale::Vietnamese: return 0x2A;
  default: return 0;
  }
}


quint16 SystemDefaultLangID() {
  if (LangIDSourceOverride)
    return LangIDSourceOverride();
  return PrimaryLanguageID(QLocale::system().language());
}
void SetLangIDSource(std::function<quint16()> source) { LangIDSourceOverride = std::move(source); }

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

QByteArray SettingsFileName() {
  if (SettingsPathSourceOverride)
    return QFile::encodeName(SettingsPathSourceOverride());
  return SettingsFileNameFor(qgetenv("HOME"), qgetenv("XDG_CONFIG_HOME"));
}

QString SettingsPath() { return QFile::decodeName(SettingsFileName()); }
void SetSettingsPathSource(std::function<QString()> source) { SettingsPathSourceOverride = std::move(source); }

// ---- Diagnostics --------------------------------------------------------------------------

void ReportProblem(const QString& line) {
  QString shown = line;
  for (QChar& c : shown)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      c = u'?';
  if (ProblemSinkOverride) {
    ProblemSinkOverride(shown);
    return;
  }
  std::fputs((shown + u'\n').toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
}
void SetProblemSink(std::function<void(const QString& line)> sink) { ProblemSinkOverride = std::move(sink); }

// ---- Version ------------------------------------------------------------------------------

QString ProgramPath() { return QCoreApplication::applicationFilePath(); }

} // namespace Platform
