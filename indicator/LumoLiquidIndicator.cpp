// The indicator's properties, their change handling, its size at any rotation, hover and
// the deferred refresh. Rendering is in LumoLiquidIndicatorRender.cpp.
#include "LumoLiquidIndicator.h"

#include "LumoIndicatorAccessible.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QResizeEvent>

using namespace LumoLiquidIndicator;

namespace {

struct TSchemeColors {
  TColor Back, Bevel, NumberBack, NumberFore, NumberFore1;
};

// Indexed by TLumoColorScheme; the silver row equals the construction defaults.
constexpr TSchemeColors SchemeTable[] = {
    {0xDDDDDD, 0xDDDDDD, 0xD3D3D3, 0x363636, 0x0000FF},  // csSilver
    {0x000000, 0xDDDDDD, 0x363636, 0xDDDDDD, 0x0000FF},  // csInvSilver
    {0xFFFFFF, 0xDDDDDD, 0xFFFFFF, 0x000000, 0x0000FF},  // csWhite
    {0x000000, 0x808080, 0x000000, 0xFFFFFF, 0x0080FF},  // csBlack
    {0x000080, 0x000080, 0x400080, 0x48BFFF, 0x80FFFF},  // csPlasma
    {0x48BFFF, 0x48BFFF, 0x57A3F7, 0x000080, 0x2747FC},  // csInvPlasma
    {0xA00000, 0xA00000, 0x804000, 0xDAF376, 0x00FFFF},  // csZORA
};

} // namespace

TLumoLiquidIndicator::TLumoLiquidIndicator(QWidget* parent) : QWidget(parent) {
  LumoLiquidIndicator::InstallAccessibility();
  setFocusPolicy(Qt::NoFocus);
  // The size comes from the indicator's properties; a layout gives the control exactly that.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  // The fields and the empty materials have their defaults from the declaration.
  CanvasBitmap = QImage(width(), height(), QImage::Format_RGB32);
  resize(FIndicatorWidth, FIndicatorHeight);
  // The default size is the control's own, not one a form gave it (see Loaded).
  setAttribute(Qt::WA_Resized, false);
  // Without a parent the shape is computed and dropped; Loaded applies it.
  UpdateWindowRegion();
  RebuildIndicator();
}

TLumoLiquidIndicator::~TLumoLiquidIndicator() = default;

void TLumoLiquidIndicator::Loaded() {
  // A form that puts the control in a layout gives it no size: it takes the rotated box of the
  // indicator the form describes, which is also what it asks of the layout. A size given
  // while the control was hidden reaches it only when it is shown or grabbed; it is handled
  // now, so that the loaded control starts from its settled size.
  if (!testAttribute(Qt::WA_Resized)) {
    const TBoxSize box = RotatedBox(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle);
    MoveWindow(x(), y(), box.Width, box.Height, false);
  } else if (testAttribute(Qt::WA_PendingResizeEvent)) {
    setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent resize(size(), QSize());
    QCoreApplication::sendEvent(this, &resize);
  }
  Imloaded = true;
  PrepareBackMaterials();
  UpdateWindowRegion();
  RebuildIndicator();
  update();
}

// ---- Refreshing ------------------------------------------------------------------------------

void TLumoLiquidIndicator::Refresh() {
  // Nobody sees the control of a minimised window (a running countdown's, say): it rebuilds
  // once, when the window comes back. Where the window system unmaps a minimised window that
  // is its show event; where it does not (Wayland), the window's change of state.
  if (!isWindow() && window()->isMinimized()) {
    RebuildWhenShown = true;
    window()->installEventFilter(this);
    return;
  }
  RebuildWhenShown = false;
  RebuildIndicator();
  update();
}

bool TLumoLiquidIndicator::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::WindowStateChange && watched == window() && RebuildWhenShown &&
      !window()->isMinimized())
    Refresh();
  return QWidget::eventFilter(watched, e);
}

void TLumoLiquidIndicator::DeferredRefresh() {
  QCoreApplication::postEvent(this, new QEvent(CM_INDICATORREFRESH));
}

bool TLumoLiquidIndicator::event(QEvent* e) {
  if (e->type() == QEvent::Show && RebuildWhenShown)
    Refresh();
  if (e->type() == CM_INDICATORREFRESH) {
    QWidget::event(e);
    Refresh();
    return true;
  }
  const bool handled = QWidget::event(e);
  // On another screen, or shown on a screen other than the one it was rendered for, the
  // image is rendered anew at that screen's pixel ratio.
  if ((e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::Show) &&
      CanvasBitmap.devicePixelRatio() != devicePixelRatioF())
    Refresh();
  return handled;
}

