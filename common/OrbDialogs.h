#pragma once
// The language of the user interface, the texts of the dialogs and the about dialog.

#include <QColor>
#include <QDialog>
#include <QPalette>
#include <QString>
#include <array>

namespace OrbDialogs {

// The row of every text table: 0 English (and every language not listed), 1 Czech,
// 2 German, 3 Spanish, 4 Portuguese, 5 French, 6 Italian, 7 Russian.
extern quint8 LangIndex;

// Sets LangIndex from the first language the user asks for that has a row (on Windows the
// system's default language); English, or no such language at all, leaves it as it is. The
// platform learns the language of the messages from it.
void DetectLanguage();
// The row for a platform language identifier (low byte: the primary language), or current
// when that language has no row of its own.
quint8 LanguageIndexFor(quint16 langID, quint8 current);

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

// The about dialog's version line for the program file at path: the version word, a space
// and the file's version; empty when the file has no version.
QString AboutVersionLine(const QString& programPath);
// The about dialog's copyright line: the copyright word, the author, and the year in which the
// file at programPath was last modified (links followed); the current year when that time
// cannot be read.
QString AboutCopyrightLine(const QString& programPath);
// The web link: the maker's web address, with "/" and WebPage appended when WebPage is set.
QString AboutWebAddress();
// The author's mail address.
QString AboutEmailAddress();

// How well two colours stand apart: from 1 (the same brightness) to 21 (black and white).
double Contrast(const QColor& a, const QColor& b);
// The colour of a link on a window of palette: blue where it stands out well enough against
// the window colour, otherwise the palette's link colour where that does, otherwise blue made
// just light enough (on a dark window) or dark enough (on a middle one) to stand out.
QColor LinkColor(const QPalette& palette);

} // namespace OrbDialogs

// The about dialog, built in code by ShowAbout; its two links call the handlers.
class TFAbout : public QDialog {
  Q_OBJECT

public:
  explicit TFAbout(QWidget* parent = nullptr);

public slots:
  // Opens the caption of the label that was clicked.
  void WebClick();
  // Opens "mailto:" followed by the caption of the label that was clicked.
  void EmailClick();
};
