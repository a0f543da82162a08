// The start time: the integer conversion, the time argument, the preset store and the
// start switch.
#include "F_Steepo.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "Preset.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

struct IntRow {
  const char* text;
  std::optional<qint32> value;
};

TEST(ParseInt32, AcceptsDecimalHexadecimalAndSignsAndRejectsTheRest) {
  const IntRow rows[] = {
      {"0", 0},
      {"45", 45},
      {"  7", 7},
      {"\t7", 7},
      {"+12", 12},
      {"-12", -12},
      {"$1F", 31},
      {"x1f", 31},
      {"X10", 16},
      {"0x10", 16},
      {"0X10", 16},
      {"-$10", -16},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", qint32(-2147483647 - 1)},
      {"$7FFFFFFF", 2147483647},
      // not wholly a number
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"7 ", std::nullopt},
      {"1.5", std::nullopt},
      {"--1", std::nullopt},
      {"$-1", std::nullopt},
      {"0x$1", std::nullopt},
      {"1e3", std::nullopt},
      // overflow
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"$80000000", std::nullopt},
      {"$FFFFFFFF", std::nullopt},
      {"99999999999999999999999999", std::nullopt},
  };
  for (const IntRow& row : rows)
    EXPECT_EQ(Preset::ParseInt32(QString::fromUtf8(row.text)), row.value) << '"' << row.text << '"';
}

TEST(ParseInt32, RejectsDigitsOutsideAscii) {
  EXPECT_EQ(Preset::ParseInt32(QStringLiteral("\u0663")), std::nullopt);        // Arabic-Indic three
  EXPECT_EQ(Preset::ParseInt32(QStringLiteral("\uFF13\uFF10")), std::nullopt);  // full-width 30
  EXPECT_EQ(Preset::ParseInt32(QStringLiteral("\u00B2")), std::nullopt);        // superscript two
  EXPECT_EQ(Preset::ParseInt32(QString(1, QChar(0))), std::nullopt);
}

struct TimeRow {
  const char* argument;
  qint32 seconds;
};

TEST(ParseTimeArgument, MinutesAndSecondsWithinOneToThreeThousandFiveHundredNinetyNine) {
  const TimeRow rows[] = {
      {"0:45", 45},
      {"1:90", 150},
      {":30", 30},
      {"59:59", 3599},
      {"3:00", 180},
      {"0:01", 1},
      {"60:00", 0},
      {"0:00", 0},
      {"5", 0},
      {"1:2:3", 60},     // the seconds text "2:3" is no number
      {"1:", 60},
      {":", 0},
      {"-1:90", 30},     // -60 + 90
      {"1:-30", 30},
      {"0:-5", 0},
      {"$A:$F", 615},
      {"0x3:0", 180},
      {"x:30", 30},      // "x" alone is no number
      {"abc:30", 30},
      {"3:00am", 180},   // "00am" is no number: no seconds
      {"2147483647:0", 0},
      {"71582789:0", 0},  // 71582789 x 60 wraps to 44 in 32 bits; far too long all the same
      {"-71582788:5", 0},
      {"0:2147483647", 0},
      {"-2147483648:-2147483648", 0},
      {"\u0663:00", 0},
  };
  for (const TimeRow& row : rows)
    EXPECT_EQ(Preset::ParseTimeArgument(QString::fromUtf8(row.argument), u':'), row.seconds)
        << row.argument;
}

TEST(ParseTimeArgument, UsesTheLocalesSeparatorOnly) {
  EXPECT_EQ(Preset::ParseTimeArgument(QStringLiteral("2.30"), u'.'), 150);
  EXPECT_EQ(Preset::ParseTimeArgument(QStringLiteral("2:30"), u'.'), 0);
  EXPECT_EQ(Preset::ParseTimeArgument(QString(10000, u'9') + u':' + QString(10000, u'9'), u':'), 0);
}

