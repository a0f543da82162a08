#pragma once
// Types shared by the indicator widget and its pure geometry: the enumerations of the
// published properties, colours, points and polygon lists. C++17 is enough for this header
// (the widget's users include it); the comparisons are written out for that reason.

#include "LumoIndicatorExport.h"

#include <QtCore/qobjectdefs.h>
#include <QtCore/qglobal.h>
#include <vector>

namespace LumoLiquidIndicator {
Q_NAMESPACE_EXPORT(LUMO_INDICATOR_EXPORT)

enum TLumoIndicatorKind : quint8 { ik7segment = 0, ik5x7matrix = 1, ik9segment = 2 };
Q_ENUM_NS(TLumoIndicatorKind)

enum TLumoBevelKind : quint8 { bkUP = 0, bkDown = 1, bkNone = 2 };
Q_ENUM_NS(TLumoBevelKind)

enum TLumoIndicatorStyle : quint8 { isThin = 0, isNormal = 1, isThick = 2 };
Q_ENUM_NS(TLumoIndicatorStyle)

enum TLumoMouseAction : quint8 { maNone = 0, maColor = 1, maWidth = 2, maBoth = 3 };
Q_ENUM_NS(TLumoMouseAction)

enum TLumoTransparentMode : quint8 { tmNone = 0, tmBackOnly = 1, tmAll = 2 };
Q_ENUM_NS(TLumoTransparentMode)

enum TLumoColorScheme : quint8 {
  csSilver = 0, csInvSilver = 1, csWhite = 2, csBlack = 3, csPlasma = 4, csInvPlasma = 5, csZORA = 6
};
Q_ENUM_NS(TLumoColorScheme)

enum TLumoMaterialShadowMode : quint8 { msmDark = 0, msmLight = 1, msmNone = 2 };
Q_ENUM_NS(TLumoMaterialShadowMode)

enum TLumoMaterialMode : quint8 { mmStretch = 0, mmTile = 1 };
Q_ENUM_NS(TLumoMaterialMode)

// A colour laid out 0x00BBGGRR (red in the lowest byte). A negative value (top byte 0x80)
// names a system colour by the index in its lowest byte.
using TColor = qint32;

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
