// The indicator's properties, their change handling, its size at any rotation, hover, the
// deferred refresh, its window shape and painting. The image comes from its renderer.
#include "LumoLiquidIndicator_p.h"
#include "LumoIndicatorAccessible_p.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QResizeEvent>

using namespace LumoLiquidIndicator;

static_assert(TLumoLiquidIndicator::kLargestImagePixels == TLumoRenderer::kLargestImagePixels);

TLumoLiquidIndicator::TLumoLiquidIndicator(QWidget* parent)
    : QWidget(parent), d(std::make_unique<TLumoLiquidIndicatorPrivate>(this)) {
  LumoLiquidIndicator::InstallAccessibility();
  setFocusPolicy(Qt::NoFocus);
  // The size comes from the indicator's properties; a layout gives the control exactly that.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  // The fields and the empty materials have their defaults from the declaration.
  resize(d->FIndicatorWidth, d->FIndicatorHeight);
  // The default size is the control's own, not one a form gave it (see Loaded).
  setAttribute(Qt::WA_Resized, false);
  // Without a parent the shape is computed and dropped; Loaded applies it.
  d->UpdateWindowRegion();
  d->RebuildIndicator();
  d->ConnectQColorSignals();
}

TLumoLiquidIndicator::~TLumoLiquidIndicator() = default;

void TLumoLiquidIndicator::Loaded() {
  // Once is enough: the first polish loads a control nobody loaded, and a later call (a form's,
  // out of habit) finds it loaded.
  if (d->Imloaded)
    return;
  // A form that puts the control in a layout gives it no size: it takes the rotated box of the
  // indicator the form describes, which is also what it asks of the layout. A size given
  // while the control was hidden reaches it only when it is shown or grabbed; it is handled
  // now, so that the loaded control starts from its settled size.
  const QPointer<TLumoLiquidIndicator> alive(this);
  if (!testAttribute(Qt::WA_Resized)) {
    const QSize box = d->ControlSize();
    if (!d->MoveWindow(x(), y(), box.width(), box.height(), false))
      return;
  } else if (testAttribute(Qt::WA_PendingResizeEvent)) {
    setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent resize(size(), QSize());
    QCoreApplication::sendEvent(this, &resize);
    if (!alive)
      return;
  }
  d->Imloaded = true;
  d->UpdateWindowRegion();
  d->RebuildIndicator();
  update();
}

// ---- Getters ---------------------------------------------------------------------------------

TLumoColorScheme TLumoLiquidIndicator::ColorScheme() const { return d->FColorScheme; }
qint32 TLumoLiquidIndicator::SignNumber() const { return d->FSignNumber; }
qint32 TLumoLiquidIndicator::IndicatorWidth() const { return d->FIndicatorWidth; }
qint32 TLumoLiquidIndicator::IndicatorHeight() const { return d->FIndicatorHeight; }
qint32 TLumoLiquidIndicator::IndicatorAngle() const { return d->FIndicatorAngle; }
qint32 TLumoLiquidIndicator::IndicatorGap() const { return d->FIndicatorGap; }
QString TLumoLiquidIndicator::Indicatorstring() const { return d->FIndicatorString; }
TLumoIndicatorKind TLumoLiquidIndicator::IndicatorKind() const { return d->FIndicatorKind; }
TLumoBevelKind TLumoLiquidIndicator::InnerBevel() const { return d->FInnerBevel; }
TLumoBevelKind TLumoLiquidIndicator::OuterBevel() const { return d->FOuterBevel; }
qint32 TLumoLiquidIndicator::InnerBevelWidth() const { return d->FInnerBevelWidth; }
qint32 TLumoLiquidIndicator::OuterBevelWidth() const { return d->FOuterBevelWidth; }
qint32 TLumoLiquidIndicator::BevelColor() const { return d->FBevelColor; }
qint32 TLumoLiquidIndicator::BackColor() const { return d->FBackColor; }
qint32 TLumoLiquidIndicator::NumberForeColor() const { return d->FNumberForeColor; }
qint32 TLumoLiquidIndicator::NumberForeColor1() const { return d->FNumberForeColor1; }
qint32 TLumoLiquidIndicator::NumberBackColor() const { return d->FNumberBackColor; }
TLumoIndicatorStyle TLumoLiquidIndicator::IndicatorStyle() const { return d->FIndicatorStyle; }
TLumoMouseAction TLumoLiquidIndicator::MouseAction() const { return d->FMouseAction; }
TLumoTransparentMode TLumoLiquidIndicator::TransparentMode() const { return d->FTransparentMode; }
QImage TLumoLiquidIndicator::BackMaterial() const { return d->FBackMaterial; }
QImage TLumoLiquidIndicator::ForeMaterial() const { return d->FForeMaterial; }
TLumoMaterialShadowMode TLumoLiquidIndicator::MaterialShadowMode() const { return d->FMaterialShadowMode; }
TLumoMaterialMode TLumoLiquidIndicator::MaterialMode() const { return d->FMaterialMode; }
TLumoMaterialMode TLumoLiquidIndicator::ForeMaterialMode() const { return d->FForeMaterialMode; }

