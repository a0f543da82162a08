// Laying materials and colours into the indicator's image: plain fills of a region, a
// material stretched or tiled over the whole image or inside a region only.
#include "LumoMaterials_p.h"
#include "LumoGeometry_p.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace LumoLiquidIndicator {

namespace {

// The part of the image a paint covers: area, or the whole image when area is empty.
QRect PaintedPart(const QImage& canvas, const QRect& area) {
  return area.isEmpty() ? canvas.rect() : area & canvas.rect();
}

// The first of a region's rectangles that reaches row y. They lie top to bottom, in bands that
// share no rows, so their bottom edges never go up.
const QRect* FirstReaching(const QRegion& region, int y) {
  return std::partition_point(region.begin(), region.end(), [y](const QRect& rect) { return rect.bottom() < y; });
}

} // namespace

// Plain fills write the pixels directly: a region is a handful of rectangles, and no painter
// needs to be set up for them.
void FillRgn(QImage& canvas, const QRegion& region, QRgb color, const QRect& area) {
  const QRect bounds = PaintedPart(canvas, area);
  if (region.isEmpty() || bounds.isEmpty())
    return;
  uchar* const bits = canvas.bits();  // one copy check for the whole fill, not one per row
  const qsizetype stride = canvas.bytesPerLine();
  for (const QRect* rect = FirstReaching(region, bounds.top()); rect != region.end() && rect->top() <= bounds.bottom();
       ++rect) {
    const QRect r = *rect & bounds;
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::fill_n(reinterpret_cast<QRgb*>(bits + y * stride) + r.left(), r.width(), color);
  }
}

namespace {

// The tiles of a material, each as large as ratio device pixels per material pixel: on a
// scaled screen a tiled material looks as it does unscaled.
QBrush MaterialTiles(const QImage& material, qreal ratio) {
  QBrush tiles(material);
  if (ratio != 1.0)
    tiles.setTransform(QTransform::fromScale(ratio, ratio));
  return tiles;
}

// Lays a material over the whole image: stretched onto it, or tiled from the top-left
// corner (the last column and row reaching past the edge) with one pattern fill.
// A texture brush blends like drawing tile by tile for materials of up to 32 bits per pixel;
// deeper ones (16 bits per channel) are drawn tile by tile to keep their exact blending.
void DrawMaterialOn(QPainter& painter, const QSize& size, const QImage& material, TLumoMaterialMode mode,
                    qreal ratio) {
  const QRect whole(QPoint(0, 0), size);
  if (mode == mmStretch) {
    painter.drawImage(whole, material);
  } else if (material.depth() <= 32) {
    if (!material.isNull())
      painter.fillRect(whole, MaterialTiles(material, ratio));
  } else {
    painter.scale(ratio, ratio);
    const QSizeF logical = QSizeF(size) / ratio;
    for (const TPoint& origin : TileOrigins(qCeil(logical.width()), qCeil(logical.height()), material.width(),
                                            material.height()))
      painter.drawImage(QPoint(origin.x, origin.y), material);
  }
}

} // namespace

// Part of the image is painted through an image of its rows from the left edge on, moved
// down by the rows above: laid so, a stretched material's pixels are the whole image's.
void DrawMaterial(QImage& canvas, const QImage& material, TLumoMaterialMode mode, qreal ratio, const QRect& area) {
  const QRect bounds = PaintedPart(canvas, area);
  if (bounds == canvas.rect()) {
    QPainter painter(&canvas);
    DrawMaterialOn(painter, canvas.size(), material, mode, ratio);
    return;
  }
  if (bounds.isEmpty())
    return;
  QImage rows(canvas.scanLine(bounds.top()), bounds.right() + 1, bounds.height(), canvas.bytesPerLine(),
              canvas.format());
  QPainter painter(&rows);
  painter.translate(0, -bounds.top());
  DrawMaterialOn(painter, canvas.size(), material, mode, ratio);
}

namespace {

// Lays a material over the rectangles from..to, cut to part: over a copy of the image's rows
// of part from its left edge to part's right end, whose rectangles are then copied back. Qt's
// raster engine does not clip a scaled image to a region of several rectangles.
void LayOverPart(QImage& canvas, const QRect& part, const QRect* from, const QRect* to, const QImage& material,
                 TLumoMaterialMode mode, qreal ratio) {
  const QRect area(QPoint(0, part.top()), part.bottomRight());
  QImage layer = canvas.copy(area);
  {
    QPainter painter(&layer);
    painter.translate(0, -area.top());
    DrawMaterialOn(painter, canvas.size(), material, mode, ratio);
  }
  for (const QRect* rect = from; rect != to; ++rect) {
    const QRect r = *rect & part;
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::copy_n(reinterpret_cast<const QRgb*>(layer.constScanLine(y - area.top())) + r.left(), r.width(),
                  reinterpret_cast<QRgb*>(canvas.scanLine(y)) + r.left());
  }
}

// Rows of a region laid at a time.
constexpr int kLayerRows = 256;

} // namespace

// Lays a material over the image inside a region only. Tiles are one pattern fill of the
// region's rectangles. A stretched material is laid band by band under the region, each band
// from the image's left edge to the right end of the region's rectangles in it: Qt's scaled
// drawing picks a row's source pixels from where the row starts, so a part of the image that
// starts further right would come out a pixel off in places (moved down, it is exact).
void DrawMaterialInRegion(QImage& canvas, const QRegion& region, const QImage& material, TLumoMaterialMode mode,
                          qreal ratio, const QRect& area) {
  const QRect bounds = PaintedPart(canvas, area);
  if (region.isEmpty() || bounds.isEmpty())
    return;
  const QRect* const end = region.end();
  if (mode != mmStretch && material.depth() <= 32) {
    if (material.isNull())
      return;
    QPainter painter(&canvas);
    const QBrush tiles = MaterialTiles(material, ratio);
    for (const QRect* rect = FirstReaching(region, bounds.top()); rect != end && rect->top() <= bounds.bottom();
         ++rect)
      painter.fillRect(*rect & bounds, tiles);
    return;
  }
  const QRect whole = region.boundingRect() & bounds;
  const QRect* first = FirstReaching(region, whole.top());
  for (int top = whole.top(); top <= whole.bottom(); top += kLayerRows) {
    const QRect rows(0, top, whole.right() + 1, std::min(kLayerRows, whole.bottom() + 1 - top));
    while (first != end && first->bottom() < rows.top())
      ++first;
    const QRect* last = first;
    QRect part;
    for (; last != end && last->top() <= rows.bottom(); ++last)
      part |= *last & rows & bounds;
    if (!part.isEmpty())
      LayOverPart(canvas, part, first, last, material, mode, ratio);
  }
}

} // namespace LumoLiquidIndicator
