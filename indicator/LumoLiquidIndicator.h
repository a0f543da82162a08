#pragma once
/// \file LumoLiquidIndicator.h
/// The liquid-crystal indicator widget, TLumoLiquidIndicator.
//
// The liquid-crystal indicator: a row of SignNumber character cells drawn as seven-segment,
// nine-segment or 5x7 dot-matrix glyphs with lit and unlit segments, framed by an outer and
// an inner bevel, coloured by five colours (or a colour scheme) or textured by materials,
// rotated by any angle in tenths of a degree.
//
// Every accepted property change renders the whole control once into an image (the
// renderer of LumoRenderer_p.h does that, knowing nothing of widgets); painting only copies it through the clip region of the transparent modes.
// A setter given the current value does nothing (except the materials and ColorScheme).
//
// Limits. Every property takes any value of its type, and the work and memory of a rebuild
// follow what the control can show, not the raw numbers:
// - the control sizes itself to at most kLargestControlSide (32767, what X11 allows a
//   window) pixels per side;
// - an image above kLargestImagePixels (2^25, a 7680 x 4320 screen fits), or one the system
//   cannot give, is not made: the control keeps its previous image and logs a warning;
// - only the cells whose glyphs reach into the control are built, and cells narrower than a
//   pixel, which all lie on one spot, come down to their even-odd sum: a SignNumber of
//   2147483647 costs what one cell costs; each distinct glyph is built once and moved into
//   the cells that show it, and the lit and unlit segments' regions are counted pixel by
//   pixel inside the image (a control 32767 pixels long of one-pixel cells has a million);
// - a polygon reaching further outside the image than the image's own size (at least 1024
//   pixels: a bevel wider than the indicator, a far-off glyph area) is cut to that margin
//   before its region is made, its new corners rounded to whole pixels;
// - an indexed material whose colour table does not cover its pixels, which Qt cannot draw,
//   is kept in 32 bits (its missing colours as grey levels); a tiled material of up to 32
//   bits per pixel is one pattern fill.
// Within these limits every value renders as it always has, pixel for pixel.

#include "LumoIndicatorExport.h"
#include "LumoIndicatorVersion.h"
#include "LumoTypes.h"

#include <QColor>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <memory>

class TLumoLiquidIndicatorPrivate;

