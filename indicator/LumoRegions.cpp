// Even-odd regions of the indicator's polygons, as the platform's polygon regions make them.
#include "LumoRegions_p.h"

#include <QHash>
#include <QPolygon>
#include <array>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <optional>

namespace LumoLiquidIndicator {

namespace {

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

// Rectangles in bands, top to bottom: each stretch of rows [y0, y1) with its spans, a stretch
// whose spans equal those right above it joining that band.
class TBands {
public:
  void Add(int y0, int y1, std::vector<int>& spans) {
    if (spans.empty())
      return;
    if (y0 == PreviousEnd && spans == Previous) {
      for (size_t k = PreviousFirst; k < Rects.size(); ++k)
        Rects[k].setBottom(y1 - 1);
    } else {
      PreviousFirst = Rects.size();
      for (size_t k = 0; k < spans.size(); k += 2)
        Rects.emplace_back(QPoint(spans[k], y0), QPoint(spans[k + 1] - 1, y1 - 1));
      Previous.swap(spans);
    }
    PreviousEnd = y1;
  }
  // The same for rows with one span [left, right) (none where they are equal).
  void AddSpan(int y0, int y1, int left, int right) {
    if (left == right)
      return;
    if (y0 == PreviousEnd && Previous.size() == 2 && Previous[0] == left && Previous[1] == right) {
      Rects.back().setBottom(y1 - 1);
    } else {
      PreviousFirst = Rects.size();
      Rects.emplace_back(QPoint(left, y0), QPoint(right - 1, y1 - 1));
      Previous.assign({left, right});
    }
    PreviousEnd = y1;
  }
  // Lengthens the last band from row y0 to y1 when it ends right above y0.
  bool Extend(int y0, int y1) {
    if (PreviousEnd != y0)
      return false;
    for (size_t k = PreviousFirst; k < Rects.size(); ++k)
      Rects[k].setBottom(y1 - 1);
    PreviousEnd = y1;
    return true;
  }
  QRegion Region() const {
    QRegion region;
    region.setRects(Rects.data(), int(Rects.size()));
    return region;
  }

private:
  std::vector<QRect> Rects;
  std::vector<int> Previous;
  size_t PreviousFirst = 0;
  int PreviousEnd = std::numeric_limits<int>::min();
};

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

// A side of a polygon: the rows from its upper end to the row above its lower end, and its
// stepper.
struct TSide {
  qint64 Top, Bottom;
  TEdgeStepper Step;
  bool Upright;
};

// The rows a scan keeps, from First to the row above End: all of them, or those of the bounds
// a polygon cut for them is wanted inside.
struct TRowRange {
  qint64 First = std::numeric_limits<qint64>::min();
  qint64 End = std::numeric_limits<qint64>::max();
};

// Rows y0..y1 (y1 excluded) of range between two sides, one span a row: the many rows of a
// tall quadrilateral, without the lists a row of more sides needs.
void ScanTwoSides(TSide& a, TSide& b, qint64 y0, qint64 y1, const TRowRange& range, TBands& bands) {
  for (qint64 y = y0; y < y1 && y < range.End; ++y) {
    const int xa = static_cast<int>(a.Step.X), xb = static_cast<int>(b.Step.X);
    a.Step.Next();
    b.Step.Next();
    if (y >= range.First)
      bands.AddSpan(static_cast<int>(y), static_cast<int>(y + 1), std::min(xa, xb), std::max(xa, xb));
  }
}

// Rows y0..y1 (y1 excluded) between corners, stepping the active sides down them; rows outside
// range are stepped over. Where every side is upright the stretch is one band.
void ScanStretch(const std::vector<TSide*>& active, qint64 y0, qint64 y1, const TRowRange& range, TBands& bands) {
  const bool upright = std::all_of(active.begin(), active.end(), [](const TSide* side) { return side->Upright; });
  if (!upright) {
    for (; y0 < std::min(y1, range.First); ++y0)  // rows above the range: only stepped
      for (TSide* side : active)
        side->Step.Next();
    if (active.size() == 2)
      return ScanTwoSides(*active[0], *active[1], y0, y1, range, bands);
  }
  std::vector<int> edges, last, spans;
  for (qint64 y = y0; y < y1 && y < range.End; y = upright ? y1 : y + 1) {
    edges.clear();
    for (TSide* side : active) {
      edges.push_back(static_cast<int>(side->Step.X));
      if (!upright)
        side->Step.Next();
    }
    const qint64 from = std::max(y, range.First);
    const qint64 end = std::min(upright ? y1 : y + 1, range.End);
    if (from >= end)
      continue;  // above the range
    if (edges == last && bands.Extend(static_cast<int>(from), static_cast<int>(end)))
      continue;  // the sides have not moved: the row above's band goes on
    last = edges;
    OddSpans(edges.begin(), edges.end(), spans);
    bands.Add(static_cast<int>(from), static_cast<int>(end), spans);
  }
}

// The even-odd region of one polygon, scanned here: the time follows the polygon's rows
// where the platform's own scan grows with their square, and a stretch of rows between two
// corners where every side is upright is worked out once. The pixels are the platform's;
// rows alike are always joined into one band, which the platform now and then leaves apart.
// A side covers the rows from its upper end to the row above its lower end; horizontal sides
// cover none. Only the rows of range are kept.
QRegion ScanTallPolygon(const TPoint* points, qint32 count, const TRowRange& range = {}) {
  std::vector<TSide> sides;
  std::vector<qint64> breaks;
  for (qint32 i = 0; i < count; ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[(i + 1) % count];
    if (a.y == b.y)
      continue;
    const TPoint& upper = a.y < b.y ? a : b;
    const TPoint& lower = a.y < b.y ? b : a;
    sides.push_back({upper.y, lower.y, TEdgeStepper(upper.x, lower.x, qint64(lower.y) - upper.y), a.x == b.x});
    breaks.insert(breaks.end(), {upper.y, lower.y});
  }
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

  TBands bands;
  std::vector<TSide*> active;
  for (size_t i = 0; i + 1 < breaks.size() && breaks[i] < range.End; ++i) {
    active.clear();
    for (TSide& side : sides)
      if (side.Top <= breaks[i] && breaks[i] < side.Bottom)
        active.push_back(&side);
    ScanStretch(active, breaks[i], breaks[i + 1], range, bands);
  }
  return bands.Region();
}

// Polygons taller than this are scanned here, shorter ones by the platform.
constexpr qint64 kTallPolygonRows = 512;

QRegion ScanPolygon(const TPoint* points, qint32 count, const TRowRange& range = {}) {
  if (count >= 3) {
    const auto [low, high] = std::minmax_element(points, points + count,
                                                 [](const TPoint& a, const TPoint& b) { return a.y < b.y; });
    if (qint64(high->y) - low->y > kTallPolygonRows)
      return ScanTallPolygon(points, count, range);
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

// The regions of recently seen polygon shapes, by their points taken from the first one. An
// indicator shows the same segments in the same cells over and over (only which of them are
// lit changes), and every cell's segments are the first cell's moved along, so a rebuild
// finds nearly all of them here instead of scanning each polygon anew. The platform's scan
// gives a moved polygon the same region moved. Bounded by the number of shapes and by the
// memory their regions hold (a tall polygon's region is one rectangle per row): emptied when
// either is full, and a region larger than a sixteenth of it is not kept.
constexpr qsizetype kCachedPolygons = 4096;
constexpr qsizetype kCachedBytes = 4 * 1024 * 1024;
constexpr qint32 kLargestCachedPolygon = 8;

struct TShapeKey {
  std::array<TPoint, kLargestCachedPolygon> Points{};
  qint32 Count = 0;
  friend bool operator==(const TShapeKey&, const TShapeKey&) = default;
};

size_t qHash(const TShapeKey& key, size_t seed) {
  return qHashBits(key.Points.data(), sizeof(TPoint) * size_t(key.Count), seed ^ size_t(key.Count));
}

// The polygon's points less its first one; none when there are too many of them or a
// difference does not fit in 32 bits.
std::optional<TShapeKey> ShapeKey(const TPoint* points, qint32 count) {
  if (count <= 0 || count > kLargestCachedPolygon)
    return std::nullopt;
  TShapeKey key;
  key.Count = count;
  for (qint32 i = 0; i < count; ++i) {
    const qint64 x = qint64(points[i].x) - points[0].x;
    const qint64 y = qint64(points[i].y) - points[0].y;
    if (x != qint32(x) || y != qint32(y))
      return std::nullopt;
    key.Points[size_t(i)] = {qint32(x), qint32(y)};
  }
  return key;
}

struct TRegionCache {
  QHash<TShapeKey, QRegion> Regions;
  qsizetype Bytes = 0;
};

TRegionCache& Cache() {
  thread_local TRegionCache cache;
  return cache;
}

// What an entry holds: its key, its rectangles and the bookkeeping of both.
qsizetype EntryBytes(const QRegion& region) {
  return qsizetype(sizeof(TShapeKey)) + region.rectCount() * qsizetype(sizeof(QRect)) + 64;
}

// The region of a polygon's shape, at its first point: from the cache, or scanned and kept.
QRegion CachedShape(const TShapeKey& key) {
  TRegionCache& cache = Cache();
  if (const auto found = cache.Regions.constFind(key); found != cache.Regions.constEnd())
    return *found;
  const QRegion region = ScanPolygon(key.Points.data(), key.Count);
  const qsizetype bytes = EntryBytes(region);
  if (bytes > kCachedBytes / 16)
    return region;
  if (cache.Regions.size() >= kCachedPolygons || cache.Bytes + bytes > kCachedBytes) {
    cache.Regions = {};
    cache.Bytes = 0;
  }
  cache.Bytes += bytes;
  return *cache.Regions.insert(key, region);
}

// A polygon's region as a region and the offset it is to be moved by: the shape from the
// cache and the polygon's first point, or the region itself and no offset.
struct TPlacedRegion {
  QRegion Region;
  QPoint Offset;
};

TPlacedRegion PlacedPolygonRegion(const TPoint* points, qint32 count, const QRect& bounds) {
  if (const std::optional<QRect> limit = ScanLimit(bounds); limit && !Inside(points, count, *limit)) {
    // Cut for the bounds, it is wanted there only: rows beyond them are not kept.
    const Tpoints cut = CutToLimit(points, count, *limit);
    const TRowRange rows{bounds.top(), qint64(bounds.bottom()) + 1};
    return {cut.size() < 3 ? QRegion() : ScanPolygon(cut.data(), qint32(cut.size()), rows), {}};
  }
  if (const std::optional<TShapeKey> key = ShapeKey(points, count))
    return {CachedShape(*key), QPoint(points[0].x, points[0].y)};
  return {ScanPolygon(points, count), {}};
}

} // namespace

QRegion PolygonRegion(const TPoint* points, qint32 count, const QRect& bounds) {
  const TPlacedRegion placed = PlacedPolygonRegion(points, count, bounds);
  return placed.Offset.isNull() ? placed.Region : placed.Region.translated(placed.Offset);
}

qsizetype PolygonRegionCacheBytes() { return Cache().Bytes; }
qsizetype PolygonRegionCacheSize() { return Cache().Regions.size(); }

namespace {

// The rectangles of every polygon's own region.
std::vector<QRect> CollectRects(const TPolyList& list, const QRect& bounds) {
  std::vector<QRect> rects;
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    const TPlacedRegion placed = PlacedPolygonRegion(next, list.Vertices[i], bounds);
    for (const QRect& rect : placed.Region)
      rects.push_back(rect.translated(placed.Offset));
    next += list.Vertices[i];
  }
  return rects;
}

// The odd-covered spans of the rectangles, swept from one rectangle top or bottom to the next:
// in between, the same rectangles cover every row, so each stretch of rows is worked out once.
// A stretch whose spans equal those of the stretch right above joins its band.
QRegion SweptBands(std::vector<QRect> rects) {
  std::vector<int> breaks;
  breaks.reserve(2 * rects.size());
  for (const QRect& rect : rects)
    breaks.insert(breaks.end(), {rect.top(), rect.bottom() + 1});
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) { return a.top() < b.top(); });

