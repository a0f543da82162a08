// The start time: the integer conversion, the time argument, the preset store and the
// start switch.
#include "F_Steepo.h"
#include "MessageTexts.h"
#include "OrbUtils.h"
#include "Platform.h"
#include "Preset.h"
#include "Teas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

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
      // a number beyond 32 bits is no time at all, not 0 minutes or seconds
      {"9999999999:30", 0},
      {"-9999999999:30", 0},
      {"1:99999999999", 0},
      {"$FFFFFFFFF:30", 0},
  };
  for (const TimeRow& row : rows)
    EXPECT_EQ(Preset::ParseTimeArgument(QString::fromUtf8(row.argument), u':'), row.seconds)
        << row.argument;
}

TEST(ParseTimeArgument, TakesTheColonAsWellAsTheLocalesSeparator) {
  EXPECT_EQ(Preset::ParseTimeArgument(QStringLiteral("2.30"), u'.'), 150);
  EXPECT_EQ(Preset::ParseTimeArgument(QStringLiteral("2:30"), u'.'), 150);
  EXPECT_EQ(Preset::ParseTimeArgument(QStringLiteral("2.30"), u':'), 0);
  EXPECT_EQ(Preset::ParseTimeArgument(QStringLiteral("1.2:3"), u'.'), 60);  // the first one splits
  EXPECT_EQ(Preset::ParseTimeArgument(QString(10000, u'9') + u':' + QString(10000, u'9'), u':'), 0);
}

// A settings store in a temporary folder, handed to the program through the platform layer.
class StartTimeFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    StorePath = Dir.filePath(QStringLiteral("Steepo.conf"));
    Platform::SetSettingsPathSource([this] { return StorePath; });
    Platform::SetProblemSink([this](const QString& line) { Problems << line; });
    Preset::StoreState = {};
    F_Steepo::TimerState = {};
    Teas::Current.Forget();
  }
  void TearDown() override {
    Platform::SetSettingsPathSource({});
    Platform::SetProblemSink({});
  }

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
  QStringList Problems;
};

TEST_F(StartTimeFixture, NoPresetAndNoArgumentGivesThreeMinutes) {
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 180u);
  EXPECT_EQ(F_Steepo::TimerState.CmdTime, 0);
}

TEST_F(StartTimeFixture, StoredPresetCountsOnlyFromOneSecondTo5959) {
  struct Row {
    QVariant stored;
    quint32 expected;
  };
  const Row rows[] = {
      {QVariant(quint32(255)), 255},
      {QVariant(quint32(7)), 7},
      {QVariant(quint32(1)), 1},
      {QVariant(quint32(3599)), 3599},
      // out of range counts as absent
      {QVariant(quint32(0)), 180},
      {QVariant(quint32(3600)), 180},
      {QVariant(quint32(4294967295u)), 180},
      // values of another kind leave the time as it was
      {QVariant(QStringLiteral("abc")), 180},
      {QVariant(QStringLiteral("-5")), 180},
      {QVariant(QStringLiteral("4294967296")), 180},
      {QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")}), 180},
      {QVariant(QByteArray("\x01\x02")), 180},
  };
  for (const Row& row : rows) {
    F_Steepo::TimerState.BrewTime = 180;
    Store(row.stored);
    Start({});
    EXPECT_EQ(F_Steepo::TimerState.BrewTime, row.expected) << row.stored.toString().toStdString();
  }
}

TEST_F(StartTimeFixture, UnreadableOrDamagedStoreLeavesTheTime) {
  WriteStoreText("[General\nPreset=\"\\x\n\x01\x02");
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 180u);

  // A store that is a folder cannot be read at all.
  StorePath = Dir.filePath(QStringLiteral("folder"));
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("folder")));
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 180u);
  Preset::StorePreset();  // and writing to it fails silently
}

TEST_F(StartTimeFixture, CommandLineTimeWinsOverThePresetAndIsNotRounded) {
  Store(quint32(600));
  Start({QStringLiteral("2:07")});
  EXPECT_EQ(F_Steepo::TimerState.CmdTime, 127);
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 127u);
}

