// The sound player, in a module of its own that the program loads when the alarm first
// sounds: the multimedia libraries it needs are then never loaded by a timer that is only
// set, started and stopped.

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT bool SteepoPlaySound(const QString& resource, void (*onLateFailure)()) {
  // Without an output device there is nothing to play; say so, so that the caller beeps.
  if (QMediaDevices::audioOutputs().isEmpty())
    return false;
  // The player lives no longer than the application that owns it: it goes when the loop
  // ends, before the application is taken down, and the guard forgets it however it went, so a
  // later application makes a new one.
  static QPointer<QSoundEffect> player;
  static void (*lateFailure)() = nullptr;
  lateFailure = onLateFailure;
  if (!player) {
    QCoreApplication* application = QCoreApplication::instance();
    player = new QSoundEffect(application);
    QObject::connect(application, &QCoreApplication::aboutToQuit, player, [] { delete player; });
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
