// The item's properties, its size, hover and the colour scheme. The image and the scene
// graph are in LumoIndicatorItemImage.cpp.
#include "LumoIndicatorItem.h"

#include "LumoGeometry_p.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlFile>
#include <QQmlInfo>

using namespace LumoLiquidIndicator;

TLumoIndicatorItem::TLumoIndicatorItem(QQuickItem* parent) : QQuickItem(parent) {
  setFlag(ItemHasContents, true);
  setAcceptHoverEvents(true);
  UpdateImplicitSize();
}

TLumoIndicatorItem::~TLumoIndicatorItem() = default;

// ---- Colours ---------------------------------------------------------------------------------

// A colour 0x00BBGGRR, a system colour resolved through the application palette.
QColor TLumoIndicatorItem::ToQColor(TColor color) {
  return LumoLiquidIndicator::ToQColor(color, QGuiApplication::palette());
}

// Which colours were given before the item was complete, one bit each.
namespace {
enum TGivenColor : quint8 { gcBevel = 1, gcBack = 2, gcNumberFore = 4, gcNumberFore1 = 8, gcNumberBack = 16 };
}

void TLumoIndicatorItem::SetColor(TColor& field, const QColor& value, void (TLumoIndicatorItem::*changed)()) {
  if (!isComponentComplete()) {
    const std::pair<const TColor*, TGivenColor> bits[] = {
        {&FState.FBevelColor, gcBevel},           {&FState.FBackColor, gcBack},
        {&FState.FNumberForeColor, gcNumberFore}, {&FState.FNumberForeColor1, gcNumberFore1},
        {&FState.FNumberBackColor, gcNumberBack}};
    for (const auto& [address, bit] : bits)
      if (address == &field)
        FColorsGiven |= bit;
  }
  Store(field, FromQColor(value), changed);
}

// A scheme sets the five colours. One given while the item is created leaves alone the
// colours given beside it, in whatever order QML sets them.
void TLumoIndicatorItem::setColorScheme(TLumoColorScheme value) {
  FState.FColorScheme = value;
  if (isComponentComplete())
    ApplyColorScheme();
  else
    FSchemeGiven = true;
  emit colorSchemeChanged();
}

void TLumoIndicatorItem::ApplyColorScheme() {
  const std::optional<TSchemeColors> scheme = SchemeColors(FState.FColorScheme);
  if (!scheme)
    return;
  const auto take = [&](TColor& field, TColor color, TGivenColor bit, void (TLumoIndicatorItem::*changed)()) {
    if (!(FColorsGiven & bit))
      Store(field, color, changed);
  };
  take(FState.FBackColor, scheme->Back, gcBack, &TLumoIndicatorItem::backColorChanged);
  take(FState.FBevelColor, scheme->Bevel, gcBevel, &TLumoIndicatorItem::bevelColorChanged);
  take(FState.FNumberBackColor, scheme->NumberBack, gcNumberBack, &TLumoIndicatorItem::numberBackColorChanged);
  take(FState.FNumberForeColor, scheme->NumberFore, gcNumberFore, &TLumoIndicatorItem::numberForeColorChanged);
  take(FState.FNumberForeColor1, scheme->NumberFore1, gcNumberFore1, &TLumoIndicatorItem::numberForeColor1Changed);
  FColorsGiven = 0;
}

void TLumoIndicatorItem::componentComplete() {
  QQuickItem::componentComplete();
  if (FSchemeGiven)
    ApplyColorScheme();
  FColorsGiven = 0;
  ApplySizeRule();
  Invalidate();
}

// ---- Setters ---------------------------------------------------------------------------------

template <typename T> void TLumoIndicatorItem::Store(T& field, T value, void (TLumoIndicatorItem::*changed)()) {
  if (field == value)
    return;
  field = value;
  Invalidate();
  emit (this->*changed)();
}

void TLumoIndicatorItem::setSignNumber(int value) {
  if (value > 0)
    Store(FState.FSignNumber, qint32(value), &TLumoIndicatorItem::signNumberChanged);
}

