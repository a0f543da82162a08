#pragma once
// Where the files embedded in the program are found at run time.

#include <QIcon>
#include <QString>

namespace Resources {

// The alarm sound, the chime: RIFF WAVE, PCM, mono, 44,100 Hz, 16 bits.
QString AlarmSound();
// The alarm's other sounds, "Bell" and "Soft beep", as long as the chime and of its format,
// and the soft tick of the warning before the end.
QString BellSound();
QString BeepSound();
QString WarningTick();
// The program's icon: one .ico with nine sizes from 256 down to 16 pixels.
QString ProgramIcon();
// The program's icon for its windows: the sizes from 16 to 64 pixels of the same icon, each
// read only when it is first drawn. Window managers take the larger ones from the icon theme
// (the desktop entry names it), so the windows need not carry 256 x 256 pixels each.
QIcon WindowIcon();
// A button glyph by the name of its button ("BBOK" gives ":/glyphs/BBOK.bmp"). Beside each
// lies its twin for screens of twice the pixel density, "BBOK@2x.png", with an alpha channel.
QString Glyph(const QString& button);

} // namespace Resources
