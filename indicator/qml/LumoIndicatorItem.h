#pragma once
// LumoIndicator, the indicator as a Qt Quick item (QML module Lumo.Indicator 2.3). It has
// every property of TLumoLiquidIndicator under QML's lower-case names, colours as QML
// colours and the materials as URLs of images, and draws the widget's own image, rendered
// by the same renderer, through the scene graph.
//
// A change of a property, of the item's size or of its window's pixel ratio renders the
// image once, when the next frame is prepared (several changes before a frame render once);
// a frame without a change renders nothing and reuses the texture. The places the widget
// leaves out (outside its window shape, and outside the clip region of the transparent
// modes) are transparent pixels.
//
// Size. The implicit size is the rotated box of the indicator. At 0, 90, 180 and 270 degrees
// a size given to the item (by a layout, anchors or width and height) resizes the indicator,
// width and height exchanged at 90 and 270, as the widget does; at other angles the
// indicator keeps its size, centred in the item.

#include "LumoRenderer_p.h"
#include "LumoTypes.h"

#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class TLumoIndicatorItem : public QQuickItem {
  Q_OBJECT
  QML_NAMED_ELEMENT(LumoIndicator)
  // The enumerations, reachable as LumoIndicator.ik9segment in bindings and scripts alike.
  QML_EXTENDED_NAMESPACE(LumoLiquidIndicator)
  Q_PROPERTY(LumoLiquidIndicator::TLumoColorScheme colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
  Q_PROPERTY(int signNumber READ signNumber WRITE setSignNumber NOTIFY signNumberChanged)
  Q_PROPERTY(int indicatorWidth READ indicatorWidth WRITE setIndicatorWidth NOTIFY indicatorWidthChanged)
  Q_PROPERTY(int indicatorHeight READ indicatorHeight WRITE setIndicatorHeight NOTIFY indicatorHeightChanged)
  Q_PROPERTY(int indicatorAngle READ indicatorAngle WRITE setIndicatorAngle NOTIFY indicatorAngleChanged)
  Q_PROPERTY(int indicatorGap READ indicatorGap WRITE setIndicatorGap NOTIFY indicatorGapChanged)
  Q_PROPERTY(QString indicatorString READ indicatorString WRITE setIndicatorString NOTIFY indicatorStringChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoIndicatorKind indicatorKind READ indicatorKind WRITE setIndicatorKind NOTIFY indicatorKindChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoBevelKind innerBevel READ innerBevel WRITE setInnerBevel NOTIFY innerBevelChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoBevelKind outerBevel READ outerBevel WRITE setOuterBevel NOTIFY outerBevelChanged)
  Q_PROPERTY(int innerBevelWidth READ innerBevelWidth WRITE setInnerBevelWidth NOTIFY innerBevelWidthChanged)
  Q_PROPERTY(int outerBevelWidth READ outerBevelWidth WRITE setOuterBevelWidth NOTIFY outerBevelWidthChanged)
  Q_PROPERTY(QColor bevelColor READ bevelColor WRITE setBevelColor NOTIFY bevelColorChanged)
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
  Q_PROPERTY(QColor numberForeColor READ numberForeColor WRITE setNumberForeColor NOTIFY numberForeColorChanged)
  Q_PROPERTY(QColor numberForeColor1 READ numberForeColor1 WRITE setNumberForeColor1 NOTIFY numberForeColor1Changed)
  Q_PROPERTY(QColor numberBackColor READ numberBackColor WRITE setNumberBackColor NOTIFY numberBackColorChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoIndicatorStyle indicatorStyle READ indicatorStyle WRITE setIndicatorStyle NOTIFY indicatorStyleChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoMouseAction mouseAction READ mouseAction WRITE setMouseAction NOTIFY mouseActionChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoTransparentMode transparentMode READ transparentMode WRITE setTransparentMode NOTIFY transparentModeChanged)
  Q_PROPERTY(QUrl backMaterial READ backMaterial WRITE setBackMaterial NOTIFY backMaterialChanged)
  Q_PROPERTY(QUrl foreMaterial READ foreMaterial WRITE setForeMaterial NOTIFY foreMaterialChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialShadowMode materialShadowMode READ materialShadowMode WRITE setMaterialShadowMode NOTIFY materialShadowModeChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialMode materialMode READ materialMode WRITE setMaterialMode NOTIFY materialModeChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialMode foreMaterialMode READ foreMaterialMode WRITE setForeMaterialMode NOTIFY foreMaterialModeChanged)
  // Whether the mouse is over the item.
  Q_PROPERTY(bool hovered READ hovered NOTIFY hoveredChanged)

public:
  explicit TLumoIndicatorItem(QQuickItem* parent = nullptr);
  ~TLumoIndicatorItem() override;

  LumoLiquidIndicator::TLumoColorScheme colorScheme() const { return FState.FColorScheme; }
  int signNumber() const { return FState.FSignNumber; }
  int indicatorWidth() const { return FState.FIndicatorWidth; }
  int indicatorHeight() const { return FState.FIndicatorHeight; }
  int indicatorAngle() const { return FState.FIndicatorAngle; }
  int indicatorGap() const { return FState.FIndicatorGap; }
  QString indicatorString() const { return FState.FIndicatorString; }
  LumoLiquidIndicator::TLumoIndicatorKind indicatorKind() const { return FState.FIndicatorKind; }
  LumoLiquidIndicator::TLumoBevelKind innerBevel() const { return FState.FInnerBevel; }
  LumoLiquidIndicator::TLumoBevelKind outerBevel() const { return FState.FOuterBevel; }
  int innerBevelWidth() const { return FState.FInnerBevelWidth; }
  int outerBevelWidth() const { return FState.FOuterBevelWidth; }
  QColor bevelColor() const { return ToQColor(FState.FBevelColor); }
  QColor backColor() const { return ToQColor(FState.FBackColor); }
  QColor numberForeColor() const { return ToQColor(FState.FNumberForeColor); }
  QColor numberForeColor1() const { return ToQColor(FState.FNumberForeColor1); }
  QColor numberBackColor() const { return ToQColor(FState.FNumberBackColor); }
  LumoLiquidIndicator::TLumoIndicatorStyle indicatorStyle() const { return FState.FIndicatorStyle; }
  LumoLiquidIndicator::TLumoMouseAction mouseAction() const { return FState.FMouseAction; }
  LumoLiquidIndicator::TLumoTransparentMode transparentMode() const { return FState.FTransparentMode; }
  QUrl backMaterial() const { return FBackMaterialUrl; }
  QUrl foreMaterial() const { return FForeMaterialUrl; }
  LumoLiquidIndicator::TLumoMaterialShadowMode materialShadowMode() const { return FState.FMaterialShadowMode; }
  LumoLiquidIndicator::TLumoMaterialMode materialMode() const { return FState.FMaterialMode; }
  LumoLiquidIndicator::TLumoMaterialMode foreMaterialMode() const { return FState.FForeMaterialMode; }
  bool hovered() const { return FHovered; }

  void setColorScheme(LumoLiquidIndicator::TLumoColorScheme value);
  void setSignNumber(int value);
  void setIndicatorWidth(int value);
  void setIndicatorHeight(int value);
  void setIndicatorAngle(int value);
  void setIndicatorGap(int value);
  void setIndicatorString(const QString& value);
  void setIndicatorKind(LumoLiquidIndicator::TLumoIndicatorKind value);
  void setInnerBevel(LumoLiquidIndicator::TLumoBevelKind value);
  void setOuterBevel(LumoLiquidIndicator::TLumoBevelKind value);
  void setInnerBevelWidth(int value);
  void setOuterBevelWidth(int value);
  void setBevelColor(const QColor& value);
  void setBackColor(const QColor& value);
  void setNumberForeColor(const QColor& value);
  void setNumberForeColor1(const QColor& value);
  void setNumberBackColor(const QColor& value);
  void setIndicatorStyle(LumoLiquidIndicator::TLumoIndicatorStyle value);
  void setMouseAction(LumoLiquidIndicator::TLumoMouseAction value);
  void setTransparentMode(LumoLiquidIndicator::TLumoTransparentMode value);
  void setBackMaterial(const QUrl& value);
  void setForeMaterial(const QUrl& value);
  void setMaterialShadowMode(LumoLiquidIndicator::TLumoMaterialShadowMode value);
  void setMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value);
  void setForeMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value);

  // Renders now what a change left pending, as the next frame would (for tests and tools).
  void RenderPending();
  // For tests and tools: the image the scene graph shows (premultiplied, transparent where
  // the widget leaves places out, at the window's pixel ratio) and the number of renders.
  const QImage& ShownImage() const { return FShown; }
  quint64 RebuildCount() const { return FRebuildCount; }

