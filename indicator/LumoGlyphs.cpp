// The glyph shapes: segment hexagons, colon and decimal dots, 5x7 matrix dots.
#include "LumoArithmetic_p.h"
#include "LumoPatterns_p.h"

namespace LumoLiquidIndicator {

using namespace Arithmetic;

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

} // namespace LumoLiquidIndicator
