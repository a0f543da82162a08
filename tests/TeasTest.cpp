// The teas: their checks and times, their store, and the two dialogs driven by the keyboard
// alone.
#include "OrbDialogs.h"
#include "Platform.h"
#include "TeaDialogs.h"
#include "TeaTexts.h"
#include "Teas.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

// The taskbar button's jump list: a task per tea, titled as the menu lists it, whose command
// line gives the program back the tea's name whole, whatever is in it.
TEST(Teas, EachTeaIsATaskThatStartsTheProgramOnIt) {
  const auto tasks = Tasks({{QStringLiteral("Sencha"), 90}, {QStringLiteral("Oolong, gongfu"), 20, 6, 5}}, u':');
  ASSERT_EQ(tasks.size(), 2);
  EXPECT_EQ(tasks[1].Title, QStringLiteral("Oolong, gongfu  0:20 \u00D76"));
  EXPECT_EQ(tasks[1].Arguments, (QStringList{"-tea", "Oolong, gongfu", "-start"}));
  const std::pair<const char*, const char*> rows[] = {
      {"Sencha", "Sencha"},
      {"Oolong, gongfu", "\"Oolong, gongfu\""},
      {"", "\"\""},
      {"Pu-erh \"2019\"", "\"Pu-erh \\\"2019\\\"\""},
      {"C:\\teas\\", "C:\\teas\\"},                      // no blank: the backslashes stay as they are
      {"C:\\my teas\\", "\"C:\\my teas\\\\\""},          // before the closing quote they are doubled
      {"a\\\"b", "\"a\\\\\\\"b\""},                      // and before a quote of the name
  };
  for (const auto& [argument, quoted] : rows)
    EXPECT_EQ(Platform::JumpList::QuoteArgument(QString::fromUtf8(argument)), QString::fromUtf8(quoted)) << argument;
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

// ---- The store ---------------------------------------------------------------------------------

using Platform::TStoreSection;

// A stored tea as the settings file gives it back: every value a text.
TStoreSection Stored(int number, const char* name, const char* time, const char* infusions, const char* extra) {
  TStoreSection entries;
  const QString group = QString::number(number) + u'/';
  for (const auto& [key, value] : {std::pair{"Name", name}, {"Time", time}, {"Infusions", infusions}, {"Extra", extra}})
    if (value)
      entries << Platform::TStoreEntry{group + QLatin1String(key), QString::fromUtf8(value)};
  return entries;
}
TStoreSection Size(const char* size) { return {{QStringLiteral("size"), QString::fromUtf8(size)}}; }

struct TDamageRow {
  const char* Name;
  TStoreSection Section;
  QStringList Teas;  // the names of the teas kept
  const char* FirstBad;
};

TEST(TeaStore, ADamagedListKeepsItsGoodTeasAndNamesTheFirstBadEntry) {
  const TStoreSection sencha = Stored(1, "Sencha", "90", "1", "0");
  const TDamageRow rows[] = {
      {"Sound", sencha + Stored(2, "Gongfu", "20", "6", "5") + Size("2"), {"Sencha", "Gongfu"}, ""},
      {"Empty", {}, {}, ""},
      {"MissingField", sencha + Stored(2, "Gongfu", "20", "6", nullptr) + Size("2"), {"Sencha"}, "2\\Extra"},
      {"TimeNoNumber", Stored(1, "A", "1:30", "1", "0") + sencha.mid(0, 0) + Stored(2, "B", "30", "1", "0") + Size("2"),
       {"B"}, "1\\Time"},
      {"NoTime", Stored(1, "A", "0", "1", "0") + Size("1"), {}, "1\\Time"},
      {"TimeTooLong", Stored(1, "A", "3600", "1", "0") + Size("1"), {}, "1\\Time"},
      {"NoInfusion", Stored(1, "A", "60", "0", "0") + Size("1"), {}, "1\\Infusions"},
      {"TwentyOneInfusions", Stored(1, "A", "60", "21", "0") + Size("1"), {}, "1\\Infusions"},
      {"ExtraTooLong", Stored(1, "A", "60", "2", "601") + Size("1"), {}, "1\\Extra"},
      {"NegativeExtra", Stored(1, "A", "60", "2", "-5") + Size("1"), {}, "1\\Extra"},
      {"EmptyName", Stored(1, "", "60", "1", "0") + Size("1"), {}, "1\\Name"},
      {"ControlInName", Stored(1, "Bell\x07", "60", "1", "0") + Size("1"), {}, "1\\Name"},
      {"SameNameOtherCase", sencha + Stored(2, "SENCHA", "60", "1", "0") + Stored(3, "C", "60", "1", "0") + Size("3"),
       {"Sencha", "C"}, "2\\Name"},
      {"SizeTooLarge", sencha + Size("2"), {"Sencha"}, "2\\Name"},
      {"SizeTooSmall", sencha + Stored(2, "B", "60", "1", "0") + Size("1"), {"Sencha"}, "size"},
      {"NoSize", sencha, {}, "size"},
      {"SizeNoNumber", sencha + Size("one"), {}, "size"},
      {"GroupZero", Stored(0, "Zero", "60", "1", "0") + sencha + Size("1"), {"Sencha"}, "size"},
      {"FiftyOne", {}, {}, "size"},  // filled below
      // The registry gives numbers as numbers.
      {"Registry", {{"1/Name", QStringLiteral("Sencha")}, {"1/Time", 90u}, {"1/Infusions", 1u}, {"1/Extra", 0u},
                    {"size", 1u}}, {"Sencha"}, ""},
      // Keys of other programs, or of a later Steepo, are no teas.
      {"ForeignKeys", sencha + TStoreSection{{"Colour", QStringLiteral("green")}, {"1/Leaves", QStringLiteral("3g")}} +
                          Size("1"), {"Sencha"}, ""},
  };
  for (TDamageRow row : rows) {
    if (QByteArray(row.Name) == "FiftyOne") {
      for (int i = 1; i <= 51; ++i)
        row.Section += Stored(i, QByteArray("Tea " + QByteArray::number(i)).constData(), "60", "1", "0");
      row.Section += Size("51");
      for (int i = 1; i <= 50; ++i)
        row.Teas << QStringLiteral("Tea %1").arg(i);
    }
    QString firstBad = QStringLiteral("(unset)");
    const TTeaList list = FromSection(row.Section, &firstBad);
    QStringList names;
    for (const TTea& tea : list)
      names << tea.Name;
    EXPECT_EQ(names, row.Teas) << row.Name;
    EXPECT_EQ(firstBad, QString::fromUtf8(row.FirstBad)) << row.Name;
  }
}

// The program's teas in a settings file of this test's own (on Windows, the registry key that
// the test main keeps for it), with the lines on the error stream collected.
class TeaStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Platform::SetSettingsPathSource([this] { return Dir.filePath(QStringLiteral("Steepo.conf")); });
    Platform::SetProblemSink([this](const QString& line) { Problems << line; });
    OrbDialogs::LangIndex = 0;
    Current.Forget();
  }
  void TearDown() override {
    Current.Forget();
    Platform::SetSettingsPathSource({});
    Platform::SetProblemSink({});
  }
  QByteArray Bytes() const {
    QFile file(Dir.filePath(QStringLiteral("Steepo.conf")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
  }
  void Put(const QByteArray& bytes) {
    QFile file(Dir.filePath(QStringLiteral("Steepo.conf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir Dir;
  QStringList Problems;
  const TTeaList Two = {{QStringLiteral("Oolong, gongfu \"2019\""), 20, 6, 5}, {QStringLiteral("Thé vert"), 150}};
};

TEST_F(TeaStoreTest, TheTeasComeBackAsTheyWereStored) {
  EXPECT_TRUE(Current.IsBuiltIn());
  EXPECT_TRUE(Current.Replace(Two));
  Current.Forget();
  EXPECT_EQ(Current.List(), Two);
  EXPECT_FALSE(Current.IsBuiltIn());
  EXPECT_TRUE(Problems.isEmpty()) << Problems.join(u'\n').toStdString();
#ifdef Q_OS_WIN
  // Each tea a key of its own under Teas, its name a text and its numbers DWORDs, and the count
  // a DWORD of Teas.
  const auto dword = [](const wchar_t* key, const wchar_t* value) {
    DWORD number = 0, size = sizeof number;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size);
    return status == ERROR_SUCCESS ? qint64(number) : -1;
  };
  const wchar_t* teas = L"Software\\Varnak\\Steepo\\Teas";
  EXPECT_EQ(dword(teas, L"size"), 2);
  EXPECT_EQ(dword(L"Software\\Varnak\\Steepo\\Teas\\1", L"Time"), 20);
  EXPECT_EQ(dword(L"Software\\Varnak\\Steepo\\Teas\\1", L"Infusions"), 6);
  EXPECT_EQ(dword(L"Software\\Varnak\\Steepo\\Teas\\2", L"Extra"), 0);
  wchar_t name[64] = {};
  DWORD size = sizeof name;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Varnak\\Steepo\\Teas\\2", L"Name", RRF_RT_REG_SZ, nullptr,
                         name, &size), ERROR_SUCCESS);
  EXPECT_EQ(QString::fromWCharArray(name), QStringLiteral("Thé vert"));
#else
  // As QSettings writes an array, and reads it back.
  QSettings settings(Dir.filePath(QStringLiteral("Steepo.conf")), QSettings::IniFormat);
  ASSERT_EQ(settings.beginReadArray(QStringLiteral("Teas")), 2);
  settings.setArrayIndex(0);
  EXPECT_EQ(settings.value(QStringLiteral("Name")).toString(), Two[0].Name);
  EXPECT_EQ(settings.value(QStringLiteral("Extra")).toUInt(), 5u);
  settings.setArrayIndex(1);
  EXPECT_EQ(settings.value(QStringLiteral("Time")).toUInt(), 150u);
  EXPECT_TRUE(Bytes().contains("[Teas]\n1\\Name=\"Oolong, gongfu \\\"2019\\\"\"\n1\\Time=20\n1\\Infusions=6\n1\\Extra=5\n"
                               "2\\Name=Thé vert\n")) << Bytes().toStdString();
#endif
}

#ifndef Q_OS_WIN
// What a person wrote in the file: the teas are read from it, and as long as the user changes
// nothing, nothing is written; nor is a damaged list mended behind the user's back.
TEST_F(TeaStoreTest, OnlyAChangeOfTheUsersWritesAndDamageIsOneLine) {
  const QByteArray byHand = "; my teas\r\n[General]\r\nPreset=90\r\n\r\n[Teas]\r\n1\\Name = Sencha\r\n"
                            "1\\Time = 90\r\n1\\Infusions = 3\r\n1\\Extra = 15\r\n2\\Name=Bad\r\n2\\Time=9999\r\n"
                            "2\\Infusions=1\r\n2\\Extra=0\r\nsize = 2\r\n[Other]\r\nkey=value\r\n";
  Put(byHand);
  EXPECT_EQ(Current.List(), (TTeaList{{QStringLiteral("Sencha"), 90, 3, 15}}));
  ASSERT_EQ(Problems.size(), 1);
  EXPECT_EQ(Problems[0], QStringLiteral("steepo: some teas in %1 are damaged, the first at Teas\\2\\Time: the bad ones are "
                                        "left out").arg(Dir.filePath(QStringLiteral("Steepo.conf"))));
  EXPECT_TRUE(Current.Replace(TTeaList{{QStringLiteral("Sencha"), 90, 3, 15}}));
  EXPECT_EQ(Bytes(), byHand);

  EXPECT_TRUE(Current.Replace(TTeaList{{QStringLiteral("Sencha"), 95, 3, 15}}));
  EXPECT_TRUE(Bytes().startsWith("; my teas\r\n[General]\r\nPreset=90\r\n\r\n[Teas]\r\n1\\Name=Sencha\r\n1\\Time=95\r\n"));
  EXPECT_TRUE(Bytes().endsWith("size=1\r\n[Other]\r\nkey=value\r\n")) << Bytes().toStdString();
}

TEST_F(TeaStoreTest, WhatCannotBeReadOrStoredIsOneLineAndTheRunGoesOn) {
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("Steepo.conf")));  // a folder in its place
  EXPECT_TRUE(Current.IsBuiltIn());
  EXPECT_FALSE(Current.Replace(Two));
  EXPECT_EQ(Current.List(), Two);  // for this run
  ASSERT_EQ(Problems.size(), 2);
  EXPECT_TRUE(Problems[0].startsWith(QStringLiteral("steepo: cannot read the teas from ")));
  EXPECT_TRUE(Problems[1].startsWith(QStringLiteral("steepo: cannot store the teas in ")));
}
#endif

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