template <typename T> bool TLumoLiquidIndicator::Store(T& field, T value) {
  if (field == value)
    return false;
  field = value;
  return true;
}

template <typename T, typename Signal>
void TLumoLiquidIndicator::StoreAndRefresh(T& field, T value, Signal changed) {
  if (!Store(field, value))
    return;
  Refresh();
  emit (this->*changed)(field);
}

// The indicator's size may change through its setters and through the size rule; either way
// the layout learns of the new rotated box and listeners of each side that changed.
void TLumoLiquidIndicator::NotifySizeChange(qint32 oldWidth, qint32 oldHeight) {
  if (FIndicatorWidth == oldWidth && FIndicatorHeight == oldHeight)
    return;
  updateGeometry();
  if (FIndicatorWidth != oldWidth)
    emit IndicatorWidthChanged(FIndicatorWidth);
  if (FIndicatorHeight != oldHeight)
    emit IndicatorHeightChanged(FIndicatorHeight);
}

QSize TLumoLiquidIndicator::sizeHint() const {
  const TBoxSize box = RotatedBox(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle);
  return {box.Width, box.Height};
}

QSize TLumoLiquidIndicator::minimumSizeHint() const {
  return sizeHint();
}

// ---- Setters ---------------------------------------------------------------------------------

void TLumoLiquidIndicator::SetColorScheme(TLumoColorScheme value) {
  // Always stored; a stored form's own colours win because it is not loaded yet.
  FColorScheme = value;
  const auto index = static_cast<size_t>(value);
  if (!LoadedOrDesigning() || index >= std::size(SchemeTable)) {
    emit ColorSchemeChanged(FColorScheme);
    return;
  }
  const TSchemeColors& scheme = SchemeTable[index];
  const TSchemeColors before{FBackColor, FBevelColor, FNumberBackColor, FNumberForeColor, FNumberForeColor1};
  FBackColor = scheme.Back;
  FBevelColor = scheme.Bevel;
  FNumberBackColor = scheme.NumberBack;
  FNumberForeColor = scheme.NumberFore;
  FNumberForeColor1 = scheme.NumberFore1;
  DeferredRefresh();
  NotifyColorChange(before.Back, FBackColor, &TLumoLiquidIndicator::BackColorChanged);
  NotifyColorChange(before.Bevel, FBevelColor, &TLumoLiquidIndicator::BevelColorChanged);
  NotifyColorChange(before.NumberBack, FNumberBackColor, &TLumoLiquidIndicator::NumberBackColorChanged);
  NotifyColorChange(before.NumberFore, FNumberForeColor, &TLumoLiquidIndicator::NumberForeColorChanged);
  NotifyColorChange(before.NumberFore1, FNumberForeColor1, &TLumoLiquidIndicator::NumberForeColor1Changed);
  emit ColorSchemeChanged(FColorScheme);
}

void TLumoLiquidIndicator::NotifyColorChange(TColor before, TColor after, void (TLumoLiquidIndicator::*changed)(qint32)) {
  if (before != after)
    emit (this->*changed)(after);
}

void TLumoLiquidIndicator::SetSignNumber(qint32 value) {
  if (value <= 0 || !Store(FSignNumber, value))
    return;
  if (LoadedOrDesigning()) {
    UpdateWindowRegion();
    Refresh();
  }
  emit SignNumberChanged(FSignNumber);
}

void TLumoLiquidIndicator::SetIndicatorWidth(qint32 value) {
  const qint32 oldWidth = FIndicatorWidth;
  const qint32 oldHeight = FIndicatorHeight;
  if (value <= 0 || !Store(FIndicatorWidth, value))
    return;
  if (LoadedOrDesigning())
    ResizeToRotatedBox();
  NotifySizeChange(oldWidth, oldHeight);
}

void TLumoLiquidIndicator::SetIndicatorHeight(qint32 value) {
  const qint32 oldWidth = FIndicatorWidth;
  const qint32 oldHeight = FIndicatorHeight;
  if (value <= 0 || !Store(FIndicatorHeight, value))
    return;
  if (LoadedOrDesigning())
    ResizeToRotatedBox();
  NotifySizeChange(oldWidth, oldHeight);
}

void TLumoLiquidIndicator::SetIndicatorAngle(qint32 value) {
  if (!Store(FIndicatorAngle, value))
    return;
  if (LoadedOrDesigning()) {
    const TBoxSize box = RotatedBox(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle);
    MoveWindow(x(), y(), box.Width, box.Height, true);
    UpdateWindowRegion();
    RebuildIndicator();
    update();
  }
  updateGeometry();
  emit IndicatorAngleChanged(FIndicatorAngle);
}

