// The rotated box, the window shape, the size rule, the lighting and the bevels.
#include "LumoArithmetic_p.h"

namespace LumoLiquidIndicator {

using namespace Arithmetic;

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
  const Ext r = Ext(1) / std::sqrt(Ext(2));
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

} // namespace LumoLiquidIndicator
