// Even-odd regions of the indicator's polygons, as the platform's polygon regions make them.
#include "LumoRegions.h"

#include <QByteArray>
#include <QHash>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace LumoLiquidIndicator {

namespace {

// The rectangles of every polygon's own region, and the rows they span.
struct TPolygonRects {
  std::vector<QRect> Rects;
  int Top = std::numeric_limits<int>::max();
  int Bottom = std::numeric_limits<int>::min();
};

// Every rectangle puts its left and right edge into each of its rows: the edges of row r are
// Edges[RowStart[r] .. RowStart[r + 1]), unsorted.
struct TRowEdges {
  std::vector<int> RowStart;
  std::vector<int> Edges;
};

TRowEdges RowEdges(const TPolygonRects& parts) {
  const int rows = parts.Bottom - parts.Top + 1;
  TRowEdges result;
  result.RowStart.assign(rows + 1, 0);
  for (const QRect& rect : parts.Rects)
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      result.RowStart[y - parts.Top + 1] += 2;
  for (int row = 1; row <= rows; ++row)
    result.RowStart[row] += result.RowStart[row - 1];
  result.Edges.resize(result.RowStart[rows]);
  std::vector<int> fillAt(result.RowStart.begin(), result.RowStart.end() - 1);
  for (const QRect& rect : parts.Rects)
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      result.Edges[fillAt[y - parts.Top]++] = rect.left();
      result.Edges[fillAt[y - parts.Top]++] = rect.right() + 1;
    }
  return result;
}

// Sorts one row's edges and pairs them up into the odd-covered spans [start, end), spans that
// touch merged into one.
void OddSpans(std::vector<int>::iterator first, std::vector<int>::iterator last, std::vector<int>& spans) {
  std::sort(first, last);
  spans.clear();
  for (auto edge = first; edge != last; edge += 2) {
    if (edge[0] == edge[1])
      continue;
    if (!spans.empty() && spans.back() == edge[0])
      spans.back() = edge[1];
    else
      spans.insert(spans.end(), {edge[0], edge[1]});
  }
}

// The rows' spans as bands: equal rows next to each other form one band.
std::vector<QRect> Bands(TRowEdges& rows, int top, int bottom) {
  std::vector<QRect> bands;
  std::vector<int> spans, previous;
  size_t previousFirst = 0;
  int previousY = std::numeric_limits<int>::min();
  for (int y = top; y <= bottom; ++y) {
    OddSpans(rows.Edges.begin() + rows.RowStart[y - top], rows.Edges.begin() + rows.RowStart[y - top + 1], spans);
    if (spans.empty())
      continue;
    if (y == previousY + 1 && spans == previous) {
      for (size_t k = previousFirst; k < bands.size(); ++k)
        bands[k].setBottom(y);
    } else {
      previousFirst = bands.size();
      for (size_t k = 0; k < spans.size(); k += 2)
        bands.emplace_back(QPoint(spans[k], y), QPoint(spans[k + 1] - 1, y));
      previous.swap(spans);
    }
    previousY = y;
  }
  return bands;
}

// ---- Scanning one polygon -------------------------------------------------------------------

// One side of a polygon stepped down its rows as the platform's scan conversion does it:
// it starts at the upper end's x and moves by whole pixels with an integer error term.
struct TEdgeStepper {
  qint64 X, M, M1, Incr1, Incr2, D;
  TEdgeStepper(qint64 top, qint64 bottom, qint64 dy) : X(top) {
    const qint64 dx = bottom - top;
    M = dx / dy;
    if (dx < 0) {
      M1 = M - 1;
      Incr1 = -2 * dx + 2 * dy * M1;
      Incr2 = -2 * dx + 2 * dy * M;
      D = 2 * M * dy - 2 * dx - 2 * dy;
    } else {
      M1 = M + 1;
      Incr1 = 2 * dx - 2 * dy * M1;
      Incr2 = 2 * dx - 2 * dy * M;
      D = -2 * M * dy + 2 * dx;
    }
  }
  void Next() {
    const bool big = M1 > 0 ? D > 0 : D >= 0;
    X += big ? M1 : M;
    D += big ? Incr1 : Incr2;
  }
};