signals:
  void colorSchemeChanged();
  void signNumberChanged();
  void indicatorWidthChanged();
  void indicatorHeightChanged();
  void indicatorAngleChanged();
  void indicatorGapChanged();
  void indicatorStringChanged();
  void indicatorKindChanged();
  void innerBevelChanged();
  void outerBevelChanged();
  void innerBevelWidthChanged();
  void outerBevelWidthChanged();
  void bevelColorChanged();
  void backColorChanged();
  void numberForeColorChanged();
  void numberForeColor1Changed();
  void numberBackColorChanged();
  void indicatorStyleChanged();
  void mouseActionChanged();
  void transparentModeChanged();
  void backMaterialChanged();
  void foreMaterialChanged();
  void materialShadowModeChanged();
  void materialModeChanged();
  void foreMaterialModeChanged();
  void hoveredChanged();
  // The widget's onMouseEnter and onMouseExit; in QML, the handlers of the same names.
  void mouseEnter();
  void mouseExit();

protected:
  void componentComplete() override;
  void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
  void itemChange(ItemChange change, const ItemChangeData& value) override;
  void hoverEnterEvent(QHoverEvent* event) override;
  void hoverLeaveEvent(QHoverEvent* event) override;
  void updatePolish() override;
  QSGNode* updatePaintNode(QSGNode* node, UpdatePaintNodeData* data) override;

