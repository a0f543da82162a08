#include "LumoGeometry.h"
#include "LumoPatterns.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace LumoLiquidIndicator {

namespace {

// Angles, radii and glyph vertices are worked out in the x87 80-bit format; on x86-64 with
// GCC or Clang that is long double.
using Ext = long double;
static_assert(std::numeric_limits<Ext>::digits == 64, "the geometry needs 64-bit-significand long double");

constexpr Ext kPi = 3.141592653589793238462643383279502884L;

constexpr qint64 kMin32 = std::numeric_limits<qint32>::min();
constexpr qint64 kMax32 = std::numeric_limits<qint32>::max();

// Values that leave the 32-bit range (huge sizes, gaps or coordinates) stick at its ends
// instead of wrapping around.
qint32 Clamp32(qint64 value) {
  return static_cast<qint32>(std::clamp(value, kMin32, kMax32));
}

// Beyond this the result no longer fits 32 bits anyway; keeps the conversion to qint64 defined.
constexpr Ext kSafeMagnitude = 9.0e18L;

// Nearest integer, halves to the even neighbour (the default rounding mode).
qint64 RoundHalfEven(Ext value) {
  if (std::isnan(value))
    return 0;
  value = std::clamp(value, -kSafeMagnitude, kSafeMagnitude);
  return static_cast<qint64>(std::nearbyint(value));
}

// Tenths of a degree to radians: the product first, then the division.
Ext Radians(qint32 angle) {
  return (static_cast<Ext>(angle) * kPi) / 1800.0L;
}

// Distance of (x, y) from the origin, the root in extended precision, held as double.
double Radius(qint32 x, qint32 y) {
  const Ext ex = x;
  const Ext ey = y;
  return static_cast<double>(std::sqrt(ex * ex + ey * ey));
}

// The angle of (x, y) as seen on the screen (y grows downwards), in radians.
Ext ScreenAngle(qint32 x, qint32 y) {
  if (x != 0)
    return std::atan2(-static_cast<Ext>(y) / 1000.0L, static_cast<Ext>(x) / 1000.0L);
  return y <= 0 ? kPi / 2.0L : -kPi / 2.0L;
}

void OffsetRun(TPoint* points, qsizetype count, qint64 dx, qint64 dy) {
  for (qsizetype i = 0; i < count; ++i) {
    points[i].x = Clamp32(points[i].x + dx);
    points[i].y = Clamp32(points[i].y + dy);
  }
}

// The centring offset of a size inside the control's size (div truncating toward zero).
qint64 CentringOffset(qint32 controlSize, qint32 size) {
  return (static_cast<qint64>(controlSize) - size) / 2;
}

// The placement shared by the indicator polygons, the window shape and the bevels: a turn
// about the indicator's centre, then centring in the control.
void PlaceInControl(Tpoints& points, qint32 width, qint32 height, qint32 angle, qint32 controlWidth,
                    qint32 controlHeight) {
  RotatePointsAround(points, width / 2, height / 2, angle);
  OffsetRun(points.data(), static_cast<qsizetype>(points.size()), CentringOffset(controlWidth, width),
            CentringOffset(controlHeight, height));
}

} // namespace

// ---- Point lists -------------------------------------------------------------------------

void RotatePoints(Tpoints& points, qint32 angle) {
  const Ext theta = Radians(angle);
  for (TPoint& point : points) {
    const double r = Radius(point.x, point.y);
    if (RoundHalfEven(r) == 0)
      continue;
    const double phi = static_cast<double>(ScreenAngle(point.x, point.y) + theta);
    const qint64 x = RoundHalfEven(static_cast<Ext>(r) * std::cos(static_cast<Ext>(phi)));
    const qint64 y = -RoundHalfEven(static_cast<Ext>(r) * std::sin(static_cast<Ext>(phi)));
    point.x = Clamp32(x);
    point.y = Clamp32(y);
  }
}

void RotatePointsAround(Tpoints& points, qint32 x, qint32 y, qint32 angle) {
  RotatePoints(points, angle);
  const double d = Radius(x, y);
  if (RoundHalfEven(d) == 0)
    return;
  const double h = static_cast<double>(ScreenAngle(x, y) + Radians(angle));
  const double dx = static_cast<double>(static_cast<Ext>(x) - static_cast<Ext>(d) * std::cos(static_cast<Ext>(h)));
  const double dy = static_cast<double>(static_cast<Ext>(y) + static_cast<Ext>(d) * std::sin(static_cast<Ext>(h)));
  OffsetRun(points.data(), static_cast<qsizetype>(points.size()), RoundHalfEven(dx), RoundHalfEven(dy));
}

void OffsetPoints(TPoint* points, qint32 last, qint32 dx, qint32 dy) {
  if (points == nullptr || last < 0)
    return;
  OffsetRun(points, static_cast<qsizetype>(last) + 1, dx, dy);
}

void OffsetPoints(Tpoints& points, qint32 dx, qint32 dy) {
  OffsetRun(points.data(), static_cast<qsizetype>(points.size()), dx, dy);
}

