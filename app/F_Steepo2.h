#pragma once
// The alarm dialog: tells the user that the tea is ready, sounds the alarm and comes to the
// front. Closing it in any way ends the program (the main window's end sequence does that).

#include "Teas.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
namespace Alarm {
class TAlarmSound;
}
namespace Ui {
class TFSteepo2;
}

class TFSteepo2 : public QDialog {
  Q_OBJECT

public:
  // Created hidden, owned by mainWindow, with the caption the main window had at start-up.
  TFSteepo2(QWidget* mainWindow, const QString& caption);
  ~TFSteepo2() override;

  // Closed by the second button: the tea's next infusion, not the end.
  static constexpr int NextInfusionResult = 2;

  // The components of the layout, and the second button, hidden without a next infusion.
  QLabel* Image() const;
  QLabel* LMessage() const;
  QPushButton* BBOK() const;
  QPushButton* BBNext() const;

  // The infusion that the second button offers beside OK; none: OK alone, as always.
  void SetNextInfusion(const std::optional<Teas::TInfusion>& next);
  // The alarm's sound, repeated while the dialog is up where the options ask for it.
  Alarm::TAlarmSound* AlarmSound() const { return FAlarmSound; }

public slots:
  // Caption, texts, the width that follows the message and the centred button.
  void FormCreate();
  // The alarm sound (or the beep), then to the front.
  void FormShow();
  // What the second button does, for any caller: the sound stops and the dialog closes with
  // NextInfusionResult. Nothing while no next infusion is offered.
  void BBNextClick();

signals:
  // The user chose the next infusion (before the dialog closes).
  void NextInfusionChosen();

public:
  void setVisible(bool visible) override;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  // The dock entry's urgency and the desktop notification, which brings the dialog back.
  void AnnounceOnDesktop();
  // An action of the notification: a button of the dialog pressed, or the dialog to the front.
  void NotificationInvoked(const QString& action, const QString& token);
  // The width that follows the message and the buttons, and the buttons centred side by side.
  void LayOut();

  Ui::TFSteepo2* ui;
  QWidget* FMainWindow;
  QString FCaption;
  QPushButton* FBBNext;
  std::optional<Teas::TInfusion> FNext;
  Alarm::TAlarmSound* FAlarmSound;
};

namespace F_Steepo2 {

// Created hidden at start-up, right after the main window.
extern TFSteepo2* FSteepo2;

// Creates FSteepo2, hidden, owned by mainWindow, whose current caption it takes.
void CreateAlarmDialog(QWidget* mainWindow);

// What start-up does instead: it takes the main window's caption now and leaves making the
// dialog (its fonts, icon and glyphs, which the idle window never needs) to AlarmDialog.
void PrepareAlarmDialog(QWidget* mainWindow);
// FSteepo2, made first if start-up only prepared it; none when neither happened.
TFSteepo2* AlarmDialog();

// Starts the sound at resource without waiting for it; when it cannot play, calls beep
// instead. Whether the sound started.
bool SoundAlarm(const QString& resource, const std::function<void()>& beep);

} // namespace F_Steepo2
