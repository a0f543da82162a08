// The teas: their checks and times, and the two dialogs driven by the keyboard alone.
#include "OrbDialogs.h"
#include "TeaDialogs.h"
#include "TeaTexts.h"
#include "Teas.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace Teas {
void PrintTo(const TTea& tea, std::ostream* out) {
  *out << tea.Name.toStdString() << ' ' << tea.Time << " x" << tea.Infusions << " +" << tea.Extra;
}
} // namespace Teas

namespace {

using namespace Teas;

struct TNameRow {
  const char* Name;
  QString Text;
  qsizetype Self;
  TNameCheck Check;
};

TEST(Teas, NamesAreShortPrintableAndUniqueWhateverTheCase) {
  const TTeaList list = {{QStringLiteral("Sencha"), 90}, {QStringLiteral("Oolong"), 180}};
  const TNameRow rows[] = {
      {"New", QStringLiteral("Gyokuro"), -1, TNameCheck::Good},
      {"ItsOwnName", QStringLiteral("sencha"), 0, TNameCheck::Good},
      {"AnothersName", QStringLiteral("OOLONG"), 0, TNameCheck::Taken},
      {"TakenByANewOne", QStringLiteral("Sencha"), -1, TNameCheck::Taken},
      {"Empty", QString(), -1, TNameCheck::Empty},
      {"Blank", QStringLiteral("   "), -1, TNameCheck::Empty},
      {"Sixty", QString(60, u'x'), -1, TNameCheck::Good},
      {"SixtyOne", QString(61, u'x'), -1, TNameCheck::TooLong},
      // characters, not UTF-16 units: sixty tea cups are sixty characters
      {"SixtyCups", QString::fromUcs4(std::u32string(60, U'\U0001F375').c_str()), -1, TNameCheck::Good},
      {"Tab", QStringLiteral("a\tb"), -1, TNameCheck::ControlCharacter},
      {"LineFeed", QStringLiteral("a\nb"), -1, TNameCheck::ControlCharacter},
      {"Delete", QStringLiteral("a\u007Fb"), -1, TNameCheck::ControlCharacter},
      {"LineSeparator", QStringLiteral("a\u2028b"), -1, TNameCheck::ControlCharacter},
      {"Accents", QStringLiteral("Thé & co, 2\u00BD"), -1, TNameCheck::Good},
  };
  for (const TNameRow& row : rows)
    EXPECT_EQ(CheckName(row.Text, list, row.Self), row.Check) << row.Name;
}

TEST(Teas, TimesAreTypedAsMinutesAndSecondsOrPlainSeconds) {
  const std::pair<const char*, std::optional<quint32>> rows[] = {
      {"1:30", 90}, {"0:05", 5}, {" 12:00 ", 720}, {":45", 45}, {"90", 90}, {"0", 0}, {"59:59", 3599},
      {"1.30", 90},  // the locale's separator below
      {"1:5", std::nullopt}, {"1:60", std::nullopt}, {"1:", std::nullopt}, {"", std::nullopt},
      {"-1:00", std::nullopt}, {"1:30:00", std::nullopt}, {"a:30", std::nullopt}, {"99999:00", std::nullopt},
      {"\u0661:30", std::nullopt},  // an Arabic-Indic one
  };
  for (const auto& [text, seconds] : rows)
    EXPECT_EQ(ParseShortTime(QString::fromUtf8(text), u'.'), seconds) << text;
  EXPECT_EQ(ShortTime(90, u':'), QStringLiteral("1:30"));
  EXPECT_EQ(ShortTime(3599, u'.'), QStringLiteral("59.59"));
}

TEST(Teas, EachInfusionStepsLongerUpToTheLongestTime) {
  const TTea gongfu{QStringLiteral("Gongfu"), 20, 6, 5};
  EXPECT_EQ(InfusionTime(gongfu, 1), 20u);
  EXPECT_EQ(InfusionTime(gongfu, 6), 45u);
  EXPECT_EQ(NextInfusion(gongfu, 2), (TInfusion{30, 3, 6}));
  EXPECT_EQ(NextInfusion(gongfu, 6), std::nullopt);
  EXPECT_EQ(NextInfusion(TTea{QStringLiteral("Single"), 60}, 1), std::nullopt);
  EXPECT_EQ(InfusionTime(TTea{QStringLiteral("Long"), 3500, 20, 600}, 20), 3599u);
  EXPECT_EQ(MenuText(gongfu, u':'), QStringLiteral("Gongfu  0:20 \u00D76"));
  EXPECT_EQ(MenuText(TTea{QStringLiteral("Sencha"), 90}, u':'), QStringLiteral("Sencha  1:30"));
}

TEST(Teas, TheBuiltInListIsInTheUsersLanguageAndPassesItsOwnChecks) {
  for (quint8 language = 0; language < 8; ++language) {
    OrbDialogs::LangIndex = language;
    const TTeaList list = BuiltIn();
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list.last().Infusions, 6u);
    for (qsizetype i = 0; i < list.size(); ++i)
      EXPECT_TRUE(CheckName(list[i].Name, list, i) == TNameCheck::Good && InRange(list[i])) << int(language);
  }
  OrbDialogs::LangIndex = 2;
  EXPECT_EQ(BuiltIn().first().Name, QStringLiteral("Grüner Tee"));
  OrbDialogs::LangIndex = 0;
}