void TLumoIndicatorItem::setIndicatorWidth(int value) {
  if (value > 0)
    SetIndicatorSize(value, FState.FIndicatorHeight);
}

void TLumoIndicatorItem::setIndicatorHeight(int value) {
  if (value > 0)
    SetIndicatorSize(FState.FIndicatorWidth, value);
}

void TLumoIndicatorItem::setIndicatorAngle(int value) {
  if (FState.FIndicatorAngle == value)
    return;
  FState.FIndicatorAngle = value;
  UpdateImplicitSize();
  Invalidate();
  emit indicatorAngleChanged();
}

void TLumoIndicatorItem::setIndicatorGap(int value) {
  Store(FState.FIndicatorGap, qint32(value), &TLumoIndicatorItem::indicatorGapChanged);
}

void TLumoIndicatorItem::setIndicatorString(const QString& value) {
  Store(FState.FIndicatorString, value, &TLumoIndicatorItem::indicatorStringChanged);
}

void TLumoIndicatorItem::setIndicatorKind(TLumoIndicatorKind value) {
  Store(FState.FIndicatorKind, value, &TLumoIndicatorItem::indicatorKindChanged);
}

void TLumoIndicatorItem::setInnerBevel(TLumoBevelKind value) {
  Store(FState.FInnerBevel, value, &TLumoIndicatorItem::innerBevelChanged);
}

void TLumoIndicatorItem::setOuterBevel(TLumoBevelKind value) {
  Store(FState.FOuterBevel, value, &TLumoIndicatorItem::outerBevelChanged);
}

void TLumoIndicatorItem::setInnerBevelWidth(int value) {
  if (value > 0)
    Store(FState.FInnerBevelWidth, qint32(value), &TLumoIndicatorItem::innerBevelWidthChanged);
}

void TLumoIndicatorItem::setOuterBevelWidth(int value) {
  if (value > 0)
    Store(FState.FOuterBevelWidth, qint32(value), &TLumoIndicatorItem::outerBevelWidthChanged);
}

void TLumoIndicatorItem::setBevelColor(const QColor& value) {
  SetColor(FState.FBevelColor, value, &TLumoIndicatorItem::bevelColorChanged);
}

void TLumoIndicatorItem::setBackColor(const QColor& value) {
  SetColor(FState.FBackColor, value, &TLumoIndicatorItem::backColorChanged);
}

void TLumoIndicatorItem::setNumberForeColor(const QColor& value) {
  SetColor(FState.FNumberForeColor, value, &TLumoIndicatorItem::numberForeColorChanged);
}

void TLumoIndicatorItem::setNumberForeColor1(const QColor& value) {
  SetColor(FState.FNumberForeColor1, value, &TLumoIndicatorItem::numberForeColor1Changed);
}

void TLumoIndicatorItem::setNumberBackColor(const QColor& value) {
  SetColor(FState.FNumberBackColor, value, &TLumoIndicatorItem::numberBackColorChanged);
}

void TLumoIndicatorItem::setIndicatorStyle(TLumoIndicatorStyle value) {
  Store(FState.FIndicatorStyle, value, &TLumoIndicatorItem::indicatorStyleChanged);
}

void TLumoIndicatorItem::setMouseAction(TLumoMouseAction value) {
  Store(FState.FMouseAction, value, &TLumoIndicatorItem::mouseActionChanged);
}

void TLumoIndicatorItem::setTransparentMode(TLumoTransparentMode value) {
  Store(FState.FTransparentMode, value, &TLumoIndicatorItem::transparentModeChanged);
}

void TLumoIndicatorItem::setBackMaterial(const QUrl& value) {
  if (SetMaterial(FBackMaterialUrl, FState.FBackMaterial, value))
    emit backMaterialChanged();
}

void TLumoIndicatorItem::setForeMaterial(const QUrl& value) {
  if (SetMaterial(FForeMaterialUrl, FState.FForeMaterial, value))
    emit foreMaterialChanged();
}

void TLumoIndicatorItem::setMaterialShadowMode(TLumoMaterialShadowMode value) {
  Store(FState.FMaterialShadowMode, value, &TLumoIndicatorItem::materialShadowModeChanged);
}

