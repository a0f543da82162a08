// The item's properties, its size, hover and the colour scheme. The image and the scene
// graph are in LumoIndicatorItemImage.cpp.
#include "LumoIndicatorItem.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlFile>
#include <QQmlInfo>

using namespace LumoLiquidIndicator;

TLumoIndicatorItem::TLumoIndicatorItem(QQuickItem* parent) : QQuickItem(parent) {
  setFlag(ItemHasContents, true);
  setAcceptHoverEvents(true);
  UpdateImplicitSize();
  InstallAccessibility();
}

TLumoIndicatorItem::~TLumoIndicatorItem() = default;

// ---- Colours ---------------------------------------------------------------------------------

// A colour 0x00BBGGRR, a system colour resolved through the application palette.
QColor TLumoIndicatorItem::ToQColor(TColor color) {
  return LumoLiquidIndicator::ToQColor(color, QGuiApplication::palette());
}

void TLumoIndicatorItem::SetColor(TColor TField::*field, const QColor& value, void (TLumoIndicatorItem::*changed)()) {
  if (!FCore.SetColor(field, FromQColor(value)))
    return;
  Invalidate();
  emit (this->*changed)();
}

// A scheme sets the five colours; one given while the item is created leaves alone the
// colours given beside it, in whatever order QML sets them. Always signalled, as the
// widget's.
void TLumoIndicatorItem::setColorScheme(TLumoColorScheme value) {
  const struct {
    TColor TField::*Field;
    void (TLumoIndicatorItem::*Changed)();
    TColor Before;
  } colours[] = {
      {&TField::FBackColor, &TLumoIndicatorItem::backColorChanged, FCore.FBackColor},
      {&TField::FBevelColor, &TLumoIndicatorItem::bevelColorChanged, FCore.FBevelColor},
      {&TField::FNumberBackColor, &TLumoIndicatorItem::numberBackColorChanged, FCore.FNumberBackColor},
      {&TField::FNumberForeColor, &TLumoIndicatorItem::numberForeColorChanged, FCore.FNumberForeColor},
      {&TField::FNumberForeColor1, &TLumoIndicatorItem::numberForeColor1Changed, FCore.FNumberForeColor1},
  };
  if (!FCore.SetColorScheme(value))
    return;
  for (const auto& colour : colours) {
    if (colour.Before == FCore.*colour.Field)
      continue;
    Invalidate();
    emit (this->*colour.Changed)();
  }
  emit colorSchemeChanged();
}

void TLumoIndicatorItem::componentComplete() {
  QQuickItem::componentComplete();
  FCore.Imloaded = true;
  ApplySizeRule();
  UpdateAccessibility();
  Invalidate();
}

// ---- Setters ---------------------------------------------------------------------------------

template <typename T> void TLumoIndicatorItem::Set(T TField::*field, const T& value, void (TLumoIndicatorItem::*changed)()) {
  if (!FCore.Set(field, value))
    return;
  Invalidate();
  emit (this->*changed)();
}

void TLumoIndicatorItem::setSignNumber(int value) {
  Set(&TField::FSignNumber, qint32(value), &TLumoIndicatorItem::signNumberChanged);
}

void TLumoIndicatorItem::setIndicatorWidth(int value) {
  const qint32 oldWidth = FCore.FIndicatorWidth;
  if (FCore.Set(&TField::FIndicatorWidth, qint32(value)))
    SizeChanged(oldWidth, FCore.FIndicatorHeight);
}

void TLumoIndicatorItem::setIndicatorHeight(int value) {
  const qint32 oldHeight = FCore.FIndicatorHeight;
  if (FCore.Set(&TField::FIndicatorHeight, qint32(value)))
    SizeChanged(FCore.FIndicatorWidth, oldHeight);
}

void TLumoIndicatorItem::setIndicatorAngle(int value) {
  if (!FCore.Set(&TField::FIndicatorAngle, qint32(value)))
    return;
  UpdateImplicitSize();
  Invalidate();
  emit indicatorAngleChanged();
}

void TLumoIndicatorItem::setIndicatorGap(int value) {
  Set(&TField::FIndicatorGap, qint32(value), &TLumoIndicatorItem::indicatorGapChanged);
}

void TLumoIndicatorItem::setIndicatorString(const QString& value) {
  if (!FCore.Set(&TField::FIndicatorString, value))
    return;
  if (isComponentComplete())
    UpdateAccessibility();
  Invalidate();
  emit indicatorStringChanged();
}

void TLumoIndicatorItem::setIndicatorKind(TLumoIndicatorKind value) {
  Set(&TField::FIndicatorKind, value, &TLumoIndicatorItem::indicatorKindChanged);
}

