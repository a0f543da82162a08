#pragma once
// What each operating system gives the platform layer beneath the replaceable services: one
// source file per system defines these (Platform_unix.cpp, Platform_win.cpp); Platform.cpp puts
// the tests' replacements in front of them.

#include <QList>
#include <QString>

#include <cstdio>
#include <optional>

namespace Platform::Native {

quint64 TickCount();
bool ShellOpen(const QString& target);
quint16 SystemDefaultLangID();
QList<quint16> PreferredLangIDs();
// Text as the bytes a terminal of the user's locale shows: its character set, "?" for what it
// cannot show.
QByteArray TerminalBytes(const QString& text);
// Writes text to the stream when it is a console that takes characters rather than bytes (a
// Windows console, whose code page is not the program's); nothing when it is not one.
std::optional<bool> WriteConsoleText(std::FILE* stream, const QString& text);
// The settings file's name where the system keeps settings in files; empty where it does not.
QByteArray SettingsFileName();

} // namespace Platform::Native