void AppendPolygons(TPolyList& into, const TPolyList& part) {
  into.Points.insert(into.Points.end(), part.Points.begin(), part.Points.end());
  into.Vertices.insert(into.Vertices.end(), part.Vertices.begin(), part.Vertices.end());
  into.Count = Clamp32(static_cast<qint64>(into.Count) + part.Count);
}

void AddPolygon(Tpoints& points, Tintegers& vertices, const Tpoints& polygon) {
  points.insert(points.end(), polygon.begin(), polygon.end());
  vertices.push_back(Clamp32(static_cast<qint64>(polygon.size())));
}

// ---- Rotated box, window shape, bevels -----------------------------------------------------

TBoxSize RotatedBox(qint32 width, qint32 height, qint32 angle) {
  const Ext theta = Radians(angle);
  const Ext c = std::cos(theta);
  const Ext s = std::sin(theta);
  const Ext w = width;
  const Ext h = height;
  return {Clamp32(RoundHalfEven(std::fabs(w * c) + std::fabs(h * s))),
          Clamp32(RoundHalfEven(std::fabs(w * s) + std::fabs(h * c)))};
}

TSizeRule SizeRuleFor(qint32 angle) {
  const Ext theta = Radians(angle);
  const double s = static_cast<double>(std::sin(theta));
  const double c = static_cast<double>(std::cos(theta));
  if (std::fabs(s) < 0.0001)
    return TSizeRule::Straight;
  if (std::fabs(c) < 0.0001)
    return TSizeRule::Quarter;
  return TSizeRule::Other;
}

std::array<TPoint, 4> WindowShape(qint32 width, qint32 height, qint32 angle, qint32 controlWidth,
                                  qint32 controlHeight) {
  Tpoints points{{0, 0}, {width, 0}, {width, height}, {0, height}};
  PlaceInControl(points, width, height, angle, controlWidth, controlHeight);
  return {points[0], points[1], points[2], points[3]};
}

int LightingOctant(qint32 angle) {
  const Ext theta = Radians(angle);
  const double s = static_cast<double>(std::sin(theta));
  const double c = static_cast<double>(std::cos(theta));
  // Each later match overrides an earlier one, so the axes go to quadrants 4, 2 and 3.
  int quadrant = 0;
  if (c >= 0 && s >= 0)
    quadrant = 1;
  if (c >= 0 && s <= 0)
    quadrant = 4;
  if (c <= 0 && s >= 0)
    quadrant = 2;
  if (c <= 0 && s <= 0)
    quadrant = 3;
  const Ext r = 1.0L / std::sqrt(2.0L);
  const Ext es = s;
  switch (quadrant) {
  case 1:
    return es <= r ? 1 : 2;
  case 2:
    return es <= r ? 4 : 3;
  case 3:
    return es >= -r ? 5 : 6;
  default:
    return es >= -r ? 8 : 7;
  }
}

std::array<TBevelFaceRole, 4> BevelFaces(int octant, TLumoBevelKind kind) {
  using enum TBevelFace;
  // Drawing order per pair of octants; the first two faces are the light ones of a raised bevel.
  std::array<TBevelFace, 4> order{Top, Left, Bottom, Right};
  switch (octant) {
  case 2:
  case 3:
    order = {Top, Right, Left, Bottom};
    break;
  case 4:
  case 5:
    order = {Bottom, Right, Top, Left};
    break;
  case 6:
  case 7:
    order = {Left, Bottom, Right, Top};
    break;
  default:
    break;
  }
  const bool sunken = kind == bkDown;
  std::array<TBevelFaceRole, 4> faces;
  for (size_t i = 0; i < faces.size(); ++i)
    faces[i] = {order[i], (i < 2) != sunken};
  return faces;
}

std::array<TPoint, 16> BevelPoints(qint32 width, qint32 height, qint32 e, qint32 b, qint32 angle,
                                   qint32 controlWidth, qint32 controlHeight) {
  const qint64 w = width;
  const qint64 h = height;
  const qint64 near = e;
  const qint64 inner = static_cast<qint64>(e) + b;
  auto point = [](qint64 x, qint64 y) { return TPoint{Clamp32(x), Clamp32(y)}; };
  Tpoints points{
      // top
      point(near, near), point(w - near, near), point(w - inner, inner), point(inner, inner),
      // left
      point(near, near), point(near, h - near), point(inner, h - inner), point(inner, inner),
      // bottom
      point(near, h - near), point(inner, h - inner), point(w - inner, h - inner), point(w - near, h - near),
      // right
      point(w - near, h - near), point(w - inner, h - inner), point(w - inner, inner), point(w - near, near)};
  PlaceInControl(points, width, height, angle, controlWidth, controlHeight);
  std::array<TPoint, 16> result;
  std::copy(points.begin(), points.end(), result.begin());
  return result;
}

// ---- Colours and material bytes --------------------------------------------------------------

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
