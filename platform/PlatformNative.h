#pragma once
// What each operating system gives the platform layer beneath the replaceable services: one
// source file per system defines these (Platform_unix.cpp, Platform_win.cpp); Platform.cpp puts
// the tests' replacements in front of them.

#include "Platform.h"

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
// Hands a sound to the system's player and returns at once: source is a resource path (":/...")
// or, when file, a file's path.
TPlayed PlaySound(const QString& source, bool file);
void StopSound();
void MessageBeep();
// Defined once for all systems (Platform.cpp): what the player calls, on the user-interface
// thread, when it refuses the sound it last took only once it has loaded it.
void SoundFailedLate();
// The settings file's name where the system keeps settings in files; empty where it does not.
QByteArray SettingsFileName();

} // namespace Platform::Native
