#pragma once
// The arithmetic the geometry's parts share: the floating type it computes in, rounding,
// clamping to 32 bits, and placing points in the control. Not installed.

#include "LumoGeometry_p.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace LumoLiquidIndicator::Arithmetic {

// Angles, radii and glyph vertices are worked out in the widest floating type there is: long
// double, the x87 80-bit format on x86 with GCC or Clang, plain double with MSVC and wider
// still on some 64-bit ARM systems. LUMO_INDICATOR_DOUBLE_ARITHMETIC (a CMake option) forces
// double, to see here what a compiler without the extended type computes. Literals are plain
// doubles that every type holds exactly, so they never widen the double path.
using Ext = std::conditional_t<LUMO_INDICATOR_DOUBLE_ARITHMETIC != 0, double, long double>;

constexpr Ext kPi = 3.141592653589793238462643383279502884L;

constexpr qint64 kMin32 = std::numeric_limits<qint32>::min();
constexpr qint64 kMax32 = std::numeric_limits<qint32>::max();

// Values that leave the 32-bit range (huge sizes, gaps or coordinates) stick at its ends
// instead of wrapping around.
inline qint32 Clamp32(qint64 value) {
  return static_cast<qint32>(std::clamp(value, kMin32, kMax32));
}

// Beyond this the result no longer fits 32 bits anyway; keeps the conversion to qint64 defined.
constexpr Ext kSafeMagnitude = 9.0e18;

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline qint64 RoundHalfEven(Ext value) {
  if (std::isnan(value))
    return 0;
  value = std::clamp(value, -kSafeMagnitude, kSafeMagnitude);
  return static_cast<qint64>(std::nearbyint(value));
}

// Nearest integer, halves away from zero, held in the 32-bit range.
inline qint64 RoundAway(double value) {
  if (std::isnan(value))
    return 0;
  return Clamp32(std::llround(std::clamp(value, static_cast<double>(kMin32), static_cast<double>(kMax32))));
}

// Tenths of a degree to radians: the product first, then the division.
inline Ext Radians(qint32 angle) {
  return (static_cast<Ext>(angle) * kPi) / 1800.0;
}



inline void OffsetRun(TPoint* points, qsizetype count, qint64 dx, qint64 dy) {
  if (dx == 0 && dy == 0)
    return;  // the usual centring of an unrotated indicator in a control of its own size
  for (qsizetype i = 0; i < count; ++i) {
    points[i].x = Clamp32(points[i].x + dx);
    points[i].y = Clamp32(points[i].y + dy);
  }
}

// The centring offset of a size inside the control's size (div truncating toward zero).
inline qint64 CentringOffset(qint32 controlSize, qint32 size) {
  return (static_cast<qint64>(controlSize) - size) / 2;
}

// The placement shared by the indicator polygons, the window shape and the bevels: a turn
// about the indicator's centre, then centring in the control.
inline void PlaceInControl(Tpoints& points, qint32 width, qint32 height, qint32 angle, qint32 controlWidth,
                    qint32 controlHeight) {
  RotatePointsAround(points, width / 2, height / 2, angle);
  OffsetRun(points.data(), static_cast<qsizetype>(points.size()), CentringOffset(controlWidth, width),
            CentringOffset(controlHeight, height));
}

} // namespace LumoLiquidIndicator::Arithmetic
