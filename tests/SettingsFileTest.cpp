// The settings file against the real QSettings: the values each writes the other reads, the
// Preset line that counts, and the bytes a store keeps.
#include "Platform.h"
#include "PresetStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Platform::TStoreEntry;
using Platform::TStoreSection;

QString T(const char* text) { return QString::fromUtf8(text); }

class SettingsFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Path = Dir.filePath(QStringLiteral("Steepo.conf"));
    Platform::SetSettingsPathSource([this] { return Path; });
  }
  void TearDown() override { Platform::SetSettingsPathSource({}); }

  void Put(const QByteArray& bytes) {
    QFile::remove(Path);
    QFile file(Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray Bytes() const {
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
  }
  // QSettings keeps what it read of a file while its size and time stay the same: each look
  // reads a copy of its own.
  QVariant QtValue(const QString& key) {
    const QString copy = Dir.filePath(QStringLiteral("look%1.conf").arg(++Looks));
    QFile::copy(Path, copy);
    return QSettings(copy, QSettings::IniFormat).value(key);
  }
  // The line of the file that begins with start.
  QByteArray LineOf(const QByteArray& start) const {
    for (const QByteArray& line : Bytes().split('\n'))
      if (line.startsWith(start))
        return line;
    return "(missing)";
  }

  QTemporaryDir Dir;
  QString Path;
  int Looks = 0;
};

TStoreSection Tea(const QString& name) {
  return {{QStringLiteral("1/Name"), name}, {QStringLiteral("1/Time"), 20u}, {QStringLiteral("1/Strong"), true},
          {QStringLiteral("size"), 1u}};
}

// Names that need QSettings' quoting or escapes.
const char16_t* const TrickyNames[] = {
    u"Oolong, gongfu", u"Pu-erh \"2019\"", u"Tè verde", u"Ceylon; strong", u" lead", u"trail ", u"a\\b",
    u"x=y",            u"tab\there",       u"two\nlines", u"\x01" u"bell", u"@home", u"@@twice", u"\\x41",
    u"緑茶",           u"🍵 cup",          u"",           u"\"",         u"a,",    u"7\x1F" u"f",
};

TEST_F(SettingsFileTest, TextsComeBackFromQSettingsAndGoToItByteForByte) {
  for (const char16_t* tricky : TrickyNames) {
    const QString name = QString::fromUtf16(tricky);
    SCOPED_TRACE(name.toStdString());
    Put({});
    QString reason;
    ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Teas"), Tea(name), &reason)) << reason.toStdString();
    EXPECT_EQ(QtValue(QStringLiteral("Teas/1/Name")).toString(), name);
    EXPECT_EQ(QtValue(QStringLiteral("Teas/1/Time")).toUInt(), 20u);
    EXPECT_EQ(QtValue(QStringLiteral("Teas/1/Strong")).toBool(), true);
    EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason),
              TStoreSection({{"1/Name", name}, {"1/Time", T("20")}, {"1/Strong", T("true")}, {"size", T("1")}}));
    const QByteArray ours = LineOf("1\\Name=");

    Put({});
    QSettings(Path, QSettings::IniFormat).setValue(QStringLiteral("Teas/1/Name"), name);
    EXPECT_EQ(LineOf("1\\Name="), ours);
    EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason), TStoreSection({{"1/Name", name}}));
  }
}

