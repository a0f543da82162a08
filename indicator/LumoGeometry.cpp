#include "LumoGeometry.h"
#include "LumoPatterns.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>
#include <type_traits>

namespace LumoLiquidIndicator {

namespace {

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
qint32 Clamp32(qint64 value) {
  return static_cast<qint32>(std::clamp(value, kMin32, kMax32));
}

// Beyond this the result no longer fits 32 bits anyway; keeps the conversion to qint64 defined.
constexpr Ext kSafeMagnitude = 9.0e18;

// Nearest integer, halves to the even neighbour (the default rounding mode).
qint64 RoundHalfEven(Ext value) {
  if (std::isnan(value))
    return 0;
  value = std::clamp(value, -kSafeMagnitude, kSafeMagnitude);
  return static_cast<qint64>(std::nearbyint(value));
}

// Nearest integer, halves away from zero, held in the 32-bit range.
qint64 RoundAway(double value) {
  if (std::isnan(value))
    return 0;
  return Clamp32(std::llround(std::clamp(value, static_cast<double>(kMin32), static_cast<double>(kMax32))));
}

// Tenths of a degree to radians: the product first, then the division.
Ext Radians(qint32 angle) {
  return (static_cast<Ext>(angle) * kPi) / 1800.0;
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
    return std::atan2(-static_cast<Ext>(y) / 1000.0, static_cast<Ext>(x) / 1000.0);
  return y <= 0 ? kPi / 2.0 : -kPi / 2.0;
}

void OffsetRun(TPoint* points, qsizetype count, qint64 dx, qint64 dy) {
  if (dx == 0 && dy == 0)
    return;  // the usual centring of an unrotated indicator in a control of its own size
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

// ---- Point lists -------------------------------------------------------------------------

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

// ---- Glyphs -------------------------------------------------------------------------------

namespace {

// Truncation toward zero to 32 bits, the rounding of every glyph vertex. Truncating the
// extended value directly switches the x87 rounding mode twice per call, which costs more
// than the whole glyph; so it goes through the nearest double, whose integer part is at most
// one away from the exact one (every 32-bit integer is a double), then is corrected.
qint32 T(Ext value) {
  if (std::isnan(value))
    return 0;
  if (value >= static_cast<Ext>(kMax32) + 1.0L)
    return static_cast<qint32>(kMax32);
  if (value <= static_cast<Ext>(kMin32))
    return static_cast<qint32>(kMin32);
  qint64 whole = static_cast<qint64>(static_cast<double>(value));
  if (value >= 0 && static_cast<Ext>(whole) > value)
    --whole;
  else if (value < 0 && static_cast<Ext>(whole) < value)
    ++whole;
  return Clamp32(whole);
}

// A truncated coordinate moved by one pixel for the gaps at the joints.
qint32 Nudge(qint32 value, int by) {
  return Clamp32(static_cast<qint64>(value) + by);
}

Ext CellWidth(const TRect& cell) {
  return static_cast<Ext>(static_cast<qint64>(cell.Right) - cell.Left);
}

Ext CellHeight(const TRect& cell) {
  return static_cast<Ext>(static_cast<qint64>(cell.Bottom) - cell.Top);
}

double Thickness(TLumoIndicatorStyle style, bool hovering, Ext w, Ext h) {
  Ext divisor = hovering ? 5.0 : 6.0;
  double lowest = 3.0;
  switch (style) {
  case isThin:
    divisor = hovering ? 6.0 : 8.0;
    lowest = 2.0;
    break;
  case isThick:
    divisor = hovering ? 4.5 : 5.0;
    lowest = 4.0;
    break;
  default:
    break;
  }
  const double t = static_cast<double>(std::min(w / divisor, h / divisor));
  return t < lowest ? lowest : t;
}

// The grid of a segment glyph: eighths u and v of the cell, thickness t and half of it h.
struct SegmentGrid {
  Ext u, v, t, h;
};

SegmentGrid SegmentGridOf(const TRect& cell, TLumoIndicatorStyle style, bool hovering) {
  const Ext w = CellWidth(cell);
  const Ext hh = CellHeight(cell);
  const double u = static_cast<double>(w / 8.0);
  const double v = static_cast<double>(hh / 8.0);
  const double t = Thickness(style, hovering, w, hh);
  const double h = t / 2.0;
  return {u, v, t, h};
}

using Hexagon = std::array<TPoint, 6>;

// The colon dot centred at (cx, cy): a = t/3 and b = 2t/3 left, right, above and below.
Hexagon ColonDot(const SegmentGrid& g, Ext cx, Ext cy) {
  const Ext a = g.t / 3.0;
  const Ext b = (2.0 * g.t) / 3.0;
  return {{{T(cx - a), T(cy + b)}, {T(cx - b), T(cy)}, {T(cx - a), T(cy - b)},
           {T(cx + a), T(cy - b)}, {T(cx + b), T(cy)}, {T(cx + a), T(cy + b)}}};
}

// The decimal point, right of the lower end of segment 5, centred on the bottom line.
Hexagon DecimalPoint(const SegmentGrid& g) {
  const Ext x = 5.5 * g.u;
  const Ext y = 7.0 * g.v;
  return {{{Nudge(T(x + g.t / 4.0), 1), T(y)},
           {Nudge(T(x + (2.0 * g.t) / 4.0), 1), T(y - g.h)},
           {T(x + (5.0 * g.t) / 4.0), T(y - g.h)},
           {T(x + (6.0 * g.t) / 4.0), T(y)},
           {T(x + (5.0 * g.t) / 4.0), T(y + g.h)},
           {Nudge(T(x + (2.0 * g.t) / 4.0), 1), T(y + g.h)}}};
}

// Position index of a segment glyph in cell coordinates. Vertical segments end one pixel
// short at their lower end; bars are one pixel shorter at each end.
Hexagon SegmentHexagon(const SegmentGrid& g, TLumoIndicatorKind kind, int index) {
  const Ext u = g.u;
  const Ext v = g.v;
  const Ext h = g.h;
  auto x = [&](Ext k) { return k * u; };
  auto y = [&](Ext k) { return k * v; };
  auto up = [](qint32 value) { return Nudge(value, -1); };
  auto in = [](qint32 value) { return Nudge(value, 1); };
  switch (index) {
  case 1:  // lower left
    return {{{T(x(1)), up(T(y(7) + h))}, {T(x(1) - h), up(T(y(7) - h))}, {T(x(1.5) - h), T(y(4) + h)},
             {T(x(1.5)), T(y(4))}, {T(x(1.5) + h), T(y(4) + h)}, {T(x(1) + h), up(T(y(7) - h))}}};
  case 2:  // upper left
    return {{{T(x(1.5)), up(T(y(4)))}, {T(x(1.5) - h), up(T(y(4) - h))}, {T(x(2) - h), T(y(1) + h)},
             {T(x(2)), T(y(1) - h)}, {T(x(2) + h), T(y(1) + h)}, {T(x(1.5) + h), up(T(y(4) - h))}}};
  case 3:  // top
    return {{{in(T(x(2))), T(y(1) - h)}, {in(T(x(2) + h)), T(y(1) - h)}, {up(T(x(6.5) - h)), T(y(1) - h)},
             {up(T(x(6.5))), T(y(1) - h)}, {up(T(x(6.5) - h)), T(y(1) + h)}, {in(T(x(2) + h)), T(y(1) + h)}}};
  case 4:  // upper right
    return {{{T(x(6.5)), T(y(1) - h)}, {T(x(6.5) + h), T(y(1) + h)}, {T(x(6) + h), up(T(y(4) - h))},
             {T(x(6)), up(T(y(4)))}, {T(x(6) - h), up(T(y(4) - h))}, {T(x(6.5) - h), T(y(1) + h)}}};
  case 5:  // lower right
    return {{{T(x(6)), T(y(4))}, {T(x(6) + h), T(y(4) + h)}, {T(x(5.5) + h), up(T(y(7) - h))},
             {T(x(5.5)), up(T(y(7) + h))}, {T(x(5.5) - h), up(T(y(7) - h))}, {T(x(6) - h), T(y(4) + h)}}};
  case 6:  // bottom
    return {{{in(T(x(1))), T(y(7) + h)}, {in(T(x(1) + h)), T(y(7) - h)}, {up(T(x(5.5) - h)), T(y(7) - h)},
             {up(T(x(5.5))), T(y(7) + h)}, {up(T(x(5.5) - h)), T(y(7) + h)}, {in(T(x(1) + h)), T(y(7) + h)}}};
  case 7:  // middle
    return {{{in(T(x(1.5))), T(y(4))}, {in(T(x(1.5) + h)), T(y(4) - h)}, {up(T(x(6) - h)), T(y(4) - h)},
             {up(T(x(6))), T(y(4))}, {up(T(x(6) - h)), T(y(4) + h)}, {in(T(x(1.5) + h)), T(y(4) + h)}}};
  case 8:
    return kind == ik9segment ? ColonDot(g, x(4), y(2.5)) : DecimalPoint(g);
  case 9:
    return ColonDot(g, x(3.5), y(5.5));
  case 10:
    return DecimalPoint(g);
  default:
    return {};
  }
}

// The dots of a 5x7 glyph: margin m left and right, column and row pitch, dot size.
struct MatrixGrid {
  qint32 m;
  double cw, ch, dx, dy;
};

double DotSize(TLumoIndicatorStyle style, bool hovering, double pitch) {
  const Ext p = pitch;
  Ext size = hovering ? (2.0 * p) / 3.0 - 1.0 : (3.0 * p) / 4.0 - 1.0;
  double lowest = 2.5;
  switch (style) {
  case isThin:
    size = hovering ? p / 2.0 - 1.0 : (2.0 * p) / 3.0 - 1.0;
    lowest = 1.5;
    break;
  case isThick:
    size = hovering ? (3.0 * p) / 4.0 - 1.0 : p - 1.0;
    lowest = 3.5;
    break;
  default:
    break;
  }
  const double held = static_cast<double>(size);
  return held < lowest ? lowest : held;
}

MatrixGrid MatrixGridOf(const TRect& cell, TLumoIndicatorStyle style, bool hovering) {
  const Ext w = CellWidth(cell);
  const double u = static_cast<double>(w / 8.0);
  const qint32 m = Nudge(T(static_cast<Ext>(u) / 2.0), 1);
  const double cw = static_cast<double>((w - 2.0 * m) / 5.0);
  const double ch = static_cast<double>(CellHeight(cell) / 7.0);
  return {m, cw, ch, DotSize(style, hovering, cw), DotSize(style, hovering, ch)};
}

std::array<TPoint, 4> MatrixDot(const MatrixGrid& g, int row, int column) {
  const qint32 x0 = T(static_cast<Ext>(column - 1) * g.cw + g.m);
  const qint32 y0 = T(static_cast<Ext>(row - 1) * g.ch);
  const qint64 x1 = static_cast<qint64>(x0) + T(g.dx);
  const qint64 y1 = static_cast<qint64>(y0) + T(g.dy);
  return {{{x0, y0}, {Clamp32(x1), y0}, {Clamp32(x1), Clamp32(y1)}, {x0, Clamp32(y1)}}};
}

// Appends one polygon, moved by (dx, dy), to the lit or unlit list.
template <size_t N>
void AppendMoved(TPolyList& list, const std::array<TPoint, N>& polygon, qint32 dx, qint32 dy) {
  for (const TPoint& point : polygon)
    list.Points.push_back({Clamp32(static_cast<qint64>(point.x) + dx), Clamp32(static_cast<qint64>(point.y) + dy)});
  list.Vertices.push_back(static_cast<qint32>(N));
  ++list.Count;
}

void Clear(TPolyList& list) {
  list.Points.clear();
  list.Vertices.clear();
  list.Count = 0;
}

} // namespace

double SegmentThickness(TLumoIndicatorStyle style, bool hovering, qint32 w, qint32 h) {
  return Thickness(style, hovering, w, h);
}

void SegmentPolygon(const TRect& cell, TLumoIndicatorKind kind, TLumoIndicatorStyle style,
                    bool hovering, int index, Tpoints& points) {
  const Hexagon hexagon = SegmentHexagon(SegmentGridOf(cell, style, hovering), kind, index);
  points.assign(hexagon.begin(), hexagon.end());
}

void MatrixDotPolygon(const TRect& cell, TLumoIndicatorStyle style, bool hovering, int row,
                      int column, Tpoints& points) {
  const auto dot = MatrixDot(MatrixGridOf(cell, style, hovering), row, column);
  points.assign(dot.begin(), dot.end());
}

void BuildGlyph(const TRect& cell, char16_t character, bool point, const TGlyphSettings& settings,
                TPolyList& lit, TPolyList& unlit) {
  Clear(lit);
  Clear(unlit);
  if (settings.Kind == ik5x7matrix) {
    const MatrixGrid grid = MatrixGridOf(cell, settings.Style, settings.Hovering);
    const TMatrixPattern& rows = MatrixPattern(character);
    for (int r = 1; r <= 7; ++r) {
      for (int c = 1; c <= 5; ++c)
        AppendMoved(rows[r - 1][c - 1] == '1' ? lit : unlit, MatrixDot(grid, r, c), cell.Left, cell.Top);
    }
    return;
  }
  const SegmentGrid grid = SegmentGridOf(cell, settings.Style, settings.Hovering);
  const TSegmentPattern pattern = SegmentPattern(settings.Kind, character, point);
  for (int k = 1; k <= pattern.Size; ++k)
    AppendMoved(pattern.Lit[k - 1] ? lit : unlit, SegmentHexagon(grid, settings.Kind, k), cell.Left, cell.Top);
}

// ---- Layout of a whole indicator ---------------------------------------------------------------

TCellLayout CellLayout(const TIndicatorLayoutSettings& settings) {
  // 64-bit sums: huge gaps or bevel widths fall back to the full size instead of wrapping.
  qint64 border = settings.IndicatorGap;
  if (settings.OuterBevel != bkNone)
    border += settings.OuterBevelWidth;
  if (settings.InnerBevel != bkNone)
    border += settings.InnerBevelWidth;

  const qint64 height = settings.IndicatorHeight;
  qint64 cellHeight = height - 2 * border;
  if (cellHeight <= 0 || cellHeight > height)
    cellHeight = height;

  qint64 cellWidth = 0;
  if (settings.SignNumber > 0) {
    const qint64 width = settings.IndicatorWidth;
    const qint64 widest = width / settings.SignNumber;
    cellWidth = (width - 2 * border) / settings.SignNumber;
    if (cellWidth <= 0 || cellWidth > widest)
      cellWidth = widest;
  }
  return {Clamp32(border), Clamp32(cellWidth), Clamp32(cellHeight)};
}

namespace {

// The text's code unit at position j, counted from 1.
char16_t CharacterAt(const QString& text, qsizetype j) {
  return static_cast<char16_t>(text.at(j - 1).unicode());
}

// The 5x7 kind: one character per cell, right-aligned, the rest cut at the right.
std::vector<TCellCharacter> MatrixCells(const QString& text, qsizetype count) {
  std::vector<TCellCharacter> cells;
  cells.reserve(static_cast<size_t>(count));
  const qsizetype n = text.size();
  for (qsizetype k = 1; k <= count; ++k) {
    char16_t character = u' ';
    if (n >= count)
      character = CharacterAt(text, k);
    else if (k > count - n)
      character = CharacterAt(text, k - (count - n));
    cells.push_back({character, false});
  }
  return cells;
}

// Counting pass of the segment kinds: how many cells the text occupies, at most count. A
// point right after another character lights that character's decimal point and takes no cell.
qsizetype UsedSegmentCells(const QString& text, qsizetype count) {
  const qsizetype n = text.size();
  qsizetype next = 1;
  bool pending = false;
  for (qsizetype j = 1; j <= n && next <= count; ++j) {
    const bool point = IsPointCharacter(CharacterAt(text, j));
    if (j == 1 && point) {
      ++next;
    } else if (!pending) {
      if (point || j == n)
        ++next;
      pending = !point;
    } else if (point) {
      ++next;
      pending = false;
    } else {
      ++next;
      if (next > count)
        break;
      if (j == n)
        ++next;
    }
  }
  return next - 1;
}

// Placing pass of the segment kinds over the padded text: a space under a leading point,
// blanks for the cells the text leaves unused, then the text.
std::vector<TCellCharacter> SegmentCells(const QString& text, qsizetype count) {
  std::vector<TCellCharacter> cells;
  cells.reserve(static_cast<size_t>(count));
  const qsizetype n = text.size();
  const qsizetype leadingPoint = n > 0 && IsPointCharacter(CharacterAt(text, 1)) ? 1 : 0;
  const qsizetype lead = leadingPoint + (count - UsedSegmentCells(text, count));
  const qsizetype length = lead + n;
  auto padded = [&](qsizetype j) { return j <= lead ? u' ' : CharacterAt(text, j - lead); };
  char16_t held = 0;
  bool holding = false;
  auto place = [&cells](char16_t character, bool point) { cells.push_back({character, point}); };
  for (qsizetype j = 1; j <= length && static_cast<qsizetype>(cells.size()) < count; ++j) {
    const char16_t c = padded(j);
    const bool point = IsPointCharacter(c);
    if (!holding) {
      if (point || j == length)
        place(c, false);
      else {
        held = c;
        holding = true;
      }
    } else if (point) {
      place(held, true);
      holding = false;
    } else {
      place(held, false);
      held = c;
      if (static_cast<qsizetype>(cells.size()) >= count)
        break;
      if (j == length)
        place(c, false);
    }
  }
  // The two passes agree; should they ever not, the cells stay complete and blank.
  cells.resize(static_cast<size_t>(count));
  return cells;
}

} // namespace

std::vector<TCellCharacter> CellAssignment(const QString& text, qint32 signNumber,
                                           TLumoIndicatorKind kind) {
  if (signNumber <= 0)
    return {};
  return kind == ik5x7matrix ? MatrixCells(text, signNumber) : SegmentCells(text, signNumber);
}

namespace {

// Moves both lists by the border, turns them about the indicator's centre and centres them
// in the control.
void PlaceLists(TIndicatorPolygons& result, const TCellLayout& layout, const TIndicatorLayoutSettings& settings) {
  for (TPolyList* list : {&result.Black, &result.Gray}) {
    OffsetPoints(list->Points, layout.Border, layout.Border);
    PlaceInControl(list->Points, settings.IndicatorWidth, settings.IndicatorHeight, settings.IndicatorAngle,
                   settings.ControlWidth, settings.ControlHeight);
  }
}

// Cell k's rectangle in the glyph area.
TRect CellRect(const TCellLayout& layout, qint64 k) {
  return {Clamp32((k - 1) * layout.CellWidth), 0, Clamp32(k * layout.CellWidth), layout.CellHeight};
}

// Appends part moved by (dx, dy), each coordinate held to 32 bits as the glyph's own moving
// does; with held false the caller knows that no coordinate leaves the 32-bit range.
void AppendMovedPolygons(TPolyList& into, const TPolyList& part, qint32 dx, qint32 dy, bool held) {
  const size_t at = into.Points.size();
  into.Points.resize(at + part.Points.size());
  TPoint* out = into.Points.data() + at;
  if (held) {
    for (const TPoint& p : part.Points)
      *out++ = {Clamp32(static_cast<qint64>(p.x) + dx), Clamp32(static_cast<qint64>(p.y) + dy)};
  } else {
    for (const TPoint& p : part.Points)
      *out++ = {p.x + dx, p.y + dy};
  }
  into.Vertices.insert(into.Vertices.end(), part.Vertices.begin(), part.Vertices.end());
  into.Count = Clamp32(static_cast<qint64>(into.Count) + part.Count);
}

// The box of the corners of polygon lists; left of right and below bottom when there are none.
struct TCorners {
  qint64 Left = kMax32, Top = kMax32, Right = kMin32, Bottom = kMin32;
};

TCorners CornersOf(std::initializer_list<const TPolyList*> lists) {
  TCorners box;
  for (const TPolyList* list : lists)
    for (const TPoint& p : list->Points)
      box = {std::min<qint64>(box.Left, p.x), std::min<qint64>(box.Top, p.y), std::max<qint64>(box.Right, p.x),
             std::max<qint64>(box.Bottom, p.y)};
  return box;
}

// A glyph built in the first cell: its lit and unlit polygons and the box of their corners.
struct TGlyphShape {
  TPolyList Lit, Unlit;
  TCorners Box;
  // Whether moving the glyph by (dx, dy) keeps every corner inside the 32-bit range.
  bool FitsMovedBy(qint32 dx, qint32 dy) const {
    return Box.Left + dx >= kMin32 && Box.Right + dx <= kMax32 && Box.Top + dy >= kMin32 &&
           Box.Bottom + dy <= kMax32;
  }
};

// The glyphs of one layout, each built once in the first cell: every cell is as wide and tall
// as the first, and a glyph is the same polygons moved to its cell, so a text of thousands of
// cells builds only its few distinct characters.
class TGlyphShapes {
public:
  TGlyphShapes(const TCellLayout& layout, const TGlyphSettings& glyph) : First(CellRect(layout, 1)), Glyph(glyph) {}
  const TGlyphShape& Of(TCellCharacter cell) {
    const quint32 key = quint32(cell.Character) | (cell.Point ? 0x10000u : 0u);
    auto found = Shapes.find(key);
    if (found == Shapes.end()) {
      found = Shapes.emplace(key, TGlyphShape{}).first;
      Build(cell, found->second);
    }
    return found->second;
  }
  // Whether cell (a cell rectangle of the layout) has the first cell's size.
  bool SameSize(const TRect& cell) const {
    return qint64(cell.Right) - cell.Left == qint64(First.Right) - First.Left;
  }

private:
  void Build(TCellCharacter cell, TGlyphShape& shape) const {
    BuildGlyph(First, cell.Character, cell.Point, Glyph, shape.Lit, shape.Unlit);
    shape.Box = CornersOf({&shape.Lit, &shape.Unlit});
  }

  TRect First;
  TGlyphSettings Glyph;
  std::unordered_map<quint32, TGlyphShape> Shapes;
};

// Appends the glyphs of cells first..last, cell after cell.
template <typename CharacterOf>
void AppendCells(TIndicatorPolygons& result, const TCellLayout& layout, const TGlyphSettings& glyph, qint64 first,
                 qint64 last, CharacterOf characterOf) {
  const size_t perCell = glyph.Kind == ik5x7matrix ? 35 : glyph.Kind == ik9segment ? 10 : 8;
  const size_t pointsPerPolygon = glyph.Kind == ik5x7matrix ? 4 : 6;
  const size_t cells = last >= first ? static_cast<size_t>(last - first + 1) : 0;
  for (TPolyList* list : {&result.Black, &result.Gray}) {
    list->Points.reserve(cells * perCell * pointsPerPolygon);
    list->Vertices.reserve(cells * perCell);
  }
  TGlyphShapes shapes(layout, glyph);
  TPolyList lit;
  TPolyList unlit;
  for (qint64 k = first; k <= last; ++k) {
    const TCellCharacter cell = characterOf(k);
    const TRect rect = CellRect(layout, k);
    if (shapes.SameSize(rect)) {
      const TGlyphShape& shape = shapes.Of(cell);
      const bool held = !shape.FitsMovedBy(rect.Left, rect.Top);
      AppendMovedPolygons(result.Black, shape.Lit, rect.Left, rect.Top, held);
      AppendMovedPolygons(result.Gray, shape.Unlit, rect.Left, rect.Top, held);
      continue;
    }
    BuildGlyph(rect, cell.Character, cell.Point, glyph, lit, unlit);
    AppendPolygons(result.Black, lit);
    AppendPolygons(result.Gray, unlit);
  }
}

} // namespace

TIndicatorPolygons BuildIndicatorPolygons(const TIndicatorLayoutSettings& settings) {
  TIndicatorPolygons result;
  if (settings.SignNumber <= 0)
    return result;
  const TCellLayout layout = CellLayout(settings);
  const std::vector<TCellCharacter> cells =
      CellAssignment(settings.Indicatorstring, settings.SignNumber, settings.IndicatorKind);
  const TGlyphSettings glyph{settings.IndicatorKind, settings.IndicatorStyle, settings.Hovering};
  AppendCells(result, layout, glyph, 1, static_cast<qint64>(cells.size()),
              [&cells](qint64 k) { return cells[static_cast<size_t>(k - 1)]; });
  PlaceLists(result, layout, settings);
  return result;
}

namespace {

// The cells of a text without the blank cells in front of it: a text of n characters in
// count >= n cells takes count - n blank cells and then the cells it takes in n cells.
struct TCellTexts {
  std::vector<TCellCharacter> Tail;
  qint64 Blanks = 0;
  TCellTexts(const QString& text, qint32 count, TLumoIndicatorKind kind)
      : Tail(CellAssignment(text, static_cast<qint32>(std::min<qsizetype>(count, text.size())), kind)),
        Blanks(count - static_cast<qint64>(Tail.size())) {}
  TCellCharacter At(qint64 k) const { return k <= Blanks ? TCellCharacter{} : Tail[static_cast<size_t>(k - Blanks - 1)]; }
};

struct TBox {
  Ext Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The bounding box of every polygon of cell 1, lit or unlit; cell k's is the same box moved
// by (k - 1) cell widths.
TBox GlyphBox(const TCellLayout& layout, const TGlyphSettings& glyph) {
  TPolyList lit;
  TPolyList unlit;
  BuildGlyph(CellRect(layout, 1), u'8', true, glyph, lit, unlit);
  const TCorners box = CornersOf({&lit, &unlit});
  return {Ext(box.Left), Ext(box.Top), Ext(box.Right), Ext(box.Bottom)};
}

// The control's rectangle carried back into the glyph area (undoing centring, rotation and the
// border), as a box widened by a few pixels for the rounding of the placement.
TBox ControlInGlyphArea(const TIndicatorLayoutSettings& s, const TCellLayout& layout) {
  const Ext theta = Radians(s.IndicatorAngle);
  const Ext c = s.IndicatorAngle == 0 ? 1.0L : std::cos(theta);
  const Ext sn = s.IndicatorAngle == 0 ? 0.0L : std::sin(theta);
  const Ext px = s.IndicatorWidth / 2, py = s.IndicatorHeight / 2;
  const Ext dx = static_cast<Ext>(CentringOffset(s.ControlWidth, s.IndicatorWidth)) + px;
  const Ext dy = static_cast<Ext>(CentringOffset(s.ControlHeight, s.IndicatorHeight)) + py;
  TBox box{std::numeric_limits<Ext>::max(), std::numeric_limits<Ext>::max(), std::numeric_limits<Ext>::lowest(),
           std::numeric_limits<Ext>::lowest()};
  for (const Ext x : {Ext(0), Ext(s.ControlWidth)}) {
    for (const Ext y : {Ext(0), Ext(s.ControlHeight)}) {
      const Ext gx = (x - dx) * c - (y - dy) * sn + px - layout.Border;
      const Ext gy = (x - dx) * sn + (y - dy) * c + py - layout.Border;
      box = {std::min(box.Left, gx), std::min(box.Top, gy), std::max(box.Right, gx), std::max(box.Bottom, gy)};
    }
  }
  constexpr Ext kMargin = 4;
  return {box.Left - kMargin, box.Top - kMargin, box.Right + kMargin, box.Bottom + kMargin};
}

// The cells first..last (from 1) whose glyphs can reach into the control; none when last < first.
std::pair<qint64, qint64> VisibleCells(const TIndicatorLayoutSettings& s, const TCellLayout& layout,
                                       const TGlyphSettings& glyph) {
  constexpr std::pair<qint64, qint64> none{1, 0};
  if (s.ControlWidth <= 0 || s.ControlHeight <= 0)
    return none;
  const TBox seen = ControlInGlyphArea(s, layout);
  const TBox cell = GlyphBox(layout, glyph);
  if (cell.Bottom < seen.Top || cell.Top > seen.Bottom)
    return none;
  if (layout.CellWidth == 0)
    return cell.Right < seen.Left || cell.Left > seen.Right ? none : std::pair<qint64, qint64>{1, s.SignNumber};
  const Ext width = layout.CellWidth;
  const Ext first = std::max<Ext>(std::ceil((seen.Left - cell.Right) / width), 0);
  const Ext last = std::min<Ext>(std::floor((seen.Right - cell.Left) / width), s.SignNumber - 1);
  if (last < first)
    return none;
  return {static_cast<qint64>(first) + 1, static_cast<qint64>(last) + 1};
}

// A character that shows the same glyph as another stands for it: every character without a
// glyph of its own is the blank.
char16_t GlyphOf(char16_t character, TLumoIndicatorKind kind) {
  if (kind == ik5x7matrix)
    return MatrixPattern(character) == MatrixPattern(u' ') ? u' ' : character;
  return SegmentPattern(kind, character, false) == SegmentPattern(kind, u' ', false) ? u' ' : character;
}

// Flips whether polygon occurs an odd number of times.
void Toggle(std::vector<std::pair<Tpoints, bool>>& odd, const TPoint* points, qint32 count) {
  const Tpoints polygon(points, points + count);
  for (auto& [known, isOdd] : odd) {
    if (known == polygon) {
      isOdd = !isOdd;
      return;
    }
  }
  odd.emplace_back(polygon, true);
}

void ToggleAll(std::vector<std::pair<Tpoints, bool>>& odd, const TPolyList& list) {
  const TPoint* next = list.Points.data();
  for (const qint32 count : list.Vertices) {
    Toggle(odd, next, count);
    next += count;
  }
}

// Cells of width 0 all lie on one spot, so that their polygons cover one another: in the
// even-odd sum a polygon shows when it occurs an odd number of times, and once is enough.
void AppendStackedCells(TIndicatorPolygons& result, const TCellLayout& layout, const TGlyphSettings& glyph,
                        const TCellTexts& texts) {
  std::vector<std::pair<TCellCharacter, qint64>> counts{{TCellCharacter{}, texts.Blanks}};
  for (TCellCharacter cell : texts.Tail) {
    cell.Character = GlyphOf(cell.Character, glyph.Kind);
    const auto found = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == cell; });
    if (found != counts.end())
      ++found->second;
    else
      counts.emplace_back(cell, 1);
  }
  std::vector<std::pair<Tpoints, bool>> black, gray;
  TPolyList lit;
  TPolyList unlit;
  for (const auto& [cell, count] : counts) {
    if (count % 2 == 0)
      continue;
    BuildGlyph(CellRect(layout, 1), cell.Character, cell.Point, glyph, lit, unlit);
    ToggleAll(black, lit);
    ToggleAll(gray, unlit);
  }
  for (auto [odd, list] : {std::pair{&black, &result.Black}, std::pair{&gray, &result.Gray}}) {
    for (const auto& [polygon, isOdd] : *odd) {
      if (isOdd) {
        AddPolygon(list->Points, list->Vertices, polygon);
        ++list->Count;
      }
    }
  }
}

} // namespace

TIndicatorPolygons BuildVisibleIndicatorPolygons(const TIndicatorLayoutSettings& settings) {
  TIndicatorPolygons result;
  if (settings.SignNumber <= 0)
    return result;
  const TCellLayout layout = CellLayout(settings);
  const TGlyphSettings glyph{settings.IndicatorKind, settings.IndicatorStyle, settings.Hovering};
  const auto [first, last] = VisibleCells(settings, layout, glyph);
  if (last < first)
    return result;
  const TCellTexts texts(settings.Indicatorstring, settings.SignNumber, settings.IndicatorKind);
  if (layout.CellWidth == 0)
    AppendStackedCells(result, layout, glyph, texts);
  else
    AppendCells(result, layout, glyph, first, last, [&texts](qint64 k) { return texts.At(k); });
  PlaceLists(result, layout, settings);
  return result;
}

TIndicatorLayoutSettings AtPixelRatio(TIndicatorLayoutSettings settings, double ratio) {
  if (ratio == 1.0)
    return settings;
  auto scale = [ratio](qint32& value) {
    value = static_cast<qint32>(RoundAway(static_cast<double>(value) * ratio));
  };
  for (qint32* value : {&settings.IndicatorWidth, &settings.IndicatorHeight, &settings.ControlWidth,
                        &settings.ControlHeight, &settings.IndicatorGap, &settings.OuterBevelWidth,
                        &settings.InnerBevelWidth})
    scale(*value);
  return settings;
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

int GeometryPrecisionBits() {
  return std::numeric_limits<Ext>::digits;
}

} // namespace LumoLiquidIndicator
