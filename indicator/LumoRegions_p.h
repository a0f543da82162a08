#pragma once
// Even-odd regions of the indicator's polygons. A place covered by an even number of the
// polygons lies outside. A polygon's region leaves out its right and bottom edges: the
// rectangle (0, 0), (172, 0), (172, 36), (0, 36) covers the pixels 0..171 x 0..35.

#include "LumoPoints_p.h"

#include <QRegion>

namespace LumoLiquidIndicator {

// The region of one polygon of count points.
//
// Given bounds (the image or window the region is for), a polygon that reaches further
// beyond them than their own size (at least 1024 pixels) is first cut to that widened
// rectangle, its new corners rounded to whole pixels, and only its rows inside the bounds
// are kept: the region then costs what the bounds can show, never what a polygon millions
// of pixels tall would. Anything closer is scanned as it is, pixel for pixel the same.
QRegion PolygonRegion(const TPoint* points, qint32 count, const QRect& bounds = {});
// The even-odd region of all polygons of the list together (not the union of their regions),
// each polygon cut to the bounds as above. A list of more than 16 polygons with bounds is
// counted pixel by pixel inside the bounds, and its region ends at them; the pixels inside
// are the same.
QRegion PolyPolygonRegion(const TPolyList& list, const QRect& bounds = {});
// The same region inside part only, a rectangle of the bounds: each polygon cut to the
// bounds as above, and only the pixels inside part worked out.
QRegion PolyPolygonRegionIn(const TPolyList& list, const QRect& bounds, const QRect& part);

// What the cache of recently scanned polygons holds, in bytes (bounded by 4 MB), and its
// number of polygons (bounded by 4096).
qsizetype PolygonRegionCacheBytes();
qsizetype PolygonRegionCacheSize();

} // namespace LumoLiquidIndicator