void TLumoLiquidIndicator::SetIndicatorGap(qint32 value) {
  StoreAndRefresh(FIndicatorGap, value, &TLumoLiquidIndicator::IndicatorGapChanged);
}

void TLumoLiquidIndicator::SetIndicatorstring(const QString& value) {
  if (!Store(FIndicatorString, value))
    return;
  // Screen readers and GUI test tools read the shown text as the control's name and value.
  setAccessibleName(FIndicatorString);
  LumoLiquidIndicator::AnnounceText(this, FIndicatorString);
  Refresh();
  emit IndicatorstringChanged(FIndicatorString);
}

void TLumoLiquidIndicator::SetIndicatorKind(TLumoIndicatorKind value) {
  StoreAndRefresh(FIndicatorKind, value, &TLumoLiquidIndicator::IndicatorKindChanged);
}

void TLumoLiquidIndicator::SetInnerBevel(TLumoBevelKind value) {
  StoreAndRefresh(FInnerBevel, value, &TLumoLiquidIndicator::InnerBevelChanged);
}

void TLumoLiquidIndicator::SetOuterBevel(TLumoBevelKind value) {
  StoreAndRefresh(FOuterBevel, value, &TLumoLiquidIndicator::OuterBevelChanged);
}

void TLumoLiquidIndicator::SetInnerBevelWidth(qint32 value) {
  if (value > 0)
    StoreAndRefresh(FInnerBevelWidth, value, &TLumoLiquidIndicator::InnerBevelWidthChanged);
}

void TLumoLiquidIndicator::SetOuterBevelWidth(qint32 value) {
  if (value > 0)
    StoreAndRefresh(FOuterBevelWidth, value, &TLumoLiquidIndicator::OuterBevelWidthChanged);
}

void TLumoLiquidIndicator::SetBevelColor(qint32 value) {
  StoreAndRefresh(FBevelColor, value, &TLumoLiquidIndicator::BevelColorChanged);
}
void TLumoLiquidIndicator::SetBackColor(qint32 value) {
  StoreAndRefresh(FBackColor, value, &TLumoLiquidIndicator::BackColorChanged);
}
void TLumoLiquidIndicator::SetNumberForeColor(qint32 value) {
  StoreAndRefresh(FNumberForeColor, value, &TLumoLiquidIndicator::NumberForeColorChanged);
}
void TLumoLiquidIndicator::SetNumberForeColor1(qint32 value) {
  StoreAndRefresh(FNumberForeColor1, value, &TLumoLiquidIndicator::NumberForeColor1Changed);
}
void TLumoLiquidIndicator::SetNumberBackColor(qint32 value) {
  StoreAndRefresh(FNumberBackColor, value, &TLumoLiquidIndicator::NumberBackColorChanged);
}

void TLumoLiquidIndicator::SetIndicatorStyle(TLumoIndicatorStyle value) {
  StoreAndRefresh(FIndicatorStyle, value, &TLumoLiquidIndicator::IndicatorStyleChanged);
}

void TLumoLiquidIndicator::SetMouseAction(TLumoMouseAction value) {
  StoreAndRefresh(FMouseAction, value, &TLumoLiquidIndicator::MouseActionChanged);
}

void TLumoLiquidIndicator::SetTransparentMode(TLumoTransparentMode value) {
  if (!Store(FTransparentMode, value))
    return;
  // Opaque only when everything is painted; otherwise the parent shows through outside
  // the clip region.
  setAttribute(Qt::WA_OpaquePaintEvent, FTransparentMode == tmNone);
  Refresh();
  emit TransparentModeChanged(FTransparentMode);
}

