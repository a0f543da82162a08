#include "Platform.h"
#include "PlatformNative.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

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
TSoundPlayer SoundPlayerOverride;
// What a late refusal of the sound handed to the player last leads to; none once it has.
std::function<void()> OnLateRefusal;

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

void ProcessMessages() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
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
    return keypad ? vkNumpad0 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return vkF1 + (key - Qt::Key_F1);
  switch (key) {
  case Qt::Key_Backspace: return vkBack;
  case Qt::Key_Tab: return vkTab;
  case Qt::Key_Backtab: return vkTab;
  case Qt::Key_Return: return vkReturn;
  case Qt::Key_Enter: return vkReturn;
  case Qt::Key_Shift: return vkShift;
  case Qt::Key_Control: return vkControl;
  case Qt::Key_Alt: return vkMenu;
  case Qt::Key_Pause: return vkPause;
  case Qt::Key_Escape: return vkEscape;
  case Qt::Key_Space: return vkSpace;
  case Qt::Key_PageUp: return vkPrior;
  case Qt::Key_PageDown: return vkNext;
  case Qt::Key_End: return vkEnd;
  case Qt::Key_Home: return vkHome;
  case Qt::Key_Left: return vkLeft;
  case Qt::Key_Up: return vkUp;
  case Qt::Key_Right: return vkRight;
  case Qt::Key_Down: return vkDown;
  case Qt::Key_Insert: return vkInsert;
  case Qt::Key_Delete: return vkDelete;
  case Qt::Key_Asterisk: return keypad ? vkMultiply : 0;
  case Qt::Key_Plus: return keypad ? vkAdd : vkOemPlus;
  case Qt::Key_Minus: return keypad ? vkSubtract : vkOemMinus;
  case Qt::Key_Period: return keypad ? vkDecimal : vkOemPeriod;
  case Qt::Key_Slash: return keypad ? vkDivide : vkOem2;
  case Qt::Key_Comma: return vkOemComma;
  default: return 0;
  }
}

// ---- Time ---------------------------------------------------------------------------------

quint64 TickCount() { return TickSourceOverride ? TickSourceOverride() : Native::TickCount(); }
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

TPlayed Hand(const QString& source, bool file) {
  return SoundPlayerOverride ? SoundPlayerOverride(source) : Native::PlaySound(source, file);
}

// Whether file, read from its start, is a RIFF WAVE whose format chunk (of at least one
// channel, a sample rate and a block size) comes before a data chunk, as players read it.
// Looks at no more than the first chunks' headers.
bool IsWave(QFile& file) {
  constexpr int MostChunks = 64;
  const QByteArray head = file.read(12);
  if (head.size() < 12 || !head.startsWith("RIFF") || head.sliced(8) != "WAVE")
    return false;
  bool format = false;
  qint64 at = 12;
  for (int chunk = 0; chunk < MostChunks && file.seek(at); ++chunk) {
    const QByteArray header = file.read(8);
    if (header.size() < 8)
      return false;
    const quint32 size = qFromLittleEndian<quint32>(header.constData() + 4);
    if (header.startsWith("data"))
      return format;
    if (header.startsWith("fmt ") && size >= 16) {
      const QByteArray fields = file.read(16);
      format = fields.size() == 16 && qFromLittleEndian<quint16>(fields.constData() + 2) > 0 &&
               qFromLittleEndian<quint32>(fields.constData() + 4) > 0 &&
               qFromLittleEndian<quint16>(fields.constData() + 12) > 0;
    }
    at += 8 + qint64(size) + (size & 1);
  }
  return false;
}

} // namespace

bool PlaySound(const QString& resource) {
  // A sound refused only once it has loaded ends in the beep, as one refused at once does.
  OnLateRefusal = MessageBeep;
  return Hand(resource, false) == TPlayed::Played;
}

void StopSound() {
  if (!SoundPlayerOverride)
    Native::StopSound();
}

void MessageBeep() {
  if (SoundPlayerOverride)
    SoundPlayerOverride(QString());
  else
    Native::MessageBeep();
}

std::optional<TSoundFileFault> CheckSoundFile(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists())
    return TSoundFileFault{TSoundFault::Unreadable, ENOENT};
  if (info.isDir())
    return TSoundFileFault{TSoundFault::Unreadable, EISDIR};
  // A FIFO or a device would keep the open waiting, or never end.
  if (!info.isFile())
    return TSoundFileFault{TSoundFault::NotAFile};
  if (info.size() > LargestSoundFile)
    return TSoundFileFault{TSoundFault::TooLarge};
  QFile file(path);
  errno = 0;
  if (!file.open(QIODevice::ReadOnly)) {
    const int error = errno != 0 ? errno : file.error() == QFileDevice::PermissionsError ? EACCES : EIO;
    return TSoundFileFault{TSoundFault::Unreadable, error};
  }
  if (!IsWave(file))
    return TSoundFileFault{TSoundFault::NotWave};
  return std::nullopt;
}

void PlaySoundFile(const QString& path, const QString& fallback, TSoundFaultSink onFault) {
  const auto failed = [fallback, onFault](const TSoundFileFault& fault) {
    if (onFault)
      onFault(fault);
    if (!PlaySound(fallback))
      MessageBeep();
  };
  if (const std::optional<TSoundFileFault> fault = CheckSoundFile(path)) {
    failed(*fault);
    return;
  }
  OnLateRefusal = [failed] { failed({TSoundFault::Unplayable}); };
  switch (Hand(path, true)) {
  case TPlayed::Played:
    return;
  case TPlayed::NoOutput:
    OnLateRefusal = {};
    MessageBeep();
    return;
  case TPlayed::Refused:
    OnLateRefusal = {};
    failed({TSoundFault::Unplayable});
    return;
  }
}

void SetSoundPlayer(TSoundPlayer player) { SoundPlayerOverride = std::move(player); }

void Native::SoundFailedLate() {
  if (const std::function<void()> refused = std::exchange(OnLateRefusal, {}))
    refused();
}

// ---- Shell --------------------------------------------------------------------------------

bool ShellOpen(const QString& target) {
  if (ShellOpenerOverride)
    return ShellOpenerOverride(target);
  return Native::ShellOpen(target);
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
  return Native::SystemDefaultLangID();
}
QList<quint16> PreferredLangIDs() {
  if (LangIDSourceOverride)
    return {LangIDSourceOverride()};
  return Native::PreferredLangIDs();
}

void SetLangIDSource(std::function<quint16()> source) { LangIDSourceOverride = std::move(source); }

// ---- Settings -----------------------------------------------------------------------------

QByteArray SettingsFileName() {
  if (SettingsPathSourceOverride)
    return QFile::encodeName(SettingsPathSourceOverride());
  return Native::SettingsFileName();
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
  WriteText(stderr, shown + u'\n');
}

bool WriteText(std::FILE* stream, const QString& text, QString* reason) {
  errno = 0;
  bool written = false;
  if (const std::optional<bool> console = Native::WriteConsoleText(stream, text))
    written = *console;
  else
    written = std::fputs(Native::TerminalBytes(text).constData(), stream) >= 0 && std::fflush(stream) == 0 &&
              !std::ferror(stream);
  if (!written && reason)
    *reason = ErrorText(errno != 0 ? errno : EIO);
  return written;
}

void ExitNow(int status) { std::_Exit(status); }
void SetProblemSink(std::function<void(const QString& line)> sink) { ProblemSinkOverride = std::move(sink); }

// ---- Version ------------------------------------------------------------------------------

QString ProgramPath() { return QCoreApplication::applicationFilePath(); }

} // namespace Platform
