#pragma once
// Where the brewing time comes from: the first plain command-line argument, or the preset
// stored in the per-user settings file; the start switch; storing the preset back; and the
// answers to --help and --version.

#include "PresetStore.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace Preset {

// A text as a signed 32-bit integer: leading blanks, an optional sign, then decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing when the text is not wholly
// such a number or the number does not fit in 32 bits.
std::optional<qint32> ParseInt32(const QString& text);

// The seconds a time argument stands for (minutes, ":" or the locale's separator, seconds),
// 1..3599; 0 when the argument has neither separator, does not parse or lies outside that range.
qint32 ParseTimeArgument(const QString& argument, QChar separator);

// True for "-START" or "/START" with the letters in any ASCII case ("-ſtart" is no switch).
bool IsStartSwitch(const QString& argument);
// True for "-TEA" or "/TEA", in any ASCII case: the next argument names a tea.
bool IsTeaSwitch(const QString& argument);
// For each of arguments (program path first), whether it names a tea: it follows a tea switch
// that is not itself a name ("-tea -tea" names "-tea"), whatever it looks like.
QList<bool> TeaNames(const QStringList& arguments);
// Where the name of the tea to choose stands: after the first tea switch; -1 without a tea
// switch; arguments.size() when the switch is the last argument.
qsizetype TeaNameIndex(const QStringList& arguments);
// The argument that may be a time: the first plain argument, as GetCmdParam(1) gives it,
// except that a tea's name is never taken for one.
QString TimeArgument(const QStringList& arguments);

// True for a time that reads as it is taken: one or two minute digits, ":" or separator, and
// two digits of seconds below 60.
bool IsPlainTime(const QString& argument, QChar separator);
// The line that names a switch other than the start switch (and points "--start" to
// "-start"); nothing for the start switch and for a plain argument.
std::optional<QString> UnknownSwitchLine(const QString& argument);
// The line about the time argument taken as seconds (0: ignored): that it was ignored, or how
// it was read when that is not what it plainly says ("4:abc" as 4:00, "2:75" as 3:15).
std::optional<QString> TimeReadingLine(const QString& argument, QChar separator, qint32 seconds);

// What reading the store at start found, so that the file is written on exit only when the
// preset changed: a file whose preset could not be read is kept unless the user set a time.
struct TStoreState {
  bool Read = false;          // the store was consulted at start
  Platform::TStoreKind Kind = Platform::TStoreKind::Absent;
  quint32 StartTime = 0;      // BrewTime right after reading
};
extern TStoreState StoreState;

// Sets CmdTime from the first plain argument and BrewTime from it, or else from the tea that
// the tea switch names, or else from the preset. A tea so chosen counts as a time given on
// the command line: the preset is left alone. Each unknown switch, a time argument that is
// ignored or not read as it plainly says, a tea switch that names no tea or stands beside a
// time, and a store that cannot be used are reported in one line each.
void ReadStartTime();
// True when an argument after the program path is the start switch (a tea's name is none).
bool StartSwitch();
// Stores BrewTime as the preset, unless the command line gave the time or nothing changed;
// a preset that cannot be stored is reported in one line.
void StorePreset();

// The text that --help or -h (usage) and --version ask for, the first of them that appears
// after the program path; nothing when neither does.
std::optional<QString> InformationRequest(const QStringList& arguments, const QString& version,
                                          const QString& settingsPath);

} // namespace Preset