// ---- Refreshing ------------------------------------------------------------------------------

void TLumoLiquidIndicatorPrivate::Refresh() {
  // Nobody sees the control of a minimised window (a running countdown's, say): it rebuilds
  // once, when the window comes back. Where the window system unmaps a minimised window that
  // is its show event; where it does not (Wayland), the window's change of state.
  if (!q->isWindow() && q->window()->isMinimized()) {
    RebuildWhenShown = true;
    q->window()->installEventFilter(q);
    return;
  }
  RebuildWhenShown = false;
  RebuildIndicator();
  q->update();
}

// The whole rebuild: the image and its regions anew from the fields, in device pixels.
void TLumoLiquidIndicatorPrivate::RebuildIndicator() {
  ++FRebuildCount;
  Renderer.Rebuild(*this, q->size(), q->devicePixelRatioF(), Moused, q->palette());
}

bool TLumoLiquidIndicator::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::WindowStateChange && watched == window() && d->RebuildWhenShown &&
      !window()->isMinimized())
    d->Refresh();
  return QWidget::eventFilter(watched, e);
}

// One refresh on its way serves every change until it arrives: a burst of hover crossings or
// colour schemes costs one rebuild.
void TLumoLiquidIndicatorPrivate::DeferredRefresh() {
  if (RefreshPosted)
    return;
  RefreshPosted = true;
  QCoreApplication::postEvent(q, new QEvent(TLumoLiquidIndicator::CM_INDICATORREFRESH));
}

bool TLumoLiquidIndicator::event(QEvent* e) {
  // Polished (before it is first shown, or when the event loop first runs after it was made):
  // code that made the control has set its properties, which now take effect as a form's do
  // at Loaded().
  if (e->type() == QEvent::Polish) {
    const bool handled = QWidget::event(e);
    Loaded();
    return handled;
  }
  if (e->type() == QEvent::Show && d->RebuildWhenShown)
    d->Refresh();
  if (e->type() == CM_INDICATORREFRESH) {
    d->RefreshPosted = false;
    QWidget::event(e);
    d->Refresh();
    return true;
  }
  const bool handled = QWidget::event(e);
  // System colours follow the palette (dark mode switched on, another style).
  if ((e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange ||
       e->type() == QEvent::StyleChange) &&
      d->UsesSystemColours())
    d->Refresh();
  // On another screen, or shown on a screen other than the one it was rendered for, the
  // image is rendered anew at that screen's pixel ratio.
  if ((e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::Show) &&
      d->Renderer.PixelRatio() != devicePixelRatioF())
    d->Refresh();
  return handled;
}

// Every setter signals last, or checks that the control is still there after each signal: a
// listener may delete it.
template <typename T, typename Signal>
void TLumoLiquidIndicatorPrivate::SetAndRefresh(T TLumoIndicatorState::*field, const T& value, Signal changed) {
  if (!Set(field, value))
    return;
  Refresh();
  emit (q->*changed)(this->*field);
}

void TLumoLiquidIndicatorPrivate::SetColorAndRefresh(TColor TLumoIndicatorState::*field, TColor value,
                                                     void (TLumoLiquidIndicator::*changed)(qint32)) {
  if (!SetColor(field, value))
    return;
  Refresh();
  emit (q->*changed)(this->*field);
}