TEST_F(StartTimeFixture, OnlyTheFirstPlainArgumentIsExamined) {
  Store(quint32(600));
  Start({QStringLiteral("START"), QStringLiteral("3:00")});
  EXPECT_EQ(F_Steepo::TimerState.CmdTime, 0);
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 600u);

  F_Steepo::TimerState.CmdTime = 0;
  Start({QStringLiteral("-1:30"), QStringLiteral("/x"), QStringLiteral("0:20")});
  EXPECT_EQ(F_Steepo::TimerState.CmdTime, 20);  // switches, a negative time among them, are skipped
}

TEST_F(StartTimeFixture, BadCommandLineTimeFallsBackToThePresetAndSaysSoInOneLine) {
  for (const char* argument : {"75:00", "60:00", "0:00", "5", "x", "99999999999:99999999999", "1\n2:00"}) {
    F_Steepo::TimerState.CmdTime = 0;
    F_Steepo::TimerState.BrewTime = 180;
    Store(quint32(90));
    Problems.clear();
    Start({QString::fromUtf8(argument)});
    EXPECT_EQ(F_Steepo::TimerState.CmdTime, 0) << argument;
    EXPECT_EQ(F_Steepo::TimerState.BrewTime, 90u) << argument;
    EXPECT_EQ(Problems, QStringList{QStringLiteral("steepo: ignoring the time '%1': expected minutes:seconds "
                                                   "from 0:01 to 59:59").arg(QString::fromUtf8(argument).replace(u'\n', u'?'))})
        << argument;
  }
}

// A translation that drops or adds a placeholder would print a raw "%1" or lose the path.
TEST(MessageTexts, EveryLanguageKeepsTheEnglishPlaceholders) {
  const auto placeholders = [](const char* text) {
    const QString message = QString::fromUtf8(text);
    return std::pair(message.count(QStringLiteral("%1")), message.count(QStringLiteral("%2")));
  };
  for (std::size_t row = 1; row < MessageTexts::Texts.size(); ++row)
    for (int column = 0; column < MessageTexts::mxCount; ++column)
      EXPECT_EQ(placeholders(MessageTexts::Texts[row][column]), placeholders(MessageTexts::Texts[0][column]))
          << "row " << row << " column " << column;
}

// The reading of a time never changes; a reading other than what the text plainly says, and
// every switch but the start switch, are said in one line each.
struct TCommandLineNoteRow {
  const char* Name;
  QStringList Arguments;
  QChar Separator;
  qint32 CmdTime;
  QStringList Lines;
};

