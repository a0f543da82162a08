#include "OrbUtils.h"

#include "Platform.h"

#include <QWidget>

namespace OrbUtils {

namespace {
QStringList Arguments;

bool IsSwitch(const QString& argument) {
  return argument.startsWith(u'-') || argument.startsWith(u'/');
}

// Blanks and control characters: every code unit up to 32.
bool IsBlank(QChar c) { return c.unicode() <= 32; }
} // namespace

QString FileVersionEx(const QString& path, quint32& flags) {
  flags = 0;
  const Platform::TFileVersionInfo info = Platform::ReadFileVersionInfo(path);
  if (!info.Valid)
    return {};
  flags = info.Flags;
  return QStringLiteral("%1.%2.%3.%4").arg(info.Major).arg(info.Minor).arg(info.Release).arg(info.Build);
}

QString FileVersion(const QString& path) {
  quint32 flags = 0;
  return FileVersionEx(path, flags);
}

QString ShortVersion(const QString& version) {
  const qsizetype first = version.indexOf(u'.');
  if (first < 0)
    return version;
  const qsizetype second = version.indexOf(u'.', first + 1);
  return second < 0 ? version : version.left(second);
}

int ShellOpen(const QString& target) {
  // The shell's convention: a result above 32 means the target was opened.
  return Platform::ShellOpen(target) ? 42 : 2;
}

bool OpenDocument(const QString& target) {
  qsizetype first = 0, last = target.size();
  while (first < last && IsBlank(target.at(first)))
    ++first;
  while (last > first && IsBlank(target.at(last - 1)))
    --last;
  if (first == last)
    return false;
  return static_cast<unsigned>(ShellOpen(target)) > 32;
}

void ForceForeground(QWidget* window) { Platform::ForceForeground(window); }

void SetCommandLine(const QStringList& arguments) { Arguments = arguments; }
QStringList CommandLine() { return Arguments; }

QString GetCmdParam(int index) {
  if (index == 0)
    return Arguments.value(0);
  if (index < 0 || Arguments.size() < 2)
    return {};
  int plain = 0;
  for (qsizetype i = 1; i < Arguments.size(); ++i) {
    // An empty argument is none, as an empty pair of quotes is none on a command line.
    if (IsSwitch(Arguments.at(i)) || Arguments.at(i).isEmpty())
      continue;
    if (++plain == index)
      return Arguments.at(i);
  }
  return {};
}

QStringList SplitCommandLine(const QString& commandLine) {
  // Blanks and control characters separate arguments; double quotes group and are removed;
  // an empty pair of quotes between arguments is no argument at all.
  QStringList result;
  qsizetype i = 0;
  const qsizetype n = commandLine.size();
  while (i < n) {
    while (i < n && IsBlank(commandLine.at(i)))
      ++i;
    if (i >= n)
      break;
    QString argument;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(commandLine.at(i)))) {
      const QChar c = commandLine.at(i++);
      if (c == u'"')
        quoted = !quoted;
      else
        argument += c;
    }
    if (!argument.isEmpty())
      result << argument;
  }
  return result;
}

} // namespace OrbUtils
