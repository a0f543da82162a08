#pragma once
// The indicator's rebuild without a widget: every property value, a size, a pixel ratio, the
// hover state and a palette in; the whole image (its pixels painted when asked for) and its
// regions out. The widget and any other face of the indicator (a Qt Quick item, say) draw
// what this renders, so both show the same pixels.

#include "LumoTypes.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRegion>
#include <QSize>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace LumoLiquidIndicator {

// Every published property of the indicator, under the widget's field names and with its
// defaults. A plain value: copy it, compare it, change any field.
struct TLumoIndicatorState {
  TLumoColorScheme FColorScheme = csSilver;
  qint32 FSignNumber = 10;
  qint32 FIndicatorWidth = 172;
  qint32 FIndicatorHeight = 36;
  qint32 FIndicatorAngle = 0;
  qint32 FIndicatorGap = 2;
  QString FIndicatorString;
  TLumoIndicatorKind FIndicatorKind = ik7segment;
  TLumoBevelKind FInnerBevel = bkDown;
  TLumoBevelKind FOuterBevel = bkUP;
  qint32 FInnerBevelWidth = 2;
  qint32 FOuterBevelWidth = 2;
  TColor FBevelColor = 0xDDDDDD;
  TColor FBackColor = 0xDDDDDD;
  TColor FNumberForeColor = 0x363636;
  TColor FNumberForeColor1 = 0x0000FF;
  TColor FNumberBackColor = 0xD3D3D3;
  TLumoIndicatorStyle FIndicatorStyle = isNormal;
  TLumoMouseAction FMouseAction = maNone;
  TLumoTransparentMode FTransparentMode = tmNone;
  QImage FBackMaterial;
  QImage FForeMaterial;
  TLumoMaterialShadowMode FMaterialShadowMode = msmDark;
  TLumoMaterialMode FMaterialMode = mmStretch;
  TLumoMaterialMode FForeMaterialMode = mmStretch;
  friend bool operator==(const TLumoIndicatorState&, const TLumoIndicatorState&) = default;
};

// The five colours of a colour scheme, or none for a value outside the enumeration.
struct TSchemeColors {
  TColor Back, Bevel, NumberBack, NumberFore, NumberFore1;
};
std::optional<TSchemeColors> SchemeColors(TLumoColorScheme scheme);

// A material as the indicator keeps it: the image given (a shared value, which a later change
// by the caller leaves as it is), except that an indexed image whose colour
// table does not cover its pixels (which Qt cannot draw) becomes 32 bits, the missing
// colours as grey levels.
QImage DrawableMaterial(const QImage& value);

// Asks the system (Linux) for 2 MB pages behind a large image whose memory is not touched
// yet, such as a window's backing store just grown: touching fresh memory 4 KB at a time
// costs more than painting it. Only the pages wholly inside the image; a hint, nothing else.
void PreferLargePages(const QImage& image);

// The RGB value (0x00BBGGRR) of a colour, system colours taken from the palette.
TColor ResolveColor(TColor color, const QPalette& palette);
// A colour as a QColor, system colours taken from the palette; and a QColor's colour, its
// alpha not used (the display is opaque).
QColor ToQColor(TColor color, const QPalette& palette);
TColor FromQColor(const QColor& color);

class TLumoRenderer {
public:
  // The largest image rendered, in pixels (a 7680 x 4320 screen fits; 128 MB at 32 bits per
  // pixel). A larger one is not made: the renderer keeps its previous image and says so with
  // a warning, as it does when the system cannot give the memory.
  static constexpr qint64 kLargestImagePixels = qint64(1) << 25;

  // The control's size for a state: the bounding box of the rotated indicator.
  static QSize ControlSize(const TLumoIndicatorState& state);

  // Renders the whole control of size (in device-independent pixels) at devicePixelRatio:
  // the image in device pixels (carrying the ratio), the regions anew. hovered is true while
  // the pointer is over the control; the mouse action decides what it changes. System
  // colours come from palette. Returns false, keeping the previous results, when the image
  // would be too large or cannot be had.
  bool Rebuild(const TLumoIndicatorState& state, QSize size, qreal devicePixelRatio, bool hovered,
               const QPalette& palette);

