#include "F_Steepo.h"
#include "ui_F_Steepo.h"

#include "DesktopBus.h"
#include "F_Steepo2.h"
#include "OrbDialogs.h"
#include "OrbUtils.h"
#include "OrbForms.h"
#include "Platform.h"
#include "Preset.h"
#include "SteepoConfig.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

namespace F_Steepo {

TTimerState TimerState;
TFSteepo* FSteepo = nullptr;

// clang-format off
const std::array<std::array<const char*, MainTextColumns>, 8> MainTexts = {{
    {"Start", "Stop", "Your tea is prepared", "OK",
     "Add 15 seconds", "Makes the brewing time 15 seconds longer (Page Up)",
     "Subtract 15 seconds", "Makes the brewing time 15 seconds shorter (Page Down)"},
    {"Start", "Stop", "Váš čaj je připraven", "OK",
     "Přidat 15 sekund", "Prodlouží dobu louhování o 15 sekund (Page Up)",
     "Ubrat 15 sekund", "Zkrátí dobu louhování o 15 sekund (Page Down)"},
    {"Start", "Stopp", "Ihr Tee ist fertig", "OK",
     "15 Sekunden mehr", "Verlängert die Ziehzeit um 15 Sekunden (Bild auf)",
     "15 Sekunden weniger", "Verkürzt die Ziehzeit um 15 Sekunden (Bild ab)"},
    {"Start", "Stop", "Your tea is prepared", "OK",
     "Añadir 15 segundos", "Alarga el tiempo de infusión 15 segundos (Re Pág)",
     "Quitar 15 segundos", "Acorta el tiempo de infusión 15 segundos (Av Pág)"},
    {"Start", "Stop", "Your tea is prepared", "OK",
     "Adicionar 15 segundos", "Aumenta o tempo de infusão em 15 segundos (Page Up)",
     "Tirar 15 segundos", "Diminui o tempo de infusão em 15 segundos (Page Down)"},
    {"Start", "Stop", "Your tea is prepared", "OK",
     "Ajouter 15 secondes", "Allonge le temps d'infusion de 15 secondes (Page précédente)",
     "Retirer 15 secondes", "Raccourcit le temps d'infusion de 15 secondes (Page suivante)"},
    {"Start", "Stop", "Il suo tè è pronto", "OK",
     "Aggiungi 15 secondi", "Allunga il tempo di infusione di 15 secondi (Pagina su)",
     "Togli 15 secondi", "Accorcia il tempo di infusione di 15 secondi (Pagina giù)"},
    {"Старт", "Стоп", "Ваш чай готов", "OK",
     "Добавить 15 секунд", "Увеличивает время заваривания на 15 секунд (Page Up)",
     "Убавить 15 секунд", "Уменьшает время заваривания на 15 секунд (Page Down)"},
}};
// clang-format on

QString MainText(int column) {
  const auto& row = MainTexts.at(qMin<std::size_t>(OrbDialogs::LangIndex, MainTexts.size() - 1));
  return QString::fromUtf8(row.at(std::size_t(column)));
}

QString WebAddress() { return QString::fromUtf8(SteepoConfig::WebAddress); }

void InitializeUnit() {
  OrbDialogs::DetectLanguage();
  OrbDialogs::WebPage = QStringLiteral("steepo");
  TimerState.TimeSeparator = Platform::TimeSeparator();
}

QString TwoDigits(quint32 n) {
  return n <= 9 ? QStringLiteral("0%1").arg(n) : QString::number(n);
}

QString FormatTime(quint32 seconds, QChar separator) {
  return TwoDigits(seconds / 60) + separator + TwoDigits(seconds % 60);
}

QString FormatTime(quint32 seconds) { return FormatTime(seconds, TimerState.TimeSeparator); }

} // namespace F_Steepo

namespace {
// The share of the set time that has gone by when the display shows remaining seconds.
// What assistive tools see of the main window: a window named by its caption, also while it
// is minimised (the toolkit would name a minimised window by its empty icon text).
class TMainWindowAccessible : public QAccessibleWidget {
public:
  explicit TMainWindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Name ? widget()->windowTitle() : QAccessibleWidget::text(kind);
  }
};

QAccessibleInterface* MainWindowAccessibleFactory(const QString&, QObject* object) {
  auto* window = qobject_cast<TFSteepo*>(object);
  return window ? new TMainWindowAccessible(window) : nullptr;
}

double ElapsedFraction(quint32 brewTime, quint32 remaining) {
  return brewTime == 0 ? 1.0 : double(brewTime - qMin(remaining, brewTime)) / double(brewTime);
}
} // namespace