/// A simulated liquid-crystal display: a row of SignNumber() character cells drawn as
/// seven-segment, nine-segment or 5x7 dot-matrix glyphs with lit and unlit segments, framed by
/// an outer and an inner bevel, coloured by five colours (or a colour scheme) or textured by
/// materials, rotated by any angle in tenths of a degree, reacting to the pointer if asked.
///
/// Every property has a getter of its own name (Indicatorstring()), a setter under the
/// widget's name (SetIndicatorstring()) and under Qt's (setIndicatorstring()), and a change
/// signal (IndicatorstringChanged()) emitted once per real change, after it has taken effect.
/// A setter given the current value does nothing, except SetBackMaterial(),
/// SetForeMaterial() and SetColorScheme(), which always act. Each accepted change renders the
/// whole control once into an image; painting only copies that image.
///
/// \code
/// auto* clock = new TLumoLiquidIndicator(parent);
/// clock->setSignNumber(5);
/// clock->setIndicatorKind(TLumoLiquidIndicator::ik9segment);
/// clock->setIndicatorstring(QStringLiteral("03:00"));
/// clock->Loaded();
/// \endcode
class LUMO_INDICATOR_EXPORT TLumoLiquidIndicator : public QWidget {
  Q_OBJECT
  // Published in this order; the default of each property stands beside it.
  // csSilver. Applied to the five colours only once loaded; always stored.
  Q_PROPERTY(LumoLiquidIndicator::TLumoColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme NOTIFY ColorSchemeChanged)
  // 10 cells; values below 1 are ignored.
  Q_PROPERTY(qint32 SignNumber READ SignNumber WRITE SetSignNumber NOTIFY SignNumberChanged)
  // 172 x 36 pixels, the unrotated indicator; values below 1 are ignored.
  Q_PROPERTY(qint32 IndicatorWidth READ IndicatorWidth WRITE SetIndicatorWidth NOTIFY IndicatorWidthChanged)
  Q_PROPERTY(qint32 IndicatorHeight READ IndicatorHeight WRITE SetIndicatorHeight NOTIFY IndicatorHeightChanged)
  // 0, tenths of a degree counter-clockwise; any value.
  Q_PROPERTY(qint32 IndicatorAngle READ IndicatorAngle WRITE SetIndicatorAngle NOTIFY IndicatorAngleChanged)
  // 2 pixels between the inner bevel and the cells; any value.
  Q_PROPERTY(qint32 IndicatorGap READ IndicatorGap WRITE SetIndicatorGap NOTIFY IndicatorGapChanged)
  // Empty. Also the control's accessible name.
  Q_PROPERTY(QString Indicatorstring READ Indicatorstring WRITE SetIndicatorstring NOTIFY IndicatorstringChanged)
  // ik7segment.
  Q_PROPERTY(LumoLiquidIndicator::TLumoIndicatorKind IndicatorKind READ IndicatorKind WRITE SetIndicatorKind NOTIFY IndicatorKindChanged)
  // bkDown inside, bkUP outside, both 2 pixels wide (widths below 1 are ignored).
  Q_PROPERTY(LumoLiquidIndicator::TLumoBevelKind InnerBevel READ InnerBevel WRITE SetInnerBevel NOTIFY InnerBevelChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoBevelKind OuterBevel READ OuterBevel WRITE SetOuterBevel NOTIFY OuterBevelChanged)
  Q_PROPERTY(qint32 InnerBevelWidth READ InnerBevelWidth WRITE SetInnerBevelWidth NOTIFY InnerBevelWidthChanged)
  Q_PROPERTY(qint32 OuterBevelWidth READ OuterBevelWidth WRITE SetOuterBevelWidth NOTIFY OuterBevelWidthChanged)
  // Colours are 0x00BBGGRR; a negative value names a system colour by its lowest byte.
  // Bevel and back 0xDDDDDD, lit 0x363636, lit while hovered 0x0000FF, unlit 0xD3D3D3.
  // Each stands beside its QColor face (bevelColor, ...: Designer's colour picker, style
  // sheets, setProperty with a QColor or a colour name), which comes first, so that a form
  // holding both sets the exact colour, a system colour included, last.
  Q_PROPERTY(QColor bevelColor READ bevelColor WRITE setBevelColor NOTIFY bevelColorChanged)
  Q_PROPERTY(qint32 BevelColor READ BevelColor WRITE SetBevelColor NOTIFY BevelColorChanged)
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
  Q_PROPERTY(qint32 BackColor READ BackColor WRITE SetBackColor NOTIFY BackColorChanged)
  Q_PROPERTY(QColor numberForeColor READ numberForeColor WRITE setNumberForeColor NOTIFY numberForeColorChanged)
  Q_PROPERTY(qint32 NumberForeColor READ NumberForeColor WRITE SetNumberForeColor NOTIFY NumberForeColorChanged)
  Q_PROPERTY(QColor numberForeColor1 READ numberForeColor1 WRITE setNumberForeColor1 NOTIFY numberForeColor1Changed)
  Q_PROPERTY(qint32 NumberForeColor1 READ NumberForeColor1 WRITE SetNumberForeColor1 NOTIFY NumberForeColor1Changed)
  Q_PROPERTY(QColor numberBackColor READ numberBackColor WRITE setNumberBackColor NOTIFY numberBackColorChanged)
  Q_PROPERTY(qint32 NumberBackColor READ NumberBackColor WRITE SetNumberBackColor NOTIFY NumberBackColorChanged)
  // isNormal.
  Q_PROPERTY(LumoLiquidIndicator::TLumoIndicatorStyle IndicatorStyle READ IndicatorStyle WRITE SetIndicatorStyle NOTIFY IndicatorStyleChanged)
  // maNone.
  Q_PROPERTY(LumoLiquidIndicator::TLumoMouseAction MouseAction READ MouseAction WRITE SetMouseAction NOTIFY MouseActionChanged)
  // tmNone: the control is opaque.
  Q_PROPERTY(LumoLiquidIndicator::TLumoTransparentMode TransparentMode READ TransparentMode WRITE SetTransparentMode NOTIFY TransparentModeChanged)
  // None (a null image). Setting copies the image (an indexed one whose colour table does
  // not cover its pixels in 32 bits), always rebuilds and always signals.
  Q_PROPERTY(QImage BackMaterial READ BackMaterial WRITE SetBackMaterial NOTIFY BackMaterialChanged)
  Q_PROPERTY(QImage ForeMaterial READ ForeMaterial WRITE SetForeMaterial NOTIFY ForeMaterialChanged)
  // msmDark; mmStretch for both material modes.
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialShadowMode MaterialShadowMode READ MaterialShadowMode WRITE SetMaterialShadowMode NOTIFY MaterialShadowModeChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialMode MaterialMode READ MaterialMode WRITE SetMaterialMode NOTIFY MaterialModeChanged)
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialMode ForeMaterialMode READ ForeMaterialMode WRITE SetForeMaterialMode NOTIFY ForeMaterialModeChanged)