// The indicator's size may change through its setters and through the size rule; either way
// the layout learns of the new rotated box and listeners of each side that changed.
bool TLumoLiquidIndicatorPrivate::NotifySizeChange(qint32 oldWidth, qint32 oldHeight) {
  if (FIndicatorWidth == oldWidth && FIndicatorHeight == oldHeight)
    return true;
  q->updateGeometry();
  const QPointer<TLumoLiquidIndicator> alive(q);
  if (FIndicatorWidth != oldWidth)
    emit q->IndicatorWidthChanged(FIndicatorWidth);
  if (alive && FIndicatorHeight != oldHeight)
    emit q->IndicatorHeightChanged(FIndicatorHeight);
  return !alive.isNull();
}

QSize TLumoLiquidIndicator::sizeHint() const {
  return d->ControlSize();
}

// A layout may shrink the control in a direction whose policy allows it (Preferred,
// Expanding): down to the rotated box of an indicator whose cells are 3 x 5 pixels inside
// its gap and bevels, never more than the size hint. A fixed direction keeps the size hint.
QSize TLumoLiquidIndicator::minimumSizeHint() const {
  const QSize hint = sizeHint();
  qint64 border = qint64(d->FIndicatorGap);
  border += d->FOuterBevel != bkNone ? d->FOuterBevelWidth : 0;
  border += d->FInnerBevel != bkNone ? d->FInnerBevelWidth : 0;
  border = std::clamp<qint64>(border, 0, kLargestControlSide);
  const qint64 width = std::min<qint64>(2 * border + 3 * qint64(d->FSignNumber), kLargestControlSide);
  const TBoxSize box = RotatedBox(qint32(width), qint32(2 * border + 5), d->FIndicatorAngle);
  const QSize small = QSize(box.Width, box.Height).boundedTo(hint);
  const QSizePolicy policy = sizePolicy();
  return {(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag) ? small.width() : hint.width(),
          (policy.verticalPolicy() & QSizePolicy::ShrinkFlag) ? small.height() : hint.height()};
}

TColor TLumoLiquidIndicator::ResolveColor(TColor color) {
  return LumoLiquidIndicator::ResolveColor(color, QGuiApplication::palette());
}

// ---- Setters ---------------------------------------------------------------------------------

namespace {

// Each colour a scheme sets, with its signal, in the order a scheme signals them.
struct TSchemeColourSignal {
  TColor TLumoIndicatorState::*Field;
  void (TLumoLiquidIndicator::*Changed)(qint32);
};
constexpr TSchemeColourSignal kSchemeColourSignals[] = {
    {&TLumoIndicatorState::FBackColor, &TLumoLiquidIndicator::BackColorChanged},
    {&TLumoIndicatorState::FBevelColor, &TLumoLiquidIndicator::BevelColorChanged},
    {&TLumoIndicatorState::FNumberBackColor, &TLumoLiquidIndicator::NumberBackColorChanged},
    {&TLumoIndicatorState::FNumberForeColor, &TLumoLiquidIndicator::NumberForeColorChanged},
    {&TLumoIndicatorState::FNumberForeColor1, &TLumoLiquidIndicator::NumberForeColor1Changed},
};

} // namespace

void TLumoLiquidIndicator::SetColorScheme(TLumoColorScheme value) {
  // Always stored (a value outside the enumeration is not); once loaded the five colours
  // follow, before that those not given, so that a stored form's own colours win.
  TColor before[std::size(kSchemeColourSignals)];
  size_t n = 0;
  for (const TSchemeColourSignal& colour : kSchemeColourSignals)
    before[n++] = d.get()->*colour.Field;
  if (!d->SetColorScheme(value))
    return;
  if (d->Imloaded)
    d->DeferredRefresh();
  // Each colour that changed is signalled with the value it has then: a listener may have set
  // another one meanwhile, or deleted the control.
  const QPointer<TLumoLiquidIndicator> alive(this);
  n = 0;
  for (const TSchemeColourSignal& colour : kSchemeColourSignals) {
    const TColor now = d.get()->*colour.Field;
    if (before[n++] != now)
      emit (this->*colour.Changed)(now);
    if (!alive)
      return;
  }
  emit ColorSchemeChanged(d->FColorScheme);
}

