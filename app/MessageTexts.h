#pragma once
// Every line the program writes on its standard output and error streams, a row per language
// in the row order of the window's texts, chosen by the same language index: a third table
// beside MainTexts and DlgTexts, kept with the texts of the unit that writes them.

#include <QString>
#include <array>

namespace MessageTexts {

enum TMessage {
  mxUsage, mxPresetNowhere, mxPresetIn, mxIgnoringTime, mxReadAs, mxUnknownSwitch, mxDoubleStart,
  mxNoPresetFolder, mxPresetFileIs, mxAFolder, mxNotRegular, mxTooLarge, mxCannotStore, mxNoDisplay,
  mxWriteError, mxNotificationUnreached, mxEmptyArgument, mxTeaNameMissing, mxUnknownTea, mxTimeBesideTea,
  mxTeasDamaged, mxCannotReadTeas, mxCannotStoreTeas, mxNoTeasFolder, mxBusSilent, mxAccessibilitySilent,
  mxCannotKeepAwake,
  // not a line: the reason the program gives the system for keeping it awake
  mxKeepAwakeReason,
  // the alarm's sound file and options
  mxSoundFileFailed, mxNotWave, mxSoundTooLarge, mxUnplayable, mxAlarmOptionUnclear, mxCannotStoreAlarm, mxCount
};
extern const std::array<std::array<const char*, mxCount>, 8> Texts;

// The message in the row of the chosen language.
QString Text(TMessage message);

} // namespace MessageTexts