// A material is kept as it is given, except an indexed image whose colour table does not
// cover its pixels (an 8-bit image without a colour table, say), which Qt cannot draw: that
// one is kept in 32 bits, the missing colours as grey levels. Converting every material
// would change the pixels of a stretched one, so the others keep their format.
namespace {

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

QImage TLumoLiquidIndicator::DrawableMaterial(const QImage& value) {
  const QImage::Format format = value.format();
  const bool indexed = format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
                       format == QImage::Format_Indexed8;
  if (!indexed || ColoursCovered(value))
    return value.copy();
  QImage image = value.copy();
  QList<QRgb> colours = image.colorTable();
  for (int i = int(colours.size()); i < (1 << image.depth()); ++i)
    colours.append(qRgb(i * 255 / ((1 << image.depth()) - 1), i * 255 / ((1 << image.depth()) - 1),
                        i * 255 / ((1 << image.depth()) - 1)));
  image.setColorTable(colours);
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

void TLumoLiquidIndicator::SetBackMaterial(const QImage& value) {
  // No equality test: assigning a material always copies and rebuilds.
  FBackMaterial = DrawableMaterial(value);
  PrepareBackMaterials();
  Refresh();
  emit BackMaterialChanged(FBackMaterial);
}

void TLumoLiquidIndicator::SetForeMaterial(const QImage& value) {
  FForeMaterial = DrawableMaterial(value);
  Refresh();
  emit ForeMaterialChanged(FForeMaterial);
}

void TLumoLiquidIndicator::SetMaterialShadowMode(TLumoMaterialShadowMode value) {
  if (!Store(FMaterialShadowMode, value))
    return;
  PrepareBackMaterials();
  Refresh();
  emit MaterialShadowModeChanged(FMaterialShadowMode);
}

void TLumoLiquidIndicator::SetMaterialMode(TLumoMaterialMode value) {
  StoreAndRefresh(FMaterialMode, value, &TLumoLiquidIndicator::MaterialModeChanged);
}

void TLumoLiquidIndicator::SetForeMaterialMode(TLumoMaterialMode value) {
  StoreAndRefresh(FForeMaterialMode, value, &TLumoLiquidIndicator::ForeMaterialModeChanged);
}

// ---- Size ------------------------------------------------------------------------------------

void TLumoLiquidIndicator::ResizeToRotatedBox() {
  const TBoxSize box = RotatedBox(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle);
  MoveWindow(x(), y(), box.Width, box.Height, false);
  UpdateWindowRegion();
  RebuildIndicator();
  // The area the old shape uncovered belongs to the parent.
  if (QWidget* parent = parentWidget())
    parent->update();
}

// Moves and sizes the control; the size handling has run when this returns, even for a
// hidden control, whose resize event Qt would otherwise deliver only when it is shown.
void TLumoLiquidIndicator::MoveWindow(qint32 left, qint32 top, qint32 width, qint32 height,
                                      bool repaint) {
  const QSize oldSize = size();
  const quint64 sizeMessages = FSizeMessages;
  // No maximum size on the widget: a layout would then no longer hold a fixed control to
  // its size hint. The size is held here and in resizeEvent instead.
  setGeometry(left, top, std::min(width, kLargestControlSide), std::min(height, kLargestControlSide));
  if (size() != oldSize && FSizeMessages == sizeMessages) {
    setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent resize(size(), oldSize);
    QCoreApplication::sendEvent(this, &resize);
  }
  if (repaint)
    update();
}

void TLumoLiquidIndicator::resizeEvent(QResizeEvent* e) {
  ++FSizeMessages;
  QWidget::resizeEvent(e);
  const QSize bounded = size().boundedTo({kLargestControlSide, kLargestControlSide});
  if (bounded != size()) {
    MoveWindow(x(), y(), bounded.width(), bounded.height(), false);  // comes back here
    return;
  }
  ApplySizeRule();
}

// At 0 and 180 degrees resizing the control resizes the indicator, at 90 and 270 degrees
// too with width and height exchanged; at any other angle the control is put back to the
// rotated box of the unchanged indicator.
void TLumoLiquidIndicator::ApplySizeRule() {
  const qint32 oldWidth = FIndicatorWidth;
  const qint32 oldHeight = FIndicatorHeight;
  switch (SizeRuleFor(FIndicatorAngle)) {
  case TSizeRule::Straight:
    FIndicatorHeight = height();
    FIndicatorWidth = width();
    UpdateWindowRegion();
    DeferredRefresh();
    NotifySizeChange(oldWidth, oldHeight);
    break;
  case TSizeRule::Quarter:
    FIndicatorHeight = width();
    FIndicatorWidth = height();
    UpdateWindowRegion();
    Refresh();
    NotifySizeChange(oldWidth, oldHeight);
    break;
  case TSizeRule::Other: {
    const TBoxSize box = RotatedBox(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle);
    MoveWindow(x(), y(), box.Width, box.Height, false);
    if (QWidget* parent = parentWidget())
      parent->update();
    DeferredRefresh();
    break;
  }
  }
}

// ---- Hover -----------------------------------------------------------------------------------

void TLumoLiquidIndicator::enterEvent(QEnterEvent* e) {
  Moused = true;
  DeferredRefresh();
  QWidget::enterEvent(e);
  emit onMouseEnter(this);
}

void TLumoLiquidIndicator::leaveEvent(QEvent* e) {
  Moused = false;
  DeferredRefresh();
  QWidget::leaveEvent(e);
  emit onMouseExit(this);
}