  TBands bands;
  std::vector<QRect> active;
  std::vector<int> edges, spans;
  size_t next = 0;
  for (size_t i = 0; i + 1 < breaks.size(); ++i) {
    const int y0 = breaks[i], y1 = breaks[i + 1];
    std::erase_if(active, [y0](const QRect& rect) { return rect.bottom() < y0; });
    for (; next < rects.size() && rects[next].top() == y0; ++next)
      active.push_back(rects[next]);
    edges.clear();
    for (const QRect& rect : active)
      edges.insert(edges.end(), {rect.left(), rect.right() + 1});
    OddSpans(edges.begin(), edges.end(), spans);
    bands.Add(y0, y1, spans);
  }
  return bands.Region();
}

// ---- Many polygons ---------------------------------------------------------------------------

// Lists longer than this are counted pixel by pixel inside the bounds, which costs what the
// bounds and the polygons' rows cost; shorter ones are swept, keeping their region beyond the
// bounds too.
constexpr qint32 kManyPolygons = 16;
// The largest area counted pixel by pixel, in pixels (16 MB of bits).
constexpr qint64 kLargestParityArea = qint64(1) << 27;

// Pixel bounds [Left, Right) x [Top, Bottom) of a polygon's corners, wide enough for any.
struct TSpan {
  qint64 Left, Top, Right, Bottom;
};

TSpan Extent(const TPoint* points, qsizetype count) {
  TSpan box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (qsizetype i = 1; i < count; ++i)
    box = {std::min<qint64>(box.Left, points[i].x), std::min<qint64>(box.Top, points[i].y),
           std::max<qint64>(box.Right, points[i].x), std::max<qint64>(box.Bottom, points[i].y)};
  return box;
}

// The part of box inside area, empty when they do not meet.
QRect Within(const TSpan& box, const QRect& area) {
  const qint64 left = std::max<qint64>(box.Left, area.left());
  const qint64 top = std::max<qint64>(box.Top, area.top());
  const qint64 right = std::min<qint64>(box.Right, qint64(area.right()) + 1);
  const qint64 bottom = std::min<qint64>(box.Bottom, qint64(area.bottom()) + 1);
  if (left >= right || top >= bottom)
    return {};
  return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// Whether the polygon is a rectangle with upright sides, whose region is its corners' box.
bool UprightRectangle(const TPoint* p, qint32 count) {
  if (count != 4)
    return false;
  return (p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x) ||
         (p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y);
}

// Whether each pixel of an area is covered an odd number of times: a bit per pixel, each
// row in whole 64-bit words. What is kept is each row's change from the row above, so that
// flipping a rectangle touches two rows however tall it is, and rows that do not change
// simply lengthen the band above. The changes are zeroed by calloc, which takes a large
// block as fresh zero pages from the system: only the rows flipped are ever touched.
class TParity {
public:
  explicit TParity(const QRect& area)
      : Area(area), RowWords((qsizetype(area.width()) + 63) / 64),
        Changes(static_cast<quint64*>(std::calloc(size_t(RowWords) * size_t(area.height()), sizeof(quint64)))),
        Changed(size_t(area.height()), false) {
    if (!Changes && RowWords * area.height() != 0)
      throw std::bad_alloc();
  }

  // Flips the pixels of rect, a rectangle inside the area.
  void Flip(const QRect& rect) {
    if (rect.isEmpty())
      return;
    FlipRow(rect.top() - Area.top(), rect);
    if (rect.bottom() < Area.bottom())
      FlipRow(rect.bottom() + 1 - Area.top(), rect);
  }

  // The odd pixels as a region, rows alike joined into bands: the rows from one changed row
  // to the next are one stretch.
  QRegion Region() const {
    TBands bands;
    std::vector<quint64> row(size_t(RowWords), 0);
    std::vector<int> spans;
    int from = 0;
    for (int y = 0; y <= Area.height(); ++y) {
      if (y < Area.height() && !Changed[size_t(y)])
        continue;
      bands.Add(Area.top() + from, Area.top() + y, spans);  // may take spans' contents
      if (y == Area.height())
        break;
      const quint64* change = Changes.get() + qsizetype(y) * RowWords;
      for (qsizetype w = 0; w < RowWords; ++w)
        row[size_t(w)] ^= change[w];
      RowSpans(row.data(), spans);
      from = y;
    }
    return bands.Region();
  }

private:
  // The first pixel from x on whose bit is set (or clear), the area's width if none is.
  int Next(const quint64* row, int x, bool set) const {
    const int width = Area.width();
    for (int w = x / 64; w < RowWords && w * 64 < width; ++w) {
      quint64 word = set ? row[w] : ~row[w];
      if (w == x / 64)
        word &= ~quint64(0) << (x % 64);
      if (word != 0)
        return std::min(width, w * 64 + std::countr_zero(word));
    }
    return width;
  }

  void RowSpans(const quint64* row, std::vector<int>& spans) const {
    spans.clear();
    for (int x = Next(row, 0, true); x < Area.width(); x = Next(row, x, true)) {
      const int end = Next(row, x, false);
      spans.insert(spans.end(), {Area.left() + x, Area.left() + end});
      x = end;
    }
  }

  // Flips the change of row y over the columns of rect.
  void FlipRow(int y, const QRect& rect) {
    Changed[size_t(y)] = true;
    const int x0 = rect.left() - Area.left();
    const int x1 = rect.right() + 1 - Area.left();
    const int w0 = x0 / 64, w1 = (x1 - 1) / 64;
    const quint64 head = ~quint64(0) << (x0 % 64);
    const quint64 tail = ~quint64(0) >> (63 - (x1 - 1) % 64);
    quint64* row = Changes.get() + qsizetype(y) * RowWords;
    if (w0 == w1) {
      row[w0] ^= head & tail;
      return;
    }
    row[w0] ^= head;
    for (int w = w0 + 1; w < w1; ++w)
      row[w] = ~row[w];
    row[w1] ^= tail;
  }

  QRect Area;
  qsizetype RowWords;
  struct TFree {
    void operator()(quint64* memory) const { std::free(memory); }
  };
  std::unique_ptr<quint64[], TFree> Changes;  // each row XOR the row above
  std::vector<bool> Changed;     // rows whose change may not be zero
};

// The area a list is counted in: the bounds, or where they are too large for that, the
// part of them its corners reach.
QRect ParityArea(const TPolyList& list, const QRect& bounds) {
  if (qint64(bounds.width()) * bounds.height() <= kLargestParityArea || list.Points.empty())
    return bounds;
  return Within(Extent(list.Points.data(), qsizetype(list.Points.size())), bounds);
}

// The even-odd region of a list inside the bounds: each polygon's pixels flipped in turn.
QRegion ParityRegion(const TPolyList& list, const QRect& area, const QRect& bounds) {
  TParity parity(area);
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    const qint32 count = list.Vertices[i];
    const TPoint* points = next;
    next += count;
    if (count < 3)
      continue;
    const QRect seen = Within(Extent(points, count), area);
    if (seen.isEmpty())
      continue;
    if (UprightRectangle(points, count)) {
      parity.Flip(seen);
      continue;
    }
    const TPlacedRegion placed = PlacedPolygonRegion(points, count, bounds);
    for (const QRect& rect : placed.Region)
      parity.Flip(rect.translated(placed.Offset) & area);
  }
  return parity.Region();
}

} // namespace