using namespace F_Steepo;

TFSteepo::TFSteepo(QWidget* parent)
    : QWidget(parent), ui(new Ui::TFSteepo), FTimer(new QTimer(this)), FTimerBtn(new QTimer(this)) {
  static const bool accessible = (QAccessible::installFactory(MainWindowAccessibleFactory), true);
  Q_UNUSED(accessible);
  ui->setupUi(this);
  OrbForms::CallLoaded(this);

  // What the layout file cannot say: the fonts at their pixel heights, the glyphs with their
  // transparent background, the fixed size without a maximise box, the key preview.
  setFont(OrbForms::LayoutFont(11));
  ui->BBStart->setFont(OrbForms::LayoutFont(13, true));
  ui->BBStop->setFont(OrbForms::LayoutFont(13, true));
  // The small text of the layout even where the desktop gives labels a font of their own.
  ui->LWeb->setFont(OrbForms::LayoutFont(11));
  ui->BBInc->setIcon(OrbForms::GlyphIcon(QStringLiteral(":/glyphs/BBInc.bmp"), 1));
  ui->BBDec->setIcon(OrbForms::GlyphIcon(QStringLiteral(":/glyphs/BBDec.bmp"), 1));
  OrbForms::SetButtonGlyph(ui->BBStart, QStringLiteral(":/glyphs/BBStart.bmp"), 2, 8);
  OrbForms::SetButtonGlyph(ui->BBStop, QStringLiteral(":/glyphs/BBStop.bmp"), 2, 8);
  ui->LCD->setFocusPolicy(Qt::NoFocus);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(248, 128);
  ScaleToDesktopFont();
  // One filter for the whole application: it sees the step buttons' mouse buttons and, as the
  // form's key preview, every key before the focused control does.
  qApp->installEventFilter(this);

  FTimer->setInterval(200);
  FTimerBtn->setInterval(200);
  connect(FTimer, &QTimer::timeout, this, &TFSteepo::TimerTimer);
  connect(FTimerBtn, &QTimer::timeout, this, &TFSteepo::TimerBtnTimer);
  connect(ui->BBInc, &QPushButton::clicked, this, &TFSteepo::BBIncClick);
  connect(ui->BBDec, &QPushButton::clicked, this, &TFSteepo::BBDecClick);
  connect(ui->BBStart, &QPushButton::clicked, this, &TFSteepo::BBStartClick);
  connect(ui->BBStop, &QPushButton::clicked, this, &TFSteepo::BBStopClick);
  connect(ui->LWeb, &TLinkLabel::Click, this, &TFSteepo::LWebClick);

  ShowAlarm = [] {
    if (TFSteepo2* alarm = F_Steepo2::AlarmDialog())
      alarm->exec();
  };

  FormCreate();
  FTimer->start();
  ui->BBStart->setFocus();
}

TFSteepo::~TFSteepo() {
  qApp->removeEventFilter(this);
  FormDestroy();
  if (FSteepo == this)
    FSteepo = nullptr;
  delete ui;
}

QPushButton* TFSteepo::BBInc() const { return ui->BBInc; }
QPushButton* TFSteepo::BBDec() const { return ui->BBDec; }
QPushButton* TFSteepo::BBStart() const { return ui->BBStart; }
QPushButton* TFSteepo::BBStop() const { return ui->BBStop; }
QWidget* TFSteepo::LCD() const { return ui->LCD; }
QLabel* TFSteepo::LWeb() const { return ui->LWeb; }
QWidget* TFSteepo::Bevel() const { return ui->Bevel; }

void TFSteepo::FormCreate() {
  TimerState.VersionText = OrbUtils::ShortVersion(OrbUtils::FileVersion(Platform::ProgramPath()));
  Preset::ReadStartTime();
  DisplayTime(TimerState.BrewTime);
  // The language was chosen once, by the unit's start-up.
  ui->BBStart->setText(MainText(mtStart));
  ui->BBStop->setText(MainText(mtStop));
  ui->BBStart->setAccessibleName(ui->BBStart->text());
  ui->BBStop->setAccessibleName(ui->BBStop->text());
  // The step buttons show only a sign: a screen reader says what they do.
  ui->BBInc->setAccessibleName(MainText(mtIncName));
  ui->BBInc->setAccessibleDescription(MainText(mtIncDescription));
  ui->BBDec->setAccessibleName(MainText(mtDecName));
  ui->BBDec->setAccessibleDescription(MainText(mtDecDescription));
  // The link's width needs the font database, which takes longer to load than everything
  // else here together; it is laid out as soon as the window has gone up, before its first
  // paint, so that the window appears as soon as a plain window would.
  QMetaObject::invokeMethod(this, [this] { SetWebLink(WebAddress()); }, Qt::QueuedConnection);
}

