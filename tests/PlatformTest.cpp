// The platform layer: key codes, posted messages, the clock, the signals and the settings path.
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <QWidget>
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

} // namespace