// The even-odd region of all polygons together: in each row, the places that an odd number
// of the polygons' own regions cover. The same as XOR-ing the polygons' regions one after
// another, in a single pass instead of one region operation per polygon; the rectangles come
// out banded and merged as QRegion keeps them. A list of more than a few polygons given bounds
// is counted inside the bounds only.
QRegion PolyPolygonRegion(const TPolyList& list, const QRect& bounds) {
  if (list.Count == 1)
    return PolygonRegion(list.Points.data(), list.Vertices[0], bounds);
  if (list.Count > kManyPolygons && !bounds.isEmpty()) {
    const QRect area = ParityArea(list, bounds);
    if (area.isEmpty())
      return {};
    if (qint64(area.width()) * area.height() <= kLargestParityArea)
      return ParityRegion(list, area, bounds);
  }
  return SweptBands(CollectRects(list, bounds));
}

QRegion PolyPolygonRegionIn(const TPolyList& list, const QRect& bounds, const QRect& part) {
  const QRect area = part & bounds;
  if (area.isEmpty() || list.Count <= 0)
    return {};
  if (list.Count > kManyPolygons) {
    const QRect counted = ParityArea(list, area);
    if (counted.isEmpty())
      return {};
    if (qint64(counted.width()) * counted.height() <= kLargestParityArea)
      return ParityRegion(list, counted, bounds);
  }
  return PolyPolygonRegion(list, bounds) & area;
}

} // namespace LumoLiquidIndicator
