#include "Preset.h"

#include "F_Steepo.h"
#include "MessageTexts.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "Teas.h"

#include <QFileInfo>
#include <algorithm>

namespace Preset {

TStoreState StoreState;

using Platform::TStoreKind;
using namespace MessageTexts;

namespace {

int DigitValue(QChar c, int base) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (base == 16 && u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (base == 16 && u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

void ReportUnusableStore(const QString& path) {
  if (path.isEmpty()) {
    Platform::ReportProblem(Text(mxNoPresetFolder));
    return;
  }
  // A regular file that is no usable store is one too large to be read.
  const QFileInfo info(path);
  const QString what = info.isDir()    ? Text(mxAFolder)
                       : info.isFile() ? Text(mxTooLarge).arg(info.size())
                                       : Text(mxNotRegular);
  Platform::ReportProblem(Text(mxPresetFileIs).arg(path, what));
}

void WriteStore(const QString& location, quint32 seconds) {
  QString reason;
  if (!Platform::WritePreset(seconds, &reason))
    Platform::ReportProblem(Text(mxCannotStore).arg(location, reason));
}

bool IsSwitch(const QString& argument) { return argument.startsWith(u'-') || argument.startsWith(u'/'); }

// "-" or "/" and then name, its letters in any ASCII case: Unicode folding would take the
// long s or the Kelvin sign for a letter.
bool IsSwitchNamed(const QString& argument, QStringView name) {
  if (argument.size() != name.size() + 1 || !IsSwitch(argument))
    return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = argument.at(i + 1).unicode(), upper = name.at(i).unicode();
    if (c != upper && c != upper + (u'a' - u'A'))
      return false;
  }
  return true;
}

// The teas' names as the lines list them: quoted, as they may hold commas.
QString TeaNames() {
  QStringList names;
  for (const Teas::TTea& tea : Teas::Current.List())
    names << QStringLiteral("\"%1\"").arg(tea.Name);
  return names.join(QStringLiteral(", "));
}

// The tea that the tea switch names becomes the chosen one, with its time, unless a time
// given beside it wins.
void ChooseTea(const QStringList& arguments, qsizetype at, const QString& timeArgument) {
  if (at >= arguments.size() || arguments.at(at).isEmpty()) {
    Platform::ReportProblem(Text(mxTeaNameMissing).arg(TeaNames()));
    return;
  }
  const QString& name = arguments.at(at);
  if (F_Steepo::TimerState.CmdTime != 0) {
    Platform::ReportProblem(Text(mxTimeBesideTea).arg(timeArgument, name));
    return;
  }
  const Teas::TTeaList& teas = Teas::Current.List();
  const qsizetype index = Teas::IndexOf(teas, name);
  if (index < 0) {
    Platform::ReportProblem(Text(mxUnknownTea).arg(name, TeaNames()));
    return;
  }
  F_Steepo::TimerState.Tea = teas.at(index);
  F_Steepo::TimerState.CmdTime = qint32(teas.at(index).Time);
}

QString UsageText(const QString& settingsPath) {
  const QString where = settingsPath.isEmpty() ? Text(mxPresetNowhere) : Text(mxPresetIn).arg(settingsPath);
  return Text(mxUsage).arg(where);
}

} // namespace

namespace {
// A text read as ParseInt32 reads it: a number, no number at all, or a number too large.
enum class TNumber { Number, NotANumber, TooLarge };
TNumber ReadInt32(const QString& text, qint32* result) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
    ++i;
  bool negative = false;
  if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
    negative = text.at(i++) == u'-';
  int base = 10;
  if (i < n && (text.at(i) == u'$' || text.at(i) == u'x' || text.at(i) == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == n)
    return TNumber::NotANumber;
  // The magnitude may reach 2^31 only for a negative number.
  const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
  qint64 value = 0;
  bool tooLarge = false;
  for (; i < n; ++i) {
    const int digit = DigitValue(text.at(i), base);
    if (digit < 0)
      return TNumber::NotANumber;
    value = std::min(value * base + digit, limit + 1);
    tooLarge = tooLarge || value > limit;
  }
  if (tooLarge)
    return TNumber::TooLarge;
  *result = qint32(negative ? -value : value);
  return TNumber::Number;
}
} // namespace

std::optional<qint32> ParseInt32(const QString& text) {
  qint32 value = 0;
  if (ReadInt32(text, &value) != TNumber::Number)
    return std::nullopt;
  return value;
}

qint32 ParseTimeArgument(const QString& argument, QChar separator) {
  const auto isSeparator = [separator](QChar c) { return c == u':' || c == separator; };
  const qsizetype at = std::find_if(argument.begin(), argument.end(), isSeparator) - argument.begin();
  if (at == argument.size())
    return 0;
  qint32 minutes = 0, seconds = 0;
  const TNumber minutesRead = ReadInt32(argument.left(at), &minutes);
  const TNumber secondsRead = ReadInt32(argument.mid(at + 1), &seconds);
  // Text that is no number counts as 0; a number beyond what 32 bits hold makes no time at all.
  if (minutesRead == TNumber::TooLarge || secondsRead == TNumber::TooLarge)
    return 0;
  // Computed wide, so that huge minutes cannot wrap round into the valid range.
  const qint64 total = qint64(minutes) * 60 + seconds;
  return total >= 1 && total <= 3599 ? qint32(total) : 0;
}

bool IsStartSwitch(const QString& argument) { return IsSwitchNamed(argument, u"START"); }

bool IsTeaSwitch(const QString& argument) { return IsSwitchNamed(argument, u"TEA"); }

QList<bool> TeaNames(const QStringList& arguments) {
  QList<bool> names(arguments.size(), false);
  for (qsizetype i = 2; i < arguments.size(); ++i)
    names[i] = !names[i - 1] && IsTeaSwitch(arguments.at(i - 1));
  return names;
}

qsizetype TeaNameIndex(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (IsTeaSwitch(arguments.at(i)))
      return i + 1;
  return -1;
}

QString TimeArgument(const QStringList& arguments) {
  if (TeaNameIndex(arguments) < 0)
    return OrbUtils::GetCmdParam(1);
  const QList<bool> names = TeaNames(arguments);
  // An empty argument is none, as for GetCmdParam.
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (!IsSwitch(arguments.at(i)) && !arguments.at(i).isEmpty() && !names.at(i))
      return arguments.at(i);
  return {};
}

bool IsPlainTime(const QString& argument, QChar separator) {
  const auto digit = [&argument](qsizetype i) { return argument.at(i) >= u'0' && argument.at(i) <= u'9'; };
  const qsizetype n = argument.size();
  if (n < 4 || n > 5 || !digit(0) || !digit(n - 2) || !digit(n - 1) || argument.at(n - 2) > u'5')
    return false;
  const QChar between = argument.at(n - 3);
  return (n == 4 || digit(1)) && (between == u':' || between == separator);
}

std::optional<QString> UnknownSwitchLine(const QString& argument) {
  if (!IsSwitch(argument) || IsStartSwitch(argument) || IsTeaSwitch(argument))
    return std::nullopt;
  // "--start" and the like: one leading character too many.
  if (IsStartSwitch(argument.mid(1)))
    return Text(mxDoubleStart).arg(argument);
  return Text(mxUnknownSwitch).arg(argument);
}

std::optional<QString> TimeReadingLine(const QString& argument, QChar separator, qint32 seconds) {
  if (seconds == 0)
    return Text(mxIgnoringTime).arg(argument);
  if (IsPlainTime(argument, separator))
    return std::nullopt;
  return Text(mxReadAs).arg(argument, QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

void ReadStartTime() {
  const QStringList arguments = OrbUtils::CommandLine();
  const qsizetype teaName = TeaNameIndex(arguments);
  const QList<bool> names = TeaNames(arguments);
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (const auto line = UnknownSwitchLine(arguments.at(i)); line && !names.at(i))
      Platform::ReportProblem(*line);
  if (std::any_of(arguments.begin() + std::min<qsizetype>(1, arguments.size()), arguments.end(),
                  [](const QString& argument) { return argument.isEmpty(); }))
    Platform::ReportProblem(Text(mxEmptyArgument));
  const QString argument = TimeArgument(arguments);
  if (!argument.isEmpty()) {
    const QChar separator = F_Steepo::TimerState.TimeSeparator;
    F_Steepo::TimerState.CmdTime = ParseTimeArgument(argument, separator);
    if (const auto line = TimeReadingLine(argument, separator, F_Steepo::TimerState.CmdTime))
      Platform::ReportProblem(*line);
  }
  if (teaName >= 0)
    ChooseTea(arguments, teaName, argument);
  if (F_Steepo::TimerState.CmdTime != 0) {
    F_Steepo::TimerState.BrewTime = quint32(F_Steepo::TimerState.CmdTime);
    return;
  }
  // Every failure of the store leaves the time as it is.
  const QString location = Platform::PresetLocation();
  StoreState = {true, location.isEmpty() ? TStoreKind::Other : Platform::PresetStoreKind(), 0};
  if (StoreState.Kind == TStoreKind::Other)
    ReportUnusableStore(location);
  else if (const auto stored = Platform::ReadPreset())
    F_Steepo::TimerState.BrewTime = *stored;
  StoreState.StartTime = F_Steepo::TimerState.BrewTime;
}

bool StartSwitch() {
  const QStringList arguments = OrbUtils::CommandLine();
  const QList<bool> names = TeaNames(arguments);
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (IsStartSwitch(arguments.at(i)) && !names.at(i))
      return true;
  return false;
}

void StorePreset() {
  if (F_Steepo::TimerState.CmdTime != 0)
    return;
  const QString location = Platform::PresetLocation();
  const TStoreKind kind = location.isEmpty() ? TStoreKind::Other : Platform::PresetStoreKind();
  if (kind == TStoreKind::Other) {
    if (!StoreState.Read || StoreState.Kind != TStoreKind::Other)
      ReportUnusableStore(location);  // not said at start already
    return;
  }
  // An existing file is rewritten only for a time the user changed, so that a file whose
  // preset is the same, or could not be read, keeps every byte.
  const bool changed = !StoreState.Read || F_Steepo::TimerState.BrewTime != StoreState.StartTime;
  if (!changed && kind == TStoreKind::Regular)
    return;
  WriteStore(location, F_Steepo::TimerState.BrewTime);
}

std::optional<QString> InformationRequest(const QStringList& arguments, const QString& version,
                                          const QString& settingsPath) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument == u"--version")
      return QStringLiteral("Steepo %1\n").arg(version);
    if (argument == u"--help" || argument == u"-h")
      return UsageText(settingsPath);
  }
  return std::nullopt;
}

} // namespace Preset
