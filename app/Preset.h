#pragma once
// Where the brewing time comes from: the first plain command-line argument, or the preset
// stored in the per-user settings; the start switch; and storing the preset back.

#include <QString>
#include <optional>

namespace Preset {

// A text as a signed 32-bit integer: leading blanks, an optional sign, then decimal digits or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing when the text is not wholly
// such a number or the number does not fit in 32 bits.
std::optional<qint32> ParseInt32(const QString& text);

// The seconds a time argument stands for (minutes, the separator, seconds), 1..3599; 0 when
// the argument has no separator, does not parse or lies outside that range.
qint32 ParseTimeArgument(const QString& argument, QChar separator);

// Sets CmdTime from the first plain argument and BrewTime from it, or else from the preset.
void ReadStartTime();
// True when an argument is "-START" or "/START" in any letter case.
bool StartSwitch();
// Stores BrewTime as the preset, unless the command line gave the time.
void StorePreset();

} // namespace Preset
