// The alarm's options: their rows in the store, the sound they choose, its repeats and the
// warning before the end, with the clock and the sound player injected.
#include "Alarm.h"
#include "AlarmTexts.h"
#include "F_Steepo.h"
#include "Teas.h"
#include "OrbDialogs.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "PresetStore.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QFile>
#include <QMenu>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

#ifdef Q_OS_WIN
constexpr bool InRegistry = true;  // the options live in the registry there
#else
constexpr bool InRegistry = false;
#endif

using Alarm::TOptions;
using Platform::TStoreSection;

QString Text(const char* text) { return QString::fromUtf8(text); }

// Options of a sound, with or without repeats, and a warning.
TOptions Options(Alarm::TSound sound, bool repeat = false, quint32 warning = 0) {
  TOptions options;
  options.Sound = sound;
  options.Repeat = repeat;
  options.Warning = warning;
  return options;
}

// ---- The store's rows -------------------------------------------------------------------------

TEST(AlarmStore, EachValueIsReadOrGivesItsDefaultAndIsNamed) {
  const TOptions bell{Alarm::snBell, QString(), false, 0, true};
  const struct {
    const char* Name;
    TStoreSection Section;
    TOptions Options;
    const char* Unclear;
  } rows[] = {
      {"Empty", {}, TOptions{}, ""},
      {"All", {{"Sound", Text("file")}, {"SoundFile", Text("/a b.wav")}, {"Repeat", Text("true")},
               {"Warning", Text("30")}, {"KeepAwake", Text("false")}},
       TOptions{Alarm::snFile, Text("/a b.wav"), true, 30, false}, ""},
      // The registry's types: a REG_SZ and REG_DWORDs.
      {"Registry", {{"Sound", Text("beep")}, {"Repeat", quint32(1)}, {"Warning", quint32(600)}, {"KeepAwake", quint32(0)}},
       TOptions{Alarm::snBeep, QString(), true, 600, false}, ""},
      {"AnyLetterCase", {{"sound", Text("Bell")}}, bell, ""},
      {"UnknownSound", {{"Sound", Text("loud")}, {"Warning", Text("10")}}, Options(Alarm::snChime, false, 10), "Sound=loud"},
      {"WarningTooLong", {{"Warning", Text("601")}}, TOptions{}, "Warning=601"},
      {"WarningNoNumber", {{"Warning", Text("-5")}, {"Repeat", Text("maybe")}}, TOptions{}, "Warning=-5"},
      {"FlagAsNumber", {{"KeepAwake", quint32(2)}}, TOptions{}, "KeepAwake=2"},
      {"SoundNumber", {{"Sound", quint32(1)}, {"SoundFile", quint32(7)}}, TOptions{}, "Sound=1"},
      {"FileWithoutFile", {{"Sound", Text("file")}}, TOptions{}, "Sound=file"},
      {"OthersLeftAlone", {{"Volume", Text("11")}, {"Sound", Text("bell")}}, bell, ""},
  };
  for (const auto& row : rows) {
    QString unclear;
    EXPECT_EQ(Alarm::FromSection(row.Section, &unclear), row.Options) << row.Name;
    EXPECT_EQ(unclear, Text(row.Unclear)) << row.Name;
  }
}

TEST(AlarmStore, OptionsTakeTheirPlacesAndLeaveTheRest) {
  const TOptions file{Alarm::snFile, Text("/t.wav"), true, 10, false};
  const struct {
    const char* Name;
    TStoreSection Stored;
    TOptions Options;
    TStoreSection Written;
  } rows[] = {
      {"Fresh", {}, TOptions{},
       {{"Sound", Text("chime")}, {"Repeat", false}, {"Warning", quint32(0)}, {"KeepAwake", true}}},
      {"InPlace", {{"Volume", Text("11")}, {"Warning", Text("x")}, {"Note", Text("mine")}}, file,
       {{"Volume", Text("11")}, {"Warning", quint32(10)}, {"Note", Text("mine")}, {"Sound", Text("file")},
        {"SoundFile", Text("/t.wav")}, {"Repeat", true}, {"KeepAwake", false}}},
      // A file no longer wanted goes, and so does a name given twice in another case.
      {"NoFileTwice", {{"SoundFile", Text("/old.wav")}, {"sound", Text("bell")}, {"Sound", Text("beep")}}, TOptions{},
       {{"sound", Text("chime")}, {"Repeat", false}, {"Warning", quint32(0)}, {"KeepAwake", true}}},
  };
  for (const auto& row : rows) {
    const TStoreSection written = Alarm::ToSection(row.Options, row.Stored);
    EXPECT_EQ(written.size(), row.Written.size()) << row.Name;
    for (qsizetype i = 0; i < std::min(written.size(), row.Written.size()); ++i) {
      EXPECT_EQ(written[i].Name.compare(row.Written[i].Name, Qt::CaseInsensitive), 0) << row.Name << " " << i;
      EXPECT_EQ(written[i].Value, row.Written[i].Value) << row.Name << " " << i;
    }
    QString unclear;
    EXPECT_EQ(Alarm::FromSection(written, &unclear), row.Options) << row.Name;
  }
}