TEST_F(StartTimeFixture, TimesReadOtherwiseThanTheyLookAndUnknownSwitchesAreNamed) {
  const auto read = [](const char* argument, const char* as) {
    return QStringLiteral("steepo: read \"%1\" as %2").arg(QString::fromUtf8(argument), QString::fromUtf8(as));
  };
  const auto unknown = [](const char* argument) {
    return QStringLiteral("steepo: unknown switch \"%1\" ignored (steepo --help lists the options)").arg(argument);
  };
  const TCommandLineNoteRow rows[] = {
      {"Plain", {"4:30", "-start"}, u':', 270, {}},
      {"PlainShort", {"0:45"}, u':', 45, {}},
      {"PlainLocaleSeparator", {"12.05"}, u'.', 725, {}},
      {"Letters", {"4:abc"}, u':', 240, {read("4:abc", "4:00")}},
      {"TrailingLetter", {"9:3x"}, u':', 540, {read("9:3x", "9:00")}},
      {"TwoSeparators", {"7:2:3"}, u':', 420, {read("7:2:3", "7:00")}},
      {"NoMinutes", {"x:30"}, u':', 30, {read("x:30", "0:30")}},
      {"NegativeSeconds", {"5:-10"}, u':', 290, {read("5:-10", "4:50")}},
      {"SixtySeconds", {"1:60"}, u':', 120, {read("1:60", "2:00")}},
      {"NinetySeconds", {"0:90"}, u':', 90, {read("0:90", "1:30")}},
      {"OneSecondDigit", {"2:5"}, u':', 125, {read("2:5", "2:05")}},
      {"Hexadecimal", {"0x2:0"}, u':', 120, {read("0x2:0", "2:00")}},
      {"DoubleDashStart", {"--start"}, u':', 0,
       {QStringLiteral("steepo: unknown switch \"--start\" ignored; the start switch is -start")}},
      {"UnknownSwitches", {"-x", "-5", "/tmp", "3:00", "/START"}, u':', 180, {unknown("-x"), unknown("-5"), unknown("/tmp")}},
      {"EmptyBeforeTheTime", {"", "4:30"}, u':', 270, {QStringLiteral("steepo: an empty argument was skipped")}},
      {"AbsurdMinutes", {"9999999999:30"}, u':', 0,
       {QStringLiteral("steepo: ignoring the time '9999999999:30': expected minutes:seconds from 0:01 to 59:59")}},
  };
  for (const TCommandLineNoteRow& row : rows) {
    F_Steepo::TimerState = {};
    F_Steepo::TimerState.TimeSeparator = row.Separator;
    Problems.clear();
    Start(row.Arguments);
    EXPECT_EQ(F_Steepo::TimerState.CmdTime, row.CmdTime) << row.Name;
    EXPECT_EQ(Problems, row.Lines) << row.Name;
  }
}

// The tea switch chooses a tea of the list by its name, in any letter case; its name is never
// a time, and a time given beside it wins. A tea so chosen leaves the preset alone.
struct TTeaSwitchRow {
  const char* Name;
  QStringList Arguments;
  quint32 BrewTime;
  const char* Tea;  // chosen; empty: none
  QStringList Lines;
  bool Start;
};

TEST_F(StartTimeFixture, TheTeaSwitchChoosesATeaByItsNameUnlessATimeIsGiven) {
  const QString teas = QStringLiteral("\"Green tea\", \"Oolong\", \"Black tea\", \"Herbal tea\", \"Oolong, gongfu\"");
  const auto noTea = [&teas](const char* name) {
    return QStringLiteral("steepo: there is no tea \"%1\"; the teas are %2").arg(QString::fromUtf8(name), teas);
  };
  const auto timeWins = [](const char* time, const char* name) {
    return QStringLiteral("steepo: the time '%1' given beside -tea wins; the tea \"%2\" is not chosen").arg(time, name);
  };
  const TTeaSwitchRow rows[] = {
      {"Known", {"-tea", "Oolong"}, 180, "Oolong", {}, false},
      {"MixedCase", {"/TEA", "bLACK tEA", "-start"}, 240, "Black tea", {}, true},
      {"CommaInTheName", {"-Tea", "oolong, GONGFU"}, 20, "Oolong, gongfu", {}, false},
      {"NameThatLooksLikeATime", {"-tea", "3:00"}, 90, "", {noTea("3:00")}, false},
      {"Unknown", {"-start", "-tea", "Sencha"}, 90, "", {noTea("Sencha")}, true},
      {"StartSwitchAsName", {"-tea", "-start"}, 90, "", {noTea("-start")}, false},
      {"TimeBefore", {"2:30", "-tea", "Oolong"}, 150, "", {timeWins("2:30", "Oolong")}, false},
      {"TimeAfter", {"-tea", "Oolong", "0:45", "-start"}, 45, "", {timeWins("0:45", "Oolong")}, true},
      {"NoName", {"-tea"}, 90, "", {QStringLiteral("steepo: -tea needs the name of a tea; the teas are ") + teas}, false},
      {"OnlyTheFirstSwitch", {"-tea", "Oolong", "-tea", "Herbal tea"}, 180, "Oolong", {}, false},
  };
  for (const TTeaSwitchRow& row : rows) {
    F_Steepo::TimerState = {};
    Store(quint32(90));
    Problems.clear();
    Start(row.Arguments);
    EXPECT_EQ(F_Steepo::TimerState.BrewTime, row.BrewTime) << row.Name;
    EXPECT_EQ(F_Steepo::TimerState.Tea ? F_Steepo::TimerState.Tea->Name : QString(), QString::fromUtf8(row.Tea)) << row.Name;
    EXPECT_EQ(F_Steepo::TimerState.CmdTime != 0, row.BrewTime != 90) << row.Name;  // the preset is left alone
    EXPECT_EQ(Problems, row.Lines) << row.Name;
    EXPECT_EQ(Preset::StartSwitch(), row.Start) << row.Name;
  }
}

