// Even-odd regions of the indicator's polygons, as the platform's polygon regions make them.
#include "LumoRegions.h"

#include <QByteArray>
#include <QHash>
#include <QPolygon>
#include <algorithm>
#include <limits>

namespace LumoLiquidIndicator {

namespace {

QRegion ScanPolygon(const TPoint* points, qint32 count) {
  QPolygon polygon(count);
  for (qint32 i = 0; i < count; ++i)
    polygon.setPoint(i, points[i].x, points[i].y);
  return QRegion(polygon, Qt::OddEvenFill);
}

// The regions of recently seen polygons, by their points. An indicator shows the same segments
// in the same cells over and over (only which of them are lit changes), so a rebuild finds
// nearly all of them here instead of scanning each polygon anew. Bounded: emptied when full.
constexpr qsizetype kCachedPolygons = 4096;
constexpr qint32 kLargestCachedPolygon = 8;

} // namespace

QRegion PolygonRegion(const TPoint* points, qint32 count) {
  if (count <= 0 || count > kLargestCachedPolygon)
    return ScanPolygon(points, count);
  thread_local QHash<QByteArray, QRegion> cache;
  const QByteArray key(reinterpret_cast<const char*>(points), qsizetype(count) * qsizetype(sizeof(TPoint)));
  if (const auto found = cache.constFind(key); found != cache.constEnd())
    return *found;
  if (cache.size() >= kCachedPolygons)
    cache.clear();
  return *cache.insert(key, ScanPolygon(points, count));
}

namespace {

// The rectangles of every polygon's own region, and the rows they span.
struct TPolygonRects {
  std::vector<QRect> Rects;
  int Top = std::numeric_limits<int>::max();
  int Bottom = std::numeric_limits<int>::min();
};

TPolygonRects CollectRects(const TPolyList& list) {
  TPolygonRects result;
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    for (const QRect& rect : PolygonRegion(next, list.Vertices[i])) {
      result.Rects.push_back(rect);
      result.Top = std::min(result.Top, rect.top());
      result.Bottom = std::max(result.Bottom, rect.bottom());
    }
    next += list.Vertices[i];
  }
  return result;
}

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

} // namespace

// The even-odd region of all polygons together: in each row, the places that an odd number
// of the polygons' own regions cover. The same as XOR-ing the polygons' regions one after
// another, in a single pass instead of one region operation per polygon; the rectangles come
// out banded and merged as QRegion keeps them.
QRegion PolyPolygonRegion(const TPolyList& list) {
  if (list.Count == 1)
    return PolygonRegion(list.Points.data(), list.Vertices[0]);
  const TPolygonRects parts = CollectRects(list);
  if (parts.Rects.empty())
    return {};
  TRowEdges rows = RowEdges(parts);
  const std::vector<QRect> bands = Bands(rows, parts.Top, parts.Bottom);
  QRegion region;
  region.setRects(bands.data(), int(bands.size()));
  return region;
}

} // namespace LumoLiquidIndicator
