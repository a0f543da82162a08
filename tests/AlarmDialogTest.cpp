// The alarm dialog and the texts that the chosen language gives the timer's windows.
#include "F_Steepo.h"
#include "F_Steepo2.h"
#include "OnShow.h"
#include "OrbDialogs.h"
#include "OrbUtils.h"
#include "OrbForms.h"
#include "Platform.h"
#include "Teas.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class AlarmDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    OrbDialogs::LangIndex = 0;
    MainWindow = std::make_unique<QWidget>();
    MainWindow->setWindowTitle(QStringLiteral("Steepo 2.3"));
  }
  void TearDown() override {
    F_Steepo2::FSteepo2 = nullptr;
    MainWindow.reset(); // takes the dialog with it
    Platform::SetLangIDSource({});
    OrbDialogs::LangIndex = 0;
  }

  TFSteepo2* CreateDialog() {
    F_Steepo2::CreateAlarmDialog(MainWindow.get());
    return F_Steepo2::FSteepo2;
  }

  std::unique_ptr<QWidget> MainWindow;
};

// A desktop font larger than designed makes the whole dialog larger; the longest message of
// the eight languages, the icon and the button stay whole inside it.
TEST_F(AlarmDialogTest, GrowsWithALargeDesktopFontWithoutClipping) {
  const QFont before = QApplication::font();
  for (const qreal points : {18.0, 24.0}) {
    QFont desktop = before;
    desktop.setPointSizeF(points);
    QApplication::setFont(desktop);
    const qreal scale = points / 10;
    for (quint8 language = 0; language < 8; ++language) {
      OrbDialogs::LangIndex = language;
      TFSteepo2* dialog = CreateDialog();
      SCOPED_TRACE(QStringLiteral("%1 pt, row %2").arg(points).arg(language).toStdString());
      EXPECT_EQ(dialog->height(), OrbForms::Scaled(112, scale));
      const int near = OrbForms::Scaled(16, scale), far = OrbForms::Scaled(48, scale);  // by its edges
      EXPECT_EQ(dialog->Image()->geometry(), QRect(QPoint(near, near), QPoint(far - 1, far - 1)));
      EXPECT_EQ(dialog->Image()->pixmap().deviceIndependentSize().toSize(), dialog->Image()->size());
      const QLabel* message = dialog->LMessage();
      EXPECT_GE(message->width(), QFontMetrics(message->font()).horizontalAdvance(message->text()));
      EXPECT_LE(QFontMetrics(message->font()).height(), message->height());
      const QPushButton* ok = dialog->BBOK();
      EXPECT_LE(ok->geometry().bottom(), dialog->height());
      EXPECT_LT(QFontMetrics(ok->font()).horizontalAdvance(ok->text()) + ok->iconSize().width(), ok->width());
      delete dialog;
    }
  }
  QApplication::setFont(before);
}

// ---- Texts of the chosen language ---------------------------------------------------------

struct TTextRow {
  const char* Name;
  quint16 LangID;
  const char16_t* Start;
  const char16_t* Stop;
  const char16_t* Ready;
};
void PrintTo(const TTextRow& row, std::ostream* out) { *out << row.Name; }

class LanguageTextsTest : public AlarmDialogTest, public ::testing::WithParamInterface<TTextRow> {};

