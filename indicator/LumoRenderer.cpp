// The indicator's rebuild: the polygon lists, the whole image and the regions anew from the
// property values, drawn background, bevels, segments in this order.
#include "LumoRenderer_p.h"
#include "LumoGeometry_p.h"
#include "LumoMaterials_p.h"
#include "LumoRegions_p.h"

#include <QColorSpace>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace LumoLiquidIndicator {

namespace {

// Indexed by TLumoColorScheme; the silver row equals the defaults.
constexpr TSchemeColors SchemeTable[] = {
    {0xDDDDDD, 0xDDDDDD, 0xD3D3D3, 0x363636, 0x0000FF},  // csSilver
    {0x000000, 0xDDDDDD, 0x363636, 0xDDDDDD, 0x0000FF},  // csInvSilver
    {0xFFFFFF, 0xDDDDDD, 0xFFFFFF, 0x000000, 0x0000FF},  // csWhite
    {0x000000, 0x808080, 0x000000, 0xFFFFFF, 0x0080FF},  // csBlack
    {0x000080, 0x000080, 0x400080, 0x48BFFF, 0x80FFFF},  // csPlasma
    {0x48BFFF, 0x48BFFF, 0x57A3F7, 0x000080, 0x2747FC},  // csInvPlasma
    {0xA00000, 0xA00000, 0x804000, 0xDAF376, 0x00FFFF},  // csZORA
};

// The palette colour that stands for a system colour index (the lowest byte of a negative
// TColor), in the roles the usual indices play.
QColor SystemColor(const QPalette& palette, int index) {
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

TSysColorResolver SystemColors(const QPalette& palette) {
  return [&palette](int index) {
    const QColor c = SystemColor(palette, index);
    return TColor(c.red() | (c.green() << 8) | (c.blue() << 16));
  };
}

QRgb ToRgb(TColor rgb) { return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

// Whether every pixel of an indexed image has a colour in its table.
bool ColoursCovered(const QImage& image) {
  const int count = image.colorCount();
  if (count >= (1 << image.depth()))
    return true;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelIndex(x, y) >= count)
        return false;
  }
  return true;
}

} // namespace

std::optional<TSchemeColors> SchemeColors(TLumoColorScheme scheme) {
  const auto index = static_cast<size_t>(scheme);
  if (index >= std::size(SchemeTable))
    return std::nullopt;
  return SchemeTable[index];
}