// The options in the program's own store: read with one line for what is not understood,
// written only for a change, everything else of the store kept.
class StoredOptionsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Platform::SetSettingsPathSource([this] { return Path(); });
    Platform::SetProblemSink([this](const QString& line) { Lines << line; });
    Alarm::Current.Forget();
  }
  void TearDown() override {
    Alarm::Current.Forget();
    Platform::SetSettingsPathSource({});
    Platform::SetProblemSink({});
  }
  QString Path() const { return Dir.filePath(QStringLiteral("Steepo.conf")); }

  QTemporaryDir Dir;
  QStringList Lines;
};

TEST_F(StoredOptionsTest, AChangeIsStoredAndReadAgain) {
  Alarm::Current.Load();
  EXPECT_EQ(Alarm::Current.Get(), TOptions{});
  const TOptions changed{Alarm::snFile, Text("/x/\u00E9t\u00E9 = \"1\".wav"), true, 30, false};
  EXPECT_TRUE(Alarm::Current.Change(changed));
  Alarm::Current.Forget();
  Alarm::Current.Load();
  EXPECT_EQ(Alarm::Current.Get(), changed);
  EXPECT_TRUE(Lines.isEmpty()) << Lines.join(u'\n').toStdString();
}

#ifndef Q_OS_WIN
TEST_F(StoredOptionsTest, TheFileKeepsItsOtherBytesAndIsWrittenOnlyForAChange) {
  const QByteArray before = "; mine\r\n[General]\r\nPreset=240\r\n\r\n[Alarm]\r\nSound=loud\r\nVolume=11\r\n\r\n[Teas]\r\nsize=0\r\n";
  QFile file(Path());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
  file.close();

  Alarm::Current.Load();
  EXPECT_EQ(Lines, QStringList{Text("steepo: %1: the alarm option Sound=loud is not understood; its default is used").arg(Path())});
  // What the menu already shows is no change.
  EXPECT_TRUE(Alarm::Current.Change(TOptions{}));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  file.close();

  EXPECT_TRUE(Alarm::Current.Change(Options(Alarm::snChime, false, 10)));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("; mine\r\n[General]\r\nPreset=240\r\n\r\n[Alarm]\r\nSound=chime\r\nVolume=11\r\n"
                                       "Repeat=false\r\nWarning=10\r\nKeepAwake=true\r\n\r\n[Teas]\r\nsize=0\r\n"));
}

TEST_F(StoredOptionsTest, AStoreThatCannotBeWrittenIsSaidAndTheRunGoesOn) {
  ASSERT_TRUE(QDir().mkpath(Path()));  // a folder where the file should be
  EXPECT_FALSE(Alarm::Current.Change(Options(Alarm::snChime, true)));
  EXPECT_TRUE(Alarm::Current.Get().Repeat);
  ASSERT_EQ(Lines.size(), 1);
  EXPECT_TRUE(Lines[0].startsWith(Text("steepo: cannot store the alarm options in %1: ").arg(Path()))) << Lines[0].toStdString();
}
#endif

// ---- The alarm's sound and its repeats --------------------------------------------------------

class AlarmSoundTest : public ::testing::Test {
protected:
  void SetUp() override {
    Platform::SetTickSource([this] { return Now; });
    Platform::SetSoundPlayer([this](const QString& source) {
      Heard << QStringLiteral("%1 %2").arg((Now - Start) / 1000).arg(source.section(u'/', -1));
      return source.endsWith(u".wav") && !source.contains(u"gone") ? Platform::TPlayed::Played
                                                                   : Platform::TPlayed::Refused;
    });
    Platform::SetProblemSink([this](const QString& line) { Lines << line; });
  }
  void TearDown() override {
    Platform::SetTickSource({});
    Platform::SetSoundPlayer({});
    Platform::SetProblemSink({});
  }
  // Lets the repeat timer run for seconds, as its timeouts would come.
  void Run(quint64 seconds) {
    for (quint64 end = Now + seconds * 1000; Now + Alarm::RepeatMilliseconds <= end && Sound.TimerRepeat()->isActive();) {
      Now += Alarm::RepeatMilliseconds;
      Sound.TimerRepeatTimer();
    }
  }

