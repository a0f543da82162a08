#pragma once
// The platform layer: each service the timer, its dialogs and the indicator rely on, with
// the result the callers rely on, built on Qt. Nothing above this layer talks to the
// operating system directly.

#include <QEvent>
#include <QList>
#include <QLocale>
#include <QString>
#include <cstdio>
#include <functional>
#include <optional>

class QObject;
class QWidget;
class QKeyEvent;

namespace Platform {

// ---- Application --------------------------------------------------------------------------

// The application title ("Steepo" for this program), kept by the layer.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The main window, which owns the taskbar button; minimising or restoring the application
// minimises or restores it.
void SetMainWindow(QWidget* window);
QWidget* MainWindow();
void MinimizeApplication();
void RestoreApplication();

// Names the application to the Windows shell (its AppUserModelID), so that the taskbar button,
// its jump list and the Start-menu shortcut of the same ID belong together. Called before the
// first window is shown. Elsewhere the desktop file's name serves, and nothing happens.
void SetAppUserModelID(const QString& id);

// Ends the message loop, as closing the main window would (so the program stores what it
// stores on exit), when the process is asked to terminate (SIGTERM, SIGINT, SIGHUP). A second
// such signal ends the process at once, however busy or stuck it is.
void EndOnTerminationSignals();

// Gives a program started from a console, but without one of its own (a window program on
// Windows), that console for its standard output and error, so that --help and the one-line
// reports are seen; streams already redirected to a file or a pipe are kept. Elsewhere the
// streams are the parent's already and nothing changes.
void UseParentConsole();
// Writes text to standard output or error in the character set of the user's locale (a
// character it cannot show becomes "?"), or as characters to a console; false when the write or its flush fails (a full disk, a closed pipe), with the
// system's words for the failure in *reason when given.
bool WriteText(std::FILE* stream, const QString& text, QString* reason = nullptr);
// Ends the process at once with status: no destructor runs and nothing more is flushed. For a
// start-up that cannot go on, where an orderly end would only reach the same verdict later.
[[noreturn]] void ExitNow(int status);

// Dispatches waiting timer, input and posted events before it returns.
void ProcessMessages();

// ---- Messages -----------------------------------------------------------------------------

// A posted window message: its type is the message's number, carrying the two parameters.
class TMessageEvent : public QEvent {
public:
  TMessageEvent(int message, qintptr wParam, qintptr lParam)
      : QEvent(static_cast<QEvent::Type>(message)), WParam(wParam), LParam(lParam) {}
  const qintptr WParam;
  const qintptr LParam;
};
// Queues the message behind those already waiting; it is handled later by target's event().
void PostMessage(QObject* target, int message, qintptr wParam, qintptr lParam);

// ---- Keys ---------------------------------------------------------------------------------

// The virtual-key codes of the keys that VirtualKeyCode knows; letters and digits are their
// upper-case ASCII codes, the numeric pad's digits follow vkNumpad0, F2 to F24 follow vkF1.
enum TVirtualKey : int {
  vkBack = 0x08, vkTab = 0x09, vkReturn = 0x0D, vkShift = 0x10, vkControl = 0x11, vkMenu = 0x12,
  vkPause = 0x13, vkEscape = 0x1B, vkSpace = 0x20, vkPrior = 0x21, vkNext = 0x22, vkEnd = 0x23,
  vkHome = 0x24, vkLeft = 0x25, vkUp = 0x26, vkRight = 0x27, vkDown = 0x28, vkInsert = 0x2D,
  vkDelete = 0x2E, vkNumpad0 = 0x60, vkMultiply = 0x6A, vkAdd = 0x6B, vkSubtract = 0x6D,
  vkDecimal = 0x6E, vkDivide = 0x6F, vkF1 = 0x70, vkOemPlus = 0xBB, vkOemComma = 0xBC,
  vkOemMinus = 0xBD, vkOemPeriod = 0xBE, vkOem2 = 0xBF
};

// The virtual-key code of a key press (Page Up vkPrior, Page Down vkNext, the numeric pad's
// plus vkAdd and minus vkSubtract, F1 vkF1, Enter vkReturn, ...); 0 for keys without one.
int VirtualKeyCode(const QKeyEvent& event);

// ---- Time ---------------------------------------------------------------------------------

// Milliseconds since an arbitrary start, counting through suspend, 64 bits wide (no wrap).
using TTickSource = std::function<quint64()>;
quint64 TickCount();
// Tests replace the clock and the wait; an empty function restores the real one.
void SetTickSource(TTickSource source);
using TSleeper = std::function<void(int milliseconds)>;
void Sleep(int milliseconds);
void SetSleeper(TSleeper sleeper);

// ---- Sound --------------------------------------------------------------------------------

// Starts the sound from a resource path (":/...") and returns at once; false when it cannot
// be loaded or played. The player is created on first use.
bool PlaySound(const QString& resource);
// Stops the sound that PlaySound or PlaySoundFile started, if it still plays.
void StopSound();
// The default system beep.
void MessageBeep();

// Why a sound file of the user's is not played: it cannot be opened or read (Error is the
// errno), it is not a regular file, not a RIFF WAVE file, larger than LargestSoundFile, or
// the player refuses what it holds.
enum class TSoundFault { Unreadable, NotAFile, NotWave, TooLarge, Unplayable };
struct TSoundFileFault {
  TSoundFault Fault = TSoundFault::Unreadable;
  int Error = 0;
  bool operator==(const TSoundFileFault&) const = default;
};
// The largest sound file played: the player holds all of it in memory.
constexpr qint64 LargestSoundFile = qint64(64) << 20;
// What PlaySoundFile finds wrong with the file before it hands it to the player; nothing for a
// regular file of a RIFF WAVE with a format and a data chunk. Never waits on a FIFO or reads
// more than the chunks' headers.
std::optional<TSoundFileFault> CheckSoundFile(const QString& path);
// Starts the WAV file at path and returns at once. A file that fails, before it plays or once
// the player has loaded it, is said to onFault once, and fallback (a resource path) plays
// instead; the system beep where that cannot play either. Where there is no sound output at
// all the file is not at fault: the beep sounds and onFault is not called.
using TSoundFaultSink = std::function<void(const TSoundFileFault& fault)>;
void PlaySoundFile(const QString& path, const QString& fallback, TSoundFaultSink onFault);

// The player's answer to a sound handed to it.
enum class TPlayed { Played, NoOutput, Refused };
// Tests hear the sounds instead of the speakers: source is the resource path or the file's
// path handed to the player, or empty for the system beep (whose answer is not asked). An
// empty function restores the real player.
using TSoundPlayer = std::function<TPlayed(const QString& source)>;
void SetSoundPlayer(TSoundPlayer player);

// ---- Shell --------------------------------------------------------------------------------

// Opens a web or mail address (or a file) with the desktop's opener; true when it was handed
// over. Never goes through a shell command line.
using TShellOpener = std::function<bool(const QString& target)>;
bool ShellOpen(const QString& target);
void SetShellOpener(TShellOpener opener);

// ---- Locale -------------------------------------------------------------------------------

// The system's default language as a platform language identifier: the low byte is the
// primary language (Czech 0x05, German 0x07, English 0x09, Spanish 0x0A, French 0x0C, Italian
// 0x10, Portuguese 0x16, Russian 0x19, ...); 0 when unknown.
quint16 SystemDefaultLangID();
// The platform's primary-language number of a language (the only table of them); 0 for one
// it has none for.
quint16 PrimaryLanguageID(QLocale::Language language);
// The languages the user asks for, most wanted first, as the same identifiers: on Windows the
// system's default language; elsewhere, as gettext reads the environment, the entries of
// LANGUAGE that name a language (unless the locale is C or POSIX), then the locale's.
QList<quint16> PreferredLangIDs();
// Tests fake the locale (both of the above); an empty function restores the system's.
void SetLangIDSource(std::function<quint16()> source);
// The language the program's messages are in, for ErrorText.
void SetMessagesLanguage(QLocale::Language language);
// The time separator of the user's locale: the character between hours and minutes of its
// time format, ":" where it gives none.
QChar TimeSeparator();

// ---- Foreground ---------------------------------------------------------------------------

// Restores window when minimised, raises and activates it; where the window system refuses
// activation, marks it as wanting attention.
void ForceForeground(QWidget* window);

// ---- Settings -----------------------------------------------------------------------------

// The file that keeps the program's one value: Varnak/Steepo.conf in the user's configuration
// folder ($XDG_CONFIG_HOME, else $HOME/.config). Empty when there is no usable one: neither
// variable names an absolute folder (a HOME that does not exist counts as none), so that
// nothing is ever written at the filesystem's root. Tests supply their own path.
QString SettingsPath();
QString SettingsPathFor(const QString& home, const QString& configHome);
void SetSettingsPathSource(std::function<QString()> source);
// The same path as the bytes the file system knows it by: a HOME or XDG_CONFIG_HOME that is
// not valid UTF-8 is used as it is (a QString could not carry it back).
QByteArray SettingsFileName();
QByteArray SettingsFileNameFor(const QByteArray& home, const QByteArray& configHome);

// ---- Diagnostics --------------------------------------------------------------------------

// The system's words for an error number (errno): in the messages' language where the C
// library has them in it, in English otherwise.
QString ErrorText(int error);
// Writes one line to the standard error stream (control characters are shown as "?", so a
// line stays one line). Tests collect the lines instead.
void ReportProblem(const QString& line);
void SetProblemSink(std::function<void(const QString& line)> sink);

// ---- Version ------------------------------------------------------------------------------

// The fixed version information stored in a program file: the four version numbers and the
// flags (already masked). Valid is false for a file without it or one that cannot be read.
struct TFileVersionInfo {
  bool Valid = false;
  quint16 Major = 0, Minor = 0, Release = 0, Build = 0;
  quint32 Flags = 0;
};
TFileVersionInfo ReadFileVersionInfo(const QString& path);

// The path of the running program file.
QString ProgramPath();

} // namespace Platform
