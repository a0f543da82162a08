// The sound player, in a module of its own that the program loads when the alarm first
// sounds: the multimedia libraries it needs are then never loaded by a timer that is only
// set, started and stopped.

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT bool SteepoPlaySound(const QString& resource, void (*onLateFailure)()) {
  // Without an output device there is nothing to play; say so, so that the caller beeps.
  if (QMediaDevices::audioOutputs().isEmpty())
    return false;
  static QSoundEffect* player = nullptr;
  static void (*lateFailure)() = nullptr;
  lateFailure = onLateFailure;
  if (!player) {
    player = new QSoundEffect(QCoreApplication::instance());
    // A sound that turns out not to load once it is read still ends in the fallback.
    QObject::connect(player, &QSoundEffect::statusChanged, player, [] {
      if (player->status() == QSoundEffect::Error && lateFailure)
        lateFailure();
    });
  }
  const QUrl url(QStringLiteral("qrc") + resource);
  if (player->source() != url)
    player->setSource(url);
  if (player->status() == QSoundEffect::Error)
    return false;
  player->setLoopCount(1);
  player->play();
  return true;
}