void TLumoLiquidIndicator::SetSignNumber(qint32 value) {
  if (!d->Set(&TLumoIndicatorState::FSignNumber, value))
    return;
  if (d->Imloaded) {
    d->UpdateWindowRegion();
    d->Refresh();
  }
  emit SignNumberChanged(d->FSignNumber);
}

void TLumoLiquidIndicator::SetIndicatorWidth(qint32 value) {
  const qint32 oldWidth = d->FIndicatorWidth;
  const qint32 oldHeight = d->FIndicatorHeight;
  if (!d->Set(&TLumoIndicatorState::FIndicatorWidth, value))
    return;
  if (d->Imloaded && !d->ResizeToRotatedBox())
    return;
  d->NotifySizeChange(oldWidth, oldHeight);
}

void TLumoLiquidIndicator::SetIndicatorHeight(qint32 value) {
  const qint32 oldWidth = d->FIndicatorWidth;
  const qint32 oldHeight = d->FIndicatorHeight;
  if (!d->Set(&TLumoIndicatorState::FIndicatorHeight, value))
    return;
  if (d->Imloaded && !d->ResizeToRotatedBox())
    return;
  d->NotifySizeChange(oldWidth, oldHeight);
}

void TLumoLiquidIndicator::SetIndicatorAngle(qint32 value) {
  if (!d->Set(&TLumoIndicatorState::FIndicatorAngle, value))
    return;
  if (d->Imloaded) {
    const QSize box = d->ControlSize();
    if (!d->MoveWindow(x(), y(), box.width(), box.height(), true))
      return;
    d->UpdateWindowRegion();
    d->RebuildIndicator();
    update();
  }
  updateGeometry();
  emit IndicatorAngleChanged(d->FIndicatorAngle);
}

void TLumoLiquidIndicator::SetIndicatorGap(qint32 value) {
  d->SetAndRefresh(&TLumoIndicatorState::FIndicatorGap, value, &TLumoLiquidIndicator::IndicatorGapChanged);
}

void TLumoLiquidIndicator::SetIndicatorstring(const QString& value) {
  if (!d->Set(&TLumoIndicatorState::FIndicatorString, value))
    return;
  // Screen readers read the shown text as the control's value, and as its name unless the
  // application has named the control ("Countdown"): a name the widget did not give itself
  // stays.
  const QString name = accessibleName();
  if (name.isEmpty() || name == d->OwnAccessibleName) {
    d->OwnAccessibleName = d->FIndicatorString;
    setAccessibleName(d->FIndicatorString);
  }
  LumoLiquidIndicator::AnnounceText(this, d->FIndicatorString);
  d->Refresh();
  emit IndicatorstringChanged(d->FIndicatorString);
}

void TLumoLiquidIndicator::SetIndicatorKind(TLumoIndicatorKind value) {
  d->SetAndRefresh(&TLumoIndicatorState::FIndicatorKind, value, &TLumoLiquidIndicator::IndicatorKindChanged);
}

void TLumoLiquidIndicator::SetInnerBevel(TLumoBevelKind value) {
  d->SetAndRefresh(&TLumoIndicatorState::FInnerBevel, value, &TLumoLiquidIndicator::InnerBevelChanged);
}

void TLumoLiquidIndicator::SetOuterBevel(TLumoBevelKind value) {
  d->SetAndRefresh(&TLumoIndicatorState::FOuterBevel, value, &TLumoLiquidIndicator::OuterBevelChanged);
}

void TLumoLiquidIndicator::SetInnerBevelWidth(qint32 value) {
  d->SetAndRefresh(&TLumoIndicatorState::FInnerBevelWidth, value, &TLumoLiquidIndicator::InnerBevelWidthChanged);
}

void TLumoLiquidIndicator::SetOuterBevelWidth(qint32 value) {
  d->SetAndRefresh(&TLumoIndicatorState::FOuterBevelWidth, value, &TLumoLiquidIndicator::OuterBevelWidthChanged);
}