// The even-odd region of one polygon, scanned here: the time follows the polygon's rows
// where the platform's own scan grows with their square. The pixels are the platform's; rows
// alike are always joined into one band, which the platform now and then leaves apart. A side covers the rows from its upper
// end to the row above its lower end; horizontal sides cover none.
QRegion ScanTallPolygon(const TPoint* points, qint32 count) {
  qint64 top = std::numeric_limits<qint64>::max(), bottom = std::numeric_limits<qint64>::min();
  for (qint32 i = 0; i < count; ++i) {
    top = std::min<qint64>(top, points[i].y);
    bottom = std::max<qint64>(bottom, points[i].y);
  }
  TRowEdges rows;
  rows.RowStart.assign(static_cast<size_t>(bottom - top + 1), 0);
  for (qint32 i = 0; i < count; ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[(i + 1) % count];
    for (qint64 y = std::min(a.y, b.y); y < std::max(a.y, b.y); ++y)
      ++rows.RowStart[static_cast<size_t>(y - top + 1)];
  }
  for (size_t row = 1; row < rows.RowStart.size(); ++row)
    rows.RowStart[row] += rows.RowStart[row - 1];
  rows.Edges.resize(static_cast<size_t>(rows.RowStart.back()));
  std::vector<int> fillAt(rows.RowStart.begin(), rows.RowStart.end() - 1);
  for (qint32 i = 0; i < count; ++i) {
    const TPoint& upper = points[i].y <= points[(i + 1) % count].y ? points[i] : points[(i + 1) % count];
    const TPoint& lower = &upper == &points[i] ? points[(i + 1) % count] : points[i];
    if (upper.y == lower.y)
      continue;
    TEdgeStepper edge(upper.x, lower.x, qint64(lower.y) - upper.y);
    for (qint64 y = upper.y; y < lower.y; ++y, edge.Next())
      rows.Edges[fillAt[static_cast<size_t>(y - top)]++] = static_cast<int>(edge.X);
  }
  const std::vector<QRect> bands = Bands(rows, static_cast<int>(top), static_cast<int>(bottom) - 1);
  QRegion region;
  region.setRects(bands.data(), int(bands.size()));
  return region;
}

// Polygons taller than this are scanned here, shorter ones by the platform.
constexpr qint64 kTallPolygonRows = 512;

QRegion ScanPolygon(const TPoint* points, qint32 count) {
  if (count >= 3) {
    const auto [low, high] = std::minmax_element(points, points + count,
                                                 [](const TPoint& a, const TPoint& b) { return a.y < b.y; });
    if (qint64(high->y) - low->y > kTallPolygonRows)
      return ScanTallPolygon(points, count);
  }
  QPolygon polygon(count);
  for (qint32 i = 0; i < count; ++i)
    polygon.setPoint(i, points[i].x, points[i].y);
  return QRegion(polygon, Qt::OddEvenFill);
}

// ---- Cutting far-reaching polygons -------------------------------------------------------

// The rectangle a polygon must stay inside to be scanned as it is: the bounds widened on
// every side by their larger side, at least 1024 pixels. None without bounds.
std::optional<QRect> ScanLimit(const QRect& bounds) {
  if (bounds.isNull())
    return std::nullopt;
  const int margin = std::max({bounds.width(), bounds.height(), 1024});
  return bounds.adjusted(-margin, -margin, margin, margin);
}

bool Inside(const TPoint* points, qint32 count, const QRect& limit) {
  for (qint32 i = 0; i < count; ++i) {
    if (points[i].x < limit.left() || points[i].x > limit.right() + 1 || points[i].y < limit.top() ||
        points[i].y > limit.bottom() + 1)
      return false;
  }
  return true;
}

// One step of cutting a polygon to a half-plane: x >= edge (side 0), x <= edge (1),
// y >= edge (2) or y <= edge (3). Where a side of the polygon crosses the edge it gets a new
// corner, rounded to the nearest pixel. The even-odd coverage inside the half-plane is kept.
Tpoints CutAt(const Tpoints& polygon, int side, qint64 edge) {
  const auto along = [side](const TPoint& p) -> qint64 { return side < 2 ? p.x : p.y; };
  const auto inside = [&](const TPoint& p) { return side % 2 == 0 ? along(p) >= edge : along(p) <= edge; };
  const auto crossing = [&](const TPoint& a, const TPoint& b) {
    const long double t = static_cast<long double>(edge - along(a)) / static_cast<long double>(along(b) - along(a));
    const auto other = [&](qint32 from, qint32 to) {
      return static_cast<qint32>(std::llround(from + t * (static_cast<long double>(to) - from)));
    };
    const qint32 e = static_cast<qint32>(edge);
    return side < 2 ? TPoint{e, other(a.y, b.y)} : TPoint{other(a.x, b.x), e};
  };
  Tpoints result;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const TPoint& a = polygon[i];
    const TPoint& b = polygon[(i + 1) % polygon.size()];
    if (inside(a))
      result.push_back(a);
    if (inside(a) != inside(b))
      result.push_back(crossing(a, b));
  }
  return result;
}

