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
// Whether a material comes out the same inside a part of a region whatever the rest of the
// region is: a single pixel, one as large as the image, tiles of up to 32 bits a pixel, or
// deeper ones at ratio 1.
bool LaidAlikeAnywhere(const QImage& material, TLumoMaterialMode mode, qreal ratio, QSize canvas);

} // namespace LumoLiquidIndicator
