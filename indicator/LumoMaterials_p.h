#pragma once
// Laying colours and materials into the indicator's image (of Format_RGB32).

#include "LumoTypes.h"

#include <QImage>
#include <QRegion>

namespace LumoLiquidIndicator {

// Each function paints inside area only (the whole image when it is empty), the pixels there
// being those painting the whole image gives, wherever the area lies: a stretched material is
// laid from the image's left edge, as it must be to come out exact, and kept inside the area.

// Fills the region's pixels inside the image with one colour.
void FillRgn(QImage& canvas, const QRegion& region, QRgb color, const QRect& area = {});
// Lays a material over the whole image: stretched onto it, or tiled from the top-left corner,
// each tile ratio device pixels per material pixel.
void DrawMaterial(QImage& canvas, const QImage& material, TLumoMaterialMode mode, qreal ratio,
                  const QRect& area = {});
// The same inside a region only: the pixels are those DrawMaterial gives there. A stretched
// material (and a deep one tiled at a ratio) is laid band by band as the region's rectangles
// lie: a part of the image shows what the whole image shows only when region is the whole
// region, unless LaidAlikeAnywhere.
void DrawMaterialInRegion(QImage& canvas, const QRegion& region, const QImage& material, TLumoMaterialMode mode,
                          qreal ratio, const QRect& area = {});
// A stretched material as it shows over a colour, for a canvas of the size: where Qt scales
// it pixel by pixel (any format but RGB32 and premultiplied ARGB32, more than one pixel, not
// the canvas's own size) and it is smaller than the canvas, each of its pixels laid over the
// colour, opaque in 32 bits a pixel. Scaled, that shows the pixels the material shows over
// the colour (Qt picks the same source pixels for either) for a fraction of the work: a deep
// or translucent material is blended once a source pixel, not once a pixel of the image.
// Otherwise the material itself.
QImage OverColour(const QImage& material, QRgb colour, TLumoMaterialMode mode, QSize canvas);
// A stretched material laid across the width of a canvas of the size: each of the canvas's
// columns holds the material's column that stretching it over the canvas picks there (as Qt
// picks it), so that stretching the result, as wide as the canvas, shows the same pixels and
// picks each column by itself, wherever a drawing starts (24-bit pixels come out in opaque 32
// bits, which Qt fetches faster). The material itself where that cannot be made (tiles, a
// single pixel, less than a byte a pixel, or more than 4M pixels).
QImage LaidAcross(const QImage& material, TLumoMaterialMode mode, QSize canvas);
// Whether a material comes out the same inside a part of a region whatever the rest of the
// region is: a single pixel, one as large as the image, tiles of up to 32 bits a pixel, or
// deeper ones at ratio 1.
bool LaidAlikeAnywhere(const QImage& material, TLumoMaterialMode mode, qreal ratio, QSize canvas);

} // namespace LumoLiquidIndicator