// A settings store in a temporary folder, handed to the program through the platform layer.
class StartTimeFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    StorePath = Dir.filePath(QStringLiteral("Steepo.conf"));
    Platform::SetSettingsFactory([this] {
      return std::make_unique<QSettings>(StorePath, QSettings::IniFormat);
    });
    F_Steepo::BrewTime = 180;
    F_Steepo::CmdTime = 0;
    F_Steepo::TimeSeparator = u':';
  }
  void TearDown() override { Platform::SetSettingsFactory({}); }

  void Store(const QVariant& value) {
    QSettings settings(StorePath, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Preset"), value);
  }
  void WriteStoreText(const QByteArray& text) {
    QFile file(StorePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  QVariant Stored() const {
    return QSettings(StorePath, QSettings::IniFormat).value(QStringLiteral("Preset"));
  }
  static void Start(const QStringList& arguments) {
    OrbUtils::SetCommandLine(QStringList{QStringLiteral("steepo")} + arguments);
    Preset::ReadStartTime();
  }

  QTemporaryDir Dir;
  QString StorePath;
};

TEST_F(StartTimeFixture, NoPresetAndNoArgumentGivesThreeMinutes) {
  Start({});
  EXPECT_EQ(F_Steepo::BrewTime, 180u);
  EXPECT_EQ(F_Steepo::CmdTime, 0);
}

TEST_F(StartTimeFixture, StoredPresetIsTakenAsItIsWithoutRangeCheck) {
  struct Row {
    QVariant stored;
    quint32 expected;
  };
  const Row rows[] = {
      {QVariant(quint32(255)), 255},
      {QVariant(quint32(0)), 0},
      {QVariant(quint32(7)), 7},
      {QVariant(quint32(4294967295u)), 4294967295u},
      // values of another kind leave the time as it was
      {QVariant(QStringLiteral("abc")), 180},
      {QVariant(QStringLiteral("-5")), 180},
      {QVariant(QStringLiteral("4294967296")), 180},
      {QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")}), 180},
      {QVariant(QByteArray("\x01\x02")), 180},
  };
  for (const Row& row : rows) {
    F_Steepo::BrewTime = 180;
    Store(row.stored);
    Start({});
    EXPECT_EQ(F_Steepo::BrewTime, row.expected) << row.stored.toString().toStdString();
  }
}

TEST_F(StartTimeFixture, UnreadableOrDamagedStoreLeavesTheTime) {
  WriteStoreText("[General\nPreset=\"\\x\n\x01\x02");
  Start({});
  EXPECT_EQ(F_Steepo::BrewTime, 180u);

  // A store that is a folder cannot be read at all.
  StorePath = Dir.filePath(QStringLiteral("folder"));
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("folder")));
  Start({});
  EXPECT_EQ(F_Steepo::BrewTime, 180u);
  Preset::StorePreset();  // and writing to it fails silently
}

TEST_F(StartTimeFixture, CommandLineTimeWinsOverThePresetAndIsNotRounded) {
  Store(quint32(600));
  Start({QStringLiteral("2:07")});
  EXPECT_EQ(F_Steepo::CmdTime, 127);
  EXPECT_EQ(F_Steepo::BrewTime, 127u);
}

TEST_F(StartTimeFixture, OnlyTheFirstPlainArgumentIsExamined) {
  Store(quint32(600));
  Start({QStringLiteral("START"), QStringLiteral("3:00")});
  EXPECT_EQ(F_Steepo::CmdTime, 0);
  EXPECT_EQ(F_Steepo::BrewTime, 600u);

  F_Steepo::CmdTime = 0;
  Start({QStringLiteral("-1:30"), QStringLiteral("/x"), QStringLiteral("0:20")});
  EXPECT_EQ(F_Steepo::CmdTime, 20);  // switches, a negative time among them, are skipped
}

TEST_F(StartTimeFixture, BadCommandLineTimeFallsBackToThePreset) {
  for (const char* argument : {"60:00", "0:00", "5", "x", "99999999999:99999999999"}) {
    F_Steepo::CmdTime = 0;
    F_Steepo::BrewTime = 180;
    Store(quint32(90));
    Start({QString::fromUtf8(argument)});
    EXPECT_EQ(F_Steepo::CmdTime, 0) << argument;
    EXPECT_EQ(F_Steepo::BrewTime, 90u) << argument;
  }
}

TEST_F(StartTimeFixture, PresetIsStoredUnlessTheCommandLineGaveTheTime) {
  F_Steepo::BrewTime = 345;
  Preset::StorePreset();
  EXPECT_EQ(Stored().toUInt(), 345u);

  F_Steepo::CmdTime = 30;
  F_Steepo::BrewTime = 45;
  Preset::StorePreset();
  EXPECT_EQ(Stored().toUInt(), 345u);
}

TEST_F(StartTimeFixture, StoredPresetReadsBack) {
  F_Steepo::BrewTime = 4294967295u;
  Preset::StorePreset();
  F_Steepo::BrewTime = 180;
  Start({});
  EXPECT_EQ(F_Steepo::BrewTime, 4294967295u);
}

struct SwitchRow {
  QStringList arguments;
  bool start;
};

TEST(StartSwitch, IsStartAfterAHyphenOrSlashInAnyCase) {
  const SwitchRow rows[] = {
      {{}, false},
      {{"-start"}, true},
      {{"/START"}, true},
      {{"-StArT"}, true},
      {{"3:00", "-start"}, true},
      {{"-start", "3:00"}, true},
      {{"START"}, false},
      {{"--start"}, false},
      {{"-starts"}, false},
      {{"-sta"}, false},
      {{"-"}, false},
      {{"- start"}, false},
  };
  for (const SwitchRow& row : rows) {
    OrbUtils::SetCommandLine(QStringList{QStringLiteral("steepo")} + row.arguments);
    EXPECT_EQ(Preset::StartSwitch(), row.start) << row.arguments.join(u' ').toStdString();
  }
  // The program path itself is never the switch.
  OrbUtils::SetCommandLine({QStringLiteral("-start")});
  EXPECT_FALSE(Preset::StartSwitch());
}

} // namespace
