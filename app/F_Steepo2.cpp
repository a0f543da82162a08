#include "F_Steepo2.h"
#include "ui_F_Steepo2.h"

#include "Alarm.h"
#include "DesktopBus.h"
#include "F_Steepo.h"
#include "OrbUtils.h"
#include "OrbForms.h"
#include "Platform.h"
#include "Resources.h"
#include "TeaTexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace F_Steepo2 {

TFSteepo2* FSteepo2 = nullptr;

namespace {
// Cleared by Qt when the window goes, so the dialog is never made for a window that is gone.
QPointer<QWidget> PreparedMainWindow;
QString PreparedCaption;
} // namespace

void CreateAlarmDialog(QWidget* mainWindow) {
  FSteepo2 = new TFSteepo2(mainWindow, mainWindow ? mainWindow->windowTitle() : Platform::ApplicationTitle());
}

void PrepareAlarmDialog(QWidget* mainWindow) {
  PreparedMainWindow = mainWindow;
  PreparedCaption = mainWindow->windowTitle();
}

TFSteepo2* AlarmDialog() {
  if (!FSteepo2 && PreparedMainWindow)
    FSteepo2 = new TFSteepo2(PreparedMainWindow, PreparedCaption);
  return FSteepo2;
}

bool SoundAlarm(const QString& resource, const std::function<void()>& beep) {
  if (Platform::PlaySound(resource))
    return true;
  if (beep)
    beep();
  return false;
}

} // namespace F_Steepo2

namespace {
// Pixel heights of the layout's fonts: 8 points is 11 pixels at 96 dots per inch, 10 points
// 13, 22 points 29.
constexpr int FormFont = 11;
constexpr int ButtonFont = 13;
constexpr int MessageFont = 29;
} // namespace

TFSteepo2::TFSteepo2(QWidget* mainWindow, const QString& caption)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                              Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      ui(new Ui::TFSteepo2), FMainWindow(mainWindow), FCaption(caption), FBBNext(nullptr),
      FAlarmSound(new Alarm::TAlarmSound(this)) {
  ui->setupUi(this);
  setObjectName(QStringLiteral("FSteepo2"));
  setFont(OrbForms::LayoutFont(FormFont));
  ui->LMessage->setFont(OrbForms::LayoutFont(MessageFont));
  ui->BBOK->setFont(OrbForms::LayoutFont(ButtonFont, true));

  // The program's icon at the system's standard icon size: the application's, already read at
  // start-up, or read here where the application has none.
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) {
    icon = QIcon(Resources::ProgramIcon());
    setWindowIcon(icon);
  }
  ui->Image->resize(32, 32);

  OrbForms::SetButtonGlyph(ui->BBOK, Resources::Glyph(QStringLiteral("BBOK")), 2, 8);
  ui->BBOK->setDefault(true);
  ui->BBOK->setFocus();
  connect(ui->BBOK, &QPushButton::clicked, this, &QDialog::accept);

  // The second button: as OK in height and font, with Start's stopwatch; shown only for a
  // tea with infusions left.
  FBBNext = new QPushButton(this);
  FBBNext->setObjectName(QStringLiteral("BBNext"));
  FBBNext->setFont(OrbForms::LayoutFont(ButtonFont, true));
  FBBNext->setGeometry(ui->BBOK->geometry());
  OrbForms::SetButtonGlyph(FBBNext, Resources::Glyph(QStringLiteral("BBStart")), 2, 8);
  FBBNext->hide();
  setTabOrder(ui->BBOK, FBBNext);
  connect(FBBNext, &QPushButton::clicked, this, &TFSteepo2::BBNextClick);

  // A desktop with larger text gets the whole dialog larger, the icon drawn at its new size.
  OrbForms::ScaleForm(this, OrbForms::FormScale());
  ui->Image->setPixmap(icon.pixmap(ui->Image->size()));

  FormCreate();
}

TFSteepo2::~TFSteepo2() {
  if (F_Steepo2::FSteepo2 == this)
    F_Steepo2::FSteepo2 = nullptr;
  delete ui;
}

QLabel* TFSteepo2::Image() const { return ui->Image; }
QLabel* TFSteepo2::LMessage() const { return ui->LMessage; }
QPushButton* TFSteepo2::BBOK() const { return ui->BBOK; }
QPushButton* TFSteepo2::BBNext() const { return FBBNext; }

void TFSteepo2::FormCreate() {
  // The main window's caption at start-up: its idle caption.
  setWindowTitle(FCaption);
  ui->LMessage->setText(F_Steepo::MainText(F_Steepo::mtReady));
  ui->BBOK->setText(F_Steepo::MainText(F_Steepo::mtOK));
  LayOut();
}