void TLumoIndicatorItem::setInnerBevel(TLumoBevelKind value) {
  Set(&TField::FInnerBevel, value, &TLumoIndicatorItem::innerBevelChanged);
}

void TLumoIndicatorItem::setOuterBevel(TLumoBevelKind value) {
  Set(&TField::FOuterBevel, value, &TLumoIndicatorItem::outerBevelChanged);
}

void TLumoIndicatorItem::setInnerBevelWidth(int value) {
  Set(&TField::FInnerBevelWidth, qint32(value), &TLumoIndicatorItem::innerBevelWidthChanged);
}

void TLumoIndicatorItem::setOuterBevelWidth(int value) {
  Set(&TField::FOuterBevelWidth, qint32(value), &TLumoIndicatorItem::outerBevelWidthChanged);
}

void TLumoIndicatorItem::setBevelColor(const QColor& value) {
  SetColor(&TField::FBevelColor, value, &TLumoIndicatorItem::bevelColorChanged);
}

void TLumoIndicatorItem::setBackColor(const QColor& value) {
  SetColor(&TField::FBackColor, value, &TLumoIndicatorItem::backColorChanged);
}

void TLumoIndicatorItem::setNumberForeColor(const QColor& value) {
  SetColor(&TField::FNumberForeColor, value, &TLumoIndicatorItem::numberForeColorChanged);
}

void TLumoIndicatorItem::setNumberForeColor1(const QColor& value) {
  SetColor(&TField::FNumberForeColor1, value, &TLumoIndicatorItem::numberForeColor1Changed);
}

void TLumoIndicatorItem::setNumberBackColor(const QColor& value) {
  SetColor(&TField::FNumberBackColor, value, &TLumoIndicatorItem::numberBackColorChanged);
}

void TLumoIndicatorItem::setIndicatorStyle(TLumoIndicatorStyle value) {
  Set(&TField::FIndicatorStyle, value, &TLumoIndicatorItem::indicatorStyleChanged);
}

void TLumoIndicatorItem::setMouseAction(TLumoMouseAction value) {
  Set(&TField::FMouseAction, value, &TLumoIndicatorItem::mouseActionChanged);
}

void TLumoIndicatorItem::setTransparentMode(TLumoTransparentMode value) {
  Set(&TField::FTransparentMode, value, &TLumoIndicatorItem::transparentModeChanged);
}

void TLumoIndicatorItem::setBackMaterial(const QUrl& value) {
  if (SetMaterial(FBackMaterialUrl, FCore.FBackMaterial, value))
    emit backMaterialChanged();
}

void TLumoIndicatorItem::setForeMaterial(const QUrl& value) {
  if (SetMaterial(FForeMaterialUrl, FCore.FForeMaterial, value))
    emit foreMaterialChanged();
}

void TLumoIndicatorItem::setMaterialShadowMode(TLumoMaterialShadowMode value) {
  Set(&TField::FMaterialShadowMode, value, &TLumoIndicatorItem::materialShadowModeChanged);
}

void TLumoIndicatorItem::setMaterialMode(TLumoMaterialMode value) {
  Set(&TField::FMaterialMode, value, &TLumoIndicatorItem::materialModeChanged);
}

void TLumoIndicatorItem::setForeMaterialMode(TLumoMaterialMode value) {
  Set(&TField::FForeMaterialMode, value, &TLumoIndicatorItem::foreMaterialModeChanged);
}

// ---- Size ------------------------------------------------------------------------------------

void TLumoIndicatorItem::SizeChanged(qint32 oldWidth, qint32 oldHeight) {
  if (FCore.FIndicatorWidth == oldWidth && FCore.FIndicatorHeight == oldHeight)
    return;
  UpdateImplicitSize();
  Invalidate();
  if (FCore.FIndicatorWidth != oldWidth)
    emit indicatorWidthChanged();
  if (FCore.FIndicatorHeight != oldHeight)
    emit indicatorHeightChanged();
}

void TLumoIndicatorItem::UpdateImplicitSize() {
  const QSize box = FCore.ControlSize();
  setImplicitSize(box.width(), box.height());
}

// At 0 and 180 degrees the indicator takes the item's size, at 90 and 270 degrees with width
// and height exchanged; at other angles it keeps its own, centred in the item.
void TLumoIndicatorItem::ApplySizeRule() {
  const qint32 oldWidth = FCore.FIndicatorWidth;
  const qint32 oldHeight = FCore.FIndicatorHeight;
  FCore.TakeControlSize(QSize(qRound(width()), qRound(height())));
  SizeChanged(oldWidth, oldHeight);
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

// Entering and leaving render anew with every mouse action, as the widget does.
void TLumoIndicatorItem::SetHovered(bool value) {
  if (!FCore.SetMoused(value))
    return;
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
