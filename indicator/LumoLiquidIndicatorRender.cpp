// The indicator's rendering: the window shape, the shaded back materials, the whole image
// in CanvasBitmap with the clip region of the transparent modes, and painting, which only
// copies that image.
#include "LumoLiquidIndicator.h"
#include "LumoMaterials.h"
#include "LumoRegions.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

using namespace LumoLiquidIndicator;

namespace {

// The palette colour that stands for a system colour index (the lowest byte of a negative
// TColor), in the roles the usual indices play.
QColor SystemColor(int index) {
  const QPalette palette = QGuiApplication::palette();
  switch (index) {
  case 5:  return palette.color(QPalette::Base);             // window background
  case 7:  return palette.color(QPalette::WindowText);       // menu text
  case 8:  return palette.color(QPalette::WindowText);
  case 9:  return palette.color(QPalette::HighlightedText);  // caption text
  case 13: return palette.color(QPalette::Highlight);
  case 14: return palette.color(QPalette::HighlightedText);
  case 15: return palette.color(QPalette::Button);           // button face
  case 16: return palette.color(QPalette::Dark);             // button shadow
  case 17: return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
  case 18: return palette.color(QPalette::ButtonText);
  case 19: return palette.color(QPalette::Disabled, QPalette::WindowText);
  case 20: return palette.color(QPalette::Light);            // button highlight
  case 21: return palette.color(QPalette::Shadow);
  case 22: return palette.color(QPalette::Midlight);
  case 23: return palette.color(QPalette::ToolTipText);
  case 24: return palette.color(QPalette::ToolTipBase);
  case 26: return palette.color(QPalette::Link);
  case 2: case 27: case 29: return palette.color(QPalette::Highlight);  // active caption, menu highlight
  case 6:  return palette.color(QPalette::Shadow);           // window frame
  case 12: return palette.color(QPalette::Mid);              // application workspace
  default: return palette.color(QPalette::Window);
  }
}

TColor SystemColorValue(int index) {
  const QColor c = SystemColor(index);
  return c.red() | (c.green() << 8) | (c.blue() << 16);
}

QRgb ToRgb(TColor rgb) { return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

} // namespace

TColor TLumoLiquidIndicator::ResolveColor(TColor color) { return ColorToRGB(color, SystemColorValue); }

// The control's shape is the rotated indicator rectangle, centred in the control. A control
// without a parent keeps no shape.
void TLumoLiquidIndicator::UpdateWindowRegion() {
  const std::array<TPoint, 4> corners =
      WindowShape(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle, width(), height());
  const QRegion shape = PolygonRegion(corners.data(), qint32(corners.size()), rect());
  if (parentWidget())
    setMask(shape);
}

// The three shaded copies of the back material, 24 bits per pixel, shaded byte by byte.
void TLumoLiquidIndicator::PrepareBackMaterials() {
  const QImage base = FBackMaterial.convertToFormat(QImage::Format_RGB888);
  FBackMaterialD = base.copy();
  FBackMaterialL = base.copy();
  FBackMaterialLD = base.copy();
  if (base.isNull())
    return;
  const qint32 w = base.width(), h = base.height();
  DarkenBytes(FBackMaterialD.bits(), w, h, FBackMaterialD.bytesPerLine(), 64);
  LightenBytes(FBackMaterialL.bits(), w, h, FBackMaterialL.bytesPerLine(), 64);
  if (FMaterialShadowMode == msmDark)
    DarkenBytes(FBackMaterialLD.bits(), w, h, FBackMaterialLD.bytesPerLine(), 32);
  else if (FMaterialShadowMode == msmLight)
    LightenBytes(FBackMaterialLD.bits(), w, h, FBackMaterialLD.bytesPerLine(), 32);
}

// The whole rebuild: the polygon lists, the image and the clip region, anew from the fields.
void TLumoLiquidIndicator::RebuildIndicator() {
  ++FRebuildCount;
  const TRebuildParameters parameters = RebuildParameters();
  if (!PrepareCanvas(parameters))
    return;  // the previous image stays, with its polygons and clip region
  ResetClipRegion();
  if (CanvasBitmap.isNull()) {  // a control without a pixel shows nothing, whatever its fields
    Polygons = {};
    return;
  }
  Polygons = BuildVisibleIndicatorPolygons(parameters.Layout);
  // Drawn in the image's own pixels, which at a ratio other than 1 are device pixels; the
  // image then carries the ratio, so that painting copies it one to one.
  CanvasBitmap.setDevicePixelRatio(1.0);
  PaintBackground(parameters);
  PaintBevels(parameters);
  PaintSegments(parameters);
  ClipInLogicalPixels(parameters);
  CanvasBitmap.setDevicePixelRatio(parameters.PixelRatio);
}

TLumoLiquidIndicator::TRebuildParameters TLumoLiquidIndicator::RebuildParameters() const {
  TRebuildParameters parameters;
  TIndicatorLayoutSettings& layout = parameters.Layout;
  layout.SignNumber = FSignNumber;
  layout.IndicatorWidth = FIndicatorWidth;
  layout.IndicatorHeight = FIndicatorHeight;
  layout.IndicatorAngle = FIndicatorAngle;
  layout.IndicatorGap = FIndicatorGap;
  layout.Indicatorstring = FIndicatorString;
  layout.IndicatorKind = FIndicatorKind;
  layout.InnerBevel = FInnerBevel;
  layout.OuterBevel = FOuterBevel;
  layout.InnerBevelWidth = FInnerBevelWidth;
  layout.OuterBevelWidth = FOuterBevelWidth;
  layout.IndicatorStyle = FIndicatorStyle;
  layout.Hovering = Moused && (FMouseAction == maWidth || FMouseAction == maBoth);
  layout.ControlWidth = width();
  layout.ControlHeight = height();
  parameters.HoverColor = Moused && (FMouseAction == maColor || FMouseAction == maBoth);
  // The image is rendered in device pixels, so that it stays sharp on a scaled screen.
  parameters.PixelRatio = devicePixelRatioF();
  parameters.Logical = layout;
  parameters.Layout = AtPixelRatio(parameters.Logical, parameters.PixelRatio);
  return parameters;
}

// No region with tmNone; an empty one to collect what stays opaque otherwise.
void TLumoLiquidIndicator::ResetClipRegion() {
  ClipRGN.reset();
  if (FTransparentMode != tmNone)
    ClipRGN = QRegion();
}

// The whole image is painted anew; an image of the right size is reused. An image larger than
// kLargestImagePixels, or one the system cannot give, is not made: false, with a warning.
bool TLumoLiquidIndicator::PrepareCanvas(const TRebuildParameters& parameters) {
  const QSize size(parameters.Layout.ControlWidth, parameters.Layout.ControlHeight);
  if (CanvasBitmap.size() == size && CanvasBitmap.format() == QImage::Format_RGB32)
    return true;
  if (qint64(size.width()) * size.height() > kLargestImagePixels) {
    qWarning("TLumoLiquidIndicator: an image of %d x %d pixels would be larger than the %lld pixels "
             "allowed; the indicator keeps its previous image",
             size.width(), size.height(), static_cast<long long>(kLargestImagePixels));
    return false;
  }
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull() && !size.isEmpty()) {
    qWarning("TLumoLiquidIndicator: no memory for an image of %d x %d pixels; the indicator keeps its "
             "previous image",
             size.width(), size.height());
    return false;
  }
  CanvasBitmap = std::move(image);
  return true;
}

