#include "JumpList.h"

#include <algorithm>

namespace Platform::JumpList {

QString QuoteArgument(const QString& argument) {
  const auto plain = [](QChar c) { return c != u' ' && c != u'\t' && c != u'\n' && c != u'\v' && c != u'"'; };
  if (!argument.isEmpty() && std::all_of(argument.begin(), argument.end(), plain))
    return argument;
  // Backslashes are plain characters except before a quote, where each pair stands for one.
  QString quoted(1, u'"');
  qsizetype backslashes = 0;
  for (const QChar c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    quoted += QString(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\') + c;
    backslashes = 0;
  }
  return quoted + QString(2 * backslashes, u'\\') + u'"';
}

QString CommandLine(const QStringList& arguments) {
  QStringList quoted;
  for (const QString& argument : arguments)
    quoted << QuoteArgument(argument);
  return quoted.join(u' ');
}

} // namespace Platform::JumpList