public:
  // The members of the enumerations, reachable as TLumoLiquidIndicator::ik9segment too
  // (which is how a form compiled by uic names them). Constants rather than C++20's
  // "using enum", so that the header stays C++17.
  static constexpr LumoLiquidIndicator::TLumoIndicatorKind ik7segment = LumoLiquidIndicator::ik7segment;
  static constexpr LumoLiquidIndicator::TLumoIndicatorKind ik5x7matrix = LumoLiquidIndicator::ik5x7matrix;
  static constexpr LumoLiquidIndicator::TLumoIndicatorKind ik9segment = LumoLiquidIndicator::ik9segment;
  static constexpr LumoLiquidIndicator::TLumoBevelKind bkUP = LumoLiquidIndicator::bkUP;
  static constexpr LumoLiquidIndicator::TLumoBevelKind bkDown = LumoLiquidIndicator::bkDown;
  static constexpr LumoLiquidIndicator::TLumoBevelKind bkNone = LumoLiquidIndicator::bkNone;
  static constexpr LumoLiquidIndicator::TLumoIndicatorStyle isThin = LumoLiquidIndicator::isThin;
  static constexpr LumoLiquidIndicator::TLumoIndicatorStyle isNormal = LumoLiquidIndicator::isNormal;
  static constexpr LumoLiquidIndicator::TLumoIndicatorStyle isThick = LumoLiquidIndicator::isThick;
  static constexpr LumoLiquidIndicator::TLumoMouseAction maNone = LumoLiquidIndicator::maNone;
  static constexpr LumoLiquidIndicator::TLumoMouseAction maColor = LumoLiquidIndicator::maColor;
  static constexpr LumoLiquidIndicator::TLumoMouseAction maWidth = LumoLiquidIndicator::maWidth;
  static constexpr LumoLiquidIndicator::TLumoMouseAction maBoth = LumoLiquidIndicator::maBoth;
  static constexpr LumoLiquidIndicator::TLumoTransparentMode tmNone = LumoLiquidIndicator::tmNone;
  static constexpr LumoLiquidIndicator::TLumoTransparentMode tmBackOnly = LumoLiquidIndicator::tmBackOnly;
  static constexpr LumoLiquidIndicator::TLumoTransparentMode tmAll = LumoLiquidIndicator::tmAll;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csSilver = LumoLiquidIndicator::csSilver;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csInvSilver = LumoLiquidIndicator::csInvSilver;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csWhite = LumoLiquidIndicator::csWhite;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csBlack = LumoLiquidIndicator::csBlack;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csPlasma = LumoLiquidIndicator::csPlasma;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csInvPlasma = LumoLiquidIndicator::csInvPlasma;
  static constexpr LumoLiquidIndicator::TLumoColorScheme csZORA = LumoLiquidIndicator::csZORA;
  static constexpr LumoLiquidIndicator::TLumoMaterialShadowMode msmDark = LumoLiquidIndicator::msmDark;
  static constexpr LumoLiquidIndicator::TLumoMaterialShadowMode msmLight = LumoLiquidIndicator::msmLight;
  static constexpr LumoLiquidIndicator::TLumoMaterialShadowMode msmNone = LumoLiquidIndicator::msmNone;
  static constexpr LumoLiquidIndicator::TLumoMaterialMode mmStretch = LumoLiquidIndicator::mmStretch;
  static constexpr LumoLiquidIndicator::TLumoMaterialMode mmTile = LumoLiquidIndicator::mmTile;
  using TColor = LumoLiquidIndicator::TColor;

  // The largest control, per side: what X11 allows a window. The control sizes itself to
  // at most this.
  static constexpr int kLargestControlSide = 32767;
  // The largest image the control renders, in pixels (a 7680 x 4320 screen fits; 128 MB at
  // 32 bits per pixel). A larger one is not made: the control keeps its previous image and
  // says so with a warning, as it does when the system cannot give the memory.
  static constexpr qint64 kLargestImagePixels = qint64(1) << 25;

  // The private refresh message, posted to the control itself for deferred refreshes.
  static constexpr QEvent::Type CM_INDICATORREFRESH = static_cast<QEvent::Type>(0xB065);

  /// A control of 172 x 36 pixels with the defaults of every property, not yet loaded.
  explicit TLumoLiquidIndicator(QWidget* parent = nullptr);
  ~TLumoLiquidIndicator() override;

  /// Called once all stored properties of a form have been set (after setupUi(), or after
  /// configuring a widget made in code): from then on size, angle, sign count and colour
  /// scheme take effect at once. Before it they are only stored, so a colour scheme does not
  /// overwrite colours set in the same form. A control nothing has sized takes the rotated
  /// box of its indicator here.
  Q_INVOKABLE void Loaded();

  /// \name Properties
  /// The getters, one per property, with its default.
  ///@{

  /// The colour scheme last chosen (csSilver). Setting it once loaded overwrites the five
  /// colours with the scheme's and shows them after the posted refresh; always stored.
  LumoLiquidIndicator::TLumoColorScheme ColorScheme() const;
  /// The number of character cells (10); values below 1 are ignored.
  qint32 SignNumber() const;
  /// The width of the unrotated indicator in pixels (172); values below 1 are ignored.
  qint32 IndicatorWidth() const;
  /// The height of the unrotated indicator in pixels (36); values below 1 are ignored.
  qint32 IndicatorHeight() const;
  /// The rotation in tenths of a degree, counter-clockwise (0); any value. The control takes
  /// the bounding box of the rotated indicator.
  qint32 IndicatorAngle() const;
  /// The margin in pixels between the inner bevel and the cells (2); any value.
  qint32 IndicatorGap() const;
  /// The text shown (empty), right-aligned in the cells; also the accessible name and value.
  /// Which characters each kind shows is in the README.
  QString Indicatorstring() const;
  /// How the cells draw their characters (ik7segment).
  LumoLiquidIndicator::TLumoIndicatorKind IndicatorKind() const;
  /// The inner bevel (bkDown).
  LumoLiquidIndicator::TLumoBevelKind InnerBevel() const;
  /// The outer bevel (bkUP).
  LumoLiquidIndicator::TLumoBevelKind OuterBevel() const;
  /// The inner bevel's width in pixels (2); values below 1 are ignored.
  qint32 InnerBevelWidth() const;
  /// The outer bevel's width in pixels (2); values below 1 are ignored.
  qint32 OuterBevelWidth() const;
  /// The bevels' colour, 0x00BBGGRR (0xDDDDDD); their light and dark faces derive from it.
  /// A negative colour names a system colour (see TColor).
  qint32 BevelColor() const;
  /// The background, 0x00BBGGRR (0xDDDDDD).
  qint32 BackColor() const;
  /// The lit segments, 0x00BBGGRR (0x363636).
  qint32 NumberForeColor() const;
  /// The lit segments while hovered with maColor or maBoth, 0x00BBGGRR (0x0000FF, red).
  qint32 NumberForeColor1() const;
  /// The unlit segments, 0x00BBGGRR (0xD3D3D3).
  qint32 NumberBackColor() const;
  /// The thickness of segments and dots (isNormal).
  LumoLiquidIndicator::TLumoIndicatorStyle IndicatorStyle() const;
  /// What hovering changes (maNone).
  LumoLiquidIndicator::TLumoMouseAction MouseAction() const;
  /// What of the control is painted (tmNone: all of it, opaque).
  LumoLiquidIndicator::TLumoTransparentMode TransparentMode() const;
  /// The texture of background, bevels and unlit segments (none: the colours are used).
  /// Setting copies the image, always rebuilds and always signals.
  QImage BackMaterial() const;
  /// The texture of the lit segments (none: NumberForeColor() is used); set as BackMaterial().
  QImage ForeMaterial() const;
  /// How the unlit segments shade the back material (msmDark).
  LumoLiquidIndicator::TLumoMaterialShadowMode MaterialShadowMode() const;
  /// How the back material is laid over the image (mmStretch).
  LumoLiquidIndicator::TLumoMaterialMode MaterialMode() const;
  /// How the fore material is laid over the image (mmStretch).
  LumoLiquidIndicator::TLumoMaterialMode ForeMaterialMode() const;
  ///@}

  /// \name Colours as QColors
  /// The five colours as QColors, under the names the QML item gives them: what Designer's
  /// colour picker edits, what a style sheet sets (`qproperty-backColor: #c08020`) and what
  /// setProperty() takes as a QColor or a colour name ("#c08020", "navy"). A system colour
  /// reads as the colour shown, from the widget's palette. Setting one stores its RGB value
  /// (alpha is not used); an invalid colour, or the colour shown now, changes nothing, so a
  /// system colour written back through this face stays a system colour, and the colour a
  /// system colour showed before this face replaced it brings the system colour back (as
  /// Designer's undo gives it). An integer given to these setters is a TColor (0x00BBGGRR),
  /// as ever: for 0xRRGGBB write QColor(QRgb).
  ///@{
  QColor bevelColor() const;
  QColor backColor() const;
  QColor numberForeColor() const;
  QColor numberForeColor1() const;
  QColor numberBackColor() const;
  void setBevelColor(const QColor& value);
  void setBackColor(const QColor& value);
  void setNumberForeColor(const QColor& value);
  void setNumberForeColor1(const QColor& value);
  void setNumberBackColor(const QColor& value);
  // Qt::red would otherwise be taken as the integer 7, a TColor.
  void setBevelColor(Qt::GlobalColor value) { setBevelColor(QColor(value)); }
  void setBackColor(Qt::GlobalColor value) { setBackColor(QColor(value)); }
  void setNumberForeColor(Qt::GlobalColor value) { setNumberForeColor(QColor(value)); }
  void setNumberForeColor1(Qt::GlobalColor value) { setNumberForeColor1(QColor(value)); }
  void setNumberBackColor(Qt::GlobalColor value) { setNumberBackColor(QColor(value)); }
  ///@}

  /// \name Setters
  /// One per property, under the widget's names; see the getters for what each accepts.
  ///@{
  void SetColorScheme(LumoLiquidIndicator::TLumoColorScheme value);
  void SetSignNumber(qint32 value);
  void SetIndicatorWidth(qint32 value);
  void SetIndicatorHeight(qint32 value);
  void SetIndicatorAngle(qint32 value);
  void SetIndicatorGap(qint32 value);
  void SetIndicatorstring(const QString& value);
  void SetIndicatorKind(LumoLiquidIndicator::TLumoIndicatorKind value);
  void SetInnerBevel(LumoLiquidIndicator::TLumoBevelKind value);
  void SetOuterBevel(LumoLiquidIndicator::TLumoBevelKind value);
  void SetInnerBevelWidth(qint32 value);
  void SetOuterBevelWidth(qint32 value);
  void SetBevelColor(qint32 value);
  void SetBackColor(qint32 value);
  void SetNumberForeColor(qint32 value);
  void SetNumberForeColor1(qint32 value);
  void SetNumberBackColor(qint32 value);
  void SetIndicatorStyle(LumoLiquidIndicator::TLumoIndicatorStyle value);
  void SetMouseAction(LumoLiquidIndicator::TLumoMouseAction value);
  void SetTransparentMode(LumoLiquidIndicator::TLumoTransparentMode value);
  void SetBackMaterial(const QImage& value);
  void SetForeMaterial(const QImage& value);
  void SetMaterialShadowMode(LumoLiquidIndicator::TLumoMaterialShadowMode value);
  void SetMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value);
  void SetForeMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value);
  ///@}

  /// \name Setters under Qt's names
  /// The same setters as Qt names them, which forms compiled by uic call.
  ///@{
  void setColorScheme(LumoLiquidIndicator::TLumoColorScheme value) { SetColorScheme(value); }
  void setSignNumber(qint32 value) { SetSignNumber(value); }
  void setIndicatorWidth(qint32 value) { SetIndicatorWidth(value); }
  void setIndicatorHeight(qint32 value) { SetIndicatorHeight(value); }
  void setIndicatorAngle(qint32 value) { SetIndicatorAngle(value); }
  void setIndicatorGap(qint32 value) { SetIndicatorGap(value); }
  void setIndicatorstring(const QString& value) { SetIndicatorstring(value); }
  void setIndicatorKind(LumoLiquidIndicator::TLumoIndicatorKind value) { SetIndicatorKind(value); }
  void setInnerBevel(LumoLiquidIndicator::TLumoBevelKind value) { SetInnerBevel(value); }
  void setOuterBevel(LumoLiquidIndicator::TLumoBevelKind value) { SetOuterBevel(value); }
  void setInnerBevelWidth(qint32 value) { SetInnerBevelWidth(value); }
  void setOuterBevelWidth(qint32 value) { SetOuterBevelWidth(value); }
  void setBevelColor(qint32 value) { SetBevelColor(value); }
  void setBackColor(qint32 value) { SetBackColor(value); }
  void setNumberForeColor(qint32 value) { SetNumberForeColor(value); }
  void setNumberForeColor1(qint32 value) { SetNumberForeColor1(value); }
  void setNumberBackColor(qint32 value) { SetNumberBackColor(value); }
  void setIndicatorStyle(LumoLiquidIndicator::TLumoIndicatorStyle value) { SetIndicatorStyle(value); }
  void setMouseAction(LumoLiquidIndicator::TLumoMouseAction value) { SetMouseAction(value); }
  void setTransparentMode(LumoLiquidIndicator::TLumoTransparentMode value) { SetTransparentMode(value); }
  void setBackMaterial(const QImage& value) { SetBackMaterial(value); }
  void setForeMaterial(const QImage& value) { SetForeMaterial(value); }
  void setMaterialShadowMode(LumoLiquidIndicator::TLumoMaterialShadowMode value) { SetMaterialShadowMode(value); }
  void setMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value) { SetMaterialMode(value); }
  void setForeMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value) { SetForeMaterialMode(value); }
  ///@}

  // The rotated box of the indicator: the size the control takes when loaded. The default
  // size policy is fixed, so a layout gives the control this size and no other.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  /// The RGB value (0x00BBGGRR) of a colour, system colours taken from the application palette.
  static TColor ResolveColor(TColor color);

