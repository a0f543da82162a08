#pragma once
// The taskbar button's jump list on Windows: the teas as tasks, each a link that starts the
// program on one of them. Elsewhere the desktop entry's actions are fixed, and writing the
// list does nothing.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#ifdef Q_OS_WIN
struct ICustomDestinationList;
#endif

namespace Platform::JumpList {

// One task: its title, and the arguments the program is started with.
struct TTask {
  QString Title;
  QStringList Arguments;
  bool operator==(const TTask&) const = default;
};

// An argument as the system's command-line splitting gives it back whole: as it is when it
// has no blank or quote, otherwise in double quotes, each quote in it after a backslash and
// the backslashes before a quote, or before the closing one, doubled.
QString QuoteArgument(const QString& argument);
// The arguments, so quoted, as one command line.
QString CommandLine(const QStringList& arguments);

// Makes tasks the user tasks of the program's jump list. The shell is called on a thread of
// its own, so nothing here waits for it; a later call takes the place of one not yet begun. A
// failure is one line in the debug output and changes nothing else.
void Write(const QList<TTask>& tasks);
// Waits until what Write was asked for is done (tests).
void Flush();

#ifdef Q_OS_WIN
// ---- The seam of the shell's calls --------------------------------------------------------

// Where the tasks go: the shell's destination list, or one that a test puts in front. The
// source hands over a reference of its own; an empty source brings the shell's back.
using TListSource = std::function<ICustomDestinationList*()>;
void SetListSource(TListSource source);
// Writes tasks on the calling thread (in a COM apartment of its own if it has none): a link to the running
// program per task, with its arguments, its title and the program's icon, as the user tasks
// of the list. False, with the call that failed and its result in *failure, leaves the list as
// it was.
bool WriteNow(const QList<TTask>& tasks, QString* failure);
// Where the debug line of a failure goes; an empty sink: the debugger's output.
void SetDebugSink(std::function<void(const QString& line)> sink);
#endif

} // namespace Platform::JumpList
