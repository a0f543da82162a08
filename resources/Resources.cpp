#include "Resources.h"

namespace Resources {

QString AlarmSound() { return QStringLiteral(":/sound/SOUND.wav"); }
QString ProgramIcon() { return QStringLiteral(":/icons/steepo.ico"); }
QString Glyph(const QString& button) { return QStringLiteral(":/glyphs/%1.bmp").arg(button); }

} // namespace Resources
