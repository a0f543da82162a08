// Turning points in tenths of a degree, and moving and collecting point lists.
#include "LumoArithmetic_p.h"

#include <optional>

namespace LumoLiquidIndicator {

using namespace Arithmetic;

namespace {

// Distance of (x, y) from the origin, the root in extended precision, held as double.
double Radius(qint32 x, qint32 y) {
  const Ext ex = x;
  const Ext ey = y;
  return static_cast<double>(std::sqrt(ex * ex + ey * ey));
}

// The angle of (x, y) as seen on the screen (y grows downwards), in radians.
Ext ScreenAngle(qint32 x, qint32 y) {
  if (x != 0)
    return std::atan2(-static_cast<Ext>(y) / 1000.0, static_cast<Ext>(x) / 1000.0);
  return y <= 0 ? kPi / 2.0 : -kPi / 2.0;
}

// The cosine and sine of a turn in double precision, and the size of its angle in radians.
struct TTurn {
  double Cos, Sin, Theta;
};

// The nearest integer to value, or none when value lies so close to a half that an error of
// bound could tip it either way (or is too large to settle here).
std::optional<qint64> ClearlyRounded(double value, double bound) {
  if (!(std::fabs(value) < 1073741824.0))
    return std::nullopt;
  const qint64 whole = static_cast<qint64>(value);  // toward zero
  const double fraction = value - static_cast<double>(whole);
  if (std::fabs(std::fabs(fraction) - 0.5) <= bound)
    return std::nullopt;
  if (fraction > 0.5)
    return whole + 1;
  if (fraction < -0.5)
    return whole - 1;
  return whole;
}

// A point turned by the sum formulas in double precision, which lands on the same integers as
// the polar rotation unless the exact result lies within both methods' rounding errors of a
// half. Those errors grow with the distance from the origin and with the angle, and stay far
// below the bound used here; a point near a half (an exact half at 60 degrees, say) is left to
// the polar rotation.
std::optional<TPoint> QuickTurn(TPoint point, const TTurn& turn) {
  const double x = point.x;
  const double y = point.y;
  const double bound = (std::fabs(x) + std::fabs(y) + 1.0) * (turn.Theta + 8.0) * 0x1p-46;
  const std::optional<qint64> turnedX = ClearlyRounded(x * turn.Cos + y * turn.Sin, bound);
  const std::optional<qint64> turnedY = ClearlyRounded(x * turn.Sin - y * turn.Cos, bound);
  if (!turnedX || !turnedY)
    return std::nullopt;
  return TPoint{static_cast<qint32>(*turnedX), static_cast<qint32>(-*turnedY)};
}

} // namespace

void RotatePoints(Tpoints& points, qint32 angle) {
  // At angle 0 the polar round trip gives every point back exactly: its error stays below
  // 1e-5 pixels even at the ends of the 32-bit range, far from a rounding half. Skipping it
  // is the same result for the common unrotated indicator, at a fraction of the cost.
  if (angle == 0)
    return;
  const Ext theta = Radians(angle);
  const TTurn turn{static_cast<double>(std::cos(theta)), static_cast<double>(std::sin(theta)),
                   static_cast<double>(std::fabs(theta))};
  for (TPoint& point : points) {
    if (const std::optional<TPoint> quick = QuickTurn(point, turn)) {
      point = *quick;
      continue;
    }
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
  if (angle == 0)
    return;  // no turn and, as above, a displacement that rounds to (0, 0)
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

int GeometryPrecisionBits() {
  return std::numeric_limits<Ext>::digits;
}

} // namespace LumoLiquidIndicator
