#pragma once
// The language of the user interface, the texts of the dialogs and the about dialog.

#include <QString>
#include <array>

namespace OrbDialogs {

// The row of every text table: 0 English (and every language not listed), 1 Czech,
// 2 German, 3 Spanish, 4 Portuguese, 5 French, 6 Italian, 7 Russian.
extern quint8 LangIndex;

// Sets LangIndex from the primary language of the system's default language; any other
// language leaves it as it is.
void DetectLanguage();

// The texts of the dialogs, one row per language, in this column order.
enum TDlgText {
  dtError, dtInformation, dtWarning, dtConfirmation, dtAbout, dtVersion, dtFreeware,
  dtCopyright, dtWeb, dtEmail, dtOK
};
extern const std::array<std::array<const char*, 11>, 8> DlgTexts;
// The text of column in the row LangIndex, decoded from UTF-8.
QString DlgText(TDlgText column);

// The heading of the about dialog (empty: the application title) and the page name appended
// to the maker's web address in its web link.
extern QString AboutTitle;
extern QString WebPage;

// Builds the about dialog, shows it modally and destroys it again.
void ShowAbout();

} // namespace OrbDialogs
