#pragma once
// Laying colours and materials into the indicator's image (of Format_RGB32).

#include "LumoTypes.h"

#include <QImage>
#include <QRegion>

namespace LumoLiquidIndicator {

// Fills the region's pixels inside the image with one colour.
void FillRgn(QImage& canvas, const QRegion& region, QRgb color);
// Lays a material over the whole image: stretched onto it, or tiled from the top-left corner,
// each tile ratio device pixels per material pixel.
void DrawMaterial(QImage& canvas, const QImage& material, TLumoMaterialMode mode, qreal ratio);
// The same inside a region only: the pixels are those DrawMaterial gives there.
void DrawMaterialInRegion(QImage& canvas, const QRegion& region, const QImage& material, TLumoMaterialMode mode,
                          qreal ratio);

} // namespace LumoLiquidIndicator
