#include "Resources.h"

namespace Resources {

QString AlarmSound() { return QStringLiteral(":/sound/SOUND.wav"); }
QString BellSound() { return QStringLiteral(":/sound/BELL.wav"); }
QString BeepSound() { return QStringLiteral(":/sound/BEEP.wav"); }
QString WarningTick() { return QStringLiteral(":/sound/TICK.wav"); }
QString ProgramIcon() { return QStringLiteral(":/icons/steepo.ico"); }
QString Glyph(const QString& button) { return QStringLiteral(":/glyphs/%1.bmp").arg(button); }


QIcon WindowIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64})
    icon.addFile(QStringLiteral(":/icons/steepo-%1.png").arg(size), QSize(size, size));
  return icon;
}

} // namespace Resources
