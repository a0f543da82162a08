#pragma once
// Small shared functions: the program's version, opening a web or mail address, forcing a
// window into the foreground and picking a plain command-line argument.

#include <QString>
#include <QStringList>

class QWidget;

namespace OrbUtils {

// The version of the program file at path as four numbers joined by dots, and its flags;
// the empty text for a file without version information.
QString FileVersionEx(const QString& path, quint32& flags);
QString FileVersion(const QString& path);
// The text up to its second "."; the whole text when it has fewer than two.
QString ShortVersion(const QString& version);

// Hands target to the desktop's opener; the platform's result (above 32 means opened).
int ShellOpen(const QString& target);
// False without calling the opener when target is blank; otherwise whether it was opened.
bool OpenDocument(const QString& target);

// Restores, raises and activates the window, even while another program is active.
void ForceForeground(QWidget* window);

// The command line the program was started with, program path first. main() sets it from
// the arguments it was given; tests set their own.
void SetCommandLine(const QStringList& arguments);
QStringList CommandLine();
// Index 0: the program path; index >= 1: that plain (non-switch) argument, counting from 1;
// the empty text otherwise. A switch begins with "-" or "/"; an empty argument does not count.
QString GetCmdParam(int index);

// Splits a command line handed over as one string: characters up to 32 (blanks and control
// characters) separate arguments, double quotes group and are removed, and an empty pair of
// quotes between arguments is skipped. Where the platform hands over the arguments already
// split, they are taken as they are.
QStringList SplitCommandLine(const QString& commandLine);

} // namespace OrbUtils
