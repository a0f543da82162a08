#include "F_Steepo.h"
#include "ui_F_Steepo.h"

#include "Alarm.h"
#include "AlarmMenu.h"
#include "AlarmTexts.h"
#include "DesktopBus.h"
#include "F_Steepo2.h"
#include "MessageTexts.h"
#include "OrbDialogs.h"
#include "OrbUtils.h"
#include "OrbForms.h"
#include "Platform.h"
#include "Preset.h"
#include "SleepInhibitor.h"
#include "SteepoConfig.h"
#include "TeaDialogs.h"
#include "TeaTexts.h"

#include <QAccessibleWidget>
#include <QActionGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

namespace F_Steepo {

TTimerState TimerState;
TFSteepo* FSteepo = nullptr;
bool KeepAwake = false;

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
// is minimised (the toolkit would name a minimised window by its empty icon text), and its
// menu while it is open: the toolkit leaves popups out of the application's windows, so a tool
// that walks the tree would not find the menu otherwise.
class TMainWindowAccessible : public QAccessibleWidget {
public:
  explicit TMainWindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Name ? widget()->windowTitle() : QAccessibleWidget::text(kind);
  }
  int childCount() const override { return QAccessibleWidget::childCount() + (OpenMenu() ? 1 : 0); }
  QAccessibleInterface* child(int index) const override {
    if (index == QAccessibleWidget::childCount() && OpenMenu())
      return QAccessible::queryAccessibleInterface(OpenMenu());
    return QAccessibleWidget::child(index);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child && child->object() && child->object() == OpenMenu())
      return QAccessibleWidget::childCount();
    return QAccessibleWidget::indexOfChild(child);
  }