// A translation that drops a placeholder would show a raw "%1" on the button.
TEST(TeaTexts, EveryLanguageKeepsThePlaceholdersAndAccessKeys) {
  for (std::size_t row = 1; row < TeaTexts::Texts.size(); ++row)
    for (int column = 0; column < TeaTexts::ttCount; ++column) {
      const QString english = QString::fromUtf8(TeaTexts::Texts[0][column]);
      const QString text = QString::fromUtf8(TeaTexts::Texts[row][column]);
      for (const QString& mark : {QStringLiteral("%1"), QStringLiteral("%2"), QStringLiteral("%3"), QStringLiteral("&")})
        EXPECT_EQ(text.count(mark), english.count(mark)) << "row " << row << " column " << column;
    }
}

// ---- The dialogs by keyboard --------------------------------------------------------------

class TeaDialogsTest : public ::testing::Test {
protected:
  static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    // A button pressed by its access key comes up, and so clicks, a moment later.
    const QWidget* window = QApplication::activeWindow();
    const auto buttons = window ? window->findChildren<QAbstractButton*>() : QList<QAbstractButton*>();
    EXPECT_TRUE(QTest::qWaitFor([&buttons] {
      return std::none_of(buttons.begin(), buttons.end(), [](const QAbstractButton* b) { return b->isDown(); });
    }));
  }
  static void Activate(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }

  const TTeaList Three = {{QStringLiteral("Sencha"), 90}, {QStringLiteral("Oolong"), 180},
                          {QStringLiteral("Gongfu"), 20, 6, 5}};
};

TEST_F(TeaDialogsTest, TheEditorWorksFromTheKeyboardAlone) {
  TFTeaEditor editor(nullptr, Three, u':');
  Activate(editor);
  EXPECT_EQ(QApplication::focusWidget(), editor.Table());
  Key(Qt::Key_Down);                  // Oolong
  Key(Qt::Key_N, Qt::AltModifier);    // its name
  Type(QStringLiteral("Tieguanyin"));
  Key(Qt::Key_Tab);                   // its time, all of it selected
  Type(QStringLiteral("1:05"));
  Key(Qt::Key_Tab);                   // its infusions
  Key(Qt::Key_Up);
  Key(Qt::Key_Up);
  Key(Qt::Key_Tab);                   // the extra time
  Type(QStringLiteral("15"));
  Key(Qt::Key_U, Qt::AltModifier);    // moved to the top
  Key(Qt::Key_A, Qt::AltModifier);    // a new tea at the end, its name ready to type over
  Type(QStringLiteral("Assam"));
  Key(Qt::Key_D, Qt::AltModifier);    // the last one cannot go further down
  Key(Qt::Key_Up, Qt::AltModifier);   // nor is Alt+Up anything
  Key(Qt::Key_R, Qt::AltModifier);    // removed again
  Key(Qt::Key_Return);                // OK
  EXPECT_EQ(editor.result(), QDialog::Accepted);
  EXPECT_EQ(editor.List(), (TTeaList{{QStringLiteral("Tieguanyin"), 65, 3, 15}, {QStringLiteral("Sencha"), 90},
                                     {QStringLiteral("Gongfu"), 20, 6, 5}}));
  EXPECT_EQ(editor.Table()->item(0, 0)->text(), QStringLiteral("Tieguanyin"));
}

struct TRefusalRow {
  const char* Name;
  std::function<QWidget*(TFTeaEditor&)> Field;
  const char* Input;
  const char* Reason;  // empty: taken
};

