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

// The even-odd region of all polygons together: in each row, the places that an odd number
// of the polygons' own regions cover. The same as XOR-ing the polygons' regions one after
// another, in a single pass instead of one region operation per polygon; the rectangles come
// out banded and merged as QRegion keeps them.
QRegion PolyPolygonRegion(const TPolyList& list) {
  if (list.Count == 1)
    return PolygonRegion(list.Points.data(), list.Vertices[0]);
  std::vector<QRect> parts;
  int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    for (const QRect& rect : PolygonRegion(next, list.Vertices[i])) {
      parts.push_back(rect);
      top = std::min(top, rect.top());
      bottom = std::max(bottom, rect.bottom());
    }
    next += list.Vertices[i];
  }
  if (parts.empty())
    return {};

  // Every rectangle puts its left and right edge into each of its rows.
  const int rows = bottom - top + 1;
  std::vector<int> rowStart(rows + 1, 0);
  for (const QRect& rect : parts)
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      rowStart[y - top + 1] += 2;
  for (int row = 1; row <= rows; ++row)
    rowStart[row] += rowStart[row - 1];
  std::vector<int> edges(rowStart[rows]);
  std::vector<int> fillAt(rowStart.begin(), rowStart.end() - 1);
  for (const QRect& rect : parts)
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      edges[fillAt[y - top]++] = rect.left();
      edges[fillAt[y - top]++] = rect.right() + 1;
    }

  // Sorted edges pair up into the odd-covered spans; equal rows next to each other form one band.
  std::vector<QRect> bands;
  std::vector<int> spans, previous;
  size_t previousFirst = 0;
  int previousY = std::numeric_limits<int>::min();
  for (int y = top; y <= bottom; ++y) {
    const auto first = edges.begin() + rowStart[y - top], last = edges.begin() + rowStart[y - top + 1];
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
  QRegion region;
  region.setRects(bands.data(), int(bands.size()));
  return region;
}

} // namespace LumoLiquidIndicator