TEST_F(StartTimeFixture, PresetIsStoredUnlessTheCommandLineGaveTheTime) {
  F_Steepo::TimerState.BrewTime = 345;
  Preset::StorePreset();
  EXPECT_EQ(Stored().toUInt(), 345u);

  F_Steepo::TimerState.CmdTime = 30;
  F_Steepo::TimerState.BrewTime = 45;
  Preset::StorePreset();
  EXPECT_EQ(Stored().toUInt(), 345u);
}

TEST_F(StartTimeFixture, StoredPresetReadsBack) {
  F_Steepo::TimerState.BrewTime = 3599;
  Preset::StorePreset();
  F_Steepo::TimerState.BrewTime = 180;
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 3599u);
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
      {{"-START"}, true},
      {{"/Start"}, true},
      {{"-\u017Ftart"}, false},  // the long s folds to "s" in Unicode, not in ASCII
      {{"-star\u212A"}, false},  // nor is the Kelvin sign a "K" here
  };
  for (const SwitchRow& row : rows) {
    OrbUtils::SetCommandLine(QStringList{QStringLiteral("steepo")} + row.arguments);
    EXPECT_EQ(Preset::StartSwitch(), row.start) << row.arguments.join(u' ').toStdString();
  }
  // The program path itself is never the switch.
  OrbUtils::SetCommandLine({QStringLiteral("-start")});
  EXPECT_FALSE(Preset::StartSwitch());
}

// ---- The settings file as the user may have left it -----------------------------------------

// File permissions bind everyone but root: where the tests run as root, a case runs as the
// user "nobody" (the effective user only, taken back afterwards).
class TUnprivileged {
public:
  TUnprivileged() : FSwitched(::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0) {}
  ~TUnprivileged() {
    if (FSwitched && ::seteuid(0) == 0)
      [[maybe_unused]] const int restored = ::setegid(0);
  }

private:
  bool FSwitched;
};

// What lies at path, without opening anything that could block.
QByteArray Snapshot(const QString& path) {
  const QFileInfo info(path);
  if (info.isSymLink() && !info.exists())
    return "dangling link";
  if (info.isSymLink())
    return "link to " + Snapshot(info.symLinkTarget());
  if (info.isDir())
    return "folder";
  if (!info.exists())
    return "absent";
  if (!info.isFile())
    return "not a regular file";
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

void WriteFile(const QString& path, const QByteArray& bytes, int mode = 0644) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
}

const QByteArray Preset240 = "; brewed by hand\n[General]\nPreset=240\n";
const QByteArray Unchanged = "(unchanged)";

struct TStoreFileRow {
  const char* Name;
  std::function<void(const QString& path)> Make;
  bool Step;                // the user steps the time up once before closing
  quint32 StartTime;
  QByteArray After;         // what lies there after exit; Unchanged: what lay there before
  int Lines;                // lines on the error stream
};
void PrintTo(const TStoreFileRow& row, std::ostream* out) { *out << row.Name; }

class StoreFileTest : public StartTimeFixture, public ::testing::WithParamInterface<TStoreFileRow> {};

