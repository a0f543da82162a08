#include "OrbDialogs.h"

#include "OrbLink.h"
#include "OrbUtils.h"
#include "OrbForms.h"
#include "Platform.h"
#include "SteepoConfig.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <utility>

namespace OrbDialogs {

quint8 LangIndex = 0;
QString AboutTitle;
QString WebPage;

// clang-format off
const std::array<std::array<const char*, 11>, 8> DlgTexts = {{
  {"Error", "Information", "Warning", "Confirmation",
   "About", "Version", "This program is released as freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Chyba", "Informace", "Varování", "Potvrzení",
   "O programu", "Verze", "Tento program je freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Fehler", "Informationen", "Warnung", "Bestätigung",
   "Über das Programm", "Version", "Dieses Programm ist Freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Error", "Información", "Advertencia", "Confirmación",
   "Sobre programa", "Versión", "This program is released as freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Erro", "Informação", "Aviso", "Confirmação",
   "Sobre programa", "Versão", "This program is released as freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Erreur", "Information", "Avertissement", "Confirmation",
   "Sur le programme", "Version", "Ce programme est freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Errore", "Informazioni", "Avviso", "Conferma",
   "Sul programma", "Versione", "Il programma è freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
  {"Ошибка", "Информация", "Предупреждение", "Подтверждение",
   "О программе", "Версия", "Эта программа freeware",
   "Copyright ©", "Web", "E-mail", "OK"},
}};
// clang-format on

namespace {
// The languages with texts of their own and their rows; their numbers come from the platform.
constexpr std::pair<QLocale::Language, quint8> Rows[] = {
    {QLocale::Czech, 1},  {QLocale::German, 2},  {QLocale::Spanish, 3}, {QLocale::Portuguese, 4},
    {QLocale::French, 5}, {QLocale::Italian, 6}, {QLocale::Russian, 7},
};

bool IsEnglish(quint16 langID) { return (langID & 0xFFu) == Platform::PrimaryLanguageID(QLocale::English); }
} // namespace

quint8 LanguageIndexFor(quint16 langID, quint8 current) {
  for (const auto& [language, row] : Rows)
    if (Platform::PrimaryLanguageID(language) == (langID & 0xFFu))
      return row;
  return current;
}

void DetectLanguage() {
  // The first language asked for that has texts here decides; English has them too and keeps
  // the index as it is. A language without texts gives way to the next one asked for.
  for (const quint16 langID : Platform::PreferredLangIDs()) {
    if (IsEnglish(langID))
      break;
    if (const quint8 row = LanguageIndexFor(langID, 0xFF); row != 0xFF) {
      LangIndex = row;
      break;
    }
  }
  const auto chosen = std::find_if(std::begin(Rows), std::end(Rows), [](const auto& r) { return r.second == LangIndex; });
  Platform::SetMessagesLanguage(chosen == std::end(Rows) ? QLocale::English : chosen->first);
}

QString DlgText(TDlgText column) {
  // A row number outside the table reads the English row rather than memory beyond it.
  const std::size_t row = LangIndex < DlgTexts.size() ? LangIndex : 0;
  return QString::fromUtf8(DlgTexts[row][column]);
}

QString AboutVersionLine(const QString& programPath) {
  const QString version = OrbUtils::FileVersion(programPath);
  return version.isEmpty() ? QString() : DlgText(dtVersion) + u' ' + version;
}

QString AboutCopyrightLine(const QString& programPath) {
  // QFileInfo follows links; a file that is missing or unreadable has no valid time.
  const QDateTime modified = QFileInfo(programPath).lastModified();
  const int year = modified.isValid() ? modified.date().year() : QDate::currentDate().year();
  return DlgText(dtCopyright) + u' ' + QString::fromUtf8(SteepoConfig::AuthorName) + u' ' + QString::number(year);
}

QString AboutWebAddress() {
  const QString address = QString::fromUtf8(SteepoConfig::WebAddress);
  return WebPage.isEmpty() ? address : address + u'/' + WebPage;
}

QString AboutEmailAddress() { return QString::fromUtf8(SteepoConfig::AuthorEmail); }

namespace {
// The least contrast at which small text reads well.
constexpr double LinkContrast = 4.5;

// The share of white light in a colour, channels taken from their gamma-encoded values.
double Luminance(const QColor& colour) {
  const auto linear = [](double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}
} // namespace

double Contrast(const QColor& a, const QColor& b) {
  const double first = Luminance(a);
  const double second = Luminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor LinkColor(const QPalette& palette) {
  const QColor window = palette.color(QPalette::Window);
  const QColor blue(0, 0, 255);
  if (Contrast(blue, window) >= LinkContrast)
    return blue;
  if (const QColor link = palette.color(QPalette::Link); Contrast(link, window) >= LinkContrast)
    return link;
  // Toward white on a window that white stands out against better than black, else toward
  // black; one of the two always reaches the contrast before its end.
  const bool lighten = Contrast(Qt::white, window) >= Contrast(Qt::black, window);
  QColor colour = blue;
  for (int step = 1; step <= 255 && Contrast(colour, window) < LinkContrast; ++step)
    colour = lighten ? QColor(step, step, 255) : QColor(0, 0, 255 - step);
  return colour;
}

void ShowAbout() {
  TFAbout form(Platform::MainWindow());
  form.exec();
}

} // namespace OrbDialogs

namespace {

using namespace OrbDialogs;

// The dialog's font at a pixel height: 8 points is 11 pixels at 96 dots per inch, 10 points
// 13, 14 points 19.
constexpr int DialogFont = 11;
constexpr int VersionFont = 13;
constexpr int HeadingFont = 19;

// The client size, and the margin kept right of the widest text when that is wider.
constexpr int AboutWidth = 280;
constexpr int AboutHeight = 208;
constexpr int AboutRightMargin = 16;

// A label named name at left, top that sizes itself to its text.
template <typename TLabel = QLabel>
TLabel* AddLabel(QWidget* parent, const char* name, int left, int top, const QString& text,
                 const QFont& font) {
  auto* label = new TLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(font);
  label->move(left, top);
  label->adjustSize();
  return label;
}

// Underlined, as links in dialogs are, and sized to its text.
void MakeLink(QLabel* label) {
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->adjustSize();
}

} // namespace

TFAbout::TFAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FAbout"));
  setWindowTitle(DlgText(dtAbout) + QStringLiteral("..."));
  const QFont font = OrbForms::LayoutFont(DialogFont);
  setFont(font);

  const QString title = AboutTitle.isEmpty() ? Platform::ApplicationTitle() : AboutTitle;
  AddLabel(this, "Heading", 64, 16, title, OrbForms::LayoutFont(HeadingFont, true));

  // A file without a version, or one that cannot be read, leaves the line empty; a file time
  // that cannot be read gives the current year. Nothing is reported.
  const QString program = Platform::ProgramPath();
  AddLabel(this, "Version", 64, 45, AboutVersionLine(program),
           OrbForms::LayoutFont(VersionFont, true));
  AddLabel(this, "Freeware", 64, 72, DlgText(dtFreeware), font);

  AddLabel(this, "Copyright", 64, 96, AboutCopyrightLine(program), font);

  AddLabel(this, "WebCaption", 64, 116, DlgText(dtWeb) + u':', font);
  auto* web = AddLabel<TLinkLabel>(this, "WebLink", 104, 116, AboutWebAddress(), font);
  MakeLink(web);
  connect(web, &TLinkLabel::Click, this, &TFAbout::WebClick);

  AddLabel(this, "EmailCaption", 64, 136, DlgText(dtEmail) + u':', font);
  auto* mail = AddLabel<TLinkLabel>(this, "EmailLink", 104, 136, AboutEmailAddress(), font);
  MakeLink(mail);
  connect(mail, &TLinkLabel::Click, this, &TFAbout::EmailClick);

  // Default and cancel button at once: Enter clicks it, and Escape closes the dialog as well.
  auto* button = new QPushButton(DlgText(dtOK), this);
  button->setObjectName(QStringLiteral("OKButton"));
  button->setFont(font);
  button->setGeometry(96, 168, 75, 25);
  button->setDefault(true);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("Icon"));
  icon->setGeometry(16, 16, 32, 32);
  setFixedSize(AboutWidth, AboutHeight);

  // A desktop with larger text gets the whole dialog larger; the labels fit their texts again.
  const qreal scale = OrbForms::FormScale();
  OrbForms::ScaleForm(this, scale);
  icon->setPixmap(QApplication::windowIcon().pixmap(icon->size()));

  // A text wider than the dialog's 280 pixels (a long web address, or a stand-in font wider
  // than Tahoma) widens it rather than being cut off; the button moves with the middle.
  int textRight = 0;
  for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    label->adjustSize();
    textRight = std::max(textRight, label->geometry().right() + 1);
  }
  const int designedWidth = OrbForms::Scaled(AboutWidth, scale);
  const int width = std::max(designedWidth, textRight + OrbForms::Scaled(AboutRightMargin, scale));
  setFixedSize(width, height());
  button->move(button->x() + (width - designedWidth) / 2, button->y());
  button->setFocus();
}

void TFAbout::WebClick() {
  if (const auto* label = qobject_cast<const QLabel*>(sender()))
    OrbUtils::OpenDocument(label->text());
}

void TFAbout::EmailClick() {
  if (const auto* label = qobject_cast<const QLabel*>(sender()))
    OrbUtils::OpenDocument(QStringLiteral("mailto:") + label->text());
}

