#pragma once
// Laying colours and materials into the indicator's image (of Format_RGB32).

#include "LumoTypes.h"

#include <QImage>
#include <QRegion>

namespace LumoLiquidIndicator {

// Each function paints inside area only (the whole image when it is empty), the pixels there
// being those painting the whole image gives. An area starts at the image's left edge, as a
// stretched material must be laid from there to come out exact.

// Fills the region's pixels inside the image with one colour.
void FillRgn(QImage& canvas, const QRegion& region, QRgb color, const QRect& area = {});
// Lays a material over the whole image: stretched onto it, or tiled from the top-left corner,
// each tile ratio device pixels per material pixel.
void DrawMaterial(QImage& canvas, const QImage& material, TLumoMaterialMode mode, qreal ratio,
                  const QRect& area = {});
// The same inside a region only: the pixels are those DrawMaterial gives there.
void DrawMaterialInRegion(QImage& canvas, const QRegion& region, const QImage& material, TLumoMaterialMode mode,
                          qreal ratio, const QRect& area = {});

} // namespace LumoLiquidIndicator