  const quint64 Start = 7'000'000;
  quint64 Now = Start;
  QStringList Heard, Lines;
  Alarm::TAlarmSound Sound;
};

TEST_F(AlarmSoundTest, EachSoundOnceOrEveryTenSecondsForFiveMinutes) {
  QStringList everyTen;
  for (int second = 0; second < 300; second += 10)
    everyTen << QStringLiteral("%1 BELL.wav").arg(second);
  const struct {
    const char* Name;
    TOptions Options;
    QStringList Heard;
  } rows[] = {
      {"Chime", TOptions{}, {"0 SOUND.wav"}},
      {"Beep", Options(Alarm::snBeep), {"0 BEEP.wav"}},
      {"Silent", Options(Alarm::snSilent, true), {}},
      {"Repeated", Options(Alarm::snBell, true), everyTen},
  };
  for (const auto& row : rows) {
    Heard.clear();
    Now = Start;
    Sound.Start(row.Options);
    Run(600);
    EXPECT_EQ(Heard, row.Heard) << row.Name;
    EXPECT_FALSE(Sound.TimerRepeat()->isActive()) << row.Name;
  }
}

TEST_F(AlarmSoundTest, AnswerStopsTheRepeats) {
  Sound.Start(Options(Alarm::snChime, true));
  Run(25);
  Sound.Stop();
  EXPECT_FALSE(Sound.TimerRepeat()->isActive());
  EXPECT_EQ(Heard, (QStringList{"0 SOUND.wav", "10 SOUND.wav", "20 SOUND.wav"}));
  EXPECT_EQ(Sound.TimerRepeat()->interval(), 10000);
}

TEST_F(AlarmSoundTest, AFileThatFailsIsNamedOnceAndTheChimeRepeats) {
  const QString gone = QDir::temp().filePath(QStringLiteral("gone-steepo-sound.wav"));
  Sound.Start(TOptions{Alarm::snFile, gone, true, 0, true});
  Run(20);
  EXPECT_EQ(Heard, (QStringList{"0 SOUND.wav", "10 SOUND.wav", "20 SOUND.wav"}));
  ASSERT_EQ(Lines.size(), 1);
  EXPECT_EQ(Lines[0], Text("steepo: the sound file %1 cannot be played (%2); the chime plays instead")
                          .arg(QDir::toNativeSeparators(gone), Platform::ErrorText(ENOENT)));
}

// ---- The warning before the end ---------------------------------------------------------------

TEST(AlarmWarning, ComesItsSecondsBeforeTheEndOfACountdownTwiceAsLong) {
  const struct {
    quint32 CountTime, Warning;
    std::optional<quint64> Tick;
  } rows[] = {
      {180, 30, 151000}, {60, 30, 31000}, {59, 30, std::nullopt}, {5, 2, 4000},
      {180, 0, std::nullopt}, {3599, 600, 3000000}, {0, 1, std::nullopt},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Alarm::WarningTick(row.CountTime, row.Warning, 1000), row.Tick) << row.CountTime << " " << row.Warning;

  // A warning of 30 s in a countdown of 180 s started at 1000: due at 151000, for a second.
  using Alarm::TWarningMoment;
  const std::pair<quint64, TWarningMoment> moments[] = {
      {150999, TWarningMoment::NotYet}, {151000, TWarningMoment::Now}, {151999, TWarningMoment::Now},
      {152000, TWarningMoment::Missed}, {175000, TWarningMoment::Missed}};
  for (const auto& [now, moment] : moments)
    EXPECT_EQ(Alarm::WarningMoment(180, 30, 1000, now), moment) << now;
  EXPECT_EQ(Alarm::WarningMoment(50, 30, 1000, 100000), TWarningMoment::NotYet);
}

// The warning's tick, silent with the alarm.
TEST_F(AlarmSoundTest, TheWarningTicksUnlessTheAlarmIsSilent) {
  Alarm::PlayWarningTick(TOptions{});
  Alarm::PlayWarningTick(Options(Alarm::snSilent));
  EXPECT_EQ(Heard, QStringList{"0 TICK.wav"});
}