private:
  QMenu* OpenMenu() const {
    QMenu* menu = static_cast<TFSteepo*>(widget())->Menu();
    return menu && menu->isVisible() ? menu : nullptr;
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

  ShowAlarm = [this] {
    if (TFSteepo2* alarm = F_Steepo2::AlarmDialog()) {
      alarm->SetNextInfusion(TimerState.Tea ? Teas::NextInfusion(*TimerState.Tea, TimerState.Infusion) : std::nullopt);
      connect(alarm, &TFSteepo2::NextInfusionChosen, this, &TFSteepo::AlarmNextInfusion, Qt::UniqueConnection);
      alarm->exec();
    }
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
  Alarm::Current.Load();
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
  if (TimerState.Running) {
    QString caption = QStringLiteral("%1 [%2]").arg(Platform::ApplicationTitle(), FormatTime(seconds));
    // Which of a tea's several infusions this is.
    if (TimerState.Tea && TimerState.Tea->Infusions > 1)
      caption += QStringLiteral(" %1/%2").arg(TimerState.Infusion).arg(TimerState.Tea->Infusions);
    setWindowTitle(caption);
  } else {
    setWindowTitle(QStringLiteral("%1 %2").arg(Platform::ApplicationTitle(), TimerState.VersionText));
  }
  Platform::ProcessMessages();
}

void TFSteepo::IncTime() {
  if (TimerState.Running)
    return;
  TimerState.Tea.reset();  // a time of the user's own
  if (TimerState.BrewTime > 3584)
    return;
  TimerState.BrewTime = TimerState.BrewTime + 15 - TimerState.BrewTime % 15;
  DisplayTime(TimerState.BrewTime);
}

void TFSteepo::DecTime() {
  if (TimerState.Running)
    return;
  TimerState.Tea.reset();
  if (TimerState.BrewTime < 16)
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
  // A chosen tea starts at its first infusion, which is the set time.
  TimerState.Infusion = TimerState.Tea ? 1 : 0;
  TimerState.CountTime = TimerState.BrewTime;
  StartCountdown();
}

void TFSteepo::StartCountdown() {
  StepButtonMouseUp();  // a step button held down must not go on stepping
  ui->BBInc->setEnabled(false);
  ui->BBDec->setEnabled(false);
  ui->BBStart->setEnabled(false);
  ui->BBStop->setEnabled(true);
  // A 64-bit tick never wraps, so the end lies after the start however long the machine runs.
  TimerState.StartTick = Platform::TickCount();
  TimerState.EndTick = TimerState.StartTick + quint64(TimerState.CountTime) * 1000u;
  TimerState.Running = true;
  TimerState.ShownSeconds = TTimerState::NoneShown;
  TimerState.Warned = false;
  DesktopBus::Connect();
  KeepAwakeWhileCounting();
  Platform::Sleep(200);
  Platform::MinimizeApplication();
}

void TFSteepo::BBStopClick() {
  TimerState.Running = false;
  TimerState.Infusion = 0;  // the tea stays chosen and starts again from its first infusion
  ui->BBStop->setEnabled(false);
  ui->BBStart->setEnabled(true);
  ui->BBDec->setEnabled(true);
  ui->BBInc->setEnabled(true);
  DisplayTime(TimerState.BrewTime);
  ui->BBStart->setFocus();
  DesktopBus::Clear();
  DesktopBus::WithdrawWarning();
  SleepInhibitor::Release();
}

void TFSteepo::KeepAwakeWhileCounting() {
  if (!TimerState.Running || !KeepAwake)
    return;
  if (Alarm::Current.Get().KeepAwake)
    SleepInhibitor::Hold(MessageTexts::Text(MessageTexts::mxKeepAwakeReason));
  else
    SleepInhibitor::Release();
}

void TFSteepo::TimerTimer() {
  if (!TimerState.Running)
    return;
  const quint64 now = Platform::TickCount();
  if (now < TimerState.EndTick) {
    WarnBeforeTheEnd(now);
    const quint32 remaining = TimerState.CountTime - quint32((now - TimerState.StartTick) / 1000u);
    if (remaining == TimerState.ShownSeconds)
      return;
    TimerState.ShownSeconds = remaining;
    // The dock first: a Stop handled while the display repaints then hides it for good.
    DesktopBus::Progress(ElapsedFraction(TimerState.CountTime, remaining));
    DisplayTime(remaining);
    return;
  }
  DisplayTime(0);
  TimerState.Running = false;
  SleepInhibitor::Release();
  DesktopBus::WithdrawWarning();
  Platform::RestoreApplication();
  FNextInfusion = false;
  if (ShowAlarm)
    ShowAlarm();
  const auto next = TimerState.Tea ? Teas::NextInfusion(*TimerState.Tea, TimerState.Infusion) : std::nullopt;
  if (FNextInfusion && next) {
    TimerState.Infusion = next->Number;
    TimerState.CountTime = next->Time;
    StartCountdown();
    return;
  }
  close();
}

void TFSteepo::AlarmNextInfusion() { FNextInfusion = true; }

void TFSteepo::WarnBeforeTheEnd(quint64 now) {
  const Alarm::TOptions& options = Alarm::Current.Get();
  const auto moment = Alarm::WarningMoment(TimerState.CountTime, options.Warning, TimerState.StartTick, now);
  if (TimerState.Warned || moment == Alarm::TWarningMoment::NotYet)
    return;
  TimerState.Warned = true;
  if (moment == Alarm::TWarningMoment::Missed)
    return;
  Alarm::PlayWarningTick(options);
  DesktopBus::Warn(Platform::ApplicationTitle(), AlarmTexts::ReadyIn(options.Warning));
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
      // The keyboard's menu key and Shift+F10 open the menu beside the focused control.
      if (keyEvent->key() == Qt::Key_Menu ||
          (keyEvent->key() == Qt::Key_F10 && (keyEvent->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier)) {
        ShowMenu(widget->mapToGlobal(widget->rect().center()));
        return true;
      }
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
  if (!event->spontaneous()) {
    FormShow();
    // The teas, once the window is up: a damaged list is said at start, and the taskbar
    // button's jump list gets them.
    QMetaObject::invokeMethod(this, [] { Teas::Current.Publish(); }, Qt::QueuedConnection);
  }
}

void TFSteepo::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose)
    event->accept();
  else
    event->ignore();
}

// ---- The menu ---------------------------------------------------------------------------------

void TFSteepo::contextMenuEvent(QContextMenuEvent* event) {
  // The menu keys come through the key preview. The step buttons keep every mouse button for
  // their repeat.
  const QWidget* under = childAt(event->pos());
  if (event->reason() != QContextMenuEvent::Mouse || under == ui->BBInc || under == ui->BBDec) {
    event->ignore();
    return;
  }
  event->accept();
  ShowMenu(event->globalPos());
}

