#include "OrbDialogs.h"

#include "OrbUtils.h"
#include "Platform.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

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

quint8 LanguageIndexFor(quint16 langID, quint8 current) {
  // The languages with texts of their own and their rows; their numbers come from the platform.
  static constexpr std::pair<QLocale::Language, quint8> Rows[] = {
      {QLocale::Czech, 1},  {QLocale::German, 2},  {QLocale::Spanish, 3}, {QLocale::Portuguese, 4},
      {QLocale::French, 5}, {QLocale::Italian, 6}, {QLocale::Russian, 7},
  };
  for (const auto& [language, row] : Rows)
    if (Platform::PrimaryLanguageID(language) == (langID & 0xFFu))
      return row;
  return current;
}

void DetectLanguage() { LangIndex = LanguageIndexFor(Platform::SystemDefaultLangID(), LangIndex); }

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
  return DlgText(dtCopyright) + u' ' + QStringLiteral(STEEPO_AUTHOR_NAME) + u' ' + QString::number(year);
}

QString AboutWebAddress() {
  const QString address = QStringLiteral(STEEPO_WEB_ADDRESS);
  return WebPage.isEmpty() ? address : address + u'/' + WebPage;
}

QString AboutEmailAddress() { return QStringLiteral(STEEPO_AUTHOR_EMAIL); }

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

// A link: a label that reports a click of the left mouse button released over it, and, as
// it can be reached with Tab, Enter or Space pressed while it has the focus.
class TClickLabel : public QLabel {
  Q_OBJECT

public:
  TClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) { setFocusPolicy(Qt::TabFocus); }

  void Activate() { emit Click(); }

signals:
  void Click();

protected:
  void mousePressEvent(QMouseEvent* event) override {
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    event->accept();
    if (click)
      emit Click();
  }
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
      return QLabel::keyPressEvent(event);
    event->accept();
    if (!event->isAutoRepeat())
      emit Click();
  }
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    if (!hasFocus())
      return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
  }

private:
  bool FPressed = false;
};

// What assistive tools see of a link: its text, the link role, and a press that opens it.
class TLinkAccessible : public QAccessibleWidget {
public:
  explicit TLinkAccessible(TClickLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name || kind == QAccessible::Value)
      return Link()->text();
    return QAccessibleWidget::text(kind);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
  }
  QStringList actionNames() const override { return QStringList(pressAction()) << QAccessibleWidget::actionNames(); }
  void doAction(const QString& action) override {
    if (action == pressAction())
      Link()->Activate();
    else
      QAccessibleWidget::doAction(action);
  }

private:
  TClickLabel* Link() const { return static_cast<TClickLabel*>(widget()); }
};

QAccessibleInterface* LinkAccessibleFactory(const QString&, QObject* object) {
  auto* link = qobject_cast<TClickLabel*>(object);
  return link ? new TLinkAccessible(link) : nullptr;
}

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

// Blue (or a colour that stands out on a dark window), underlined, with the hand cursor.
void MakeLink(QLabel* label) {
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, LinkColor(label->parentWidget()->palette()));
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
  label->adjustSize();
}

} // namespace

TFAbout::TFAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FAbout"));
  static const bool linksAccessible = (QAccessible::installFactory(LinkAccessibleFactory), true);
  Q_UNUSED(linksAccessible);
  setWindowTitle(DlgText(dtAbout) + QStringLiteral("..."));
  const QFont font = Platform::LayoutFont(DialogFont);
  setFont(font);

  const QString title = AboutTitle.isEmpty() ? Platform::ApplicationTitle() : AboutTitle;
  AddLabel(this, "Heading", 64, 16, title, Platform::LayoutFont(HeadingFont, true));

  // A file without a version, or one that cannot be read, leaves the line empty; a file time
  // that cannot be read gives the current year. Nothing is reported.
  const QString program = Platform::ProgramPath();
  AddLabel(this, "Version", 64, 45, AboutVersionLine(program),
           Platform::LayoutFont(VersionFont, true));
  AddLabel(this, "Freeware", 64, 72, DlgText(dtFreeware), font);

  AddLabel(this, "Copyright", 64, 96, AboutCopyrightLine(program), font);

  AddLabel(this, "WebCaption", 64, 116, DlgText(dtWeb) + u':', font);
  auto* web = AddLabel<TClickLabel>(this, "WebLink", 104, 116, AboutWebAddress(), font);
  MakeLink(web);
  connect(web, &TClickLabel::Click, this, &TFAbout::WebClick);

  AddLabel(this, "EmailCaption", 64, 136, DlgText(dtEmail) + u':', font);
  auto* mail = AddLabel<TClickLabel>(this, "EmailLink", 104, 136, AboutEmailAddress(), font);
  MakeLink(mail);
  connect(mail, &TClickLabel::Click, this, &TFAbout::EmailClick);

  // A text wider than the dialog's 280 pixels (a long web address, or a stand-in font wider
  // than Tahoma) widens it rather than being cut off; the button moves with the middle.
  int textRight = 0;
  for (const QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    textRight = std::max(textRight, label->geometry().right() + 1);
  const int width = std::max(AboutWidth, textRight + AboutRightMargin);
  setFixedSize(width, AboutHeight);

  // Default and cancel button at once: Enter clicks it, and Escape closes the dialog as well.
  auto* button = new QPushButton(DlgText(dtOK), this);
  button->setObjectName(QStringLiteral("OKButton"));
  button->setFont(font);
  button->setGeometry(96 + (width - AboutWidth) / 2, 168, 75, 25);
  button->setDefault(true);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("Icon"));
  icon->setGeometry(16, 16, 32, 32);
  icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
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

#include "OrbDialogs.moc"