TEST(AlarmTexts, TheWarningTakesTheFormOfItsNumber) {
  const struct {
    quint8 Language;
    quint32 Seconds;
    const char* Text;
  } rows[] = {
      {0, 1, "Ready in 1 second"}, {0, 30, "Ready in 30 seconds"},
      {1, 1, "Hotovo za 1 sekundu"}, {1, 3, "Hotovo za 3 sekundy"}, {1, 30, "Hotovo za 30 sekund"},
      {7, 21, "Готово через 21 секунду"}, {7, 22, "Готово через 22 секунды"}, {7, 12, "Готово через 12 секунд"},
      {7, 11, "Готово через 11 секунд"}, {7, 60, "Готово через 60 секунд"},
  };
  for (const auto& row : rows) {
    OrbDialogs::LangIndex = row.Language;
    EXPECT_EQ(AlarmTexts::ReadyIn(row.Seconds), Text(row.Text)) << row.Text;
  }
  OrbDialogs::LangIndex = 0;
}

// ---- The menu ---------------------------------------------------------------------------------

// The window's menu as a screen reader finds it: each item's name, "*" before a checked one,
// "-" for a line between groups.
QStringList MenuItems(QMenu* menu) {
  QStringList items;
  QAccessibleInterface* popup = QAccessible::queryAccessibleInterface(menu);
  for (int i = 0; popup && i < popup->childCount(); ++i) {
    QAccessibleInterface* item = popup->child(i);
    items << (item->role() == QAccessible::Separator ? QStringLiteral("-")
                                                     : (item->state().checked ? QStringLiteral("*") : QString()) +
                                                           item->text(QAccessible::Name));
  }
  return items;
}

class AlarmMenuTest : public AlarmSoundTest {
protected:
  void SetUp() override {
    AlarmSoundTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    Platform::SetSettingsPathSource([this] { return Dir.filePath(QStringLiteral("Steepo.conf")); });
    Platform::SetApplicationTitle(QStringLiteral("Steepo"));
    OrbUtils::SetCommandLine({QStringLiteral("steepo")});
    OrbDialogs::LangIndex = 0;
    F_Steepo::TimerState = {};
    Teas::Current.Forget();
  }
  void TearDown() override {
    Window.reset();
    Alarm::SetFileChooser({});
    Alarm::Current.Forget();
    Teas::Current.Forget();
    Platform::SetSettingsPathSource({});
    OrbDialogs::LangIndex = 0;
    AlarmSoundTest::TearDown();
  }
  TFSteepo& Open() {
    Window = std::make_unique<TFSteepo>();
    Window->Timer()->stop();
    Window->show();
    return *Window;
  }
  // Opens the menu with the menu key and presses keys, each in the menu that is open then.
  void Press(const QList<int>& keys) {
    QTest::keyClick(Window->BBStart(), Qt::Key_Menu);
    for (const int key : keys)
      QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(key));
  }
  QMenu* Submenu(const char* name) const { return Window->Menu()->findChild<QMenu*>(QString::fromUtf8(name)); }
  // The [Alarm] section as the settings file writes it: the file's bytes, or on Windows the
  // registry's values in that form, by name (the registry keeps no order, and a flag there is
  // a number, 0 or 1).
  QByteArray Stored() const {
    if (!InRegistry) {
      QFile file(Dir.filePath(QStringLiteral("Steepo.conf")));
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString reason;
    const TStoreSection section = Platform::ReadSection(QStringLiteral("Alarm"), &reason).value_or(TStoreSection());
    QByteArrayList lines;
    for (const auto& entry : section) {
      const auto number = Platform::StoredNumber(entry.Value);
      const QString value = number ? QString::number(*number) : Platform::StoredText(entry.Value).value_or(QString());
      lines << entry.Name.toUtf8() + '=' + value.toUtf8();
    }
    std::sort(lines.begin(), lines.end());
    return lines.isEmpty() ? QByteArray() : "[Alarm]\n" + lines.join('\n') + '\n';
  }
  static QByteArray AsStored(const QByteArray& text) {
    if (!InRegistry)
      return text;
    QByteArrayList lines = text.split('\n').mid(1, text.count('\n') - 1);
    for (QByteArray& line : lines)
      line.replace("=true", "=1").replace("=false", "=0");
    std::sort(lines.begin(), lines.end());
    return "[Alarm]\n" + lines.join('\n') + '\n';
  }

  QTemporaryDir Dir;
  std::unique_ptr<TFSteepo> Window;
};