TEST_F(SettingsFileTest, ValuesQSettingsWritesOfOtherKindsReadAsItReadsThem) {
  {
    QSettings settings(Path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Alarm/Warning"), 30);
    settings.setValue(QStringLiteral("Alarm/Repeat"), false);
    settings.setValue(QStringLiteral("Alarm/List"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
    settings.setValue(QStringLiteral("Alarm/Bytes"), QByteArray("raw"));
    settings.setValue(QStringLiteral("Alarm/With space/Key"), QStringLiteral("%20"));
  }
  QString reason;
  const auto section = Platform::ReadSection(QStringLiteral("Alarm"), &reason);
  ASSERT_TRUE(section) << reason.toStdString();
  const TStoreSection expected = {{"Bytes", T("raw")},    {"List", T("")}, {"Repeat", T("false")},
                                  {"Warning", T("30")}, {"With space/Key", T("%20")}};
  EXPECT_EQ(*section, expected);
}

// Where several Preset lines stand, the last one of [General] counts, as QSettings reads it;
// a store changes that one line.
struct TPresetRow {
  const char* Name;
  QByteArray Text;
  quint32 Read;  // 0: none
  QByteArray Stored;
};

TEST_F(SettingsFileTest, TheLastPresetOfGeneralCountsAsForQSettings) {
  const TPresetRow rows[] = {
      {"TwoInOneSection", "[General]\nPreset=100\nPreset=200\n", 200, "[General]\nPreset=100\nPreset=900\n"},
      {"TwoGeneralSections", "[General]\nPreset=100\n[Other]\nPreset=5\n[general]\nPreset=200\n", 200,
       "[General]\nPreset=100\n[Other]\nPreset=5\n[general]\nPreset=900\n"},
      {"BeforeTheFirstHeader", "Preset=100\n[General]\nPreset=200\n[Other]\nx=1\n", 200,
       "Preset=100\n[General]\nPreset=900\n[Other]\nx=1\n"},
      {"EscapedKeyQuotedValueComment", "[General]\nPreset=100\nPr%65set = \"200\" ; mine\n", 200,
       "[General]\nPreset=100\nPreset=900; mine\n"},
      {"CommentedOut", "[General]\nPreset=100\n;Preset=200\n", 100, "[General]\nPreset=900\n;Preset=200\n"},
      {"ContinuedLine", "[General]\nPreset=1\\\n5\nx=1\n", 15, "[General]\nPreset=900\nx=1\n"},
      {"LastOutOfRange", "[General]\nPreset=100\nPreset=4000\n", 0, "[General]\nPreset=100\nPreset=900\n"},
      // The last line takes in whatever follows it: the preset goes before it all.
      {"OpenQuoteAtTheEnd", "; mine\nx=\"open\n", 0, "Preset=900\n; mine\nx=\"open\n"},
      {"OnlyElsewhere", "[%General]\nPreset=100\n[Other]\nPreset=5\n", 0,
       "[General]\nPreset=900\n[%General]\nPreset=100\n[Other]\nPreset=5\n"},
  };
  for (const TPresetRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Put(row.Text);
    EXPECT_EQ(Platform::ReadPreset().value_or(0), row.Read);
    if (row.Read) {
      EXPECT_EQ(QtValue(QStringLiteral("Preset")).toUInt(), row.Read);
    }
    QString reason;
    ASSERT_TRUE(Platform::WritePreset(900, &reason)) << reason.toStdString();
    EXPECT_EQ(Bytes(), row.Stored);
    EXPECT_EQ(QtValue(QStringLiteral("Preset")).toUInt(), 900u);
  }
}

// Every byte outside the section stays; the section takes the place of its first block.
struct TSectionRow {
  const char* Name;
  QByteArray Before;
  TStoreSection Entries;
  QByteArray After;
};

TEST_F(SettingsFileTest, ASectionReplacesItsLinesAndKeepsEveryOtherByte) {
  const TStoreSection one = {{"1/Name", QStringLiteral("Sencha")}, {"size", 1u}};
  const QByteArray oneText = "[Teas]\n1\\Name=Sencha\nsize=1\n";
  const TSectionRow rows[] = {
      {"NoFile", {}, one, oneText},
      {"AppendedCrlf", "; mine\r\n[General]\r\nPreset=240", one,
       "; mine\r\n[General]\r\nPreset=240\r\n\r\n[Teas]\r\n1\\Name=Sencha\r\nsize=1\r\n"},
      {"InPlaceWithMark", "\xEF\xBB\xBF[Teas]\nsize=3\n; old\n3\\Name=Old\n\n; the alarm\n[Alarm]\nSound=bell\n", one,
       "\xEF\xBB\xBF" + oneText + "\n; the alarm\n[Alarm]\nSound=bell\n"},
      {"ScatteredPieces", "[General]\nTeas\\9\\Name=Stray\nPreset=240\n[Teas]\nsize=0\n[Other]\nk=v\n[Teas\\2]\nName=B\n",
       one, "[General]\nPreset=240\n" + oneText + "[Other]\nk=v\n"},
      {"Removed", "[General]\nPreset=240\n\n[Teas]\nsize=0\n[Alarm]\nRepeat=true\n", {},
       "[General]\nPreset=240\n\n[Alarm]\nRepeat=true\n"},
      {"OpenQuoteAtTheEnd", "k=v\n[Other]\nx=\"open", one, oneText + "[General]\nk=v\n[Other]\nx=\"open"},
      {"SameAgain", "x=1\r\n" + QByteArray(oneText).replace("\n", "\r\n"), one,
       "x=1\r\n" + QByteArray(oneText).replace("\n", "\r\n")},
  };
  for (const TSectionRow& row : rows) {
    SCOPED_TRACE(row.Name);
    QFile::remove(Path);
    if (!row.Before.isNull())
      Put(row.Before);
    QString reason;
    ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Teas"), row.Entries, &reason)) << reason.toStdString();
    EXPECT_EQ(Bytes(), row.After);
  }
}

TEST_F(SettingsFileTest, ASectionIsWrittenThroughALinkWithTheFilesMode) {
  const QString target = Dir.filePath(QStringLiteral("dotfiles.conf"));
  Path = target;
  Put("[General]\nPreset=240\n");
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0600), 0);
  Path = Dir.filePath(QStringLiteral("Steepo.conf"));
  ASSERT_TRUE(QFile::link(target, Path));
  QString reason;
  ASSERT_TRUE(Platform::WriteSection(QStringLiteral("Alarm"), {{"Repeat", false}}, &reason)) << reason.toStdString();
  EXPECT_EQ(QFileInfo(Path).symLinkTarget(), target);
  EXPECT_EQ(Bytes(), "[General]\nPreset=240\n\n[Alarm]\nRepeat=false\n");
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SettingsFileTest, WhatCannotBeReadOrWrittenSaysWhyAndKeepsTheFile) {
  QString reason;
  EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason), TStoreSection());  // no file yet
  Put("[Teas]\nsize=0\n");
  const struct {
    const char* Name;
    QString Section;
    TStoreSection Entries;
  } refused[] = {
      {"General holds the preset", QStringLiteral("general"), {}},
      {"no section", {}, {}},
      {"a group as the section", QStringLiteral("Teas/1"), {}},
      {"an empty part", QStringLiteral("Teas"), {{"1//Name", 1u}}},
      {"a name twice", QStringLiteral("Teas"), {{"size", 1u}, {"size", 2u}}},
  };
  for (const auto& row : refused) {
    reason.clear();
    EXPECT_FALSE(Platform::WriteSection(row.Section, row.Entries, &reason)) << row.Name;
    EXPECT_FALSE(reason.isEmpty()) << row.Name;
    EXPECT_EQ(Bytes(), "[Teas]\nsize=0\n") << row.Name;
  }
  ASSERT_EQ(::unlink(QFile::encodeName(Path).constData()), 0);
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path).constData(), 0600), 0);
  reason.clear();
  EXPECT_EQ(Platform::ReadSection(QStringLiteral("Teas"), &reason), std::nullopt);
  EXPECT_FALSE(reason.isEmpty());
}