private:
  using TColor = LumoLiquidIndicator::TColor;
  static QColor ToQColor(TColor color);
  // Marks the image stale: it is rendered anew before the next frame.
  void Invalidate();
  // Stores a value; when it changed, marks the image stale and signals.
  template <typename T> void Store(T& field, T value, void (TLumoIndicatorItem::*changed)());
  void SetColor(TColor& field, const QColor& value, void (TLumoIndicatorItem::*changed)());
  void SetIndicatorSize(qint32 width, qint32 height);
  void UpdateImplicitSize();
  void ApplySizeRule();
  void ApplyColorScheme();
  void SetHovered(bool value);
  bool SetMaterial(QUrl& url, QImage& image, const QUrl& value);
  QImage LoadMaterial(const QUrl& url) const;
  // The renderer's image with the left-out places transparent.
  QImage ComposeShownImage(QSize size) const;

  LumoLiquidIndicator::TLumoIndicatorState FState;
  QUrl FBackMaterialUrl;
  QUrl FForeMaterialUrl;
  LumoLiquidIndicator::TLumoRenderer FRenderer;
  QImage FShown;
  bool FHovered = false;
  bool FStale = true;
  // Colours given during creation, which a colour scheme given then does not overwrite.
  bool FSchemeGiven = false;
  quint8 FColorsGiven = 0;
  quint64 FRebuildCount = 0;
  quint64 FShownSerial = 0;  // counts the images; the texture follows it
  quint64 FTextureSerial = 0;
};