TEST_F(TeaDialogsTest, TheEditorRefusesWrongInputWhereItIsTypedAndKeepsTheRow) {
  const auto name = [](TFTeaEditor& e) -> QWidget* { return e.NameField(); };
  const auto time = [](TFTeaEditor& e) -> QWidget* { return e.TimeField(); };
  const auto extra = [](TFTeaEditor& e) -> QWidget* { return e.ExtraField(); };
  const TRefusalRow rows[] = {
      {"EmptyName", name, "", "Give the tea a name"},
      {"LongName", name, "0123456789012345678901234567890123456789012345678901234567890", "At most 60 characters"},
      {"TakenName", name, "OOLONG", "A tea of this name exists"},
      {"GoodName", name, "Bancha", ""},
      {"TimeTooLong", time, "60:00", "From 0:01 to 59:59 (m:ss)"},
      {"NoTime", time, "0:00", "From 0:01 to 59:59 (m:ss)"},
      {"OneSecondDigit", time, "1:5", "From 0:01 to 59:59 (m:ss)"},
      {"PlainSeconds", time, "75", ""},
      {"ExtraTooLong", extra, "10:01", "From 0:00 to 10:00 (m:ss)"},
      {"GoodExtra", extra, "0:30", ""},
  };
  for (const TRefusalRow& row : rows) {
    TFTeaEditor editor(nullptr, Three, u':');
    Activate(editor);
    auto* field = static_cast<QLineEdit*>(row.Field(editor));
    field->setFocus();
    field->selectAll();
    Key(Qt::Key_Delete);
    Type(QString::fromUtf8(row.Input));
    const QString reason = QString::fromUtf8(row.Reason);
    const QString shown = field == editor.NameField()   ? editor.NameReasonText()
                          : field == editor.TimeField() ? editor.TimeReasonText()
                                                        : editor.ExtraReasonText();
    EXPECT_EQ(shown, reason) << row.Name;
    EXPECT_EQ(field->accessibleDescription(), reason) << row.Name;
    EXPECT_EQ(editor.OKButton()->isEnabled(), reason.isEmpty()) << row.Name;
    EXPECT_EQ(editor.List().first() == Three.first(), !reason.isEmpty()) << row.Name;
    // Leaving the row drops what was refused there.
    editor.Table()->setFocus();
    Key(Qt::Key_Down);
    EXPECT_TRUE(editor.OKButton()->isEnabled()) << row.Name;
  }
}

TEST_F(TeaDialogsTest, TheListKeepsOneTeaAndTakesFiftyAtMost) {
  TFTeaEditor single(nullptr, {Three.first()}, u':');
  single.RemoveClick();
  EXPECT_EQ(single.List().size(), 1);
  EXPECT_EQ(single.ListReasonText(), QStringLiteral("Keep at least one tea"));

  TTeaList fifty;
  for (int i = 0; i < MostTeas; ++i)
    fifty << TTea{QStringLiteral("Tea %1").arg(i), 60};
  TFTeaEditor full(nullptr, fifty, u':');
  full.AddClick();
  EXPECT_EQ(full.List(), fifty);
  EXPECT_EQ(full.ListReasonText(), QStringLiteral("At most 50 teas"));
  TFSaveTea save(nullptr, fifty, 60, u':');
  EXPECT_EQ(save.ReasonText(), QStringLiteral("At most 50 teas"));
  EXPECT_FALSE(save.OKButton()->isEnabled());
}

TEST_F(TeaDialogsTest, SavingTheTimeAsksOnlyForAGoodName) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "Give the tea a name"}, {"gongfu", "A tea of this name exists"}, {"  Bancha ", ""}};
  for (const auto& [input, reason] : rows) {
    TFSaveTea dialog(nullptr, Three, 150, u':');
    Activate(dialog);
    Type(QStringLiteral("x"));
    Key(Qt::Key_Backspace);
    Type(QString::fromUtf8(input));
    EXPECT_EQ(dialog.ReasonText(), QString::fromUtf8(reason)) << input;
    Key(Qt::Key_Return);
    EXPECT_EQ(dialog.result(), *reason ? QDialog::Rejected : QDialog::Accepted) << input;
  }
  TFSaveTea dialog(nullptr, Three, 150, u':');
  Activate(dialog);
  Type(QStringLiteral("  Bancha "));
  EXPECT_EQ(dialog.Name(), QStringLiteral("Bancha"));
}

} // namespace