void TLumoLiquidIndicator::SetBevelColor(qint32 value) {
  d->SetColorAndRefresh(&TLumoIndicatorState::FBevelColor, value, &TLumoLiquidIndicator::BevelColorChanged);
}
void TLumoLiquidIndicator::SetBackColor(qint32 value) {
  d->SetColorAndRefresh(&TLumoIndicatorState::FBackColor, value, &TLumoLiquidIndicator::BackColorChanged);
}
void TLumoLiquidIndicator::SetNumberForeColor(qint32 value) {
  d->SetColorAndRefresh(&TLumoIndicatorState::FNumberForeColor, value, &TLumoLiquidIndicator::NumberForeColorChanged);
}
void TLumoLiquidIndicator::SetNumberForeColor1(qint32 value) {
  d->SetColorAndRefresh(&TLumoIndicatorState::FNumberForeColor1, value, &TLumoLiquidIndicator::NumberForeColor1Changed);
}
void TLumoLiquidIndicator::SetNumberBackColor(qint32 value) {
  d->SetColorAndRefresh(&TLumoIndicatorState::FNumberBackColor, value, &TLumoLiquidIndicator::NumberBackColorChanged);
}

// ---- The colours as QColors ------------------------------------------------------------------

QColor TLumoLiquidIndicator::bevelColor() const { return ToQColor(d->FBevelColor, palette()); }
QColor TLumoLiquidIndicator::backColor() const { return ToQColor(d->FBackColor, palette()); }
QColor TLumoLiquidIndicator::numberForeColor() const { return ToQColor(d->FNumberForeColor, palette()); }
QColor TLumoLiquidIndicator::numberForeColor1() const { return ToQColor(d->FNumberForeColor1, palette()); }
QColor TLumoLiquidIndicator::numberBackColor() const { return ToQColor(d->FNumberBackColor, palette()); }

void TLumoLiquidIndicator::setBevelColor(const QColor& value) {
  d->SetQColor(value, d->FBevelColor, d->BevelFace, &TLumoLiquidIndicator::SetBevelColor);
}
void TLumoLiquidIndicator::setBackColor(const QColor& value) {
  d->SetQColor(value, d->FBackColor, d->BackFace, &TLumoLiquidIndicator::SetBackColor);
}
void TLumoLiquidIndicator::setNumberForeColor(const QColor& value) {
  d->SetQColor(value, d->FNumberForeColor, d->NumberForeFace, &TLumoLiquidIndicator::SetNumberForeColor);
}
void TLumoLiquidIndicator::setNumberForeColor1(const QColor& value) {
  d->SetQColor(value, d->FNumberForeColor1, d->NumberFore1Face, &TLumoLiquidIndicator::SetNumberForeColor1);
}
void TLumoLiquidIndicator::setNumberBackColor(const QColor& value) {
  d->SetQColor(value, d->FNumberBackColor, d->NumberBackFace, &TLumoLiquidIndicator::SetNumberBackColor);
}

// The colour shown now is the current value of this face: given again (a style sheet
// polishing the widget anew) it leaves a system colour as it is.
void TLumoLiquidIndicatorPrivate::SetQColor(const QColor& value, TColor current, TQColorFace& face,
                                            void (TLumoLiquidIndicator::*set)(qint32)) {
  const TColor rgb = FromQColor(value);
  const TColor shown = ResolveColor(current, q->palette());
  if (!value.isValid() || rgb == shown)
    return;
  TColor stored = rgb;
  if (current < 0)
    face = {true, current, shown, rgb};
  else if (face.Replaced && current == face.Given && rgb == face.Shown)
    stored = face.System;
  (q->*set)(stored);
}

