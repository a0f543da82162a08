// Colours, shading bytes and tiling: the arithmetic behind the materials.
#include "LumoArithmetic_p.h"

namespace LumoLiquidIndicator {

using namespace Arithmetic;

TColor ColorToRGB(TColor color, const TSysColorResolver& resolve) {
  if (color >= 0)
    return color;
  // A system colour without anyone to ask about it shows as black.
  return resolve ? resolve(color & 0xFF) : 0;
}

namespace {

TColor ShiftChannels(TColor color, int delta) {
  const quint32 rgb = static_cast<quint32>(color);
  auto channel = [&](int shift) {
    return static_cast<quint32>(std::clamp(static_cast<int>((rgb >> shift) & 0xFF) + delta, 0, 255));
  };
  return static_cast<TColor>(channel(0) | (channel(8) << 8) | (channel(16) << 16));
}

// Applies shade to the first 3 x width bytes of every row; a row never reaches past its stride.
template <typename Shade>
void ShadeRows(uchar* bits, qint32 width, qint32 height, qsizetype bytesPerLine, Shade shade) {
  if (bits == nullptr || width <= 0 || height <= 0 || bytesPerLine <= 0)
    return;
  const qsizetype rowBytes = std::min<qsizetype>(3 * static_cast<qsizetype>(width), bytesPerLine);
  for (qint32 row = 0; row < height; ++row) {
    uchar* line = bits + row * bytesPerLine;
    for (qsizetype i = 0; i < rowBytes; ++i)
      line[i] = shade(line[i]);
  }
}

} // namespace

TColor LighterColor(TColor color, const TSysColorResolver& resolve) {
  return ShiftChannels(ColorToRGB(color, resolve), 32);
}

TColor DarkerColor(TColor color, const TSysColorResolver& resolve) {
  return ShiftChannels(ColorToRGB(color, resolve), -32);
}

void DarkenBytes(uchar* bits, qint32 width, qint32 height, qsizetype bytesPerLine, qint32 amount) {
  ShadeRows(bits, width, height, bytesPerLine, [amount](uchar byte) {
    return static_cast<uchar>(std::clamp<qint64>(static_cast<qint64>(byte) - amount, 0, 255));
  });
}

void LightenBytes(uchar* bits, qint32 width, qint32 height, qsizetype bytesPerLine, qint32 amount) {
  ShadeRows(bits, width, height, bytesPerLine, [amount](uchar byte) {
    return static_cast<uchar>(std::clamp<qint64>(static_cast<qint64>(byte) + amount, 0, 255));
  });
}

std::vector<TPoint> TileOrigins(qint32 cw, qint32 ch, qint32 mw, qint32 mh) {
  std::vector<TPoint> origins;
  if (mw <= 0 || mh <= 0)
    return origins;
  const qint32 lastColumn = cw / mw;
  const qint32 lastRow = ch / mh;
  if (lastColumn < 0 || lastRow < 0)
    return origins;
  origins.reserve(static_cast<size_t>(lastColumn + 1LL) * static_cast<size_t>(lastRow + 1LL));
  for (qint64 i = 0; i <= lastColumn; ++i)
    for (qint64 j = 0; j <= lastRow; ++j)
      origins.push_back({Clamp32(i * mw), Clamp32(j * mh)});
  return origins;
}

} // namespace LumoLiquidIndicator