signals:
  /// \name Change signals
  /// One per property, emitted after the change has taken effect and only when the value
  /// changed; the materials and ColorScheme signal on every set, as they always act. A colour
  /// scheme also signals each of the five colours it changed.
  ///@{
  void ColorSchemeChanged(LumoLiquidIndicator::TLumoColorScheme value);
  void SignNumberChanged(qint32 value);
  void IndicatorWidthChanged(qint32 value);
  void IndicatorHeightChanged(qint32 value);
  void IndicatorAngleChanged(qint32 value);
  void IndicatorGapChanged(qint32 value);
  void IndicatorstringChanged(const QString& value);
  void IndicatorKindChanged(LumoLiquidIndicator::TLumoIndicatorKind value);
  void InnerBevelChanged(LumoLiquidIndicator::TLumoBevelKind value);
  void OuterBevelChanged(LumoLiquidIndicator::TLumoBevelKind value);
  void InnerBevelWidthChanged(qint32 value);
  void OuterBevelWidthChanged(qint32 value);
  void BevelColorChanged(qint32 value);
  void BackColorChanged(qint32 value);
  void NumberForeColorChanged(qint32 value);
  void NumberForeColor1Changed(qint32 value);
  void NumberBackColorChanged(qint32 value);
  void IndicatorStyleChanged(LumoLiquidIndicator::TLumoIndicatorStyle value);
  void MouseActionChanged(LumoLiquidIndicator::TLumoMouseAction value);
  void TransparentModeChanged(LumoLiquidIndicator::TLumoTransparentMode value);
  void BackMaterialChanged(const QImage& value);
  void ForeMaterialChanged(const QImage& value);
  void MaterialShadowModeChanged(LumoLiquidIndicator::TLumoMaterialShadowMode value);
  void MaterialModeChanged(LumoLiquidIndicator::TLumoMaterialMode value);
  void ForeMaterialModeChanged(LumoLiquidIndicator::TLumoMaterialMode value);
  /// The QColor faces' signals, each emitted with its TColor property's.
  void bevelColorChanged(const QColor& value);
  void backColorChanged(const QColor& value);
  void numberForeColorChanged(const QColor& value);
  void numberForeColor1Changed(const QColor& value);
  void numberBackColorChanged(const QColor& value);
  ///@}
  /// The pointer entered the control; emitted after the toolkit's own handling.
  void onMouseEnter(TLumoLiquidIndicator* sender);
  /// The pointer left the control; emitted after the toolkit's own handling.
  void onMouseExit(TLumoLiquidIndicator* sender);

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  friend class TLumoLiquidIndicatorPrivate;
  std::unique_ptr<TLumoLiquidIndicatorPrivate> d;
};
