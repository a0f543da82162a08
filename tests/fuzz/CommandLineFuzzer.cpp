// Fuzz target: the command line. The first byte picks the locale's time separator, the rest
// is a command line handed over as one UTF-8 string. It is split, set as the program's
// arguments, and the plain arguments, the numbers, the time, the start switch and the
// requests for help or the version are read back and checked against what they must be.
#include "FuzzRequire.h"
#include "F_Steepo.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "Preset.h"
#include "Teas.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

namespace {

const QChar Separators[] = {u':', u'.', u'-', u'/', u' ', u'"', QChar(0), QChar(0x2236)};

bool IsSwitch(const QString& argument) {
  return argument.startsWith(u'-') || argument.startsWith(u'/');
}

bool IsAscii(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
}

bool IsSwitchNamed(const QString& argument, const char16_t* name) {
  return IsSwitch(argument) && IsAscii(argument) && QStringView(argument).mid(1).compare(name, Qt::CaseInsensitive) == 0;
}

// Which of arguments (without the program path) name teas: each that follows a tea switch,
// unless that switch names one itself.
QList<bool> TeaNames(const QStringList& arguments) {
  QList<bool> names(arguments.size() + 1, false);
  for (qsizetype i = 1; i < arguments.size(); ++i)
    names[i] = !names[i - 1] && IsSwitchNamed(arguments.at(i - 1), u"tea");
  return names;
}

// The number a text is, found another way: a sign, an optional hexadecimal prefix and the
// digits, converted by Qt.
std::optional<qint32> ReferenceInt32(const QString& text) {
  static const QRegularExpression number(QRegularExpression::anchoredPattern(
      QStringLiteral("[ \\t]*([+-]?)(\\$|0x|0X|x|X)?([0-9a-fA-F]+)")));
  const QRegularExpressionMatch match = number.match(text);
  if (!match.hasMatch())
    return std::nullopt;
  const bool hexadecimal = match.capturedLength(2) > 0;
  bool ok = false;
  const int value = (match.captured(1) + match.captured(3)).toInt(&ok, hexadecimal ? 16 : 10);
  return ok ? std::optional<qint32>(value) : std::nullopt;
}

void CheckArguments(const QStringList& arguments) {
  QStringList plain;
  for (const QString& argument : arguments) {
    Require(!argument.isEmpty(), "an empty argument");
    Require(!argument.contains(u'"'), "a quote left in an argument");
    Require(Preset::ParseInt32(argument) == ReferenceInt32(argument), "ParseInt32 differs");
    if (!IsSwitch(argument))
      plain << argument;
  }
  // The first few and the last (each look-up walks the arguments).
  for (qsizetype i = 0; i < plain.size(); i = i < 3 ? i + 1 : std::max(i + 1, plain.size() - 1))
    Require(OrbUtils::GetCmdParam(int(i + 1)) == plain.at(i), "plain argument out of order");
  Require(OrbUtils::GetCmdParam(0) == QStringLiteral("steepo"), "program path lost");
  Require(OrbUtils::GetCmdParam(int(plain.size()) + 1).isEmpty(), "a plain argument too many");
  Require(OrbUtils::GetCmdParam(-1).isEmpty(), "a negative index gave an argument");
}

void CheckSwitches(const QStringList& arguments) {
  bool start = false;
  bool information = false;
  const QList<bool> names = TeaNames(arguments);
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    start = start || (!names.at(i) && IsSwitchNamed(argument, u"start"));
    information = information || argument == u"--help" || argument == u"-h" || argument == u"--version";
  }
  Require(Preset::StartSwitch() == start, "start switch differs");
  const QStringList line = OrbUtils::CommandLine();
  Require(Preset::InformationRequest(line, QStringLiteral("1.2"), QString()).has_value() == information,
          "help or version request differs");
}

// The time: the first plain argument that is not the tea's name, or else the tea's, if the
// built-in list has one of that name.
void CheckStartTime(const QStringList& arguments, QChar separator) {
  F_Steepo::TimerState = {};
  F_Steepo::TimerState.TimeSeparator = separator;
  Teas::Current.Forget();
  Preset::ReadStartTime();
  const QList<bool> names = TeaNames(arguments);
  QString timeArgument;
  for (qsizetype i = 0; i < arguments.size() && timeArgument.isEmpty(); ++i)
    if (!names.at(i) && !IsSwitch(arguments.at(i)))
      timeArgument = arguments.at(i);
  const qsizetype teaName = names.indexOf(true);
  qint32 time = Preset::ParseTimeArgument(timeArgument, separator);
  if (time == 0 && teaName >= 0 && teaName < arguments.size())
    for (const Teas::TTea& tea : Teas::BuiltIn())
      if (tea.Name.compare(arguments.at(teaName), Qt::CaseInsensitive) == 0)
        time = qint32(tea.Time);
  Require(time >= 0 && time <= 3599, "time out of range");
  Require(F_Steepo::TimerState.CmdTime == time, "command-line time differs");
  Require(F_Steepo::TimerState.BrewTime == quint32(time != 0 ? time : 180), "brewing time differs");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // No store: only the command line decides the time.
  Platform::SetSettingsPathSource([] { return QString(); });
  Platform::SetProblemSink([](const QString& line) {
    Require(std::none_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 32; }),
            "a reported problem spans lines");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const QChar separator = Separators[data[0] % std::size(Separators)];
  const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const QStringList arguments = OrbUtils::SplitCommandLine(line);
  OrbUtils::SetCommandLine(QStringList{QStringLiteral("steepo")} + arguments);
  CheckArguments(arguments);
  CheckSwitches(arguments);
  CheckStartTime(arguments, separator);
  return 0;
}
