// The platform layer: key codes, posted messages, the clock, the signals, the settings path
// and the sound files of the user's.
#include "Platform.h"
#include "PlatformNative.h"

#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif
#include <gtest/gtest.h>

namespace {

struct KeyRow {
  int key;
  Qt::KeyboardModifiers modifiers;
  int code;
};

TEST(VirtualKeyCode, MapsTheKeysOfTheTimer) {
  const KeyRow rows[] = {
      {Qt::Key_PageUp, Qt::NoModifier, 33},
      {Qt::Key_PageDown, Qt::NoModifier, 34},
      {Qt::Key_Plus, Qt::KeypadModifier, 107},
      {Qt::Key_Minus, Qt::KeypadModifier, 109},
      {Qt::Key_Plus, Qt::NoModifier, 0xBB},   // the main keyboard's plus is another key
      {Qt::Key_Minus, Qt::NoModifier, 0xBD},
      {Qt::Key_F1, Qt::NoModifier, 112},
      {Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier, 112},
      {Qt::Key_Return, Qt::NoModifier, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_A, Qt::NoModifier, 'A'},
      {Qt::Key_5, Qt::NoModifier, '5'},
      {Qt::Key_5, Qt::KeypadModifier, 0x65},
      {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const KeyRow& row : rows) {
    const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers);
    EXPECT_EQ(Platform::VirtualKeyCode(event), row.code) << std::hex << row.key;
  }
}

// Records the messages it receives, in order.
class Receiver : public QObject {
public:
  std::vector<std::tuple<int, qintptr, qintptr>> Received;
  bool event(QEvent* e) override {
    if (e->type() >= QEvent::User) {
      const auto* message = static_cast<Platform::TMessageEvent*>(e);
      Received.emplace_back(int(e->type()), message->WParam, message->LParam);
      return true;
    }
    return QObject::event(e);
  }
};

TEST(PostMessage, IsQueuedAndHandledInOrderLater) {
  Receiver receiver;
  Platform::PostMessage(&receiver, 2662, 2662, 2662);
  Platform::PostMessage(&receiver, 0xB065, 0, 0);
  EXPECT_TRUE(receiver.Received.empty());
  Platform::ProcessMessages();
  ASSERT_EQ(receiver.Received.size(), 2u);
  EXPECT_EQ(receiver.Received[0], std::make_tuple(2662, qintptr(2662), qintptr(2662)));
  EXPECT_EQ(receiver.Received[1], std::make_tuple(0xB065, qintptr(0), qintptr(0)));
}

TEST(TickCount, IsSixtyFourBitsAndNeverGoesBack) {
  const quint64 first = Platform::TickCount();
  const quint64 second = Platform::TickCount();
  EXPECT_LE(first, second);
  Platform::SetTickSource([] { return quint64(1) << 40; });  // far beyond 32 bits
  EXPECT_EQ(Platform::TickCount(), quint64(1) << 40);
  Platform::SetTickSource({});
  EXPECT_GE(Platform::TickCount(), second);
}

#ifndef Q_OS_WIN  // the termination signals and the settings file are Unix's
TEST(EndOnTerminationSignals, LeavesEveryRunningLoop) {
  Platform::EndOnTerminationSignals();
  Platform::EndOnTerminationSignals();  // a second call changes nothing
  QEventLoop outer;
  bool innerLeft = false;
  QTimer::singleShot(0, [&] {
    QEventLoop inner;  // as a modal dialog runs one
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    inner.exec();
    innerLeft = true;
  });
  QTimer::singleShot(5000, &outer, [&] { outer.exit(1); });  // never hang the test
  outer.exec();
  EXPECT_TRUE(innerLeft);
}
#endif

TEST(TimeSeparator, IsOneCharacter) {
  const QChar separator = Platform::TimeSeparator();
  EXPECT_FALSE(separator.isSpace());
  EXPECT_FALSE(separator.isLetterOrNumber());
}

#ifndef Q_OS_WIN
TEST(EndOnTerminationSignals, ASecondSignalEndsTheProcessAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // No loop runs to take the first signal: as in a program stuck before or outside its loop.
  EXPECT_EXIT(
      {
        Platform::EndOnTerminationSignals();
        std::raise(SIGTERM);
        std::fputs("alive after the first\n", stderr);
        std::raise(SIGINT);
        std::exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "alive after the first");
}

TEST(SettingsPath, FollowsTheConfigurationFolderAndNeverFallsToTheRoot) {
  const QString home = QDir::tempPath();
  const struct {
    const char* name;
    QString home, configHome, path;
  } rows[] = {
      {"config home", home, QStringLiteral("/cfg"), QStringLiteral("/cfg/Varnak/Steepo.conf")},
      {"home", home, QString(), home + QStringLiteral("/.config/Varnak/Steepo.conf")},
      {"relative config home", home, QStringLiteral("cfg"), home + QStringLiteral("/.config/Varnak/Steepo.conf")},
      {"no home", QString(), QString(), QString()},
      {"relative home", QStringLiteral("somewhere"), QString(), QString()},
      {"missing home", QStringLiteral("/nonexistent-home"), QString(), QString()},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Platform::SettingsPathFor(row.home, row.configHome), row.path) << row.name;
}
#endif

TEST(ReportProblem, KeepsALineOneLine) {
  QStringList lines;
  Platform::SetProblemSink([&](const QString& line) { lines << line; });
  Platform::ReportProblem(QStringLiteral("steepo: a\nb\rc\x1b[31m"));
  Platform::SetProblemSink({});
  EXPECT_EQ(lines, QStringList{QStringLiteral("steepo: a?b?c?[31m")});
}

// ---- Sound files ------------------------------------------------------------------------

QByteArray Chunk(const char* id, const QByteArray& body) {
  QByteArray size(4, 0);
  qToLittleEndian<quint32>(quint32(body.size()), size.data());
  return id + size + body + (body.size() % 2 ? QByteArray(1, 0) : QByteArray());
}

// A format chunk's fields: PCM, channels, 44,100 Hz, 16 bits.
QByteArray Format(quint16 channels = 1) {
  QByteArray fields(16, 0);
  qToLittleEndian<quint16>(1, fields.data());
  qToLittleEndian<quint16>(channels, fields.data() + 2);
  qToLittleEndian<quint32>(44100, fields.data() + 4);
  qToLittleEndian<quint32>(88200u * channels, fields.data() + 8);
  qToLittleEndian<quint16>(quint16(2 * channels), fields.data() + 12);
  qToLittleEndian<quint16>(16, fields.data() + 14);
  return Chunk("fmt ", fields);
}

QByteArray Wave(const QByteArray& chunks) {
  QByteArray size(4, 0);
  qToLittleEndian<quint32>(quint32(4 + chunks.size()), size.data());
  return "RIFF" + size + "WAVE" + chunks;
}

class SoundFileTest : public ::testing::Test {
protected:
  QString Write(const QByteArray& bytes, qint64 size = -1) {
    const QString path = Dir.filePath(QStringLiteral("sound.wav"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    if (size >= 0)
      file.resize(size);  // a hole: nothing of it is read
    return path;
  }
  QTemporaryDir Dir;
};

TEST_F(SoundFileTest, OnlyAWaveFileReachesThePlayer) {
  using Platform::TSoundFault;
  using TFault = std::optional<Platform::TSoundFileFault>;
  const QByteArray minimal = Wave(Format() + Chunk("data", QByteArray(4, 1)));
  const struct {
    const char* Name;
    std::function<QString()> Make;
    TFault Fault;
  } rows[] = {
      {"Missing", [&] { return Dir.filePath(QStringLiteral("gone.wav")); }, Platform::TSoundFileFault{TSoundFault::Unreadable, ENOENT}},
      {"NoPath", [] { return QString(); }, Platform::TSoundFileFault{TSoundFault::Unreadable, ENOENT}},
      {"Folder", [&] { return Dir.path(); }, Platform::TSoundFileFault{TSoundFault::Unreadable, EISDIR}},
      {"Empty", [&] { return Write({}); }, Platform::TSoundFileFault{TSoundFault::NotWave}},
      {"Text", [&] { return Write("not a sound at all"); }, Platform::TSoundFileFault{TSoundFault::NotWave}},
      {"NoData", [&] { return Write(Wave(Format())); }, Platform::TSoundFileFault{TSoundFault::NotWave}},
      {"DataBeforeFormat", [&] { return Write(Wave(Chunk("data", "ab") + Format())); }, Platform::TSoundFileFault{TSoundFault::NotWave}},
      {"NoChannels", [&] { return Write(Wave(Format(0) + Chunk("data", "ab"))); }, Platform::TSoundFileFault{TSoundFault::NotWave}},
      {"Minimal", [&] { return Write(minimal); }, std::nullopt},
      // An odd chunk is padded to an even length before the next one.
      {"OddChunkFirst", [&] { return Write(Wave(Chunk("LIST", "abc") + Format() + Chunk("data", "ab"))); }, std::nullopt},
      {"AsLargeAsMay", [&] { return Write(minimal, Platform::LargestSoundFile); }, std::nullopt},
      {"TooLarge", [&] { return Write(minimal, Platform::LargestSoundFile + 1); }, Platform::TSoundFileFault{TSoundFault::TooLarge}},
#ifndef Q_OS_WIN
      // A FIFO would keep the open waiting for a writer.
      {"Fifo", [&] {
         const QString path = Dir.filePath(QStringLiteral("fifo.wav"));
         EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         return path;
       }, Platform::TSoundFileFault{TSoundFault::NotAFile}},
#endif
  };
  for (const auto& row : rows)
    EXPECT_EQ(Platform::CheckSoundFile(row.Make()), row.Fault) << row.Name;
}

// What the player hears of a file, and of the fallback when the file fails: "file", "chime"
// and "beep" stand for the file's path, the fallback resource and the system beep.
TEST_F(SoundFileTest, AFileThatFailsIsSaidOnceAndTheFallbackPlays) {
  using Platform::TPlayed;
  const QString chime = QStringLiteral(":/sound/SOUND.wav");
  const struct {
    const char* Name;
    bool Good;
    TPlayed File, Fallback;
    bool LateRefusal;  // the player refuses the file only once it has loaded it
    QStringList Heard;
    std::optional<Platform::TSoundFault> Fault;
  } rows[] = {
      {"Plays", true, TPlayed::Played, TPlayed::Played, false, {"file"}, std::nullopt},
      {"NoOutput", true, TPlayed::NoOutput, TPlayed::Played, false, {"file", "beep"}, std::nullopt},
      {"Refused", true, TPlayed::Refused, TPlayed::Played, false, {"file", "chime"}, Platform::TSoundFault::Unplayable},
      {"RefusedLate", true, TPlayed::Played, TPlayed::Played, true, {"file", "chime"}, Platform::TSoundFault::Unplayable},
      {"Missing", false, TPlayed::Played, TPlayed::Played, false, {"chime"}, Platform::TSoundFault::Unreadable},
      {"MissingAndNoChime", false, TPlayed::Played, TPlayed::Refused, false, {"chime", "beep"}, Platform::TSoundFault::Unreadable},
  };
  for (const auto& row : rows) {
    const QString path = row.Good ? Write(Wave(Format() + Chunk("data", "ab"))) : Dir.filePath(QStringLiteral("gone.wav"));
    QStringList heard;
    Platform::SetSoundPlayer([&](const QString& source) {
      heard << (source == path    ? QStringLiteral("file")
                : source == chime ? QStringLiteral("chime")
                : source.isEmpty() ? QStringLiteral("beep")
                                   : source);
      return source == path ? row.File : row.Fallback;
    });
    QList<Platform::TSoundFault> faults;
    Platform::PlaySoundFile(path, chime, [&](const Platform::TSoundFileFault& fault) { faults << fault.Fault; });
    if (row.LateRefusal)
      Platform::Native::SoundFailedLate();
    Platform::SetSoundPlayer({});
    EXPECT_EQ(heard, row.Heard) << row.Name;
    EXPECT_EQ(faults, row.Fault ? QList{*row.Fault} : QList<Platform::TSoundFault>()) << row.Name;
  }
}

} // namespace
