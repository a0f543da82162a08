// The shared functions: versions, opening documents, picking and splitting arguments.
#include "OrbUtils.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ShortVersion, KeepsTheFirstTwoComponents) {
  const std::pair<const char*, const char*> rows[] = {
      {"2.3.19.43", "2.3"}, {"2.3", "2.3"}, {"10.0", "10.0"}, {"", ""},
      {"7", "7"},           {"1.2.", "1.2"}, {"..", "."},     {"a.b.c", "a.b"},
  };
  for (const auto& [version, expected] : rows)
    EXPECT_EQ(OrbUtils::ShortVersion(QString::fromUtf8(version)), QString::fromUtf8(expected)) << version;
}

TEST(FileVersion, ReadsTheVersionStoredInTheProgramFile) {
  quint32 flags = 1234;
  EXPECT_EQ(OrbUtils::FileVersionEx(QCoreApplication::applicationFilePath(), flags), QStringLiteral("2.3.19.43"));
  EXPECT_EQ(flags, 0u);
  EXPECT_EQ(OrbUtils::FileVersion(QCoreApplication::applicationFilePath()), QStringLiteral("2.3.19.43"));
}

TEST(FileVersion, FilesWithoutItGiveTheEmptyText) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  };
  // The start of the program file alone: its section table lies beyond the end.
  QFile self(QCoreApplication::applicationFilePath());
  ASSERT_TRUE(self.open(QIODevice::ReadOnly));
  const QByteArray head = self.read(4096);
  QByteArray damaged = self.readAll();
  damaged.prepend(head);
  // The header's pointer to the rest (the section table of an ELF file, the new header of a
  // Windows one) pointing far outside the file.
#ifdef Q_OS_WIN
  const qsizetype pointerAt = 0x3C, pointerEnd = 0x40;
#else
  const qsizetype pointerAt = 0x28, pointerEnd = 0x30;
#endif
  for (qsizetype i = pointerAt; i < pointerEnd; ++i)
    damaged[i] = char(0x7F);

  const QString paths[] = {
      dir.filePath(QStringLiteral("missing")),
      dir.path(),
      write(QStringLiteral("empty"), {}),
      write(QStringLiteral("text"), "not a program"),
      write(QStringLiteral("elf-magic-only"), "\x7F" "ELF"),
      write(QStringLiteral("head"), head),
      write(QStringLiteral("damaged"), damaged),
  };
  for (const QString& path : paths) {
    quint32 flags = 99;
    EXPECT_EQ(OrbUtils::FileVersionEx(path, flags), QString()) << path.toStdString();
    EXPECT_EQ(flags, 0u);
  }
  EXPECT_EQ(OrbUtils::FileVersion(QStringLiteral("/bin/sh")), QString());
}

class OpenDocumentFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Platform::SetShellOpener([this](const QString& target) {
      Opened << target;
      return Accept;
    });
  }
  void TearDown() override { Platform::SetShellOpener({}); }
  QStringList Opened;
  bool Accept = true;
};

TEST_F(OpenDocumentFixture, BlankTargetsNeverReachTheShell) {
  for (const QString& blank : {QString(), QStringLiteral("   "), QStringLiteral("\t\r\n "), QString(3, QChar(0))})
    EXPECT_FALSE(OrbUtils::OpenDocument(blank));
  EXPECT_TRUE(Opened.isEmpty());
}

TEST_F(OpenDocumentFixture, HandsOverTheTargetUntrimmedAndReportsTheShellsAnswer) {
  EXPECT_TRUE(OrbUtils::OpenDocument(QStringLiteral(" www.example.org/steepo ")));
  Accept = false;
  EXPECT_FALSE(OrbUtils::OpenDocument(QStringLiteral("mailto:tea@example.org")));
  EXPECT_EQ(Opened, (QStringList{QStringLiteral(" www.example.org/steepo "), QStringLiteral("mailto:tea@example.org")}));
  EXPECT_GT(OrbUtils::ShellOpen(QStringLiteral("x")), 32 - 32);  // some result, never a crash
}

struct CmdParamRow {
  QStringList arguments;  // after the program path
  int index;
  const char* expected;
};

TEST(GetCmdParam, CountsPlainArgumentsAndSkipsSwitches) {
  const CmdParamRow rows[] = {
      {{"/START", "3:30"}, 1, "3:30"},
      {{"/START"}, 1, ""},
      {{}, 1, ""},
      {{"a", "-b", "c"}, 2, "c"},
      {{"a", "-b", "c"}, 3, ""},
      {{"a"}, -1, ""},
      {{"a"}, 0, "steepo"},
      {{}, 0, "steepo"},
      {{"-x", "/y"}, 1, ""},
      {{"", "b"}, 1, "b"},  // an empty argument is none
  };
  for (const CmdParamRow& row : rows) {
    OrbUtils::SetCommandLine(QStringList{QStringLiteral("steepo")} + row.arguments);
    EXPECT_EQ(OrbUtils::GetCmdParam(row.index), QString::fromUtf8(row.expected))
        << row.arguments.join(u' ').toStdString() << " #" << row.index;
  }
}

struct SplitRow {
  const char* commandLine;
  QStringList arguments;
};

TEST(SplitCommandLine, BlanksSeparateQuotesGroup) {
  const SplitRow rows[] = {
      {"", {}},
      {"   ", {}},
      {"a b", {"a", "b"}},
      {"  a\t\tb  ", {"a", "b"}},
      {"\"a b\" c", {"a b", "c"}},
      {"a\"b c\"d", {"ab cd"}},
      {"a \"\" b", {"a", "b"}},
      {"\"\"", {}},
      {"\"unterminated b", {"unterminated b"}},
      {"-start 3:00", {"-start", "3:00"}},
      {"a\x01" "b", {"a", "b"}},
  };
  for (const SplitRow& row : rows)
    EXPECT_EQ(OrbUtils::SplitCommandLine(QString::fromUtf8(row.commandLine)), row.arguments) << row.commandLine;
}

} // namespace