void TFSteepo2::SetNextInfusion(const std::optional<Teas::TInfusion>& next) {
  FNext = next;
  if (next) {
    const QString time = Teas::ShortTime(next->Time, F_Steepo::TimerState.TimeSeparator);
    FBBNext->setText(TeaTexts::Text(TeaTexts::ttNextInfusion).arg(time).arg(next->Number).arg(next->Count));
  }
  FBBNext->setVisible(bool(next));
  LayOut();
}

void TFSteepo2::LayOut() {
  // The message sizes itself to its text; the dialog keeps a margin beside it as wide as
  // the one left of the icon and the message together (2 x Image.Left).
  ui->LMessage->resize(ui->LMessage->sizeHint().width(), ui->LMessage->height());
  int clientWidth = ui->LMessage->x() + ui->LMessage->width() + 2 * ui->Image->x();
  if (!FNext) {
    setFixedSize(clientWidth, height());
    ui->BBOK->move((clientWidth - ui->BBOK->width()) / 2, ui->BBOK->y());
    return;
  }
  // Two buttons side by side, as far apart as the icon is from the message, centred together;
  // the dialog widens where they need it, keeping the icon's margin on either side.
  const int gap = ui->LMessage->x() - ui->Image->x() - ui->Image->width();
  FBBNext->resize(std::max(ui->BBOK->width(), FBBNext->sizeHint().width()), ui->BBOK->height());
  const int both = ui->BBOK->width() + gap + FBBNext->width();
  clientWidth = std::max(clientWidth, both + 2 * ui->Image->x());
  setFixedSize(clientWidth, height());
  ui->BBOK->move((clientWidth - both) / 2, ui->BBOK->y());
  FBBNext->move(ui->BBOK->x() + ui->BBOK->width() + gap, ui->BBOK->y());
}

void TFSteepo2::BBNextClick() {
  if (!FNext || !isVisible())
    return;
  Platform::StopSound();
  emit NextInfusionChosen();
  done(NextInfusionResult);
}

void TFSteepo2::FormShow() {
  FAlarmSound->Start(Alarm::Current.Get());
  OrbUtils::ForceForeground(this);
}

void TFSteepo2::setVisible(bool visible) {
  const bool showing = visible && !isVisible();
  if (showing) {
    // Centred on the screen, not over the main window that owns it.
    if (const QScreen* screen = FMainWindow ? FMainWindow->screen() : this->screen())
      move(screen->availableGeometry().center() - rect().center());
    // A Wayland compositor keeps a minimised window minimised, whatever the program asks, and
    // may hide the dialogs that belong to it: there the alarm goes up as a window of its own.
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
      create();
      windowHandle()->setTransientParent(nullptr);
    }
  }
  const bool hiding = !visible && isVisible();
  // OK has the focus each time, so that Enter answers the dialog, whichever button had it last.
  if (showing)
    ui->BBOK->setFocus();
  QDialog::setVisible(visible);
  if (showing) {
    FormShow();
    AnnounceOnDesktop();
  } else if (hiding) {
    FAlarmSound->Stop();
    DesktopBus::Withdraw();
    DesktopBus::Clear();
  }
}

namespace {
// A button's text without its access key, as a notification shows it.
QString WithoutAccessKey(const QString& text) {
  QString plain;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size())
      ++i;
    plain += text[i];
  }
  return plain;
}
} // namespace

void TFSteepo2::AnnounceOnDesktop() {
  DesktopBus::Urgent();
  // The notification's buttons are the dialog's: OK, and the next infusion where it is offered.
  DesktopBus::TNotification notification{windowTitle(), ui->LMessage->text(), ui->BBOK->text()};
  notification.Actions << DesktopBus::TAction{QStringLiteral("ok"), WithoutAccessKey(ui->BBOK->text())};
  if (FNext)
    notification.Actions << DesktopBus::TAction{QStringLiteral("next"), WithoutAccessKey(FBBNext->text())};
  DesktopBus::Notify(notification, [this](const QString& action, const QString& token) {
    NotificationInvoked(action, token);
  });
}

void TFSteepo2::NotificationInvoked(const QString& action, const QString& token) {
  if (action == u"ok") {
    if (isVisible())
      accept();
    return;
  }
  if (action == u"next") {
    BBNextClick();
    return;
  }
  // A click on the notification itself: the dialog to the front. On Wayland the token lets
  // the compositor hand the focus over.
  if (!token.isEmpty())
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
  OrbUtils::ForceForeground(this);
  qunsetenv("XDG_ACTIVATION_TOKEN");
}

void TFSteepo2::keyPressEvent(QKeyEvent* event) {
  // The dialog has no cancel button, so Escape does nothing; Enter answers it.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFSteepo2::closeEvent(QCloseEvent* event) {
  // The close box ends the dialog as OK does.
  if (isVisible())
    accept();
  event->accept();
}