// Each QColor face signals with its TColor property.
void TLumoLiquidIndicatorPrivate::ConnectQColorSignals() {
  using Changed = void (TLumoLiquidIndicator::*)(qint32);
  using QColorChanged = void (TLumoLiquidIndicator::*)(const QColor&);
  const struct {
    Changed Colour;
    QColorChanged Face;
    QColor (TLumoLiquidIndicator::*Read)() const;
  } faces[] = {
      {&TLumoLiquidIndicator::BevelColorChanged, &TLumoLiquidIndicator::bevelColorChanged, &TLumoLiquidIndicator::bevelColor},
      {&TLumoLiquidIndicator::BackColorChanged, &TLumoLiquidIndicator::backColorChanged, &TLumoLiquidIndicator::backColor},
      {&TLumoLiquidIndicator::NumberForeColorChanged, &TLumoLiquidIndicator::numberForeColorChanged,
       &TLumoLiquidIndicator::numberForeColor},
      {&TLumoLiquidIndicator::NumberForeColor1Changed, &TLumoLiquidIndicator::numberForeColor1Changed,
       &TLumoLiquidIndicator::numberForeColor1},
      {&TLumoLiquidIndicator::NumberBackColorChanged, &TLumoLiquidIndicator::numberBackColorChanged,
       &TLumoLiquidIndicator::numberBackColor},
  };
  for (const auto& face : faces)
    QObject::connect(q, face.Colour, q, [this, face] { emit (q->*face.Face)((q->*face.Read)()); });
}

void TLumoLiquidIndicator::SetIndicatorStyle(TLumoIndicatorStyle value) {
  d->SetAndRefresh(&TLumoIndicatorState::FIndicatorStyle, value, &TLumoLiquidIndicator::IndicatorStyleChanged);
}

void TLumoLiquidIndicator::SetMouseAction(TLumoMouseAction value) {
  d->SetAndRefresh(&TLumoIndicatorState::FMouseAction, value, &TLumoLiquidIndicator::MouseActionChanged);
}

void TLumoLiquidIndicator::SetTransparentMode(TLumoTransparentMode value) {
  if (!d->Set(&TLumoIndicatorState::FTransparentMode, value))
    return;
  // Opaque only when everything is painted; otherwise the parent shows through outside
  // the clip region.
  setAttribute(Qt::WA_OpaquePaintEvent, d->FTransparentMode == tmNone);
  d->Refresh();
  emit TransparentModeChanged(d->FTransparentMode);
}

// A material is kept as it is given, except an indexed image Qt cannot draw (see
// DrawableMaterial).
void TLumoLiquidIndicator::SetBackMaterial(const QImage& value) {
  // No equality test: assigning a material always copies and rebuilds.
  d->FBackMaterial = DrawableMaterial(value);
  d->Refresh();
  emit BackMaterialChanged(d->FBackMaterial);
}

void TLumoLiquidIndicator::SetForeMaterial(const QImage& value) {
  d->FForeMaterial = DrawableMaterial(value);
  d->Refresh();
  emit ForeMaterialChanged(d->FForeMaterial);
}

void TLumoLiquidIndicator::SetMaterialShadowMode(TLumoMaterialShadowMode value) {
  d->SetAndRefresh(&TLumoIndicatorState::FMaterialShadowMode, value, &TLumoLiquidIndicator::MaterialShadowModeChanged);
}

void TLumoLiquidIndicator::SetMaterialMode(TLumoMaterialMode value) {
  d->SetAndRefresh(&TLumoIndicatorState::FMaterialMode, value, &TLumoLiquidIndicator::MaterialModeChanged);
}

void TLumoLiquidIndicator::SetForeMaterialMode(TLumoMaterialMode value) {
  d->SetAndRefresh(&TLumoIndicatorState::FForeMaterialMode, value, &TLumoLiquidIndicator::ForeMaterialModeChanged);
}

// ---- Size ------------------------------------------------------------------------------------

bool TLumoLiquidIndicatorPrivate::ResizeToRotatedBox() {
  const QSize box = ControlSize();
  if (!MoveWindow(q->x(), q->y(), box.width(), box.height(), false))
    return false;
  UpdateWindowRegion();
  RebuildIndicator();
  // The area the old shape uncovered belongs to the parent.
  if (QWidget* parent = q->parentWidget())
    parent->update();
  return true;
}

