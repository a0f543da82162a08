#pragma once
// Even-odd regions of the indicator's polygons. A place covered by an even number of the
// polygons lies outside. A polygon's region leaves out its right and bottom edges: the
// rectangle (0, 0), (172, 0), (172, 36), (0, 36) covers the pixels 0..171 x 0..35.

#include "LumoTypes.h"

#include <QRegion>

namespace LumoLiquidIndicator {

// The region of one polygon of count points.
QRegion PolygonRegion(const TPoint* points, qint32 count);
// The even-odd region of all polygons of the list together (not the union of their regions).
QRegion PolyPolygonRegion(const TPolyList& list);

} // namespace LumoLiquidIndicator