TEST_F(AlarmMenuTest, TheOptionsStandAfterTheTeasAndChangeByKeyboard) {
  TFSteepo& w = Open();
  w.ShowMenu(w.mapToGlobal(QPoint()));
  EXPECT_EQ(MenuItems(w.Menu()).mid(5), (QStringList{"-", "Save this time as a tea\u2026", "Edit teas\u2026", "-", "Sound",
                                                     "Repeat until I come", "Warn before the end",
                                                     "*Keep the computer awake while brewing", "-", "About\u2026"}));
  EXPECT_EQ(MenuItems(Submenu("AlarmSound")), (QStringList{"*Chime", "Bell", "Soft beep", "Silent", "-", "Choose a file\u2026"}));
  EXPECT_EQ(MenuItems(Submenu("AlarmWarning")), (QStringList{"*Off", "10 s", "30 s", "60 s"}));
  w.Menu()->hide();
  EXPECT_TRUE(Stored().isEmpty());  // nothing written before a change

  Press({Qt::Key_O, Qt::Key_B});  // Sound, Bell: heard at once
  EXPECT_EQ(Alarm::Current.Get().Sound, Alarm::snBell);
  EXPECT_EQ(Heard, QStringList{"0 BELL.wav"});
  Press({Qt::Key_W, Qt::Key_3});
  Press({Qt::Key_R});
  Press({Qt::Key_K});
  EXPECT_EQ(Stored(), AsStored("[Alarm]\nSound=bell\nRepeat=true\nWarning=30\nKeepAwake=false\n"));

  const QString file = Dir.filePath(QStringLiteral("my & tea.wav"));
  QString askedBeside;
  Alarm::SetFileChooser([&](QWidget* parent, const QString& current) {
    EXPECT_EQ(parent, &w);
    askedBeside = current;
    return file;
  });
  Press({Qt::Key_O, Qt::Key_F});
  EXPECT_EQ(askedBeside, QString());
  EXPECT_EQ(Alarm::Current.Get().Sound, Alarm::snFile);
  EXPECT_EQ(Alarm::Current.Get().SoundFile, file);
  // Not there: named, and the chime heard instead.
  EXPECT_EQ(Heard.mid(1), QStringList{"0 SOUND.wav"});
  EXPECT_EQ(Lines.size(), 1);
  w.ShowMenu(w.mapToGlobal(QPoint()));
  EXPECT_EQ(MenuItems(Submenu("AlarmSound")).mid(3, 2), (QStringList{"Silent", "*my & tea.wav"}));
  w.Menu()->hide();
  Press({Qt::Key_O, Qt::Key_C});  // the chime again; the file stays to go back to
  EXPECT_EQ(Alarm::Current.Get(), (TOptions{Alarm::snChime, file, true, 30, false}));
}

TEST_F(AlarmMenuTest, AWarningTheFileGaveIsShownAndTheFileDialogWaitsWhileCounting) {
  QString reason;
  ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Alarm"), {{QStringLiteral("Warning"), quint32(2)}}, &reason))
      << reason.toStdString();
  TFSteepo& w = Open();
  w.BBStartClick();
  w.ShowMenu(w.mapToGlobal(QPoint()));
  EXPECT_EQ(MenuItems(Submenu("AlarmWarning")), (QStringList{"Off", "10 s", "30 s", "60 s", "*2 s"}));
  EXPECT_FALSE(Submenu("AlarmSound")->actions().constLast()->isEnabled());
  EXPECT_TRUE(Submenu("AlarmSound")->actions().constFirst()->isEnabled());
  w.Menu()->hide();
  w.BBStopClick();
}

// Each letter that opens or chooses an item is that item's alone, in its menu, in every language.
TEST_F(AlarmMenuTest, AccessKeysAreUniqueInEveryLanguage) {
  for (quint8 language = 0; language < 8; ++language) {
    OrbDialogs::LangIndex = language;
    Teas::Current.Forget();
    TFSteepo& w = Open();
    w.ShowMenu(w.mapToGlobal(QPoint()));
    for (QMenu* menu : {w.Menu(), Submenu("AlarmSound"), Submenu("AlarmWarning")}) {
      QSet<QString> keys;
      for (const QAction* item : menu->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(item->text());
        if (key.isEmpty())
          continue;
        EXPECT_FALSE(keys.contains(key.toString())) << int(language) << " " << item->text().toStdString();
        keys.insert(key.toString());
      }
    }
    w.Menu()->hide();
    Window.reset();
  }
}

} // namespace