void TLumoIndicatorItem::setMaterialMode(TLumoMaterialMode value) {
  Store(FState.FMaterialMode, value, &TLumoIndicatorItem::materialModeChanged);
}

void TLumoIndicatorItem::setForeMaterialMode(TLumoMaterialMode value) {
  Store(FState.FForeMaterialMode, value, &TLumoIndicatorItem::foreMaterialModeChanged);
}

// ---- Size ------------------------------------------------------------------------------------

void TLumoIndicatorItem::SetIndicatorSize(qint32 width, qint32 height) {
  const qint32 oldWidth = FState.FIndicatorWidth;
  const qint32 oldHeight = FState.FIndicatorHeight;
  if (width == oldWidth && height == oldHeight)
    return;
  FState.FIndicatorWidth = width;
  FState.FIndicatorHeight = height;
  UpdateImplicitSize();
  Invalidate();
  if (width != oldWidth)
    emit indicatorWidthChanged();
  if (height != oldHeight)
    emit indicatorHeightChanged();
}

void TLumoIndicatorItem::UpdateImplicitSize() {
  const QSize box = TLumoRenderer::ControlSize(FState);
  setImplicitSize(box.width(), box.height());
}

// At 0 and 180 degrees the indicator takes the item's size, at 90 and 270 degrees with width
// and height exchanged; at other angles it keeps its own.
void TLumoIndicatorItem::ApplySizeRule() {
  const qint32 w = qRound(width());
  const qint32 h = qRound(height());
  if (w < 1 || h < 1)
    return;
  switch (SizeRuleFor(FState.FIndicatorAngle)) {
  case TSizeRule::Straight:
    SetIndicatorSize(w, h);
    break;
  case TSizeRule::Quarter:
    SetIndicatorSize(h, w);
    break;
  case TSizeRule::Other:
    break;
  }
}

void TLumoIndicatorItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
  QQuickItem::geometryChange(newGeometry, oldGeometry);
  if (newGeometry.size() == oldGeometry.size())
    return;
  if (isComponentComplete())
    ApplySizeRule();
  Invalidate();
}

void TLumoIndicatorItem::itemChange(ItemChange change, const ItemChangeData& value) {
  QQuickItem::itemChange(change, value);
  if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange)
    Invalidate();
}

// ---- Hover -----------------------------------------------------------------------------------

void TLumoIndicatorItem::hoverEnterEvent(QHoverEvent* event) {
  QQuickItem::hoverEnterEvent(event);
  SetHovered(true);
}

void TLumoIndicatorItem::hoverLeaveEvent(QHoverEvent* event) {
  QQuickItem::hoverLeaveEvent(event);
  SetHovered(false);
}

// Hovering changes the picture only with a mouse action.
void TLumoIndicatorItem::SetHovered(bool value) {
  if (FHovered == value)
    return;
  FHovered = value;
  if (FState.FMouseAction != maNone)
    Invalidate();
  emit hoveredChanged();
  if (value)
    emit mouseEnter();
  else
    emit mouseExit();
}

// ---- Materials -------------------------------------------------------------------------------

bool TLumoIndicatorItem::SetMaterial(QUrl& url, QImage& image, const QUrl& value) {
  if (url == value)
    return false;
  url = value;
  image = LoadMaterial(value);
  Invalidate();
  return true;
}

// A local file or a resource; a relative URL is taken relative to the QML file that sets it.
// An image that cannot be read is no material, with a warning.
QImage TLumoIndicatorItem::LoadMaterial(const QUrl& url) const {
  if (url.isEmpty())
    return {};
  const QQmlContext* context = qmlContext(this);
  const QUrl resolved = context ? context->resolvedUrl(url) : url;
  const QString path = QQmlFile::urlToLocalFileOrQrc(resolved);
  QImage image;
  if (path.isEmpty() || !image.load(path)) {
    qmlWarning(this) << "cannot read the material image " << resolved.toString();
    return {};
  }
  return DrawableMaterial(image);
}