void TFSteepo::ScaleToDesktopFont() {
  FScale = OrbForms::FormScale();
  if (FScale == 1)
    return;
  OrbForms::ScaleForm(this, FScale);
  // The indicator's size is given in its own properties; it sizes itself to them.
  ui->LCD->SetIndicatorWidth(OrbForms::Scaled(ui->LCD->IndicatorWidth(), FScale));
  ui->LCD->SetIndicatorHeight(OrbForms::Scaled(ui->LCD->IndicatorHeight(), FScale));
  ui->LCD->SetIndicatorGap(OrbForms::Scaled(ui->LCD->IndicatorGap(), FScale));
  ui->LCD->SetOuterBevelWidth(OrbForms::Scaled(ui->LCD->OuterBevelWidth(), FScale));
}

void TFSteepo::SetWebLink(const QString& text) {
  ui->LWeb->setText(text);
  ui->LWeb->setAccessibleName(text);
  ui->LWeb->resize(ui->LWeb->sizeHint().width(), ui->LWeb->height());
  const int bevelLeft = ui->LWeb->x() + ui->LWeb->width() + OrbForms::Scaled(4, FScale);
  const int bevelWidth = ui->BBStop->x() + ui->BBStop->width() - bevelLeft;
  ui->Bevel->setGeometry(bevelLeft, ui->Bevel->y(), bevelWidth, ui->Bevel->height());
}

void TFSteepo::FormShow() { Platform::PostMessage(this, WM_AUTOSTART, WM_AUTOSTART, WM_AUTOSTART); }

void TFSteepo::WMAutoStart(qintptr wParam, qintptr lParam) {
  if (wParam == WM_AUTOSTART && lParam == WM_AUTOSTART && Preset::StartSwitch())
    BBStartClick();
}

void TFSteepo::FormCloseQuery(bool& canClose) { canClose = !TimerState.Running; }

void TFSteepo::FormDestroy() { Preset::StorePreset(); }

void TFSteepo::LWebClick() { OrbUtils::OpenDocument(ui->LWeb->text()); }

void TFSteepo::DisplayTime(quint32 seconds) {
  ui->LCD->SetIndicatorstring(FormatTime(seconds, u':'));
  if (TimerState.Running)
    setWindowTitle(QStringLiteral("%1 [%2]").arg(Platform::ApplicationTitle(), FormatTime(seconds)));
  else
    setWindowTitle(QStringLiteral("%1 %2").arg(Platform::ApplicationTitle(), TimerState.VersionText));
  Platform::ProcessMessages();
}

void TFSteepo::IncTime() {
  if (TimerState.Running || TimerState.BrewTime > 3584)
    return;
  TimerState.BrewTime = TimerState.BrewTime + 15 - TimerState.BrewTime % 15;
  DisplayTime(TimerState.BrewTime);
}

void TFSteepo::DecTime() {
  if (TimerState.Running || TimerState.BrewTime < 16)
    return;
  quint32 step = TimerState.BrewTime % 15;
  if (step == 0)
    step = 15;
  TimerState.BrewTime -= step;
  DisplayTime(TimerState.BrewTime);
}

void TFSteepo::BBIncClick() { IncTime(); }
void TFSteepo::BBDecClick() { DecTime(); }
void TFSteepo::BBIncMouseDown() { StepButtonMouseDown(ui->BBInc); }
void TFSteepo::BBDecMouseDown() { StepButtonMouseDown(ui->BBDec); }
void TFSteepo::BBIncMouseUp() { StepButtonMouseUp(); }
void TFSteepo::BBDecMouseUp() { StepButtonMouseUp(); }

void TFSteepo::StepButtonMouseDown(QPushButton* sender) {
  TimerState.DownButton = sender;
  FTimerBtn->start();
}

void TFSteepo::StepButtonMouseUp() {
  FTimerBtn->stop();
  TimerState.RepeatButton = nullptr;
  TimerState.DownButton = nullptr;
}

void TFSteepo::TimerBtnTimer() {
  if (!TimerState.RepeatButton)
    TimerState.RepeatButton = TimerState.DownButton;  // armed; the first step comes with the next tick
  else if (TimerState.RepeatButton == ui->BBInc)
    IncTime();
  else if (TimerState.RepeatButton == ui->BBDec)
    DecTime();
}