// A store interrupted at each step, by a failing rename or by a kill of the process storing:
// the file is the old one, at most the one temporary file is left, and the next store leaves
// the new file alone in the folder.
struct TInterruptRow {
  const char* Name;
  bool Unnamed;                  // the file system has unnamed files
  Platform::TStoreStep KilledAt; // where the storing process dies; Rename: the rename fails
  int LeftBehind;                // temporary files after the interruption
};

TEST_F(SettingsFileTest, AnInterruptedStoreLeavesTheOldFileAndAtMostOneTemporary) {
  using Platform::TStoreStep;
  const TInterruptRow rows[] = {
      {"UnnamedKilledWhenWritten", true, TStoreStep::Written, 0},
      {"UnnamedKilledWhenNamed", true, TStoreStep::Named, 1},
      {"UnnamedRenameFails", true, TStoreStep::Rename, 0},
      {"NamedKilledWhenWritten", false, TStoreStep::Written, 1},
      {"NamedRenameFails", false, TStoreStep::Rename, 0},
  };
  const QByteArray old = "; mine\n[General]\nPreset=240\n";
  const auto entries = [this] { return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"Steepo"); };
  for (const TInterruptRow& row : rows) {
    SCOPED_TRACE(row.Name);
    for (const QString& left : entries())
      QFile::remove(Dir.filePath(left));
    Put(old);
    const auto hook = [&row](TStoreStep step) {
      if (step == TStoreStep::Unnamed)
        return row.Unnamed;
      if (step == row.KilledAt && step != TStoreStep::Rename)
        ::raise(SIGKILL);
      return step != row.KilledAt;
    };
    Platform::SetStoreStepHook(hook);
    QString reason;
    if (row.KilledAt == TStoreStep::Rename) {
      EXPECT_FALSE(Platform::WritePreset(255, &reason));
    } else {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        Platform::WritePreset(255, &reason);
        ::_exit(0);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }
    EXPECT_EQ(Bytes(), old);
    EXPECT_EQ(entries().size(), 1 + row.LeftBehind) << entries().join(u' ').toStdString();

    Platform::SetStoreStepHook([&row](TStoreStep step) { return step != TStoreStep::Unnamed || row.Unnamed; });
    EXPECT_TRUE(Platform::WritePreset(300, &reason)) << reason.toStdString();
    Platform::SetStoreStepHook({});
    EXPECT_EQ(Bytes(), "; mine\n[General]\nPreset=300\n");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Steepo.conf")});
  }
}

