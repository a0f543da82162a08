#pragma once
// The plain types of the indicator's geometry: points, cell rectangles and polygon lists.

#include "LumoTypes.h"

#include <vector>

namespace LumoLiquidIndicator {

// Pixels, x to the right, y downwards.
struct TPoint {
  qint32 x = 0;
  qint32 y = 0;
  friend bool operator==(const TPoint& a, const TPoint& b) { return a.x == b.x && a.y == b.y; }
};

// Left, Top, Right, Bottom as the cell rectangles of the rebuild use them.
struct TRect {
  qint32 Left = 0;
  qint32 Top = 0;
  qint32 Right = 0;
  qint32 Bottom = 0;
  friend bool operator==(const TRect& a, const TRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
};

using Tpoints = std::vector<TPoint>;
using Tintegers = std::vector<qint32>;

// A polygon list: every vertex one polygon after another, each polygon's vertex count, and
// the number of polygons. The counts add up to Points.size() and Count == Vertices.size():
// exactly the argument set of a poly-polygon region.
struct TPolyList {
  Tpoints Points;
  Tintegers Vertices;
  qint32 Count = 0;
  friend bool operator==(const TPolyList& a, const TPolyList& b) {
    return a.Points == b.Points && a.Vertices == b.Vertices && a.Count == b.Count;
  }
};

} // namespace LumoLiquidIndicator