// Converting every material would change the pixels of a stretched one, so only the indexed
// images Qt cannot draw change their format. Any other is kept as the shared value it is: a
// change the caller makes later goes to the caller's own copy, and a photo's megabytes are
// neither copied nor touched.
QImage DrawableMaterial(const QImage& value) {
  const QImage::Format format = value.format();
  const bool indexed = format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
                       format == QImage::Format_Indexed8;
  if (!indexed || ColoursCovered(value))
    return value;
  QImage image = value.copy();
  QList<QRgb> colours = image.colorTable();
  const int levels = 1 << image.depth();
  for (int i = int(colours.size()); i < levels; ++i)
    colours.append(qRgb(i * 255 / (levels - 1), i * 255 / (levels - 1), i * 255 / (levels - 1)));
  image.setColorTable(colours);
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

TColor ResolveColor(TColor color, const QPalette& palette) { return ColorToRGB(color, SystemColors(palette)); }

QColor ToQColor(TColor color, const QPalette& palette) {
  const TColor rgb = ResolveColor(color, palette);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

// The inputs of one rebuild, fixed at its start: the layout of the image (its sizes in the
// image's pixels, the control's size among them), whether the lit segments take the hover
// colour, and the same layout in logical pixels (the clip region's).
struct TLumoRenderer::TRebuild {
  const TLumoIndicatorState& State;
  TSysColorResolver SystemColors;
  TIndicatorLayoutSettings Layout;
  TIndicatorLayoutSettings Logical;
  bool HoverColor = false;
  // The shaded back materials and the fore material as painting lays them (see LaidAcross).
  QImage Light, Dark, Shadow, Fore;

  TColor Resolve(TColor color) const { return ColorToRGB(color, SystemColors); }
};

// What the segments and the clip region of a rebuild are worked out from, when painting or
// a caller asks for them: the layout in the image's pixels and in logical ones, the image's
// rectangle, the control's size, the transparent mode, and whether the image has pixels.
struct TLumoRenderer::TSegmentPlan {
  TIndicatorLayoutSettings Layout;
  TIndicatorLayoutSettings Logical;
  QRect Bounds;
  QSize LogicalSize;
  TLumoTransparentMode Mode = tmNone;
  bool Drawn = false;
};

QSize TLumoRenderer::ControlSize(const TLumoIndicatorState& state) {
  const TBoxSize box = RotatedBox(state.FIndicatorWidth, state.FIndicatorHeight, state.FIndicatorAngle);
  return {box.Width, box.Height};
}

namespace {

TIndicatorLayoutSettings LayoutOf(const TLumoIndicatorState& state, QSize size, bool hovered) {
  TIndicatorLayoutSettings layout;
  layout.SignNumber = state.FSignNumber;
  layout.IndicatorWidth = state.FIndicatorWidth;
  layout.IndicatorHeight = state.FIndicatorHeight;
  layout.IndicatorAngle = state.FIndicatorAngle;
  layout.IndicatorGap = state.FIndicatorGap;
  layout.Indicatorstring = state.FIndicatorString;
  layout.IndicatorKind = state.FIndicatorKind;
  layout.InnerBevel = state.FInnerBevel;
  layout.OuterBevel = state.FOuterBevel;
  layout.InnerBevelWidth = state.FInnerBevelWidth;
  layout.OuterBevelWidth = state.FOuterBevelWidth;
  layout.IndicatorStyle = state.FIndicatorStyle;
  layout.Hovering = hovered && (state.FMouseAction == maWidth || state.FMouseAction == maBoth);
  layout.ControlWidth = size.width();
  layout.ControlHeight = size.height();
  return layout;
}

} // namespace

bool TLumoRenderer::Rebuild(const TLumoIndicatorState& state, QSize size, qreal devicePixelRatio, bool hovered,
                            const QPalette& palette) {
  TRebuild rebuild{state, SystemColors(palette), {}, LayoutOf(state, size, hovered),
                   hovered && (state.FMouseAction == maColor || state.FMouseAction == maBoth), {}, {}, {}, {}};
  TInputs inputs{state, size, devicePixelRatio, hovered,
                 {rebuild.Resolve(state.FBevelColor), rebuild.Resolve(state.FBackColor),
                  rebuild.Resolve(state.FNumberForeColor), rebuild.Resolve(state.FNumberForeColor1),
                  rebuild.Resolve(state.FNumberBackColor)}};
  if (Built == inputs)
    return true;
  Built.reset();
  // The image is rendered in device pixels, so that it stays sharp on a scaled screen.
  rebuild.Layout = AtPixelRatio(rebuild.Logical, devicePixelRatio);
  PrepareBackMaterials(state, {rebuild.Layout.ControlWidth, rebuild.Layout.ControlHeight});
  if (!PrepareCanvas({rebuild.Layout.ControlWidth, rebuild.Layout.ControlHeight}))
    return false;  // the previous image stays, with its regions
  FClips = state.FTransparentMode != tmNone;
  FRegions.reset();
  Plan = {};
  Plan.PixelRatio = devicePixelRatio;
  Plan.Segments = std::make_shared<const TSegmentPlan>(
      TSegmentPlan{rebuild.Layout, rebuild.Logical, CanvasBitmap.rect(), size, state.FTransparentMode,
                   !CanvasBitmap.isNull()});
  PaintedPart = QRegion();
  Built = std::move(inputs);
  if (CanvasBitmap.isNull())  // a control without a pixel shows nothing, whatever its state
    return true;
  const QSize canvas = CanvasBitmap.size();
  rebuild.Light = LaidAcross(FBackMaterialL, state.FMaterialMode, canvas);
  rebuild.Dark = LaidAcross(FBackMaterialD, state.FMaterialMode, canvas);
  rebuild.Shadow = LaidAcross(FBackMaterialLD, state.FMaterialMode, canvas);
  rebuild.Fore = LaidAcross(state.FForeMaterial, state.FForeMaterialMode, canvas);
  PlanBackground(rebuild);
  PlanBevels(rebuild);
  PlanSegments(rebuild);
  // The image carries the ratio, so that painting copies it one to one.
  CanvasBitmap.setDevicePixelRatio(devicePixelRatio);
  return true;
}

// In the image's pixels, a pixel to spare around for the rounding of a fractional ratio.
const QImage& TLumoRenderer::ImagePart(const QRectF& shown) const {
  const qreal ratio = PixelRatio();
  return Painted(QRectF(shown.topLeft() * ratio, shown.size() * ratio).toAlignedRect().adjusted(-1, -1, 1, 1));
}

namespace {

// The part of the image that holds area, widened to the painting grid.
QRect OnGrid(const QRect& area, const QRect& image, int grid) {
  const QRect part = area & image;
  if (part.isEmpty())
    return {};
  const QPoint from(part.left() / grid * grid, part.top() / grid * grid);
  const QPoint to((part.right() / grid + 1) * grid - 1, (part.bottom() / grid + 1) * grid - 1);
  return QRect(from, to) & image;
}

} // namespace

// The grid's squares that hold pixels of area and are not painted yet are painted now.
const QImage& TLumoRenderer::Painted(const QRect& area) const {
  const QRect part = OnGrid(area, CanvasBitmap.rect(), kPaintGrid);
  const QRegion missing = QRegion(part).subtracted(PaintedPart);
  if (missing.isEmpty())
    return CanvasBitmap;
  for (const QRect& rect : missing)
    PaintArea(rect);
  PaintedPart |= part;
  return CanvasBitmap;
}

// The plan's steps inside area, drawn in the image's own pixels, which at a ratio other than 1
// are device pixels.
void TLumoRenderer::PaintArea(const QRect& area) const {
  FPaintedPixels += qint64(area.width()) * area.height();
  CanvasBitmap.setDevicePixelRatio(1.0);
  FillRgn(CanvasBitmap, QRegion(area), Plan.BackColor, area);
  if (!Plan.BackMaterial.isNull())
    DrawMaterial(CanvasBitmap, Plan.BackMaterial, Plan.BackMode, Plan.PixelRatio, area);
  const TRegions segments = SegmentsIn(area);
  for (const TLayer& layer : Plan.Layers) {
    const QRegion& region = layer.Shape == TShape::Lit     ? segments.Lit
                            : layer.Shape == TShape::Unlit ? segments.Unlit
                                                           : layer.Region;
    if (layer.Material.isNull())
      FillRgn(CanvasBitmap, region, layer.Color, area);
    else
      DrawMaterialInRegion(CanvasBitmap, region, layer.Material, layer.Mode, Plan.PixelRatio, area);
  }
  CanvasBitmap.setDevicePixelRatio(Plan.PixelRatio);
}

namespace {

constexpr qsizetype kHugePage = qsizetype(2) << 20;

// The bytes of a row of an image Qt would make, each row starting on 32 bits.
qsizetype RowBytes(int width, QImage::Format format) {
  return (qsizetype(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
}

// Whether an image takes at least two 2 MB pages.
bool Large(QSize size, QImage::Format format) {
  return size.width() > 0 && RowBytes(size.width(), format) * size.height() >= 2 * kHugePage;
}

// A large image's memory, asked of the system in 2 MB pages where it gives them on request
// (Linux): a rebuild to a new size touches all of its image, and touching fresh memory
// 4 KB at a time costs more than painting it (some 3 ms a megabyte on a virtual machine,
// against a fortieth of that in 2 MB pages). Elsewhere, and for small images, as Qt gives it.
QImage NewImage(QSize size, QImage::Format format) {
#if defined(Q_OS_LINUX)
  const qsizetype stride = RowBytes(size.width(), format);
  const qsizetype bytes = (stride * size.height() + kHugePage - 1) / kHugePage * kHugePage;
  if (Large(size, format)) {
    if (void* memory = std::aligned_alloc(kHugePage, size_t(bytes))) {
      madvise(memory, size_t(bytes), MADV_HUGEPAGE);
      return QImage(static_cast<uchar*>(memory), size.width(), size.height(), stride, format,
                    [](void* memory) { std::free(memory); }, memory);
    }
  }
#endif
  return QImage(size, format);
}

// A copy of an image in memory from NewImage.
QImage CopyOf(const QImage& image) {
  if (!Large(image.size(), image.format()))
    return image.copy();
  QImage copy = NewImage(image.size(), image.format());
  if (copy.isNull())
    return image.copy();
  const qsizetype rowBytes = std::min(copy.bytesPerLine(), image.bytesPerLine());
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(copy.scanLine(y), image.constScanLine(y), size_t(rowBytes));
  copy.setColorTable(image.colorTable());
  copy.setDevicePixelRatio(image.devicePixelRatio());
  copy.setColorSpace(image.colorSpace());
  return copy;
}

// An image in 24 bits per pixel, made in memory from NewImage a band of rows at a time:
// each pixel is converted on its own, wherever its rows are.
QImage Rgb888Of(const QImage& image) {
  constexpr int kBandRows = 64;
  if (image.format() == QImage::Format_RGB888 || !Large(image.size(), QImage::Format_RGB888))
    return image.convertToFormat(QImage::Format_RGB888);
  QImage converted = NewImage(image.size(), QImage::Format_RGB888);
  if (converted.isNull())
    return image.convertToFormat(QImage::Format_RGB888);
  for (int top = 0; top < image.height(); top += kBandRows) {
    const int rows = std::min(kBandRows, image.height() - top);
    QImage band(image.constScanLine(top), image.width(), rows, image.bytesPerLine(), image.format());
    band.setColorTable(image.colorTable());
    const QImage part = band.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rows; ++y)
      std::memcpy(converted.scanLine(top + y), part.constScanLine(y), size_t(image.width()) * 3);
  }
  converted.setDevicePixelRatio(image.devicePixelRatio());
  converted.setColorSpace(image.colorSpace());
  return converted;
}

} // namespace

void PreferLargePages(const QImage& image) {
#if defined(Q_OS_LINUX)
  if (image.sizeInBytes() < 2 * kHugePage)
    return;
  const quintptr first = (quintptr(image.constBits()) + kHugePage - 1) / kHugePage * kHugePage;
  const quintptr end = (quintptr(image.constBits()) + quintptr(image.sizeInBytes())) / kHugePage * kHugePage;
  unsigned char resident = 0;
  if (end <= first || mincore(reinterpret_cast<void*>(first), 1, &resident) != 0 || (resident & 1) != 0)
    return;
  madvise(reinterpret_cast<void*>(first), size_t(end - first), MADV_HUGEPAGE);
#else
  Q_UNUSED(image);
#endif
}

// Every rebuild paints the image anew, as far as it is asked for; an image of the right size
// is reused. An image larger than
// kLargestImagePixels, or one the system cannot give, is not made: false, with a warning.
bool TLumoRenderer::PrepareCanvas(QSize size) {
  if (CanvasBitmap.size() == size && CanvasBitmap.format() == QImage::Format_RGB32)
    return true;
  if (qint64(size.width()) * size.height() > kLargestImagePixels) {
    qWarning("TLumoLiquidIndicator: an image of %d x %d pixels would be larger than the %lld pixels "
             "allowed; the indicator keeps its previous image",
             size.width(), size.height(), static_cast<long long>(kLargestImagePixels));
    return false;
  }
  QImage image = NewImage(size, QImage::Format_RGB32);
  if (image.isNull() && !size.isEmpty()) {
    qWarning("TLumoLiquidIndicator: no memory for an image of %d x %d pixels; the indicator keeps its "
             "previous image",
             size.width(), size.height());
    return false;
  }
  CanvasBitmap = std::move(image);
  return true;
}

namespace {

// Lowers (raises) each colour channel of a 32-bit image by amount, clamped, as the byte
// shading of a 24-bit one does.
void ShadePixels(QImage& image, qint32 amount) {
  const auto shade = [amount](int channel) { return std::clamp(channel + amount, 0, 255); };
  for (int y = 0; y < image.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      row[x] = qRgb(shade(qRed(row[x])), shade(qGreen(row[x])), shade(qBlue(row[x])));
  }
}

} // namespace

// The three shaded copies of the back material, shaded channel by channel. A stretched
// material larger than the image is first laid at the image's size, as drawing would lay it,
// and shaded there: the same pixels for a fraction of the work.
void TLumoRenderer::PrepareBackMaterials(const TLumoIndicatorState& state, QSize canvas) {
  const QImage& material = state.FBackMaterial;
  const bool atCanvas = state.FMaterialMode == mmStretch && !canvas.isEmpty() &&
                        qint64(material.width()) * material.height() > qint64(canvas.width()) * canvas.height();
  const QSize size = atCanvas ? canvas : QSize();
  if (ShadedKey == material.cacheKey() && ShadedMode == state.FMaterialShadowMode && ShadedSize == size)
    return;
  ShadedKey = material.cacheKey();
  ShadedMode = state.FMaterialShadowMode;
  ShadedSize = size;
  const QImage base = Rgb888Of(material);
  if (atCanvas) {
    QImage laid = NewImage(canvas, QImage::Format_RGB32);
    laid.fill(0);
    {
      QPainter painter(&laid);
      painter.drawImage(laid.rect(), base);
    }
    FBackMaterialD = CopyOf(laid);
    FBackMaterialL = CopyOf(laid);
    FBackMaterialLD = laid;
    ShadePixels(FBackMaterialD, -64);
    ShadePixels(FBackMaterialL, 64);
    if (ShadedMode != msmNone)
      ShadePixels(FBackMaterialLD, ShadedMode == msmDark ? -32 : 32);
    return;
  }
  FBackMaterialD = CopyOf(base);
  FBackMaterialL = CopyOf(base);
  FBackMaterialLD = CopyOf(base);
  if (base.isNull())
    return;
  const qint32 w = base.width(), h = base.height();
  DarkenBytes(FBackMaterialD.bits(), w, h, FBackMaterialD.bytesPerLine(), 64);
  LightenBytes(FBackMaterialL.bits(), w, h, FBackMaterialL.bytesPerLine(), 64);
  if (ShadedMode == msmDark)
    DarkenBytes(FBackMaterialLD.bits(), w, h, FBackMaterialLD.bytesPerLine(), 32);
  else if (ShadedMode == msmLight)
    LightenBytes(FBackMaterialLD.bits(), w, h, FBackMaterialLD.bytesPerLine(), 32);
}

// Background, never part of the clip region. A material that is not opaque shows the back
// colour through it, never an earlier image.
void TLumoRenderer::PlanBackground(const TRebuild& rebuild) {
  Plan.BackColor = ToRgb(rebuild.Resolve(rebuild.State.FBackColor));
  if (rebuild.State.FBackMaterial.width() != 0)
    Plan.BackMaterial = LaidAcross(OverColour(rebuild.State.FBackMaterial, Plan.BackColor, rebuild.State.FMaterialMode,
                                              CanvasBitmap.size()),
                                   rebuild.State.FMaterialMode, CanvasBitmap.size());
  Plan.BackMode = rebuild.State.FMaterialMode;
}

// A region filled with a colour, or with a back material (tiles enlarged by the ratio) when
// there is one.
void TLumoRenderer::AddBackLayer(const TRebuild& rebuild, const QRegion& region, TColor color,
                                 const QImage& material) {
  if (rebuild.State.FBackMaterial.width() != 0)
    Plan.Layers.push_back({region, 0, material, rebuild.State.FMaterialMode});
  else
    Plan.Layers.push_back({region, ToRgb(rebuild.Resolve(color)), {}, mmStretch});
}

// The outer bevel, then the inner one directly inside it.
void TLumoRenderer::PlanBevels(const TRebuild& rebuild) {
  const TIndicatorLayoutSettings& layout = rebuild.Layout;
  PlanBevel(rebuild, layout.OuterBevel, 0, layout.OuterBevelWidth);
  PlanBevel(rebuild, layout.InnerBevel, layout.OuterBevel != bkNone ? layout.OuterBevelWidth : 0,
            layout.InnerBevelWidth);
}

// The faces towards the light come out light on a raised bevel, dark on a sunken one.
void TLumoRenderer::PlanBevel(const TRebuild& rebuild, TLumoBevelKind kind, qint32 inset, qint32 bevelWidth) {
  if (kind == bkNone)
    return;
  const TIndicatorLayoutSettings& layout = rebuild.Layout;
  const std::array<TPoint, 16> points =
      BevelPoints(layout.IndicatorWidth, layout.IndicatorHeight, inset, bevelWidth, layout.IndicatorAngle,
                  layout.ControlWidth, layout.ControlHeight);
  const TColor light = LighterColor(rebuild.State.FBevelColor, rebuild.SystemColors);
  const TColor dark = DarkerColor(rebuild.State.FBevelColor, rebuild.SystemColors);
  for (const TBevelFaceRole& face : BevelFaces(LightingOctant(layout.IndicatorAngle), kind)) {
    const QRegion region = PolygonRegion(points.data() + 4 * static_cast<int>(face.Face), 4, CanvasBitmap.rect());
    AddBackLayer(rebuild, region, face.Light ? light : dark, face.Light ? rebuild.Light : rebuild.Dark);
  }
}

// Lit segments, then unlit ones, their regions worked out for each part painted.
void TLumoRenderer::PlanSegments(const TRebuild& rebuild) {
  const TLumoIndicatorState& state = rebuild.State;
  if (state.FForeMaterial.width() == 0 || rebuild.HoverColor)
    Plan.Layers.push_back(
        {{}, ToRgb(rebuild.Resolve(rebuild.HoverColor ? state.FNumberForeColor1 : state.FNumberForeColor)), {},
         mmStretch, TShape::Lit});
  else
    Plan.Layers.push_back({{}, 0, rebuild.Fore, state.FForeMaterialMode, TShape::Lit});
  AddBackLayer(rebuild, {}, state.FNumberBackColor, rebuild.Shadow);
  Plan.Layers.back().Shape = TShape::Unlit;
  const QSize canvas = CanvasBitmap.size();
  for (const TLayer& layer : Plan.Layers)
    if (layer.Shape != TShape::Region && !LaidAlikeAnywhere(layer.Material, layer.Mode, Plan.PixelRatio, canvas))
      Plan.WholeSegments = true;
}

// The lit and unlit segments inside area: the polygons of the cells that reach into it,
// counted there only. The whole regions serve once they are known, and where a material is
// laid as the whole segments lie.
TLumoRenderer::TRegions TLumoRenderer::SegmentsIn(const QRect& area) const {
  if (FRegions || Plan.WholeSegments)
    return {Regions().Lit, Regions().Unlit, {}};
  const TSegmentPlan& plan = *Plan.Segments;
  const TIndicatorPolygons polygons =
      BuildVisibleIndicatorPolygons(plan.Layout, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
  return {PolyPolygonRegionIn(polygons.Black, plan.Bounds, area), PolyPolygonRegionIn(polygons.Gray, plan.Bounds, area),
          {}};
}

const TLumoRenderer::TRegions& TLumoRenderer::Regions() const {
  if (!FRegions)
    FRegions = WholeRegions();
  return *FRegions;
}

namespace {

// The clip region of a state laid out in logical pixels: painting clips in those, as the
// window shape does, so at a ratio other than 1 the region is made anew from the same parts.
QRegion LogicalClipRegion(const TIndicatorLayoutSettings& logical, TLumoTransparentMode mode) {
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
  if (mode == tmBackOnly && !polygons.Gray.Points.empty())
    clip |= PolyPolygonRegion(polygons.Gray, bounds);
  return clip;
}

} // namespace

// The whole regions of the last rebuild: the segments of every cell that reaches into the
// image, and what stays opaque, the drawn bevel faces with the lit (and, with tmBackOnly, the
// unlit) segments.
TLumoRenderer::TRegions TLumoRenderer::WholeRegions() const {
  TRegions regions;
  if (!Plan.Segments)
    return regions;
  const TSegmentPlan& plan = *Plan.Segments;
  if (plan.Drawn) {
    const TIndicatorPolygons polygons = BuildVisibleIndicatorPolygons(plan.Layout);
    if (!polygons.Black.Points.empty())
      regions.Lit = PolyPolygonRegion(polygons.Black, plan.Bounds);
    if (!polygons.Gray.Points.empty())
      regions.Unlit = PolyPolygonRegion(polygons.Gray, plan.Bounds);
  }
  if (plan.Mode == tmNone) {
    regions.Clip = QRegion(QRect(QPoint(0, 0), plan.LogicalSize));
  } else if (plan.Drawn && Plan.PixelRatio != 1.0) {
    regions.Clip = LogicalClipRegion(plan.Logical, plan.Mode);
  } else if (plan.Drawn) {
    for (const TLayer& layer : Plan.Layers)
      if (layer.Shape == TShape::Region)
        regions.Clip |= layer.Region;
    regions.Clip |= regions.Lit;
    if (plan.Mode == tmBackOnly)
      regions.Clip |= regions.Unlit;
  }
  return regions;
}

} // namespace LumoLiquidIndicator