// Moves and sizes the control; the size handling has run when this returns, even for a
// hidden control, whose resize event Qt would otherwise deliver only when it is shown.
bool TLumoLiquidIndicatorPrivate::MoveWindow(qint32 left, qint32 top, qint32 width, qint32 height, bool repaint) {
  const QSize oldSize = q->size();
  const quint64 sizeMessages = FSizeMessages;
  const QPointer<TLumoLiquidIndicator> alive(q);
  // No maximum size on the widget: a layout would then no longer hold a fixed control to
  // its size hint. The size is held here and in resizeEvent instead.
  constexpr int side = TLumoLiquidIndicator::kLargestControlSide;
  q->setGeometry(left, top, std::min(width, side), std::min(height, side));
  if (alive && q->size() != oldSize && FSizeMessages == sizeMessages) {
    q->setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent resize(q->size(), oldSize);
    QCoreApplication::sendEvent(q, &resize);
  }
  if (alive && repaint)
    q->update();
  return !alive.isNull();
}

void TLumoLiquidIndicator::resizeEvent(QResizeEvent* e) {
  ++d->FSizeMessages;
  QWidget::resizeEvent(e);
  const QSize bounded = size().boundedTo({kLargestControlSide, kLargestControlSide});
  if (bounded != size()) {
    d->MoveWindow(x(), y(), bounded.width(), bounded.height(), false);  // comes back here
    return;
  }
  d->ApplySizeRule();
}

// At 0 and 180 degrees resizing the control resizes the indicator, at 90 and 270 degrees
// too with width and height exchanged; at any other angle the control is put back to the
// rotated box of the unchanged indicator.
void TLumoLiquidIndicatorPrivate::ApplySizeRule() {
  const qint32 oldWidth = FIndicatorWidth;
  const qint32 oldHeight = FIndicatorHeight;
  switch (TakeControlSize(q->size())) {
  case TSizeRule::Straight:
    UpdateWindowRegion();
    DeferredRefresh();
    NotifySizeChange(oldWidth, oldHeight);
    break;
  case TSizeRule::Quarter:
    UpdateWindowRegion();
    Refresh();
    NotifySizeChange(oldWidth, oldHeight);
    break;
  case TSizeRule::Other: {
    const QSize box = ControlSize();
    if (!MoveWindow(q->x(), q->y(), box.width(), box.height(), false))
      return;
    if (QWidget* parent = q->parentWidget())
      parent->update();
    DeferredRefresh();
    break;
  }
  }
}

// The control's shape is the rotated indicator rectangle, centred in the control. A control
// without a parent keeps no shape.
void TLumoLiquidIndicatorPrivate::UpdateWindowRegion() {
  const QRegion shape = ShapeRegion(q->size());
  if (q->parentWidget())
    q->setMask(shape);
}

namespace {

// The image or pixmap a painter paints on (a window's backing store, a grab's), if any.
const QPaintDevice* Target(const QPainter& painter) {
  return painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
}

// The part of rect a paint can show: rect less what lies beyond the image or pixmap painted
// on (a window's, a grab's).
QRectF ShownPart(const QPainter& painter, const QRect& rect) {
  QRectF shown = rect;
  const QPaintDevice* target = Target(painter);
  bool invertible = false;
  const QTransform toWidget = painter.deviceTransform().inverted(&invertible);
  if (target && invertible && (target->devType() == QInternal::Image || target->devType() == QInternal::Pixmap))
    shown &= toWidget.mapRect(QRectF(0, 0, target->width(), target->height()));
  return shown;
}

} // namespace

// Painting computes nothing: one copy of the finished image through the clip region, whose
// pixels are painted as far as they can be seen.
void TLumoLiquidIndicator::paintEvent(QPaintEvent* e) {
  QPainter painter(this);
  if (const QPaintDevice* target = Target(painter); target && target->devType() == QInternal::Image)
    PreferLargePages(*static_cast<const QImage*>(target));  // a window grown to a large size
  if (d->Renderer.Clips())
    painter.setClipRegion(d->Renderer.ClipRegion());
  painter.drawImage(0, 0, d->Renderer.ImagePart(ShownPart(painter, e->rect())));
}

// ---- Hover -----------------------------------------------------------------------------------

void TLumoLiquidIndicator::enterEvent(QEnterEvent* e) {
  d->SetMoused(true);
  d->DeferredRefresh();
  QWidget::enterEvent(e);
  emit onMouseEnter(this);
}

void TLumoLiquidIndicator::leaveEvent(QEvent* e) {
  d->SetMoused(false);
  d->DeferredRefresh();
  QWidget::leaveEvent(e);
  emit onMouseExit(this);
}
