#pragma once
// Where the brewing time comes from: the first plain command-line argument, or the preset
// stored in the per-user settings file; the start switch; storing the preset back; and the
// answers to --help and --version.

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

// The settings file as the store finds it. Only a regular file (or a link to one) is ever
// opened: anything else, a FIFO above all, could block the program for good.
enum class TStoreKind { Absent, Regular, Other };
TStoreKind StoreKind(const QString& path);

// The preset held by the settings file at path: seconds from 1 to 3599, nothing for a file
// that is not regular, cannot be read, lacks the value or holds anything else there.
std::optional<quint32> ReadStore(const QString& path);

// What reading the store at start found, so that the file is written on exit only when the
// preset changed: a file whose preset could not be read is kept unless the user set a time.
struct TStoreState {
  bool Read = false;          // the store was consulted at start
  TStoreKind Kind = TStoreKind::Absent;
  quint32 StartTime = 0;      // BrewTime right after reading
};
extern TStoreState StoreState;

// Sets CmdTime from the first plain argument and BrewTime from it, or else from the preset.
// An argument that is no valid time, and a store that cannot be used, are reported in one line.
void ReadStartTime();
// True when an argument after the program path is the start switch.
bool StartSwitch();
// Stores BrewTime as the preset, unless the command line gave the time or nothing changed;
// a preset that cannot be stored is reported in one line.
void StorePreset();

// The text that --help or -h (usage) and --version ask for, the first of them that appears
// after the program path; nothing when neither does.
std::optional<QString> InformationRequest(const QStringList& arguments, const QString& version,
                                          const QString& settingsPath);

} // namespace Preset