Tpoints CutToLimit(const TPoint* points, qint32 count, const QRect& limit) {
  Tpoints polygon(points, points + count);
  polygon = CutAt(polygon, 0, limit.left());
  polygon = CutAt(polygon, 1, limit.right() + 1);
  polygon = CutAt(polygon, 2, limit.top());
  return CutAt(polygon, 3, limit.bottom() + 1);
}

// ---- The cache -----------------------------------------------------------------------------

// The regions of recently seen polygons, by their points. An indicator shows the same segments
// in the same cells over and over (only which of them are lit changes), so a rebuild finds
// nearly all of them here instead of scanning each polygon anew. Bounded by the number of
// polygons and by the memory their regions hold (a tall polygon's region is one rectangle per
// row): emptied when either is full, and a region larger than a sixteenth of it is not kept.
constexpr qsizetype kCachedPolygons = 4096;
constexpr qsizetype kCachedBytes = 4 * 1024 * 1024;
constexpr qint32 kLargestCachedPolygon = 8;

struct TRegionCache {
  QHash<QByteArray, QRegion> Regions;
  qsizetype Bytes = 0;
};

TRegionCache& Cache() {
  thread_local TRegionCache cache;
  return cache;
}

// What an entry holds: its key, its rectangles and the bookkeeping of both.
qsizetype EntryBytes(const QByteArray& key, const QRegion& region) {
  return key.size() + region.rectCount() * qsizetype(sizeof(QRect)) + 64;
}

} // namespace

QRegion PolygonRegion(const TPoint* points, qint32 count, const QRect& bounds) {
  if (const std::optional<QRect> limit = ScanLimit(bounds); limit && !Inside(points, count, *limit)) {
    const Tpoints cut = CutToLimit(points, count, *limit);
    return cut.size() < 3 ? QRegion() : ScanPolygon(cut.data(), qint32(cut.size()));
  }
  if (count <= 0 || count > kLargestCachedPolygon)
    return ScanPolygon(points, count);
  TRegionCache& cache = Cache();
  const QByteArray key(reinterpret_cast<const char*>(points), qsizetype(count) * qsizetype(sizeof(TPoint)));
  if (const auto found = cache.Regions.constFind(key); found != cache.Regions.constEnd())
    return *found;
  const QRegion region = ScanPolygon(points, count);
  const qsizetype bytes = EntryBytes(key, region);
  if (bytes > kCachedBytes / 16)
    return region;
  if (cache.Regions.size() >= kCachedPolygons || cache.Bytes + bytes > kCachedBytes) {
    cache.Regions = {};
    cache.Bytes = 0;
  }
  cache.Bytes += bytes;
  return *cache.Regions.insert(key, region);
}

qsizetype PolygonRegionCacheBytes() { return Cache().Bytes; }
qsizetype PolygonRegionCacheSize() { return Cache().Regions.size(); }

namespace {

TPolygonRects CollectRects(const TPolyList& list, const QRect& bounds) {
  TPolygonRects result;
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    for (const QRect& rect : PolygonRegion(next, list.Vertices[i], bounds)) {
      result.Rects.push_back(rect);
      result.Top = std::min(result.Top, rect.top());
      result.Bottom = std::max(result.Bottom, rect.bottom());
    }
    next += list.Vertices[i];
  }
  return result;
}

} // namespace

// The even-odd region of all polygons together: in each row, the places that an odd number
// of the polygons' own regions cover. The same as XOR-ing the polygons' regions one after
// another, in a single pass instead of one region operation per polygon; the rectangles come
// out banded and merged as QRegion keeps them.
QRegion PolyPolygonRegion(const TPolyList& list, const QRect& bounds) {
  if (list.Count == 1)
    return PolygonRegion(list.Points.data(), list.Vertices[0], bounds);
  const TPolygonRects parts = CollectRects(list, bounds);
  if (parts.Rects.empty())
    return {};
  TRowEdges rows = RowEdges(parts);
  const std::vector<QRect> bands = Bands(rows, parts.Top, parts.Bottom);
  QRegion region;
  region.setRects(bands.data(), int(bands.size()));
  return region;
}

} // namespace LumoLiquidIndicator