// Five programs storing at once, each many times: the file is one of theirs, whole, and the
// next store leaves it alone in the folder.
TEST_F(SettingsFileTest, FiveStoresAtOnceLeaveOneWholeFile) {
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "named");
    Put("[General]\nPreset=240\n");
    Platform::SetStoreStepHook([unnamed](Platform::TStoreStep step) {
      return step != Platform::TStoreStep::Unnamed || unnamed;
    });
    QList<pid_t> children;
    for (int i = 0; i < 5; ++i) {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        QString reason;
        for (int store = 0; store < 40; ++store)
          Platform::WritePreset(100 + 100 * i + store % 2, &reason);
        ::_exit(0);
      }
      children << child;
    }
    for (const pid_t child : children)
      ::waitpid(child, nullptr, 0);
    const quint32 stored = Platform::ReadPreset().value_or(0);
    EXPECT_EQ(Bytes(), "[General]\nPreset=" + QByteArray::number(stored) + "\n");
    QString reason;
    EXPECT_TRUE(Platform::WritePreset(300, &reason)) << reason.toStdString();
    Platform::SetStoreStepHook({});
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"Steepo"), QStringList{"Steepo.conf"});
  }
}

TEST(StoredValues, TextsNumbersAndFlagsInEitherForm) {
  using Platform::StoredFlag;
  using Platform::StoredNumber;
  using Platform::StoredText;
  const struct {
    Platform::TStoreValue Value;
    std::optional<QString> Text;
    std::optional<quint32> Number;
    std::optional<bool> Flag;
  } rows[] = {
      {QStringLiteral("20"), QStringLiteral("20"), 20u, std::nullopt},
      {QStringLiteral("0"), QStringLiteral("0"), 0u, false},
      {QStringLiteral("1"), QStringLiteral("1"), 1u, true},
      {QStringLiteral("4294967295"), QStringLiteral("4294967295"), 4294967295u, std::nullopt},
      {QStringLiteral("4294967296"), QStringLiteral("4294967296"), std::nullopt, std::nullopt},
      {QStringLiteral("-1"), QStringLiteral("-1"), std::nullopt, std::nullopt},
      {QStringLiteral(" 5"), QStringLiteral(" 5"), std::nullopt, std::nullopt},
      {QStringLiteral("True"), QStringLiteral("True"), std::nullopt, true},
      {QStringLiteral("false"), QStringLiteral("false"), std::nullopt, false},
      {QStringLiteral("yes"), QStringLiteral("yes"), std::nullopt, std::nullopt},
      {QString(), QString(), std::nullopt, std::nullopt},
      {7u, std::nullopt, 7u, std::nullopt},
      {1u, std::nullopt, 1u, true},
      {true, std::nullopt, std::nullopt, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(StoredText(row.Value), row.Text);
    EXPECT_EQ(StoredNumber(row.Value), row.Number);
    EXPECT_EQ(StoredFlag(row.Value), row.Flag);
  }
}

} // namespace