// Background, never part of the clip region. A material that is not opaque shows the back
// colour through it, never an earlier image.
void TLumoLiquidIndicator::PaintBackground(const TRebuildParameters& parameters) {
  if (CanvasBitmap.isNull())
    return;
  CanvasBitmap.fill(ToRgb(ResolveColor(FBackColor)));
  if (FBackMaterial.width() != 0)
    DrawMaterial(CanvasBitmap, FBackMaterial, FMaterialMode, parameters.PixelRatio);
}

void TLumoLiquidIndicator::FillBackRegion(const QRegion& region, TColor color, const QImage& material,
                                          qreal ratio) {
  if (FBackMaterial.width() != 0)
    DrawMaterialInRegion(CanvasBitmap, region, material, FMaterialMode, ratio);
  else
    FillRgn(CanvasBitmap, region, ToRgb(ResolveColor(color)));
}

// The outer bevel, then the inner one directly inside it.
void TLumoLiquidIndicator::PaintBevels(const TRebuildParameters& parameters) {
  const TIndicatorLayoutSettings& layout = parameters.Layout;
  PaintBevel(parameters, layout.OuterBevel, 0, layout.OuterBevelWidth);
  PaintBevel(parameters, layout.InnerBevel, layout.OuterBevel != bkNone ? layout.OuterBevelWidth : 0,
             layout.InnerBevelWidth);
}

