#pragma once
// What each operating system gives the platform layer beneath the replaceable services: one
// source file per system defines these (Platform_unix.cpp, Platform_win.cpp); Platform.cpp puts
// the tests' replacements in front of them.

#include <QString>

namespace Platform::Native {

quint64 TickCount();
bool ShellOpen(const QString& target);
quint16 SystemDefaultLangID();

} // namespace Platform::Native