TEST_P(StoreFileTest, StartTimeAndTheFileAfterExit) {
  const TStoreFileRow& row = GetParam();
  ASSERT_EQ(::chmod(QFile::encodeName(Dir.path()).constData(), 0777), 0);
  const QString folder = Dir.filePath(QStringLiteral("Varnak"));
  StorePath = folder + QStringLiteral("/Steepo.conf");
  {
    TUnprivileged unprivileged;
    ASSERT_TRUE(QDir().mkpath(folder));
    if (row.Make)
      row.Make(StorePath);
  }
  const QByteArray before = Snapshot(StorePath);
  {
    TUnprivileged unprivileged;
    Start({});
    EXPECT_EQ(F_Steepo::TimerState.BrewTime, row.StartTime);
    if (row.Step)
      F_Steepo::TimerState.BrewTime += 15;
    Preset::StorePreset();
  }
  EXPECT_EQ(Snapshot(StorePath), row.After == Unchanged ? before : row.After);
  EXPECT_EQ(Problems.size(), row.Lines) << Problems.join(u'\n').toStdString();
  for (const QString& line : Problems)
    EXPECT_TRUE(line.startsWith(QStringLiteral("steepo: ")) && line.contains(StorePath)) << line.toStdString();
}

const auto MakeFile = [](const QByteArray& bytes, int mode = 0644) {
  return [bytes, mode](const QString& path) { WriteFile(path, bytes, mode); };
};

// Every byte but the one value survives, line endings and all.
const QString CrlfFile = QStringLiteral("; Steepo\r\n[Other]\r\nPreset=1\r\n\r\n[General]\r\n; the last time set\r\n"
                                        "Preset=%1\r\nColour=green\r\n[Third]\r\nx=%20y");
const QByteArray Bashrc = "# aliases\r\nalias ll='ls -l'\r\n";

// A dotfile manager's link to a file of another program.
const auto MakeLink = [](const QByteArray& bytes) {
  return [bytes](const QString& path) {
    const QString target = QFileInfo(path).path() + QStringLiteral("/bashrc");
    WriteFile(target, bytes);
    QFile::link(QStringLiteral("bashrc"), path);
  };
};

// A lock left by a program that used one: a stale lock file (in a folder that only the file
// in it may be changed in) or a folder of its name.
const auto MakeLockedFile = [](bool lockFolder, bool readOnlyFolder) {
  return [=](const QString& path) {
    WriteFile(path, Preset240, 0666);
    const QString lock = path + QStringLiteral(".lock");
    if (lockFolder)
      QDir().mkdir(lock);
    else
      WriteFile(lock, "999999\nsteepo\nelsewhere\n");
    if (readOnlyFolder)
      ::chmod(QFile::encodeName(QFileInfo(path).path()).constData(), 0555);
  };
};

