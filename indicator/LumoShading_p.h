#pragma once
// The arithmetic behind the materials: colours resolved, lightened and darkened, the shading
// of a material's bytes, and where tiles go. Pure values, no images.

#include "LumoPoints_p.h"

#include <functional>
#include <vector>

namespace LumoLiquidIndicator {

// Resolves a system colour index (the lowest byte of a negative TColor) to 0x00BBGGRR.
using TSysColorResolver = std::function<TColor(int index)>;
// A TColor as 0x00BBGGRR: ordinary colours as they are, system colours through resolve.
TColor ColorToRGB(TColor color, const TSysColorResolver& resolve);
TColor LighterColor(TColor color, const TSysColorResolver& resolve);  // +32 per channel, capped
TColor DarkerColor(TColor color, const TSysColorResolver& resolve);   // -32 per channel, floored

// The per-byte shading of a 24-bit bitmap: in each of height rows (stride bytesPerLine),
// the first 3 x width bytes are lowered (raised) by amount and clamped; padding untouched.
void DarkenBytes(uchar* bits, qint32 width, qint32 height, qsizetype bytesPerLine, qint32 amount);
void LightenBytes(uchar* bits, qint32 width, qint32 height, qsizetype bytesPerLine, qint32 amount);

// Where a tiled material of mw x mh is drawn over a cw x ch image: columns 0..cw div mw, each
// with rows 0..ch div mh, column after column. Empty when mw or mh is not positive.
std::vector<TPoint> TileOrigins(qint32 cw, qint32 ch, qint32 mw, qint32 mh);

} // namespace LumoLiquidIndicator
