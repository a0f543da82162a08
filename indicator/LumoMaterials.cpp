// Laying materials and colours into the indicator's image: plain fills of a region, a
// material stretched or tiled over the whole image or inside a region only.
#include "LumoMaterials_p.h"
#include "LumoGeometry_p.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

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

// Copies the pixels of rect in from to the same size at to in into (both 32 bits a pixel).
void CopyPixels(const QImage& from, const QRect& rect, QImage& into, QPoint to) {
  for (int y = 0; y < rect.height(); ++y)
    std::copy_n(reinterpret_cast<const QRgb*>(from.constScanLine(rect.top() + y)) + rect.left(), rect.width(),
                reinterpret_cast<QRgb*>(into.scanLine(to.y() + y)) + to.x());
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

// Where a stretched material is drawn through a view of the image whose row 0 is the image's
// row origin, for the view's rows from first on to pick the source rows that drawing it through
// the whole view picks. Qt's fast scaling of RGB32 and premultiplied ARGB32 images works out
// the source row of the first row it draws and then adds a step truncated to 1/65536 of a row
// for each row further down: drawn from a lower first row it would pick a row further down in
// places. Moved down by the fraction the whole drawing's stepping has lost by then, the drawing
// picks the same rows. Other formats work each row out on its own (and a single pixel is a
// plain fill) and take the image's own rectangle; so does a drawing whose moved rectangle would
// leave the range Qt scales in, which then starts from the view's first row.
struct TStretch {
  QRectF Target;  // in the image's coordinates
  int First = 0;  // the first row of the view to draw from
};

TStretch StretchFrom(QSize size, const QImage& material, int origin, int first) {
  const QRectF whole(QPoint(0, 0), size);
  const QImage::Format format = material.format();
  if (first <= 0 || qint64(material.width()) * material.height() <= 1 ||
      (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
    return {whole, first};
  const qreal sy = qreal(material.height()) / qreal(size.height());
  const int step = int(0x00010000 * sy);
  if (qreal(step) == 0x00010000 * sy)
    return {whole, first};  // a whole step loses nothing
  const quint32 start = quint32(qCeil((qreal(0.5) + origin) * sy * 65536) - 1);
  const quint32 reached = start + quint32(first) * quint32(step);
  const qreal move = first + qreal(0.5) + origin - (qreal(reached) + qreal(0.5)) / (sy * 65536);
  if (move - origin + size.height() > 0x7fff)
    return {whole, 0};
  return {whole.translated(0, move), first};
}

// Lays a material over the image's own geometry through a view of width x height pixels from
// the image's row origin on, drawing only inside rows (image coordinates, from the left edge):
// each pixel there is what drawing through the whole view gives it. Rows of the view above
// rows that a stretched drawing has to start from are kept as they were.
void LayThroughView(QImage& canvas, QRect view, const QImage& material, TLumoMaterialMode mode, qreal ratio,
                    const QRect& rows) {
  const TStretch stretch = mode == mmStretch ? StretchFrom(canvas.size(), material, view.top(), rows.top() - view.top())
                                             : TStretch{{}, rows.top() - view.top()};
  const QRect above(rows.left(), view.top() + stretch.First, rows.width(), rows.top() - view.top() - stretch.First);
  const QImage kept = above.isEmpty() ? QImage() : canvas.copy(above);
  {
    QImage device(canvas.scanLine(view.top()), view.width(), view.height(), canvas.bytesPerLine(), canvas.format());
    QPainter painter(&device);
    if (view.top() != 0)
      painter.translate(0, -view.top());
    painter.setClipRect(above.isEmpty() ? rows : rows | above);
    if (mode == mmStretch)
      painter.drawImage(stretch.Target, material);
    else
      DrawMaterialOn(painter, canvas.size(), material, mode, ratio);
  }
  if (!kept.isNull())
    CopyPixels(kept, kept.rect(), canvas, above.topLeft());
}

// Qt's drawing of a transformed image or pattern works out the source pixel where each piece
// of a row starts and steps from there, in pieces of this many pixels from the row's start.
constexpr int kStepPiece = 2048;

// The column a drawing of the material must start from for a part of the image starting at
// column left to come out as the whole image does: left itself where every pixel is worked out
// on its own (a single pixel, an image of the canvas's size, untransformed tiles), the start
// of left's piece where Qt steps in pieces, the left edge where the fast scaling of 32-bit
// images (or a deep tile drawn scaled) steps from there.
int FirstColumn(const QImage& material, TLumoMaterialMode mode, qreal ratio, QSize canvas, int left) {
  const QImage::Format format = material.format();
  if (mode == mmStretch) {
    if (qint64(material.width()) * material.height() <= 1 || material.width() == canvas.width())
      return left;  // a plain fill, or each column of the material as one of the image's
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied)
      return 0;
    return left / kStepPiece * kStepPiece;
  }
  if (ratio == 1.0)
    return left;
  return material.depth() <= 32 ? left / kStepPiece * kStepPiece : 0;
}

} // namespace

QImage OverColour(const QImage& material, QRgb colour, TLumoMaterialMode mode, QSize canvas) {
  const QImage::Format format = material.format();
  const qint64 pixels = qint64(material.width()) * material.height();
  if (mode != mmStretch || pixels <= 1 || pixels >= qint64(canvas.width()) * canvas.height() ||
      format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied || material.size() == canvas)
    return material;
  QImage laid(material.size(), QImage::Format_RGB32);
  laid.fill(colour);
  {
    QPainter painter(&laid);
    painter.drawImage(laid.rect(), material, material.rect());
  }
  return laid.convertToFormat(QImage::Format_ARGB32);
}

namespace {

// The material's column that drawing it stretched over the whole image picks for each of the
// image's columns, or none where drawing leaves a column out: found by Qt itself, drawing
// rows of column numbers in a format that takes the same way through its scaling, with the
// same rectangles, onto one row. Drawing reads the source row its first row picks, so the
// numbers are repeated down past it; the rows missing below shorten the drawing, which then
// still covers its first row.
std::optional<std::vector<int>> PickedColumns(const QImage& material, QSize canvas) {
  const bool stepped = material.format() == QImage::Format_RGB32 ||
                       material.format() == QImage::Format_ARGB32_Premultiplied;
  const qreal sy = qreal(material.height()) / qreal(canvas.height());
  const int rows = int(std::min(qreal(material.height()), qFloor(qreal(0.5) * sy) + qreal(2)));
  QImage numbers(material.width(), rows, stepped ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  for (int y = 0; y < rows; ++y) {
    QRgb* const number = reinterpret_cast<QRgb*>(numbers.scanLine(y));
    for (int x = 0; x < material.width(); ++x)
      number[x] = 0xFF000000u | QRgb(x);
  }
  QImage picked(canvas.width(), 1, QImage::Format_ARGB32_Premultiplied);
  picked.fill(0);  // a column left out stays transparent
  {
    QPainter painter(&picked);
    painter.drawImage(QRectF(QPoint(0, 0), canvas), numbers, QRectF(material.rect()));
  }
  std::vector<int> columns(size_t(canvas.width()));
  const QRgb* const pick = reinterpret_cast<const QRgb*>(picked.constScanLine(0));
  for (int x = 0; x < canvas.width(); ++x) {
    if (qAlpha(pick[x]) != 0xFF || int(pick[x] & 0xFFFFFF) >= material.width())
      return std::nullopt;
    columns[size_t(x)] = int(pick[x] & 0xFFFFFF);
  }
  return columns;
}

} // namespace

QImage LaidAcross(const QImage& material, TLumoMaterialMode mode, QSize canvas) {
  constexpr qint64 kLargestLaid = qint64(1) << 22;
  if (mode != mmStretch || material.depth() < 8 || material.width() == canvas.width() ||
      qint64(material.width()) * material.height() <= 1 || material.width() > 0x7fff ||
      material.height() > 0x7fff || qint64(canvas.width()) * material.height() > kLargestLaid)
    return material;
  const std::optional<std::vector<int>> columns = PickedColumns(material, canvas);
  if (!columns)
    return material;
  QImage laid(canvas.width(), material.height(), material.format());
  if (laid.isNull())
    return material;
  const int bytes = material.depth() / 8;
  for (int y = 0; y < material.height(); ++y) {
    const uchar* from = material.constScanLine(y);
    uchar* to = laid.scanLine(y);
    for (int x = 0; x < canvas.width(); ++x)
      std::memcpy(to + x * bytes, from + (*columns)[size_t(x)] * bytes, size_t(bytes));
  }
  laid.setColorTable(material.colorTable());
  laid.setDevicePixelRatio(material.devicePixelRatio());
  // Opaque either way, 32 bits a pixel are fetched a few times faster than 24.
  return laid.format() == QImage::Format_RGB888 ? laid.convertToFormat(QImage::Format_ARGB32) : laid;
}

bool LaidAlikeAnywhere(const QImage& material, TLumoMaterialMode mode, qreal ratio, QSize canvas) {
  if (material.isNull())
    return true;
  if (mode == mmStretch)
    return qint64(material.width()) * material.height() <= 1 || material.size() == canvas;
  return material.depth() <= 32 || ratio == 1.0;
}

// A part of the image is laid through the whole image, from its rows' left edge, what lies
// left of the part kept as it was.
void DrawMaterial(QImage& canvas, const QImage& material, TLumoMaterialMode mode, qreal ratio, const QRect& area) {
  const QRect bounds = PaintedPart(canvas, area);
  if (bounds == canvas.rect()) {
    QPainter painter(&canvas);
    DrawMaterialOn(painter, canvas.size(), material, mode, ratio);
    return;
  }
  if (bounds.isEmpty())
    return;
  const int first = FirstColumn(material, mode, ratio, canvas.size(), bounds.left());
  const QRect left(first, bounds.top(), bounds.left() - first, bounds.height());
  const QImage kept = left.isEmpty() ? QImage() : canvas.copy(left);
  LayThroughView(canvas, canvas.rect(), material, mode, ratio, QRect(QPoint(first, bounds.top()), bounds.bottomRight()));
  if (!kept.isNull())
    CopyPixels(kept, kept.rect(), canvas, left.topLeft());
}

namespace {

// Rows of a region laid at a time.
constexpr int kLayerRows = 256;

// A band of a region's rows as the whole image lays it: through a view from its first row with
// rectangles to the right end of its rectangles, from..to being the rectangles that reach it.
struct TLayerBand {
  QRect View;
  const QRect* From = nullptr;
  const QRect* To = nullptr;
};

// The band of the region laid with the rows from top on (kLayerRows of them, from the top of
// the region's part inside the image), its rectangles looked for from first on.
TLayerBand LayerBand(const QRegion& region, const QRect& image, int top, int bottom, const QRect* first) {
  const QRect rows(0, top, image.width(), std::min(kLayerRows, bottom + 1 - top));
  while (first != region.end() && first->bottom() < rows.top())
    ++first;
  const QRect* last = first;
  QRect part;
  for (; last != region.end() && last->top() <= rows.bottom(); ++last)
    part |= *last & rows & image;
  return {QRect(QPoint(0, part.top()), part.bottomRight()), first, last};
}

// Lays a material over the band's rectangles inside area: through the band's view over the
// rows and columns of area its rectangles reach (from the column the drawing must start
// from), of which only the rectangles keep the material and the rest is put back. Qt's raster
// engine does not clip a scaled image to a region of several rectangles.
void LayOverBand(QImage& canvas, const TLayerBand& band, const QRect& area, const QImage& material,
                 TLumoMaterialMode mode, qreal ratio) {
  QRect wanted;
  for (const QRect* rect = band.From; rect != band.To; ++rect)
    wanted |= *rect & band.View & area;
  if (wanted.isEmpty())
    return;
  const int first = FirstColumn(material, mode, ratio, canvas.size(), wanted.left());
  const QRect rows(QPoint(first, wanted.top()), wanted.bottomRight());
  QImage before = canvas.copy(rows);
  LayThroughView(canvas, band.View, material, mode, ratio, rows);
  for (const QRect* rect = band.From; rect != band.To; ++rect) {
    const QRect r = *rect & rows & area;
    if (!r.isEmpty())
      CopyPixels(canvas, r, before, r.topLeft() - rows.topLeft());
  }
  CopyPixels(before, before.rect(), canvas, rows.topLeft());
}

// Fills the rectangles that reach area's rows with tiles, each as wide as in the whole image
// (a fill that starts further right may pick its tiles' pixels a step off): what they cover
// outside area is put back.
void TileRectangles(QImage& canvas, const QRegion& region, const QRect& area, const QBrush& tiles) {
  const QRect image = canvas.rect();
  const QRect* first = FirstReaching(region, area.top());
  QRect reach;
  for (const QRect* rect = first; rect != region.end() && rect->top() <= area.bottom(); ++rect)
    reach |= *rect & image & QRect(0, area.top(), image.width(), area.height());
  if (reach.isEmpty())
    return;
  const QImage before = reach == (reach & area) ? QImage() : canvas.copy(reach);
  {
    QPainter painter(&canvas);
    for (const QRect* rect = first; rect != region.end() && rect->top() <= area.bottom(); ++rect)
      painter.fillRect(*rect & image & QRect(0, area.top(), image.width(), area.height()), tiles);
  }
  if (before.isNull())
    return;
  for (const QRect& outside : QRegion(reach).subtracted(area))
    CopyPixels(before, outside.translated(-reach.topLeft()), canvas, outside.topLeft());
}

} // namespace

// Lays a material over the image inside a region only, as the whole image lays it whatever
// part is asked for. Tiles are one pattern fill of each of the region's rectangles. A
// stretched material is laid band by band under the region, each band through a view of the
// image from the band's first row, from the image's left edge to the right end of the
// region's rectangles in it: Qt's scaled drawing picks a row's source pixels from where the
// row starts, so a part of the image that starts further right would come out a pixel off in
// places. A part of a band is laid through the same view.
void DrawMaterialInRegion(QImage& canvas, const QRegion& region, const QImage& material, TLumoMaterialMode mode,
                          qreal ratio, const QRect& area) {
  const QRect bounds = PaintedPart(canvas, area);
  if (region.isEmpty() || bounds.isEmpty())
    return;
  if (mode != mmStretch && material.depth() <= 32) {
    if (!material.isNull())
      TileRectangles(canvas, region, bounds, MaterialTiles(material, ratio));
    return;
  }
  const QRect whole = region.boundingRect() & canvas.rect();
  if (whole.isEmpty())
    return;
  const QRect* first = region.begin();
  for (int top = whole.top(); top <= std::min(whole.bottom(), bounds.bottom()); top += kLayerRows) {
    if (top + kLayerRows <= bounds.top())
      continue;
    const TLayerBand band = LayerBand(region, canvas.rect(), top, whole.bottom(), first);
    first = band.From;
    if (!band.View.isEmpty())
      LayOverBand(canvas, band, bounds, material, mode, ratio);
  }
}

} // namespace LumoLiquidIndicator