void TFSteepo::ShowMenu(const QPoint& globalPos) {
  StepButtonMouseUp();  // the menu takes the mouse: the release would never come here
  if (!FMenu) {
    FMenu = new QMenu(this);
    FMenu->setObjectName(QStringLiteral("Menu"));
    FMenu->setAccessibleName(Platform::ApplicationTitle());
    // An item pressed through the accessibility interface closes the menu as a click does,
    // before its action runs (which may open a dialog).
    connect(FMenu, &QMenu::triggered, FMenu, &QMenu::close);
  }
  FMenu->clear();
  BuildMenu(FMenu);
  FMenu->popup(globalPos);
}

void TFSteepo::BuildMenu(QMenu* menu) {
  using namespace TeaTexts;
  // While counting, nothing here may change the time or open a dialog, as no key does. The
  // dialogs open once the item's press has returned: pressed through the accessibility
  // interface, a modal dialog would hold the answer to the press until it closed.
  const bool idle = !TimerState.Running;
  AddTeaItems(menu);
  menu->addSeparator();
  QAction* save = menu->addAction(Text(ttSaveTea));
  save->setEnabled(idle && TimerState.BrewTime >= 1 && TimerState.BrewTime <= Teas::LongestTime);
  connect(save, &QAction::triggered, this, &TFSteepo::SaveTeaClick, Qt::QueuedConnection);
  QAction* edit = menu->addAction(Text(ttEditTeas));
  edit->setEnabled(idle);
  connect(edit, &QAction::triggered, this, &TFSteepo::EditTeasClick, Qt::QueuedConnection);
  menu->addSeparator();
  AlarmMenu::AddItems(menu, this, !idle, [this](bool) { KeepAwakeWhileCounting(); });
  menu->addSeparator();
  QAction* about = menu->addAction(Text(ttAbout));
  about->setShortcut(QKeySequence(Qt::Key_F1));  // shown beside it, as the key that opens it
  about->setEnabled(idle);
  connect(about, &QAction::triggered, this, [] { OrbDialogs::ShowAbout(); }, Qt::QueuedConnection);
}

void TFSteepo::AddTeaItems(QMenu* menu) {
  auto* group = new QActionGroup(menu);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const Teas::TTeaList& teas = Teas::Current.List();
  for (qsizetype i = 0; i < teas.size(); ++i) {
    // A name's "&" is a character of the name, not an access key.
    QAction* item = menu->addAction(Teas::MenuText(teas[i], TimerState.TimeSeparator).replace(u'&', QStringLiteral("&&")));
    item->setCheckable(true);
    item->setChecked(TimerState.Tea == teas[i]);
    item->setEnabled(!TimerState.Running);
    item->setActionGroup(group);
    connect(item, &QAction::triggered, this, [this, i] { ChooseTea(int(i)); });
  }
}

void TFSteepo::ChooseTea(int index) {
  const Teas::TTeaList& teas = Teas::Current.List();
  if (TimerState.Running || index < 0 || index >= teas.size())
    return;
  TimerState.Tea = teas[index];
  TimerState.BrewTime = teas[index].Time;
  DisplayTime(TimerState.BrewTime);
}

void TFSteepo::SaveTeaClick() {
  if (TimerState.Running)
    return;
  TFSaveTea dialog(this, Teas::Current.List(), TimerState.BrewTime, TimerState.TimeSeparator);
  if (dialog.exec() != QDialog::Accepted)
    return;
  const Teas::TTea tea{dialog.Name(), TimerState.BrewTime};
  Teas::Current.Replace(Teas::Current.List() + Teas::TTeaList{tea});
  TimerState.Tea = tea;  // the time is now this tea's
}

void TFSteepo::EditTeasClick() {
  if (TimerState.Running)
    return;
  TFTeaEditor editor(this, Teas::Current.List(), TimerState.TimeSeparator);
  if (editor.exec() != QDialog::Accepted)
    return;
  Teas::Current.Replace(editor.List());
  if (!TimerState.Tea)
    return;
  // The chosen tea goes on by its name, with what the editor made of it; renamed or removed,
  // it is no longer chosen and the time stays.
  const qsizetype index = Teas::IndexOf(Teas::Current.List(), TimerState.Tea->Name);
  if (index < 0) {
    TimerState.Tea.reset();
    return;
  }
  ChooseTea(int(index));
}