// The faces towards the light come out light on a raised bevel, dark on a sunken one.
void TLumoLiquidIndicator::PaintBevel(const TRebuildParameters& parameters, TLumoBevelKind kind, qint32 inset,
                                      qint32 bevelWidth) {
  if (kind == bkNone)
    return;
  const TIndicatorLayoutSettings& layout = parameters.Layout;
  const std::array<TPoint, 16> points =
      BevelPoints(layout.IndicatorWidth, layout.IndicatorHeight, inset, bevelWidth, layout.IndicatorAngle,
                  layout.ControlWidth, layout.ControlHeight);
  const TColor light = LighterColor(FBevelColor, SystemColorValue);
  const TColor dark = DarkerColor(FBevelColor, SystemColorValue);
  for (const TBevelFaceRole& face : BevelFaces(LightingOctant(layout.IndicatorAngle), kind)) {
    const QRegion region = PolygonRegion(points.data() + 4 * static_cast<int>(face.Face), 4, CanvasBitmap.rect());
    if (ClipRGN)
      *ClipRGN |= region;
    FillBackRegion(region, face.Light ? light : dark, face.Light ? FBackMaterialL : FBackMaterialD,
                   parameters.PixelRatio);
  }
}

// Lit segments, then unlit ones.
void TLumoLiquidIndicator::PaintSegments(const TRebuildParameters& parameters) {
  if (!Polygons.Black.Points.empty()) {
    const QRegion region = PolyPolygonRegion(Polygons.Black, CanvasBitmap.rect());
    if (ClipRGN)
      *ClipRGN |= region;
    if (FForeMaterial.width() == 0 || parameters.HoverColor)
      FillRgn(CanvasBitmap, region,
              ToRgb(ResolveColor(parameters.HoverColor ? FNumberForeColor1 : FNumberForeColor)));
    else
      DrawMaterialInRegion(CanvasBitmap, region, FForeMaterial, FForeMaterialMode, parameters.PixelRatio);
  }
  if (!Polygons.Gray.Points.empty()) {
    const QRegion region = PolyPolygonRegion(Polygons.Gray, CanvasBitmap.rect());
    if (ClipRGN && FTransparentMode == tmBackOnly)
      *ClipRGN |= region;
    FillBackRegion(region, FNumberBackColor, FBackMaterialLD, parameters.PixelRatio);
  }
}

// The painting steps collect the clip region in the image's pixels. Where those are not
// logical pixels the region is made anew, from the same parts laid out in logical pixels:
// painting clips in those, as the window shape does.
void TLumoLiquidIndicator::ClipInLogicalPixels(const TRebuildParameters& parameters) {
  if (!ClipRGN || parameters.PixelRatio == 1.0)
    return;
  const TIndicatorLayoutSettings& logical = parameters.Logical;
  const QRect bounds(0, 0, logical.ControlWidth, logical.ControlHeight);
  QRegion clip;
  const auto addBevel = [&](TLumoBevelKind kind, qint32 inset, qint32 bevelWidth) {
    if (kind == bkNone)
      return;
    const std::array<TPoint, 16> points = BevelPoints(logical.IndicatorWidth, logical.IndicatorHeight, inset,
                                                      bevelWidth, logical.IndicatorAngle, logical.ControlWidth,
                                                      logical.ControlHeight);
    for (int face = 0; face < 4; ++face)
      clip |= PolygonRegion(points.data() + 4 * face, 4, bounds);
  };
  addBevel(logical.OuterBevel, 0, logical.OuterBevelWidth);
  addBevel(logical.InnerBevel, logical.OuterBevel != bkNone ? logical.OuterBevelWidth : 0, logical.InnerBevelWidth);
  const TIndicatorPolygons polygons = BuildVisibleIndicatorPolygons(logical);
  if (!polygons.Black.Points.empty())
    clip |= PolyPolygonRegion(polygons.Black, bounds);
  if (FTransparentMode == tmBackOnly && !polygons.Gray.Points.empty())
    clip |= PolyPolygonRegion(polygons.Gray, bounds);
  ClipRGN = clip;
}

// Painting computes nothing: one copy of the finished image through the clip region.
void TLumoLiquidIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (ClipRGN)
    painter.setClipRegion(*ClipRGN);
  painter.drawImage(0, 0, CanvasBitmap);
}