INSTANTIATE_TEST_SUITE_P(
    Files, StoreFileTest,
    ::testing::Values(
        TStoreFileRow{"Absent", {}, false, 180, "[General]\nPreset=180\n", 0},
        TStoreFileRow{"Regular", MakeFile(Preset240), false, 240, Unchanged, 0},
        TStoreFileRow{"RegularStepped", MakeFile(Preset240), true, 240, "; brewed by hand\n[General]\nPreset=255\n", 0},
        TStoreFileRow{"CrlfCommentsAndOtherSections", MakeFile(CrlfFile.arg(240).toLatin1()), true, 240,
                      CrlfFile.arg(255).toLatin1(), 0},
        TStoreFileRow{"LinkToAFileWithOtherContent", MakeLink(Bashrc), true, 180,
                      "link to " + Bashrc + "[General]\r\nPreset=195\r\n", 0},
        TStoreFileRow{"LoopingLink", [](const QString& p) { QFile::link(p, p); }, true, 180, Unchanged, 1},
        TStoreFileRow{"StaleLockInReadOnlyFolder", MakeLockedFile(false, true), true, 240, Unchanged, 1},
        TStoreFileRow{"LockFolder", MakeLockedFile(true, false), true, 240, "; brewed by hand\n[General]\nPreset=255\n", 0},
        TStoreFileRow{"Fifo", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); },
                      true, 180, Unchanged, 1},
        TStoreFileRow{"Folder", [](const QString& p) { QDir().mkdir(p); }, true, 180, Unchanged, 1},
        TStoreFileRow{"Unreadable", MakeFile(Preset240, 0), false, 180, Unchanged, 0},
        TStoreFileRow{"UnreadableStepped", MakeFile(Preset240, 0), true, 180, Unchanged, 1},
        TStoreFileRow{"ReadOnly", MakeFile(Preset240, 0444), false, 240, Unchanged, 0},
        TStoreFileRow{"ReadOnlyStepped", MakeFile(Preset240, 0444), true, 240, Unchanged, 1},
        TStoreFileRow{"ReadOnlyFolder",
                      [](const QString& p) { ::chmod(QFile::encodeName(QFileInfo(p).path()).constData(), 0555); },
                      false, 180, "absent", 1},
        TStoreFileRow{"DanglingLink", [](const QString& p) { QFile::link(QStringLiteral("/nonexistent/Steepo.conf"), p); },
                      false, 180, "dangling link", 1},
        TStoreFileRow{"Utf16", MakeFile(QByteArray("\xFF\xFE[\0G\0e\0n\0e\0r\0a\0l\0]\0\n\0P\0r\0e\0s\0e\0t\0="
                                                   "\0002\0004\0000\0\n\0", 38)),
                      false, 180, Unchanged, 0},
        TStoreFileRow{"ForeignText", MakeFile("Tea, Earl Grey, hot.\n"), false, 180, Unchanged, 0},
        TStoreFileRow{"ForeignTextStepped", MakeFile("Tea, Earl Grey, hot.\n"), true, 180,
                      "Tea, Earl Grey, hot.\n[General]\nPreset=195\n", 0},
        TStoreFileRow{"OtherSectionFirst", MakeFile("; mine\n[Other]\nPreset=5"), true, 180,
                      "; mine\n[General]\nPreset=195\n[Other]\nPreset=5", 0},
        TStoreFileRow{"Zero", MakeFile("[General]\nPreset=0\n"), false, 180, Unchanged, 0},
        TStoreFileRow{"OutOfRange", MakeFile("[General]\nPreset=3600\n"), false, 180, Unchanged, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- A full disk: the file is whole, the new one or the old -------------------------------

// Fills the file system at folder until pages of it are free.
void FillUpTo(const QString& folder, int pages) {
  const QByteArray name = QFile::encodeName(folder + QStringLiteral("/filler"));
  const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  const QByteArray block(4096, 'x');
  while (::write(fd, block.constData(), size_t(block.size())) > 0) {
  }
  struct statvfs disk {};
  ASSERT_EQ(::fstatvfs(fd, &disk), 0);
  ASSERT_EQ(disk.f_bavail, 0u);
  ASSERT_EQ(::ftruncate(fd, ::lseek(fd, 0, SEEK_END) - off_t(pages) * off_t(disk.f_bsize)), 0);
  ::close(fd);
}

// A settings file of about size bytes, with comments and another section.
QByteArray SettingsOfSize(int size, quint32 preset) {
  QByteArray text = "; my tea timer\n[General]\nPreset=" + QByteArray::number(preset) + "\n[Other]\n";
  for (int i = 0; text.size() < size; ++i)
    text += "key" + QByteArray::number(i) + "=a value of the other section\n";
  return text;
}

struct TFullDiskRow {
  const char* Name;
  int FreePages;
  int Size;
  bool Written;
};
void PrintTo(const TFullDiskRow& row, std::ostream* out) { *out << row.Name; }

// A settings file of the row's size with the preset 4:00, on a file system of its own filled
// up to the row's free pages.
class FullDiskTest : public StartTimeFixture, public ::testing::WithParamInterface<TFullDiskRow> {
protected:
  void SetUp() override {
    StartTimeFixture::SetUp();
    if (::geteuid() != 0)
      GTEST_SKIP() << "a file system small enough to fill needs root to mount";
    MountPoint = QFile::encodeName(Dir.path());
    if (::mount("steepo-test", MountPoint.constData(), "tmpfs", 0, "size=256k") != 0)
      GTEST_SKIP() << "no tmpfs could be mounted: " << std::strerror(errno);
    Mounted = true;
    ASSERT_TRUE(QDir().mkpath(Dir.filePath(QStringLiteral("Varnak"))));
    StorePath = Dir.filePath(QStringLiteral("Varnak/Steepo.conf"));
    WriteFile(StorePath, SettingsOfSize(GetParam().Size, 240));
    FillUpTo(Dir.path(), GetParam().FreePages);
  }
  void TearDown() override {
    if (Mounted)
      ::umount2(MountPoint.constData(), MNT_DETACH);
    StartTimeFixture::TearDown();
  }
  void ExpectNoTemporaryFile() {
    EXPECT_EQ(QDir(Dir.filePath(QStringLiteral("Varnak"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1)
        << "a temporary file was left behind";
  }

  QByteArray MountPoint;
  bool Mounted = false;
};

TEST_P(FullDiskTest, TheFileIsTheNewOneOrTheOldOne) {
  const TFullDiskRow& row = GetParam();
  Start({});
  F_Steepo::TimerState.BrewTime += 15;
  Preset::StorePreset();
  EXPECT_EQ(Snapshot(StorePath), SettingsOfSize(row.Size, row.Written ? 255 : 240));
  EXPECT_EQ(Problems.size(), row.Written ? 0 : 1) << Problems.join(u'\n').toStdString();
  ExpectNoTemporaryFile();
}

TEST_P(FullDiskTest, TheTeasAreStoredWholeOrNotAtAll) {
  const TFullDiskRow& row = GetParam();
  const Teas::TTeaList teas = {{QStringLiteral("Sencha"), 90}, {QStringLiteral("Oolong, gongfu"), 20, 6, 5}};
  EXPECT_EQ(Teas::Current.Replace(teas), row.Written);
  const QByteArray before = SettingsOfSize(row.Size, 240);
  if (row.Written) {
    EXPECT_TRUE(Snapshot(StorePath).startsWith(before));
    Teas::Current.Forget();
    EXPECT_EQ(Teas::Current.List(), teas);
  } else {
    EXPECT_EQ(Snapshot(StorePath), before);
  }
  EXPECT_EQ(Problems.size(), row.Written ? 0 : 1) << Problems.join(u'\n').toStdString();
  ExpectNoTemporaryFile();
}

INSTANTIATE_TEST_SUITE_P(Disks, FullDiskTest,
                         ::testing::Values(TFullDiskRow{"NoPageSmallFile", 0, 300, false},
                                           TFullDiskRow{"OnePageSmallFile", 1, 300, true},
                                           TFullDiskRow{"OnePageLargeFile", 1, 11000, false},
                                           TFullDiskRow{"FourPagesLargeFile", 4, 11000, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- Files near and over the most a settings file may hold -----------------------------------

// Storing edits the one line that counts: linear in the file's size (the time is the
// benchmark's to show).
TEST_F(StartTimeFixture, AHundredThousandPresetLinesJustUnderTheLimitAreStoredInPlace) {
  QByteArray text = "[General]\n";
  for (int i = 0; i < 99999; ++i)
    text += "Preset=60\n";
  text += "Preset=240\n";  // the last one counts
  ASSERT_LT(text.size(), Platform::LargestSettingsFile);
  WriteFile(StorePath, text);
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 240u);
  F_Steepo::TimerState.BrewTime += 15;
  Preset::StorePreset();
  EXPECT_EQ(Snapshot(StorePath), text.first(text.size() - 4) + "255\n");
  EXPECT_TRUE(Problems.isEmpty()) << Problems.join(u'\n').toStdString();
}

// A larger file is not read (a sparse one of 2 GB would take a minute and its size in memory):
// the default time, one line naming it, and the file as it was.
TEST_F(StartTimeFixture, AFileOverTheLimitIsNeitherReadNorWritten) {
  const QByteArray path = QFile::encodeName(StorePath);
  WriteFile(StorePath, Preset240);
  ASSERT_EQ(::truncate(path.constData(), off_t(1) << 31), 0);
  struct stat before {}, after {};
  ASSERT_EQ(::stat(path.constData(), &before), 0);
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 180u);
  F_Steepo::TimerState.BrewTime += 15;
  Preset::StorePreset();
  EXPECT_EQ(Problems, QStringList{QStringLiteral("steepo: the preset file %1 is too large (2147483648 bytes, more "
                                                 "than 1 MiB): it is neither read nor written").arg(StorePath)});
  ASSERT_EQ(::stat(path.constData(), &after), 0);
  EXPECT_EQ(after.st_size, before.st_size);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_ino, before.st_ino);
  QFile file(StorePath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(Preset240.size()), Preset240);
  EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 1);
}

// ---- Where the store is ---------------------------------------------------------------------

TEST_F(StartTimeFixture, FolderNamesThatAreNotUtf8AreUsedAsTheyAre) {
  const QByteArray base = QFile::encodeName(Dir.path()) + "/h\xE9me";
  ASSERT_EQ(::mkdir(base.constData(), 0755), 0);
  const struct {
    const char* Name;
    QByteArray Home, ConfigHome, File;
  } rows[] = {
      {"config home", "/nonexistent", base + "/cfg\xFF", base + "/cfg\xFF/Varnak/Steepo.conf"},
      {"home", base, {}, base + "/.config/Varnak/Steepo.conf"},
  };
  const QByteArray home = qgetenv("HOME"), configHome = qgetenv("XDG_CONFIG_HOME");
  Platform::SetSettingsPathSource({});
  for (const auto& row : rows) {
    qputenv("HOME", row.Home);
    row.ConfigHome.isEmpty() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", row.ConfigHome);
    Preset::StoreState = {};
    F_Steepo::TimerState.BrewTime = 195;
    Preset::StorePreset();
    struct stat info {};
    EXPECT_EQ(::stat(row.File.constData(), &info), 0) << row.Name;
    F_Steepo::TimerState.BrewTime = 180;
    Start({});
    EXPECT_EQ(F_Steepo::TimerState.BrewTime, 195u) << row.Name;
  }
  qputenv("HOME", home);
  configHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", configHome);
  EXPECT_TRUE(Problems.isEmpty()) << Problems.join(u'\n').toStdString();
}

TEST_F(StartTimeFixture, WithoutAUsableFolderNothingIsStoredAndOneLineSaysSo) {
  StorePath.clear();
  Start({});
  EXPECT_EQ(F_Steepo::TimerState.BrewTime, 180u);
  F_Steepo::TimerState.BrewTime = 195;
  Preset::StorePreset();
  ASSERT_EQ(Problems.size(), 1);
  EXPECT_TRUE(Problems[0].startsWith(QStringLiteral("steepo: no usable folder for the preset")));
}

TEST(InformationRequest, HelpAndVersionComeFirstWhereverTheyStand) {
  const std::pair<QStringList, const char*> rows[] = {
      {{}, "(window)"}, {{"-H"}, "(window)"}, {{"--Help"}, "(window)"}, {{"/h"}, "(window)"},
      {{"3:00", "-start", "--version", "--help"}, "Steepo 9.8.7.6\n"},
      {{"-h", "--version"}, "Usage: steepo [MINUTES:SECONDS] [-tea NAME] [-start]\n"},
  };
  for (const auto& [arguments, starts] : rows) {
    // The program path is never a request.
    const QString text = Preset::InformationRequest(QStringList{QStringLiteral("--version")} + arguments,
                                                    QStringLiteral("9.8.7.6"), QStringLiteral("/h/Steepo.conf"))
                             .value_or(QStringLiteral("(window)"));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(starts))) << arguments.join(u' ').toStdString();
  }
  EXPECT_TRUE(Preset::InformationRequest({{}, QStringLiteral("-h")}, {}, {})->contains(u"nowhere"));
}

} // namespace
