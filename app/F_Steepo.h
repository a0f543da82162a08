#pragma once
// The main window: the set time on the indicator, the two step buttons, Start and Stop, the
// web link; the countdown, its keys and its end.

#include "Teas.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QContextMenuEvent;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QKeyEvent;
namespace Ui {
class TFSteepo;
}

class TFSteepo;

namespace F_Steepo {

// The state of the timer, one value of the unit: TimerState = {} puts all of it back as the
// program starts. BrewTime is the set time; the countdown never changes it.
struct TTimerState {
  // The seconds the display shows while counting, so that a tick within the same second
  // costs one comparison; none before the first tick of a countdown.
  static constexpr quint32 NoneShown = ~0u;

  quint32 BrewTime = 180;       // seconds
  qint32 CmdTime = 0;           // the time given on the command line, 0 = none
  bool Running = false;         // a countdown is running
  QPushButton* DownButton = nullptr;    // step button on which a mouse button went down
  QPushButton* RepeatButton = nullptr;  // step button whose auto-repeat is armed
  quint64 StartTick = 0;        // tick when the countdown started, milliseconds
  quint64 EndTick = 0;          // tick at which the countdown ends
  quint32 ShownSeconds = NoneShown;
  bool Warned = false;          // the warning before the end has come in this countdown
  QString VersionText;          // the short version shown in the idle caption
  QChar TimeSeparator = u':';   // of the user's locale
  // The tea chosen from the menu or the command line; none when the time was set otherwise.
  std::optional<Teas::TTea> Tea;
  quint32 Infusion = 0;         // the tea's infusion counting or just ended, from 1; 0 without a tea
  quint32 CountTime = 0;        // seconds of the countdown that runs: BrewTime, or the infusion's time
};
extern TTimerState TimerState;

// The texts of the main window and the alarm dialog, a row per language: the captions, then
// what assistive tools say of the step buttons.
enum TMainText {
  mtStart = 0, mtStop = 1, mtReady = 2, mtOK = 3,
  mtIncName = 4, mtIncDescription = 5, mtDecName = 6, mtDecDescription = 7
};
inline constexpr std::size_t MainTextColumns = 8;
extern const std::array<std::array<const char*, MainTextColumns>, 8> MainTexts;
// The text of column in the row of the chosen language.
QString MainText(int column);

// The maker's web address (the link under the indicator, and the about dialog's).
QString WebAddress();

// The unit's start-up: the language, the about dialog's page name, the locale's separator.
void InitializeUnit();

// N in decimal with one leading "0" when N is at most 9.
QString TwoDigits(quint32 n);
// Minutes and seconds, each at least two digits, joined by separator (by default the
// locale's, as in the caption). The indicator always takes ":", its own separator glyph: a
// "." there would be a decimal point.
QString FormatTime(quint32 seconds, QChar separator);
QString FormatTime(quint32 seconds);

// The window itself.
extern TFSteepo* FSteepo;

// Whether a countdown may keep the computer from going to sleep, from Start to Stop or the
// end, as the alarm's option KeepAwake asks. The program turns it on as it starts; left off,
// as in the tests, no lock is ever taken.
extern bool KeepAwake;

} // namespace F_Steepo

class TFSteepo : public QWidget {
  Q_OBJECT

public:
  explicit TFSteepo(QWidget* parent = nullptr);
  ~TFSteepo() override;

  // The private message that the window posts to itself when first shown.
  static constexpr int WM_AUTOSTART = 2662;

  // Shows the alarm dialog modally at the end of a countdown; the default shows the alarm
  // dialog of the program. Tests put their own here.
  std::function<void()> ShowAlarm;

  // The components of the layout.
  QPushButton* BBInc() const;
  QPushButton* BBDec() const;
  QPushButton* BBStart() const;
  QPushButton* BBStop() const;
  QWidget* LCD() const;
  QLabel* LWeb() const;
  QWidget* Bevel() const;
  QTimer* Timer() const { return FTimer; }

  // Shows text as the web link, sized to it, and lays the separator line from 4 pixels (at
  // the layout's scale) right of it to the right edge of Stop.
  void SetWebLink(const QString& text);
  QTimer* TimerBtn() const { return FTimerBtn; }
  // The window's menu while it is open; none otherwise.
  QMenu* Menu() const { return FMenu; }
  // Opens the menu at globalPos, built anew: the teas, saving the time as a tea, the editor,
  // the about dialog.
  void ShowMenu(const QPoint& globalPos);

public slots:
  void TimerTimer();
  void TimerBtnTimer();
  void BBIncClick();
  void BBDecClick();
  void BBIncMouseDown();
  void BBDecMouseDown();
  void BBIncMouseUp();
  void BBDecMouseUp();
  void BBStartClick();
  void BBStopClick();
  void LWebClick();
  // Key preview: sees every key first; setting key to 0 consumes it.
  void FormKeyDown(int& key);
  // The shortcut hook: Enter starts, whichever control has the focus.
  void FormShortCut(int key, bool& handled);
  void FormShow();
  void FormCloseQuery(bool& canClose);
  void FormCreate();
  void FormDestroy();
  // The tea at index of the list: its time as the set time, as stepping would set it.
  void ChooseTea(int index);
  void SaveTeaClick();
  void EditTeasClick();
  // The alarm dialog's answer that asks for the tea's next infusion instead of the end.
  void AlarmNextInfusion();

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void StepButtonMouseDown(QPushButton* sender);
  void StepButtonMouseUp();
  void WMAutoStart(qintptr wParam, qintptr lParam);
  // The whole window larger by the desktop font's size over the designed size.
  void ScaleToDesktopFont();

  void DisplayTime(quint32 seconds);
  // The warning before the end, when the options ask for one and its time has come.
  void WarnBeforeTheEnd(quint64 now);
  // While counting, the sleep inhibitor held or released as the option says, where the
  // program keeps awake at all.
  void KeepAwakeWhileCounting();
  void IncTime();
  void DecTime();
  // Start's steps for a countdown of TimerState.CountTime.
  void StartCountdown();
  // The menu's items, in the order they appear.
  void BuildMenu(QMenu* menu);
  void AddTeaItems(QMenu* menu);

  Ui::TFSteepo* ui;
  QTimer* FTimer;
  QTimer* FTimerBtn;
  qreal FScale = 1;  // of the layout, for a desktop font larger than designed
  QMenu* FMenu = nullptr;
  bool FNextInfusion = false;  // the alarm was answered with the next infusion
};
