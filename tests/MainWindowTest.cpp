// The main window driven as a user drives it, with the clock, the wait, the settings store
// and the alarm dialog injected.
#include "F_Steepo.h"
#include "OrbDialogs.h"
#include "OrbUtils.h"
#include "OrbForms.h"
#include "Platform.h"
#include "PresetStore.h"
#include "Teas.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#ifdef Q_OS_WIN
#include <windows.h>
#undef PostMessage  // the layer's own, not the system's macro for PostMessageW
#endif

namespace {

using namespace F_Steepo;

class MainWindowFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Platform::SetTickSource([this] { return Now; });
    Platform::SetSleeper([this](int ms) {
      Log << QStringLiteral("sleep %1").arg(ms);
      Now += quint64(ms);
    });
    Platform::SetSettingsPathSource([this] { return Dir.filePath(QStringLiteral("Steepo.conf")); });
    Platform::SetApplicationTitle(QStringLiteral("Steepo"));
    OrbUtils::SetCommandLine({QStringLiteral("steepo")});
    OrbDialogs::LangIndex = 0;
    TimerState = {};
    Teas::Current.Forget();
  }
  void TearDown() override {
    Window.reset();
    Platform::SetMainWindow(nullptr);
    Platform::SetTickSource({});
    Platform::SetSleeper({});
    Platform::SetSettingsPathSource({});
  }

  TFSteepo& Open(const QStringList& arguments = {}) {
    OrbUtils::SetCommandLine(QStringList{QStringLiteral("steepo")} + arguments);
    Window = std::make_unique<TFSteepo>();
    Window->Timer()->stop();  // the tests tick by hand
    Window->ShowAlarm = [this] {
      Log << QStringLiteral("alarm caption=%1 lcd=%2 running=%3 minimised=%4")
                 .arg(Window->windowTitle(), Shown(), TimerState.Running ? QStringLiteral("yes") : QStringLiteral("no"),
                      Window->isMinimized() ? QStringLiteral("yes") : QStringLiteral("no"));
    };
    Platform::SetMainWindow(Window.get());
    return *Window;
  }
  void Show() {
    Window->show();
    Platform::ProcessMessages();
  }
  QString Shown() const { return Window->LCD()->property("Indicatorstring").toString(); }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Window.get();
    QTest::keyClick(target, Qt::Key(key), modifiers);
  }
  void Tick(quint64 milliseconds) {
    Now += milliseconds;
    Window->TimerTimer();
  }
  QStringList EnabledButtons() const {
    QStringList names;
    for (QPushButton* b : {Window->BBInc(), Window->BBDec(), Window->BBStart(), Window->BBStop()})
      if (b->isEnabled())
        names << b->objectName();
    return names;
  }

  // Forgets the stored preset: the file in this test's folder, or on Windows the registry key
  // (the test main keeps HKEY_CURRENT_USER in a scratch key).
  void ForgetPreset() {
#ifdef Q_OS_WIN
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Varnak");
#else
    QFile::remove(Dir.filePath(QStringLiteral("Steepo.conf")));
#endif
  }

  QTemporaryDir Dir;
  quint64 Now = 5'000'000;
  QStringList Log;
  std::unique_ptr<TFSteepo> Window;
};

TEST(FormatTime, MinutesAndSecondsOfAtLeastTwoDigits) {
  TimerState.TimeSeparator = u':';
  const std::pair<quint32, const char*> rows[] = {
      {180, "03:00"}, {3585, "59:45"}, {0, "00:00"}, {6000, "100:00"}, {59, "00:59"},
      {60, "01:00"},  {599, "09:59"},  {600, "10:00"}, {4294967295u, "71582788:15"},
  };
  for (const auto& [seconds, text] : rows)
    EXPECT_EQ(FormatTime(seconds), QString::fromUtf8(text)) << seconds;
  EXPECT_EQ(TwoDigits(9), QStringLiteral("09"));
  EXPECT_EQ(TwoDigits(100), QStringLiteral("100"));
  TimerState.TimeSeparator = u'.';
  EXPECT_EQ(FormatTime(75), QStringLiteral("01.15"));
  TimerState.TimeSeparator = u':';
}