  // The whole control, 32 bits per pixel, in device pixels with the ratio set. A rebuild lays
  // out what to paint; the pixels are painted when asked for, here or by ImagePart.
  const QImage& Image() const { return Painted(CanvasBitmap.rect()); }
  // The same image with at least the pixels that show the part shown (in device-independent
  // pixels) painted; others may not be yet. Painting a part of a control taller or wider than
  // its window needs no more.
  const QImage& ImagePart(const QRectF& shown) const;
  // The pixel ratio the image is rendered at, its pixels painted or not.
  qreal PixelRatio() const { return CanvasBitmap.devicePixelRatio(); }
  // The pixels painted so far, a pixel painted again counted again.
  qint64 PaintedPixels() const { return FPaintedPixels; }
  // The lit and unlit segments' pixels, in device pixels. Worked out when first asked for:
  // painting works out only those of the parts it paints.
  const QRegion& LitRegion() const { return Regions().Lit; }
  const QRegion& UnlitRegion() const { return Regions().Unlit; }
  // What stays opaque, in device-independent pixels: the bevels and lit segments (and the
  // unlit ones with tmBackOnly); the whole control with tmNone.
  const QRegion& ClipRegion() const { return Regions().Clip; }
  // Whether the last rebuild left anything out (any mode but tmNone).
  bool Clips() const { return FClips; }

  // The back material shaded for the light bevel faces, the dark ones and the unlit segments.
  const QImage& BackMaterialLight() const { return FBackMaterialL; }
  const QImage& BackMaterialDark() const { return FBackMaterialD; }
  const QImage& BackMaterialShadow() const { return FBackMaterialLD; }

private:
  struct TRebuild;
  // What a rebuild was made of: the state, the size, the ratio, the hover state and the five
  // colours as the palette gave them.
  struct TInputs {
    TLumoIndicatorState State;
    QSize Size;
    qreal PixelRatio = 0;
    bool Hovered = false;
    std::array<TColor, 5> Colors{};
    friend bool operator==(const TInputs&, const TInputs&) = default;
  };
  // What a layer covers: a region of its own (a bevel face), or the lit or unlit segments,
  // worked out for each part painted.
  enum class TShape { Region, Lit, Unlit };
  // One step of painting after the background: a region filled with a colour, or with a
  // material where there is one.
  struct TLayer {
    QRegion Region;
    QRgb Color = 0;
    QImage Material;
    TLumoMaterialMode Mode = mmStretch;
    TShape Shape = TShape::Region;
  };
  // What the segments and the clip region are worked out from (LumoRenderer.cpp).
  struct TSegmentPlan;
  // What the last rebuild paints, in this order.
  struct TPaintPlan {
    QRgb BackColor = 0;
    QImage BackMaterial;
    TLumoMaterialMode BackMode = mmStretch;
    qreal PixelRatio = 1.0;
    std::vector<TLayer> Layers;
    std::shared_ptr<const TSegmentPlan> Segments;
    // Whether a segment layer's material needs the whole segments to come out in a part as
    // in the whole image (see LaidAlikeAnywhere).
    bool WholeSegments = false;
  };
  struct TRegions {
    QRegion Lit, Unlit, Clip;
  };
  // Parts are painted on a grid of this many pixels a side.
  static constexpr int kPaintGrid = 64;

  void PlanBackground(const TRebuild& rebuild);
  void PlanBevels(const TRebuild& rebuild);
  void PlanBevel(const TRebuild& rebuild, TLumoBevelKind kind, qint32 inset, qint32 bevelWidth);
  void PlanSegments(const TRebuild& rebuild);
  void AddBackLayer(const TRebuild& rebuild, const QRegion& region, TColor color, const QImage& material);
  const QImage& Painted(const QRect& area) const;
  void PaintArea(const QRect& area) const;
  TRegions SegmentsIn(const QRect& area) const;
  const TRegions& Regions() const;
  TRegions WholeRegions() const;
  bool PrepareCanvas(QSize size);
  void PrepareBackMaterials(const TLumoIndicatorState& state, QSize canvas);

  // Painted as far as asked for: PaintedPart holds the pixels painted since the rebuild.
  mutable QImage CanvasBitmap;
  mutable QRegion PaintedPart;
  mutable qint64 FPaintedPixels = 0;
  TPaintPlan Plan;
  // The inputs of the last rebuild that made its image: a rebuild from the same ones keeps
  // what that made (a new size rebuilds at once, and again when its posted refresh arrives).
  std::optional<TInputs> Built;
  mutable std::optional<TRegions> FRegions;  // worked out when asked for
  bool FClips = false;
  // The shaded copies of the back material, made again when the material or the shadow
  // mode changes.
  qint64 ShadedKey = 0;
  TLumoMaterialShadowMode ShadedMode = msmDark;
  QSize ShadedSize;  // the image's size when the copies are made at it, else empty
  QImage FBackMaterialL;    // lightened by 64: light bevel faces
  QImage FBackMaterialD;    // darkened by 64: dark bevel faces
  QImage FBackMaterialLD;   // shaded by 32 per MaterialShadowMode: unlit segments
};

} // namespace LumoLiquidIndicator
