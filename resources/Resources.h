#pragma once
// Where the files embedded in the program are found at run time.

#include <QString>

namespace Resources {

// The alarm sound: RIFF WAVE, PCM, mono, 44,100 Hz, 16 bits.
QString AlarmSound();
// The program's icon: one .ico with nine sizes from 256 down to 16 pixels.
QString ProgramIcon();
// A button glyph by the name of its button ("BBOK" gives ":/glyphs/BBOK.bmp").
QString Glyph(const QString& button);

} // namespace Resources