TEST_F(MainWindowFixture, StartsIdleWithThreeMinutesAndTheVersionInTheCaption) {
  TFSteepo& w = Open();
  EXPECT_EQ(Shown(), QStringLiteral("03:00"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo 2.3"));
  EXPECT_EQ(EnabledButtons(), (QStringList{"BBInc", "BBDec", "BBStart"}));
  EXPECT_EQ(w.BBStart()->text(), QStringLiteral("Start"));
  EXPECT_EQ(w.BBStop()->text(), QStringLiteral("Stop"));
  EXPECT_EQ(w.size(), QSize(248, 128));
  EXPECT_EQ(w.BBInc()->accessibleName(), QStringLiteral("Add 15 seconds"));
  EXPECT_EQ(w.BBDec()->accessibleName(), QStringLiteral("Subtract 15 seconds"));
  EXPECT_EQ(w.LCD()->accessibleName(), QStringLiteral("03:00"));
  EXPECT_EQ(w.LCD()->focusPolicy(), Qt::NoFocus);
}

struct StepRow {
  quint32 from;
  int key;
  Qt::KeyboardModifiers modifiers;
  quint32 to;
};

TEST_F(MainWindowFixture, StepKeysMoveToTheNeighbouringMultipleOfFifteenWithinBounds) {
  const StepRow rows[] = {
      {0, Qt::Key_PageUp, Qt::NoModifier, 15},
      {14, Qt::Key_PageUp, Qt::NoModifier, 15},
      {3570, Qt::Key_PageUp, Qt::NoModifier, 3585},
      {3584, Qt::Key_PageUp, Qt::NoModifier, 3585},
      {3585, Qt::Key_PageUp, Qt::NoModifier, 3585},
      {6000, Qt::Key_PageUp, Qt::NoModifier, 6000},
      {180, Qt::Key_Plus, Qt::KeypadModifier, 195},
      {15, Qt::Key_PageDown, Qt::NoModifier, 15},
      {16, Qt::Key_PageDown, Qt::NoModifier, 15},
      {30, Qt::Key_PageDown, Qt::NoModifier, 15},
      {31, Qt::Key_PageDown, Qt::NoModifier, 30},
      {5000, Qt::Key_PageDown, Qt::NoModifier, 4995},
      {0, Qt::Key_PageDown, Qt::NoModifier, 0},
      {180, Qt::Key_Minus, Qt::KeypadModifier, 165},
      // the main keyboard's plus and minus are not step keys
      {180, Qt::Key_Plus, Qt::NoModifier, 180},
      {180, Qt::Key_Minus, Qt::NoModifier, 180},
      // modifiers are not examined
      {180, Qt::Key_PageUp, Qt::ShiftModifier | Qt::ControlModifier, 195},
  };
  Open();
  Show();
  for (const StepRow& row : rows) {
    TimerState.BrewTime = row.from;
    Key(row.key, row.modifiers);
    EXPECT_EQ(TimerState.BrewTime, row.to) << row.from << " key " << std::hex << row.key;
  }
  TimerState.BrewTime = 3570;
  Key(Qt::Key_PageUp);
  EXPECT_EQ(Shown(), QStringLiteral("59:45"));
  EXPECT_EQ(Window->windowTitle(), QStringLiteral("Steepo 2.3"));
}

TEST_F(MainWindowFixture, StepButtonsClickAndRepeatWhileHeld) {
  TFSteepo& w = Open();
  Show();
  QTest::mouseClick(w.BBInc(), Qt::LeftButton);
  EXPECT_EQ(TimerState.BrewTime, 195u);
  QTest::mouseClick(w.BBDec(), Qt::LeftButton);
  EXPECT_EQ(TimerState.BrewTime, 180u);

  // Held for a second: armed at the first tick, then a step on every further tick, and the
  // release click.
  QTest::mousePress(w.BBInc(), Qt::LeftButton);
  EXPECT_TRUE(w.TimerBtn()->isActive());
  EXPECT_EQ(TimerState.DownButton, w.BBInc());
  for (int tick = 0; tick < 5; ++tick)
    w.TimerBtnTimer();
  EXPECT_EQ(TimerState.BrewTime, 180u + 4 * 15);
  QTest::mouseRelease(w.BBInc(), Qt::LeftButton);
  EXPECT_EQ(TimerState.BrewTime, 180u + 5 * 15);
  EXPECT_FALSE(w.TimerBtn()->isActive());
  EXPECT_EQ(TimerState.DownButton, nullptr);
  EXPECT_EQ(TimerState.RepeatButton, nullptr);

  // Any mouse button arms it; a right button gives no click on release.
  QTest::mousePress(w.BBDec(), Qt::RightButton);
  w.TimerBtnTimer();
  w.TimerBtnTimer();
  w.TimerBtnTimer();
  QTest::mouseRelease(w.BBDec(), Qt::RightButton);
  EXPECT_EQ(TimerState.BrewTime, 180u + 3 * 15);
}

TEST_F(MainWindowFixture, StartCountsDownInTheCaptionAndStopShowsTheSetTimeAgain) {
  TFSteepo& w = Open();
  Show();
  QTest::mouseClick(w.BBStart(), Qt::LeftButton);
  EXPECT_TRUE(TimerState.Running);
  EXPECT_EQ(EnabledButtons(), QStringList{"BBStop"});
  EXPECT_EQ(Log, QStringList{"sleep 200"});
  EXPECT_TRUE(w.isMinimized());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo 2.3"));  // Start itself does not redisplay

  Tick(0);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo [03:00]"));  // the 200 ms wait is inside the first second
  Tick(800);
  EXPECT_EQ(Shown(), QStringLiteral("02:59"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo [02:59]"));
  Tick(60'000);
  EXPECT_EQ(Shown(), QStringLiteral("01:59"));

  QTest::mouseClick(w.BBStop(), Qt::LeftButton);
  EXPECT_FALSE(TimerState.Running);
  EXPECT_EQ(Shown(), QStringLiteral("03:00"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo 2.3"));
  EXPECT_EQ(EnabledButtons(), (QStringList{"BBInc", "BBDec", "BBStart"}));
  EXPECT_TRUE(w.isMinimized());  // the window keeps its state
  Tick(1000);
  EXPECT_EQ(Shown(), QStringLiteral("03:00"));  // ticks do nothing when idle
}

TEST_F(MainWindowFixture, EndSequenceShowsZeroRestoresRaisesTheAlarmAndCloses) {
  TimerState.BrewTime = 15;
  TFSteepo& w = Open();
  Show();
  w.BBStartClick();
  Log.clear();
  Tick(14'799);
  EXPECT_EQ(Shown(), QStringLiteral("00:01"));
  EXPECT_TRUE(w.isVisible());
  Tick(1);  // exactly at the end tick
  EXPECT_EQ(Log, QStringList{"alarm caption=Steepo [00:00] lcd=00:00 running=no minimised=no"});
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(TimerState.BrewTime, 15u);
}

TEST_F(MainWindowFixture, ZeroTimeEndsAtTheFirstTick) {
  TimerState.BrewTime = 0;
  TFSteepo& w = Open();
  Show();
  w.BBStartClick();
  Log.clear();
  Tick(0);
  EXPECT_EQ(Log.size(), 1);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowFixture, CountdownAcrossTheThirtyTwoBitTickEndsOnTime) {
  Now = 0xFFFFFFFFull - 1000;  // a 32-bit tick would wrap during this countdown
  TimerState.BrewTime = 60;
  TFSteepo& w = Open();
  Show();
  w.BBStartClick();
  Log.clear();
  Tick(1000);
  EXPECT_TRUE(Log.isEmpty());
  EXPECT_EQ(Shown(), QStringLiteral("00:59"));
  Tick(58'799);
  EXPECT_EQ(Shown(), QStringLiteral("00:01"));
  Tick(1);
  EXPECT_EQ(Log.size(), 1);
}

TEST_F(MainWindowFixture, KeysAreSilentWhileCounting) {
  TFSteepo& w = Open();
  Show();
  w.BBStartClick();
  for (auto [key, modifiers] : {std::pair{Qt::Key_PageUp, Qt::NoModifier}, {Qt::Key_PageDown, Qt::NoModifier},
                                {Qt::Key_Plus, Qt::KeypadModifier}, {Qt::Key_Minus, Qt::KeypadModifier},
                                {Qt::Key_F1, Qt::NoModifier}})
    Key(key, modifiers);
  EXPECT_EQ(TimerState.BrewTime, 180u);
  EXPECT_TRUE(TimerState.Running);
  Log.clear();
  Key(Qt::Key_Return);  // Enter leaves the countdown alone
  EXPECT_TRUE(Log.isEmpty());
}

TEST_F(MainWindowFixture, EnterStartsWhicheverControlHasTheFocus) {
  TFSteepo& w = Open();
  Show();
  w.BBInc()->setFocus();
  QTest::keyClick(w.BBInc(), Qt::Key_Return);
  EXPECT_TRUE(TimerState.Running);
  EXPECT_EQ(TimerState.BrewTime, 180u);  // started, not stepped

  w.BBStopClick();
  w.BBDec()->setFocus();
  QTest::keyClick(w.BBDec(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(TimerState.Running);
}

TEST_F(MainWindowFixture, ConsumedKeysNeverReachTheFocusedControl) {
  TFSteepo& w = Open();
  Show();
  int seen = 0;
  struct Spy : QObject {
    int* Seen;
    explicit Spy(int* seen) : Seen(seen) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::KeyPress)
        ++*Seen;
      return false;
    }
  } spy(&seen);
  w.BBDec()->setFocus();
  w.BBDec()->installEventFilter(&spy);
  QTest::keyClick(w.BBDec(), Qt::Key_PageUp);
  EXPECT_EQ(seen, 0);
  QTest::keyClick(w.BBDec(), Qt::Key_Space);  // other keys pass on: space clicks the button
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(TimerState.BrewTime, 180u);  // 195 after Page Up, 180 after the click on BBDec
}

TEST_F(MainWindowFixture, CloseIsRefusedWhileCountingAndStoresThePresetWhenIdle) {
  TimerState.BrewTime = 240;
  TFSteepo& w = Open();
  Show();
  w.BBStartClick();
  w.showNormal();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  w.BBStopClick();
  EXPECT_TRUE(w.close());
  Window.reset();
  EXPECT_EQ(Platform::ReadPreset(), 240u);
}

TEST_F(MainWindowFixture, SteppedTimeIsThereAtTheNextStart) {
  Open();
  Show();
  Key(Qt::Key_PageUp);
  Window.reset();
  TimerState.BrewTime = 180;
  Open();
  EXPECT_EQ(Shown(), QStringLiteral("03:15"));
}

TEST_F(MainWindowFixture, CommandLineTimeLeavesThePresetAlone) {
  QString reason;
  ASSERT_TRUE(Platform::WritePreset(90, &reason)) << reason.toStdString();
  Open({QStringLiteral("0:05")});
  EXPECT_EQ(Shown(), QStringLiteral("00:05"));
  Key(Qt::Key_PageUp);
  EXPECT_EQ(Shown(), QStringLiteral("00:15"));
  Window.reset();
  EXPECT_EQ(Platform::ReadPreset(), 90u);
}

TEST_F(MainWindowFixture, AutoStartOnlyWithTheSwitchAndOnlyAfterShowing) {
  struct Row {
    QStringList arguments;
    bool starts;
  };
  const Row rows[] = {
      {{}, false},
      {{"-start"}, true},
      {{"0:05", "/Start"}, true},
      {{"START", "3:00"}, false},
  };
  for (const Row& row : rows) {
    TimerState.Running = false;
    TFSteepo& w = Open(row.arguments);
    Platform::ProcessMessages();
    EXPECT_FALSE(TimerState.Running) << "before showing";
    Show();
    EXPECT_EQ(TimerState.Running, row.starts) << row.arguments.join(u' ').toStdString();
    // A message with other parameters does nothing.
    if (!row.starts) {
      Platform::PostMessage(&w, TFSteepo::WM_AUTOSTART, 1, 2662);
      Platform::ProcessMessages();
      EXPECT_FALSE(TimerState.Running);
    }
    w.BBStopClick();
    Window.reset();
  }
}

TEST_F(MainWindowFixture, SeparatorLineFollowsTheLinkAndEndsAtTheRightOfStop) {
  TFSteepo& w = Open();
  for (const QString& text : {QStringLiteral("a.b"), QStringLiteral("www.example.org")}) {
    w.SetWebLink(text);
    EXPECT_EQ(w.LWeb()->text(), text);
    EXPECT_EQ(w.LWeb()->width(), w.LWeb()->sizeHint().width());
    EXPECT_EQ(w.Bevel()->x(), w.LWeb()->x() + w.LWeb()->width() + 4);
    EXPECT_EQ(w.Bevel()->x() + w.Bevel()->width(), 241);
  }
}

TEST_F(MainWindowFixture, LinkClickOpensItsCaption) {
  QStringList opened;
  Platform::SetShellOpener([&](const QString& target) {
    opened << target;
    return false;  // a refused opener is ignored
  });
  TFSteepo& w = Open();
  Show();
  QTest::mouseClick(w.LWeb(), Qt::LeftButton);
  EXPECT_EQ(opened, QStringList{WebAddress()});
  Platform::SetShellOpener({});
}

TEST_F(MainWindowFixture, LinkIsReachedWithTabAndIsALinkToAssistiveTools) {
  QStringList opened;
  Platform::SetShellOpener([&](const QString& target) {
    opened << target;
    return true;
  });
  TFSteepo& w = Open();
  Show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(w.BBStart(), Qt::Key_Tab);  // Stop is disabled
  ASSERT_EQ(QApplication::focusWidget(), w.LWeb());
  QTest::keyClick(w.LWeb(), Qt::Key_Space);
  QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w.LWeb());
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->role(), QAccessible::Link);
  EXPECT_EQ(link->text(QAccessible::Name), WebAddress());
  link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(opened, (QStringList{WebAddress(), WebAddress()}));
  Platform::SetShellOpener({});
}

TEST_F(MainWindowFixture, AssistiveToolsSeeAWindowNamedByItsCaptionAndWhatTheStepButtonsDo) {
  OrbDialogs::LangIndex = 2;  // German
  TFSteepo& w = Open();
  Show();
  EXPECT_EQ(w.BBInc()->accessibleName(), QStringLiteral("15 Sekunden mehr"));
  EXPECT_EQ(w.BBDec()->accessibleDescription(), QStringLiteral("Verkürzt die Ziehzeit um 15 Sekunden (Bild ab)"));
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Steepo 2.3"));
  w.BBStartClick();  // minimises the window
  Tick(1000);
  ASSERT_TRUE(w.isMinimized());
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Steepo [02:59]"));
  w.BBStopClick();
}

// Holding "+" and then starting the countdown, opening a dialog or losing the button must not
// leave the repeat running: it would climb the time under a running countdown.
struct RepeatEndRow {
  const char* name;
  std::function<void(TFSteepo&)> act;
  const char* captionTwoSecondsLater;
};

TEST_F(MainWindowFixture, AutoRepeatEndsWithTheMouseOrACountdownOrAModalDialog) {
  const RepeatEndRow rows[] = {
      {"Enter", [](TFSteepo& w) { QTest::keyClick(w.BBInc(), Qt::Key_Return); }, "Steepo [03:13]"},
      {"F1",
       [](TFSteepo& w) {
         QTimer::singleShot(0, [&w] {
           EXPECT_FALSE(w.TimerBtn()->isActive()) << "while the about dialog is open";
           QApplication::activeModalWidget()->close();
         });
         QTest::keyClick(w.BBInc(), Qt::Key_F1);
       },
       "Steepo 2.3"},
      {"ButtonDisabled", [](TFSteepo& w) { w.BBInc()->setEnabled(false); }, "Steepo 2.3"},
  };
  for (const RepeatEndRow& row : rows) {
    TimerState.BrewTime = 180;
    TFSteepo& w = Open();
    Show();
    QTest::mousePress(w.BBInc(), Qt::LeftButton);
    w.TimerBtnTimer();  // armed
    w.TimerBtnTimer();  // one step
    row.act(w);
    QTest::mouseRelease(w.BBInc(), Qt::LeftButton);
    EXPECT_FALSE(w.TimerBtn()->isActive()) << row.name;
    for (int tick = 0; tick < 3; ++tick)
      w.TimerBtnTimer();  // ticks that were already due step nothing
    Tick(2000);
    EXPECT_EQ(TimerState.BrewTime, 195u) << row.name;
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8(row.captionTwoSecondsLater)) << row.name;
    if (TimerState.Running)
      w.BBStopClick();
    Window.reset();
    ForgetPreset();  // each row starts at 3:00
  }
}

TEST_F(MainWindowFixture, TheIndicatorShowsTheColonWhateverTheLocaleSeparator) {
  TimerState.TimeSeparator = u'.';
  TFSteepo& w = Open({QStringLiteral("4.30")});
  EXPECT_EQ(Shown(), QStringLiteral("04:30"));
  w.BBStartClick();
  Tick(1000);
  EXPECT_EQ(Shown(), QStringLiteral("04:29"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo [04.29]"));  // the caption is plain text
  w.BBStopClick();
}

// The desktop's font, set through the application as a desktop theme sets it: at the designed
// size and below nothing changes; larger, the whole window grows by its ratio and nothing of
// the theme's family or style shows through, nor is any text cut off.
struct TDesktopFontRow {
  const char* Name;
  qreal Points;
  QSize Size;
};

TEST_F(MainWindowFixture, TheWindowGrowsWithTheDesktopFontAndNothingClips) {
  const QFont before = QApplication::font();
  const TDesktopFontRow rows[] = {
      {"Small", 8, {248, 128}}, {"Designed", 10, {248, 128}}, {"Large", 18, {446, 230}}, {"Larger", 24, {595, 307}}};
  for (const TDesktopFontRow& row : rows) {
    QFont desktop(QStringLiteral("DejaVu Serif"), 1);
    desktop.setPointSizeF(row.Points);
    desktop.setItalic(true);
    for (const char* kind : {"QLabel", "QPushButton", static_cast<const char*>(nullptr)})
      QApplication::setFont(desktop, kind);
    const qreal scale = std::max<qreal>(1, row.Points / 10);
    TFSteepo& w = Open();
    Show();
    EXPECT_EQ(w.size(), row.Size) << row.Name;
    EXPECT_EQ(w.LCD()->geometry(), QRect(QPoint(8, 8) * scale, QSize(193, 65) * scale)) << row.Name;
    EXPECT_EQ(w.BBStart()->font(), OrbForms::LayoutFont(OrbForms::Scaled(13, scale), true)) << row.Name;
    EXPECT_EQ(w.BBInc()->iconSize(), QSize(14, 14) * scale) << row.Name;
    for (QPushButton* button : {w.BBStart(), w.BBStop()}) {
      const int content = QFontMetrics(button->font()).horizontalAdvance(button->text()) + button->iconSize().width();
      EXPECT_LT(content, button->width()) << row.Name << " " << button->objectName().toStdString();
    }
    const QLabel* link = w.LWeb();
    EXPECT_FALSE(link->font().italic()) << row.Name;
    EXPECT_EQ(link->width(), link->sizeHint().width()) << row.Name;
    EXPECT_LE(QFontMetrics(link->font()).height(), link->height()) << row.Name;
    EXPECT_EQ(w.Bevel()->x(), link->geometry().right() + 1 + OrbForms::Scaled(4, scale)) << row.Name;
    EXPECT_EQ(w.Bevel()->geometry().right(), w.BBStop()->geometry().right()) << row.Name;
    Window.reset();
  }
  for (const char* kind : {"QLabel", "QPushButton", static_cast<const char*>(nullptr)})
    QApplication::setFont(before, kind);
}

TEST_F(MainWindowFixture, LinkStandsOutOnLightAndDarkWindows) {
  TFSteepo& w = Open();
  EXPECT_EQ(w.LWeb()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  QPalette dark = w.palette();
  dark.setColor(QPalette::Window, QColor(40, 40, 40));
  dark.setColor(QPalette::Link, QColor(0, 0, 128));  // too dark to help
  w.setPalette(dark);
  const QColor colour = w.LWeb()->palette().color(QPalette::WindowText);
  EXPECT_GE(OrbDialogs::Contrast(colour, dark.color(QPalette::Window)), 4.5) << colour.name().toStdString();
  EXPECT_GT(colour.blue(), colour.red()) << "still a blue";
}

// ---- The menu and the teas -------------------------------------------------------------------

// The menu as a screen reader finds it: each item's name, "*" before a checked one, "-" for a
// line between groups.
QStringList MenuItems(QMenu* menu) {
  QStringList items;
  QAccessibleInterface* popup = QAccessible::queryAccessibleInterface(menu);
  for (int i = 0; popup && i < popup->childCount(); ++i) {
    QAccessibleInterface* item = popup->child(i);
    if (item->role() == QAccessible::Separator)
      items << QStringLiteral("-");
    else
      items << (item->state().checked ? QStringLiteral("*") : QString()) + item->text(QAccessible::Name) +
                   (item->role() == QAccessible::MenuItem ? QString() : QStringLiteral(" (not a menu item)"));
  }
  return items;
}

struct TMenuOpenRow {
  const char* Name;
  std::function<void(TFSteepo&)> Act;
  bool Opens;
};

TEST_F(MainWindowFixture, TheMenuOpensOnTheMenuKeysAndARightClickBesideTheStepButtons) {
  const auto rightClick = [](QWidget* on, QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse) {
    QContextMenuEvent event(reason, QPoint(2, 2), on->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(on, &event);
  };
  const TMenuOpenRow rows[] = {
      {"MenuKey", [](TFSteepo& w) { QTest::keyClick(w.BBStart(), Qt::Key_Menu); }, true},
      {"ShiftF10", [](TFSteepo& w) { QTest::keyClick(w.BBInc(), Qt::Key_F10, Qt::ShiftModifier); }, true},
      {"RightClickOnTheDisplay", [&](TFSteepo& w) { rightClick(w.LCD()); }, true},
      {"RightClickOnTheLink", [&](TFSteepo& w) { rightClick(w.LWeb()); }, true},
      // any mouse button held on a step button repeats the step
      {"RightClickOnAStepButton", [&](TFSteepo& w) { rightClick(w.BBDec()); }, false},
      // the menu key's own event, which the key itself has answered already
      {"KeyboardEvent", [&](TFSteepo& w) { rightClick(w.LCD(), QContextMenuEvent::Keyboard); }, false},
  };
  for (const TMenuOpenRow& row : rows) {
    TFSteepo& w = Open();
    Show();
    row.Act(w);
    EXPECT_EQ(w.Menu() && w.Menu()->isVisible(), row.Opens) << row.Name;
    Window.reset();
  }
}

TEST_F(MainWindowFixture, ATeaChosenFromTheMenuByKeyboardSetsTheTimeUntilAStep) {
  TFSteepo& w = Open();
  Show();
  QTest::keyClick(w.BBStart(), Qt::Key_Menu);
  ASSERT_TRUE(w.Menu()->isVisible());
  // Found under the window, as a tool that walks the tree finds things.
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
  QAccessibleInterface* menu = window->child(window->childCount() - 1);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
  EXPECT_EQ(window->indexOfChild(menu), window->childCount() - 1);
  EXPECT_EQ(MenuItems(w.Menu()),
            (QStringList{"Green tea  2:00", "Oolong  3:00", "Black tea  4:00", "Herbal tea  6:00",
                         "Oolong, gongfu  0:20 \u00D76", "-", "Save this time as a tea\u2026", "Edit teas\u2026", "-",
                         "Sound", "Repeat until I come", "Warn before the end", "*Keep the computer awake while brewing",
                         "-", "About\u2026"}));
  for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
    QTest::keyClick(w.Menu(), key);
  EXPECT_FALSE(w.Menu()->isVisible());
  EXPECT_EQ(Shown(), QStringLiteral("04:00"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo 2.3"));

  w.ShowMenu(w.mapToGlobal(QPoint()));
  EXPECT_EQ(MenuItems(w.Menu()).value(2), QStringLiteral("*Black tea  4:00"));
  // Pressed as assistive tools press it, an item closes the menu too.
  QAccessible::queryAccessibleInterface(w.Menu())->child(3)->actionInterface()->doAction(
      QAccessibleActionInterface::pressAction());
  EXPECT_FALSE(w.Menu()->isVisible());
  EXPECT_EQ(Shown(), QStringLiteral("06:00"));
  w.ChooseTea(2);
  // A tea of one infusion counts as a time set by hand does.
  w.BBStartClick();
  Tick(0);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo [04:00]"));
  w.BBStopClick();

  Key(Qt::Key_PageUp);
  EXPECT_EQ(Shown(), QStringLiteral("04:15"));
  w.ShowMenu(w.mapToGlobal(QPoint()));
  EXPECT_FALSE(MenuItems(w.Menu()).mid(0, 5).join(u' ').contains(u'*'));
}

// From the menu key to the editor's OK without the mouse: the chosen tea goes on with what the
// editor made of it, and the list is stored.
TEST_F(MainWindowFixture, TheEditorIsReachedAndAnsweredByKeyboard) {
  TFSteepo& w = Open();
  Show();
  w.ChooseTea(1);  // Oolong
  QTest::keyClick(w.BBStart(), Qt::Key_Menu);
  QTest::keyClick(w.Menu(), Qt::Key_Up);  // About...
  for (int i = 0; i < 4; ++i)
    QTest::keyClick(w.Menu(), Qt::Key_Up);  // the alarm's four items
  QTest::keyClick(w.Menu(), Qt::Key_Up);  // Edit teas...
  bool edited = false;
  QTimer editor;
  QObject::connect(&editor, &QTimer::timeout, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog->objectName() != u"FTeaEditor")
      return;
    if (QApplication::activeWindow() != dialog) {
      dialog->activateWindow();  // the keys go to it once it has the focus
      return;
    }
    editor.stop();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);                   // Oolong in the table
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);     // its time
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3:30"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);                 // OK
    edited = true;
  });
  editor.start(0);
  QTimer::singleShot(5000, &w, [] {  // never hang the test
    if (QWidget* dialog = QApplication::activeModalWidget())
      dialog->close();
  });
  QTest::keyClick(w.Menu(), Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return edited && !QApplication::activeModalWidget(); }));
  EXPECT_EQ(Teas::Current.List().value(1), (Teas::TTea{QStringLiteral("Oolong"), 210}));
  EXPECT_EQ(Shown(), QStringLiteral("03:30"));
  QString reason;
  const auto stored = Platform::ReadSection(QStringLiteral("Teas"), &reason).value_or(Platform::TStoreSection());
  const auto time = std::find_if(stored.begin(), stored.end(), [](const auto& entry) { return entry.Name == u"2/Time"; });
  ASSERT_NE(time, stored.end()) << reason.toStdString();
  EXPECT_EQ(Platform::StoredNumber(time->Value), 210u);
}

TEST_F(MainWindowFixture, WhileCountingTheMenuChangesNothing) {
  TFSteepo& w = Open();
  Show();
  w.BBStartClick();
  w.ShowMenu(w.mapToGlobal(QPoint()));
  // The alarm's options change no time, and their file dialog waits (AlarmTest).
  const auto alarms = [](const QAction* item) {
    return (item->menu() ? item->menu()->objectName() : item->objectName()).startsWith(u"Alarm");
  };
  for (QAction* item : w.Menu()->actions())
    EXPECT_TRUE(item->isSeparator() || !item->isEnabled() || alarms(item)) << item->text().toStdString();
  w.ChooseTea(0);
  EXPECT_EQ(TimerState.BrewTime, 180u);
  w.BBStopClick();
}

TEST_F(MainWindowFixture, StopDuringAnInfusionStartsTheTeaAgainFromItsFirst) {
  Teas::Current.Replace({{QStringLiteral("Gongfu"), 10, 3, 5}});
  TFSteepo& w = Open();
  Show();
  w.ShowAlarm = [&w] { w.AlarmNextInfusion(); };
  w.ChooseTea(0);
  w.BBStartClick();
  Tick(10'000);  // the first ends, the second starts at once
  Tick(0);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo [00:15] 2/3"));
  w.BBStopClick();
  EXPECT_EQ(Shown(), QStringLiteral("00:10"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo 2.3"));
  w.BBStartClick();
  Tick(0);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Steepo [00:10] 1/3"));
  w.BBStopClick();
}

} // namespace
