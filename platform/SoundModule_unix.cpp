// The sound player, in a module of its own that the program loads when the alarm first
// sounds: the multimedia libraries it needs are then never loaded by a timer that is only
// set, started and stopped.

#include "Platform.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

using Platform::TPlayed;

namespace {
// The player lives no longer than the application that owns it: it goes when the loop ends,
// before the application is taken down, and the guard forgets it however it went, so a later
// application makes a new one.
QPointer<QSoundEffect> Player;
void (*LateRefusal)() = nullptr;

// The player's own warning about a source it cannot decode is said by the program in the
// user's language already; every other message goes on as before.
QtMessageHandler PreviousHandler = nullptr;
void QuietAboutSources(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("QSoundEffect(qaudio): Error decoding source")))
    return;
  if (PreviousHandler)
    PreviousHandler(type, context, message);
}

QSoundEffect* MakePlayer() {
  static const bool quiet = (PreviousHandler = qInstallMessageHandler(QuietAboutSources), true);
  Q_UNUSED(quiet);
  QCoreApplication* application = QCoreApplication::instance();
  auto* player = new QSoundEffect(application);
  QObject::connect(application, &QCoreApplication::aboutToQuit, player, [] { delete Player; });
  // A sound that turns out not to load once it is read still ends in the fallback: after the
  // player has finished saying so, and only while that sound is still the one it has.
  QObject::connect(player, &QSoundEffect::statusChanged, player, [] {
    if (Player->status() != QSoundEffect::Error)
      return;
    QMetaObject::invokeMethod(
        Player, [failed = Player->source()] {
          if (Player->source() == failed && Player->status() == QSoundEffect::Error && LateRefusal)
            LateRefusal();
        },
        Qt::QueuedConnection);
  });
  return player;
}
} // namespace

// Plays the resource path source, or the file at source when file, from its start; answers as
// TPlayed counts.
extern "C" Q_DECL_EXPORT int SteepoPlaySound(const QString& source, bool file, void (*onLateRefusal)()) {
  // Without an output device there is nothing to play; say so, so that the caller beeps.
  if (QMediaDevices::audioOutputs().isEmpty())
    return int(TPlayed::NoOutput);
  LateRefusal = onLateRefusal;
  if (!Player)
    Player = MakePlayer();
  const QUrl url = file ? QUrl::fromLocalFile(source) : QUrl(QStringLiteral("qrc") + source);
  if (Player->source() != url)
    Player->setSource(url);
  if (Player->status() == QSoundEffect::Error)
    return int(TPlayed::Refused);
  // Played again while it still sounds (the repeated alarm), it starts over.
  Player->stop();
  Player->setLoopCount(1);
  Player->play();
  return int(TPlayed::Played);
}

extern "C" Q_DECL_EXPORT void SteepoStopSound() {
  if (Player)
    Player->stop();
}
