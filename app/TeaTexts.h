#pragma once
// The texts of the teas: the built-in teas' names, the window's menu, the alarm dialog's
// second button and the two dialogs of the teas, a row per language in the row order of the
// other tables, chosen by the same language index.

#include <QString>
#include <array>

namespace TeaTexts {

enum TTeaText {
  // the built-in teas
  ttGreenTea, ttOolong, ttBlackTea, ttHerbalTea, ttOolongGongfu,
  // the menu
  ttSaveTea, ttEditTeas, ttAbout,
  // the alarm dialog's second button: %1 the time, %2 the infusion, %3 of how many
  ttNextInfusion,
  // the editor: its caption and the table's headings
  ttTeas, ttName, ttTime, ttInfusions, ttExtra,
  // the editor's fields and buttons
  ttNameField, ttTimeField, ttInfusionsField, ttExtraField, ttAdd, ttRemove, ttUp, ttDown, ttOK, ttCancel,
  ttNewTea,
  // why an input is refused
  ttNoName, ttNameTooLong, ttControlCharacter, ttNameTaken, ttTimeRange, ttExtraRange, ttTooMany, ttKeepOne,
  // the dialog that saves the set time as a tea: its caption, the prompt (%1 the time)
  ttSaveTitle, ttSavePrompt,
  ttCount
};
extern const std::array<std::array<const char*, ttCount>, 8> Texts;

// The text in the row of the chosen language.
QString Text(TTeaText text);

} // namespace TeaTexts