void TFSteepo::BBStartClick() {
  StepButtonMouseUp();  // a step button held down must not go on stepping
  ui->BBInc->setEnabled(false);
  ui->BBDec->setEnabled(false);
  ui->BBStart->setEnabled(false);
  ui->BBStop->setEnabled(true);
  // A 64-bit tick never wraps, so the end lies after the start however long the machine runs.
  TimerState.StartTick = Platform::TickCount();
  TimerState.EndTick = TimerState.StartTick + quint64(TimerState.BrewTime) * 1000u;
  TimerState.Running = true;
  TimerState.ShownSeconds = TTimerState::NoneShown;
  DesktopBus::Connect();
  Platform::Sleep(200);
  Platform::MinimizeApplication();
}

void TFSteepo::BBStopClick() {
  TimerState.Running = false;
  ui->BBStop->setEnabled(false);
  ui->BBStart->setEnabled(true);
  ui->BBDec->setEnabled(true);
  ui->BBInc->setEnabled(true);
  DisplayTime(TimerState.BrewTime);
  ui->BBStart->setFocus();
  DesktopBus::Clear();
}

void TFSteepo::TimerTimer() {
  if (!TimerState.Running)
    return;
  const quint64 now = Platform::TickCount();
  if (now < TimerState.EndTick) {
    const quint32 remaining = TimerState.BrewTime - quint32((now - TimerState.StartTick) / 1000u);
    if (remaining == TimerState.ShownSeconds)
      return;
    TimerState.ShownSeconds = remaining;
    // The dock first: a Stop handled while the display repaints then hides it for good.
    DesktopBus::Progress(ElapsedFraction(TimerState.BrewTime, remaining));
    DisplayTime(remaining);
    return;
  }
  DisplayTime(0);
  TimerState.Running = false;
  Platform::RestoreApplication();
  if (ShowAlarm)
    ShowAlarm();
  close();
}

void TFSteepo::FormKeyDown(int& key) {
  if (TimerState.Running)
    return;
  switch (key) {
  case Platform::vkPrior:  // Page Up
  case Platform::vkAdd:    // the numeric pad's plus
    IncTime();
    break;
  case Platform::vkNext:      // Page Down
  case Platform::vkSubtract:  // the numeric pad's minus
    DecTime();
    break;
  case Platform::vkF1:
    OrbDialogs::ShowAbout();
    break;
  default:
    return;
  }
  key = 0;
}

void TFSteepo::FormShortCut(int key, bool& handled) {
  if (TimerState.Running || key != Platform::vkReturn)
    return;
  BBStartClick();
  handled = true;
}

bool TFSteepo::eventFilter(QObject* watched, QEvent* event) {
  // The step buttons: any mouse button going down arms the auto-repeat, going up disarms it.
  if ((watched == ui->BBInc || watched == ui->BBDec) && ui->BBInc && ui->BBDec) {
    auto* button = static_cast<QPushButton*>(watched);
    if (event->type() == QEvent::MouseButtonPress && button->isEnabled()) {
      button == ui->BBInc ? BBIncMouseDown() : BBDecMouseDown();
    } else if (event->type() == QEvent::MouseButtonRelease) {
      // Also on a button disabled meanwhile (Enter started the countdown), or the repeat runs on.
      button == ui->BBInc ? BBIncMouseUp() : BBDecMouseUp();
    }
  }
  // Key preview for the whole form: the shortcut hook, then the key handler, before the
  // focused control sees the key.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == this || (widget->window() == this && isAncestorOf(widget))) {
      const auto* keyEvent = static_cast<QKeyEvent*>(event);
      int key = Platform::VirtualKeyCode(*keyEvent);
      if (key != 0) {
        bool handled = false;
        FormShortCut(key, handled);
        if (handled)
          return true;
        FormKeyDown(key);
        if (key == 0)
          return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TFSteepo::event(QEvent* event) {
  if (event->type() == static_cast<QEvent::Type>(WM_AUTOSTART)) {
    const auto* message = static_cast<Platform::TMessageEvent*>(event);
    WMAutoStart(message->WParam, message->LParam);
    return true;
  }
  // A modal dialog takes the mouse: the release would never come here.
  if (event->type() == QEvent::WindowBlocked)
    StepButtonMouseUp();
  return QWidget::event(event);
}

void TFSteepo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The first showing of the window, not its coming back from the taskbar.
  if (!event->spontaneous())
    FormShow();
}

void TFSteepo::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose)
    event->accept();
  else
    event->ignore();
}
