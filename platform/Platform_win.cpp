// The platform layer's services on Windows, each through the system's own call: the 64-bit
// tick, the console's end events, the embedded WAVE resource, the shell, the system language,
// the locale's time separator, the foreground sequence and the application's identity.

#include "Platform.h"
#include "PlatformNative.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QWidget>

#include <cstdio>
#include <cstring>

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shobjidl.h>

// The layer's own PlaySound, not the system's macro for PlaySoundW.
#undef PlaySound

namespace Platform {

// ---- Time ---------------------------------------------------------------------------------

// Counts through sleep and hibernation, and at 64 bits never wraps (the 32-bit tick does after
// 49.7 days).
quint64 Native::TickCount() { return GetTickCount64(); }

// ---- Application ----------------------------------------------------------------------------

namespace {
BOOL WINAPI OnConsoleEnd(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
    return FALSE;
  // This runs on a thread of its own: the loop is ended from its own thread.
  if (QCoreApplication* application = QCoreApplication::instance())
    QMetaObject::invokeMethod(application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  return TRUE;
}
} // namespace

void EndOnTerminationSignals() { SetConsoleCtrlHandler(OnConsoleEnd, TRUE); }

void SetAppUserModelID(const QString& id) {
  const std::wstring name = id.toStdWString();
  SetCurrentProcessExplicitAppUserModelID(name.c_str());
}

namespace {
bool HasStream(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}
} // namespace

std::optional<bool> Native::WriteConsoleText(std::FILE* stream, const QString& text) {
  const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if ((stream != stdout && stream != stderr) || !GetConsoleMode(handle, &mode))
    return std::nullopt; // a file or a pipe takes the ANSI code page's bytes
  std::fflush(stream);
  DWORD written = 0;
  return WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr) && written == DWORD(text.size());
}

void UseParentConsole() {
  const bool hasOutput = HasStream(STD_OUTPUT_HANDLE), hasError = HasStream(STD_ERROR_HANDLE);
  if ((hasOutput && hasError) || !AttachConsole(ATTACH_PARENT_PROCESS))
    return; // redirected already, or started without a console (from the desktop)
  if (!hasOutput)
    std::freopen("CONOUT$", "w", stdout);
  if (!hasError)
    std::freopen("CONOUT$", "w", stderr);
}

// ---- Sound --------------------------------------------------------------------------------

namespace {
// The resource that carries a sound: a WAVE resource named as the file ("SOUND" for
// ":/sound/SOUND.wav").
std::wstring WaveResourceName(const QString& resource) {
  return QFileInfo(resource).completeBaseName().toUpper().toStdWString();
}
} // namespace

TPlayed Native::PlaySound(const QString& source, bool file) {
  constexpr DWORD Async = SND_ASYNC | SND_NODEFAULT;
  const std::wstring name = file ? source.toStdWString() : WaveResourceName(source);
  if (name.empty() || (!file && !FindResourceW(nullptr, name.c_str(), L"WAVE")))
    return TPlayed::Refused;
  if (waveOutGetNumDevs() == 0)
    return TPlayed::NoOutput;
  // Played asynchronously, a file's format that the system cannot play is not reported here:
  // it stays silent. The check before playing has ruled out what can be ruled out.
  const BOOL played = file ? PlaySoundW(name.c_str(), nullptr, SND_FILENAME | Async)
                           : PlaySoundW(name.c_str(), GetModuleHandleW(nullptr), SND_RESOURCE | Async);
  return played ? TPlayed::Played : TPlayed::Refused;
}

void Native::StopSound() { PlaySoundW(nullptr, nullptr, 0); }

void Native::MessageBeep() { ::MessageBeep(0); }

// ---- Shell --------------------------------------------------------------------------------

bool Native::ShellOpen(const QString& target) {
  const std::wstring file = target.toStdWString();
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(), L"", L"", SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

// ---- Locale -------------------------------------------------------------------------------

quint16 Native::SystemDefaultLangID() { return GetSystemDefaultLangID(); }
QList<quint16> Native::PreferredLangIDs() { return {GetSystemDefaultLangID()}; }

// The language comes with the system's own texts; the C library's are English.
void SetMessagesLanguage(QLocale::Language) {}
QString ErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A file or a pipe takes the ANSI code page's bytes.
QByteArray Native::TerminalBytes(const QString& text) { return text.toLocal8Bit(); }

QChar TimeSeparator() {
  wchar_t separator[4] = {};
  if (GetLocaleInfoW(GetThreadLocale(), LOCALE_STIME, separator, 4) < 2 || separator[0] == 0)
    return u':';
  return QChar(char16_t(separator[0]));
}

// ---- Settings -----------------------------------------------------------------------------

// There is no settings file: the registry keeps what the program stores.
QByteArray Native::SettingsFileName() { return {}; }

// ---- Foreground ---------------------------------------------------------------------------

namespace {
void BringToForeground(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}
} // namespace

void ForceForeground(QWidget* widget) {
  if (!widget)
    return;
  const HWND window = reinterpret_cast<HWND>(widget->winId());
  if (IsIconic(window))
    ShowWindow(window, SW_RESTORE);
  const HWND foreground = GetForegroundWindow();
  if (foreground == window)
    return;
  const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  bool done = false;
  if (AttachThreadInput(windowThread, foregroundThread, TRUE)) {
    BringToForeground(window);
    AttachThreadInput(windowThread, foregroundThread, FALSE);
    done = GetForegroundWindow() == window;
  }
  if (done)
    return;
  // The system refuses the foreground to a program the user is not working with while its
  // lock time-out runs; with the time-out at 0 for the moment it hands it over.
  DWORD timeout = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringToForeground(window);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)),
                        SPIF_SENDCHANGE);
}

} // namespace Platform