TEST_P(LanguageTextsTest, TheSystemLanguageChoosesTheRow) {
  const TTextRow& row = GetParam();
  Platform::SetLangIDSource([&] { return row.LangID; });
  OrbDialogs::DetectLanguage();
  EXPECT_EQ(F_Steepo::MainText(F_Steepo::mtStart), QString::fromUtf16(row.Start));
  EXPECT_EQ(F_Steepo::MainText(F_Steepo::mtStop), QString::fromUtf16(row.Stop));
  EXPECT_EQ(F_Steepo::MainText(F_Steepo::mtOK), QStringLiteral("OK"));

  TFSteepo2* dialog = CreateDialog();
  EXPECT_EQ(dialog->LMessage()->text(), QString::fromUtf16(row.Ready));
  EXPECT_EQ(dialog->BBOK()->text(), QStringLiteral("OK"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LanguageTextsTest,
    ::testing::Values(
        TTextRow{"English", 0x0409, u"Start", u"Stop", u"Your tea is prepared"},
        TTextRow{"Czech", 0x0405, u"Start", u"Stop", u"V\u00E1\u0161 \u010Daj je p\u0159ipraven"},
        TTextRow{"German", 0x0407, u"Start", u"Stopp", u"Ihr Tee ist fertig"},
        // Spanish, Portuguese and French have no alarm text of their own.
        TTextRow{"Spanish", 0x0C0A, u"Start", u"Stop", u"Your tea is prepared"},
        TTextRow{"Portuguese", 0x0416, u"Start", u"Stop", u"Your tea is prepared"},
        TTextRow{"French", 0x040C, u"Start", u"Stop", u"Your tea is prepared"},
        TTextRow{"Italian", 0x0410, u"Start", u"Stop", u"Il suo t\u00E8 \u00E8 pronto"},
        TTextRow{"Russian", 0x0419, u"\u0421\u0442\u0430\u0440\u0442", u"\u0421\u0442\u043E\u043F",
                 u"\u0412\u0430\u0448 \u0447\u0430\u0439 \u0433\u043E\u0442\u043E\u0432"},
        TTextRow{"Slovak", 0x041B, u"Start", u"Stop", u"Your tea is prepared"},
        TTextRow{"Polish", 0x0415, u"Start", u"Stop", u"Your tea is prepared"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Layout ------------------------------------------------------------------------------

TEST_F(AlarmDialogTest, TakesTheMainWindowsCaptionAndStaysOnTop) {
  TFSteepo2* dialog = CreateDialog();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Steepo 2.3"));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(dialog->BBOK()->isDefault());
  EXPECT_EQ(dialog->Image()->geometry(), QRect(16, 16, 32, 32));
  EXPECT_FALSE(dialog->Image()->pixmap().isNull());
  EXPECT_FALSE(dialog->BBOK()->icon().isNull());
}

TEST_F(AlarmDialogTest, PreparedAtStartUpMadeAtTheEndWithTheStartUpCaption) {
  F_Steepo2::PrepareAlarmDialog(MainWindow.get());
  EXPECT_EQ(F_Steepo2::FSteepo2, nullptr);  // nothing of it at start-up
  MainWindow->setWindowTitle(QStringLiteral("Steepo [00:00]"));
  TFSteepo2* dialog = F_Steepo2::AlarmDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Steepo 2.3"));
  EXPECT_EQ(F_Steepo2::AlarmDialog(), dialog);  // made once
}

TEST_F(AlarmDialogTest, WidthFollowsTheMessageAndTheButtonStaysCentred) {
  // Every language, so that the longest and the shortest message are among them.
  int narrowest = INT_MAX, widest = 0;
  for (quint8 language = 0; language < 8; ++language) {
    SCOPED_TRACE(int(language));
    OrbDialogs::LangIndex = language;
    TFSteepo2* dialog = CreateDialog();
    QLabel* message = dialog->LMessage();
    QPushButton* ok = dialog->BBOK();

    EXPECT_EQ(message->pos(), QPoint(64, 16));
    EXPECT_EQ(message->width(), message->sizeHint().width());
    EXPECT_GE(message->width(), QFontMetrics(message->font()).horizontalAdvance(message->text()));
    // A margin of 32 pixels right of the text.
    EXPECT_EQ(dialog->width(), 64 + message->width() + 32);
    EXPECT_EQ(dialog->height(), 112);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()); // fixed size
    EXPECT_EQ(ok->size(), QSize(89, 33));
    EXPECT_EQ(ok->x(), (dialog->width() - 89) / 2);
    EXPECT_EQ(ok->y(), 64);
    const int left = ok->x(), right = dialog->width() - ok->x() - ok->width();
    EXPECT_LE(std::abs(left - right), 1);

    narrowest = std::min(narrowest, dialog->width());
    widest = std::max(widest, dialog->width());
    delete dialog;
  }
  // The messages differ in length, and so do the dialogs.
  EXPECT_LT(narrowest, widest);
}

// A tea with infusions left: the second button beside OK, the two centred together, each
// text whole, in every language and with a large desktop font; without one, the dialog is as
// it was.
TEST_F(AlarmDialogTest, TheNextInfusionButtonStandsBesideOKAndBothStayCentred) {
  const QFont before = QApplication::font();
  for (const qreal points : {10.0, 18.0}) {
    QFont desktop = before;
    desktop.setPointSizeF(points);
    QApplication::setFont(desktop);
    for (quint8 language = 0; language < 8; ++language) {
      SCOPED_TRACE(QStringLiteral("%1 pt, row %2").arg(points).arg(language).toStdString());
      OrbDialogs::LangIndex = language;
      TFSteepo2* dialog = CreateDialog();
      const QRect alone = dialog->BBOK()->geometry();
      const int width = dialog->width();
      dialog->SetNextInfusion(Teas::TInfusion{25, 3, 6});
      const QRect ok = dialog->BBOK()->geometry(), next = dialog->BBNext()->geometry();
      EXPECT_TRUE(dialog->BBNext()->isVisibleTo(dialog));
      EXPECT_EQ(next.top(), ok.top());
      EXPECT_EQ(next.height(), ok.height());
      EXPECT_GT(next.left(), ok.right());
      EXPECT_LE(std::abs(ok.left() - (dialog->width() - 1 - next.right())), 1);
      EXPECT_GE(ok.left(), dialog->Image()->x());
      EXPECT_GE(dialog->width(), width);
      const QString text = dialog->BBNext()->text().remove(u'&');
      EXPECT_TRUE(text.contains(QStringLiteral("0:25")) && text.contains(QStringLiteral("(3/6)"))) << text.toStdString();
      EXPECT_LT(QFontMetrics(dialog->BBNext()->font()).horizontalAdvance(text) + dialog->BBNext()->iconSize().width(),
                next.width());
      EXPECT_TRUE(dialog->BBNext()->text().contains(u'&'));
      dialog->SetNextInfusion(std::nullopt);
      EXPECT_FALSE(dialog->BBNext()->isVisibleTo(dialog));
      EXPECT_EQ(dialog->BBOK()->geometry(), alone);
      EXPECT_EQ(dialog->width(), width);
      delete dialog;
    }
  }
  QApplication::setFont(before);
}

// ---- Showing and closing -----------------------------------------------------------------

TEST_F(AlarmDialogTest, SoundFallsBackToTheBeep) {
  int beeps = 0;
  const auto beep = [&] { ++beeps; };
  EXPECT_FALSE(F_Steepo2::SoundAlarm(QStringLiteral(":/sound/missing.wav"), beep));
  EXPECT_EQ(beeps, 1);

  // The real sound plays where there is an output device, and beeps where there is none;
  // never both, never neither.
  beeps = 0;
  const bool played = F_Steepo2::SoundAlarm(QStringLiteral(":/sound/SOUND.wav"), beep);
  EXPECT_EQ(beeps, played ? 0 : 1);
}

TEST_F(AlarmDialogTest, ShowingBringsItToTheFront) {
  TFSteepo2* dialog = CreateDialog();
  dialog->open();
  EXPECT_TRUE(dialog->isVisible());
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), dialog);
  dialog->accept();
}

struct TCloseRow {
  const char* Name;
  std::function<void(TFSteepo2&)> Act;
  bool Closes;
};
void PrintTo(const TCloseRow& row, std::ostream* out) { *out << row.Name; }

class AlarmCloseTest : public AlarmDialogTest, public ::testing::WithParamInterface<TCloseRow> {};

// The end sequence closes the main window as soon as exec() returns, so every way that ends
// the dialog ends the program, and Escape, which does not, leaves the alarm on the screen.
TEST_P(AlarmCloseTest, EndsTheDialogAsOKDoes) {
  const TCloseRow& row = GetParam();
  TFSteepo2* dialog = CreateDialog();
  bool stillOpen = false;
  QTimer::singleShot(0, dialog, [&] {
    row.Act(*dialog);
    stillOpen = dialog->isVisible();
    if (stillOpen)
      dialog->done(-1);
  });
  const int result = dialog->exec();
  EXPECT_EQ(stillOpen, !row.Closes);
  if (row.Closes) {
    EXPECT_EQ(result, QDialog::Accepted);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AlarmCloseTest,
    ::testing::Values(
        TCloseRow{"OKButton", [](TFSteepo2& d) { QTest::mouseClick(d.BBOK(), Qt::LeftButton); }, true},
        TCloseRow{"Enter", [](TFSteepo2& d) { QTest::keyClick(&d, Qt::Key_Return); }, true},
        TCloseRow{"CloseBox", [](TFSteepo2& d) { d.close(); }, true},
        // No cancel button, so Escape leaves the alarm up.
        TCloseRow{"Escape", [](TFSteepo2& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false}),
    [](const auto& info) { return std::string(info.param.Name); });


// The whole end of a countdown with the real main window: however the alarm is closed, the
// main window closes after it, which ends the program.
class EndSequenceTest : public ::testing::TestWithParam<TCloseRow> {
protected:
  void SetUp() override {
    OrbUtils::SetCommandLine({QStringLiteral("steepo")});
    Platform::SetSettingsPathSource([this] { return Store.filePath(QStringLiteral("steepo.ini")); });
    Platform::SetTickSource([this] { return Tick; });
    Platform::SetSleeper([](int) {});
  }
  void TearDown() override {
    Platform::SetSettingsPathSource({});
    Platform::SetTickSource({});
    Platform::SetSleeper({});
  }

  QTemporaryDir Store;
  quint64 Tick = 1000;
};

TEST_P(EndSequenceTest, ClosingTheAlarmClosesTheMainWindow) {
  TFSteepo mainWindow;
  F_Steepo::FSteepo = &mainWindow;
  F_Steepo2::CreateAlarmDialog(&mainWindow);
  TFSteepo2* alarm = F_Steepo2::FSteepo2;
  mainWindow.show();

  mainWindow.BBStartClick();
  Tick += quint64(F_Steepo::TimerState.BrewTime) * 1000u;
  // The end sequence processes pending events before it shows the alarm, so act only once
  // the alarm is on the screen.
  bool alarmShown = false;
  TOnShow onShow(alarm, [&] {
    alarmShown = alarm->isVisible();
    GetParam().Act(*alarm);
    if (alarm->isVisible())
      alarm->done(QDialog::Rejected); // never hang the test
  });
  mainWindow.TimerTimer();

  EXPECT_TRUE(alarmShown);
  EXPECT_FALSE(alarm->isVisible());
  EXPECT_FALSE(mainWindow.isVisible());
  F_Steepo::FSteepo = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EndSequenceTest,
    ::testing::Values(
        TCloseRow{"OKButton", [](TFSteepo2& d) { QTest::mouseClick(d.BBOK(), Qt::LeftButton); }, true},
        TCloseRow{"CloseBox", [](TFSteepo2& d) { d.close(); }, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// A gongfu tea of three infusions, each 5 seconds longer: the caption counts them, the alarm
// offers the next one (pressed as assistive tools press it), and after the last only OK is
// left, which ends the program.
class InfusionsTest : public EndSequenceTest {
protected:
  void SetUp() override {
    EndSequenceTest::SetUp();
    Platform::SetApplicationTitle(QStringLiteral("Steepo"));
    F_Steepo::TimerState = {};
    Teas::Current.Forget();
    Teas::Current.Replace({{QStringLiteral("Gongfu"), 10, 3, 5}});
  }
  void TearDown() override {
    Teas::Current.Forget();
    Platform::SetMainWindow(nullptr);
    EndSequenceTest::TearDown();
  }
};

TEST_F(InfusionsTest, EachInfusionCountsAndTheLastEnds) {
  struct TRow {
    quint64 Seconds;
    const char* Caption;
    const char* Next;  // the second button, as a screen reader names it; empty: none
  };
  const TRow rows[] = {{10, "Steepo [00:10] 1/3", "Next infusion 0:15 (2/3)"},
                       {15, "Steepo [00:15] 2/3", "Next infusion 0:20 (3/3)"},
                       {20, "Steepo [00:20] 3/3", ""}};
  TFSteepo mainWindow;
  F_Steepo::FSteepo = &mainWindow;
  F_Steepo2::CreateAlarmDialog(&mainWindow);
  TFSteepo2* alarm = F_Steepo2::FSteepo2;
  Platform::SetMainWindow(&mainWindow);
  mainWindow.show();
  mainWindow.ChooseTea(0);
  mainWindow.BBStartClick();
  for (const TRow& row : rows) {
    mainWindow.TimerTimer();
    EXPECT_EQ(mainWindow.windowTitle(), QString::fromUtf8(row.Caption));
    EXPECT_TRUE(mainWindow.isMinimized()) << row.Caption;
    Tick += row.Seconds * 1000u;
    QString offered;
    TOnShow onShow(alarm, [&] {
      EXPECT_EQ(alarm->focusWidget(), alarm->BBOK()) << row.Caption;
      QAccessibleInterface* next = QAccessible::queryAccessibleInterface(alarm->BBNext());
      if (alarm->BBNext()->isVisible()) {
        alarm->BBNext()->setFocus();  // where a click leaves it
        offered = next->text(QAccessible::Name);
        // The press is animated: the button goes down and comes up a moment later.
        next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !alarm->isVisible(); })) << row.Caption;
      } else {
        alarm->BBNextClick();  // nothing left to offer: no effect
        QTest::keyClick(alarm, Qt::Key_Return);
      }
      if (alarm->isVisible())
        alarm->done(QDialog::Rejected);  // never hang the test
    });
    mainWindow.TimerTimer();
    EXPECT_EQ(offered, QString::fromUtf8(row.Next)) << row.Caption;
    EXPECT_FALSE(alarm->isVisible());
  }
  EXPECT_FALSE(mainWindow.isVisible());  // OK after the last one ended the program
  F_Steepo::FSteepo = nullptr;
}

} // namespace
