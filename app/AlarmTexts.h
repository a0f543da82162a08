#pragma once
// The texts of the alarm's options: the window menu's items and submenus, the file dialog
// that chooses a sound, and the warning before the end, a row per language in the row order
// of the other tables, chosen by the same language index.

#include <QString>
#include <array>

namespace AlarmTexts {

enum TAlarmText {
  // the menu
  atSound, atChime, atBell, atSoftBeep, atSilent, atChooseFile, atRepeat, atWarn, atWarnOff,
  atSeconds,  // %1 seconds, as the warning's submenu lists them
  atKeepAwake,
  // the file dialog: its caption and its filter
  atChooseTitle, atWavFiles,
  // the warning: %1 seconds, in the language's forms for one, a few and many
  atReadyInOne, atReadyInFew, atReadyInMany,
  atCount
};
extern const std::array<std::array<const char*, atCount>, 8> Texts;

// The text in the row of the chosen language.
QString Text(TAlarmText text);

// "Ready in 30 seconds", with the form of the word that the number takes in the chosen
// language.
QString ReadyIn(quint32 seconds);

} // namespace AlarmTexts
