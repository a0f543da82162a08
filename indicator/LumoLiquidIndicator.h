#pragma once
/// \file LumoLiquidIndicator.h
/// The liquid-crystal indicator widget, TLumoLiquidIndicator.

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
/// Properties set before the widget is first shown or polished take effect then, in any
/// order, as they do for every Qt widget: a colour scheme fills the colours not given
/// explicitly, and a control nothing has sized takes the rotated box of its indicator. From
/// then on every setter acts at once.
///
/// \code
/// auto* clock = new TLumoLiquidIndicator(parent);
/// clock->setSignNumber(5);
/// clock->setIndicatorKind(TLumoLiquidIndicator::ik9segment);
/// clock->setColorScheme(TLumoLiquidIndicator::csBlack);
/// clock->setIndicatorstring(QStringLiteral("03:00"));
/// layout->addWidget(clock);
/// \endcode
///
/// <b>Limits.</b> Every property takes any value of its type, and the work and memory of a
/// rebuild follow what the control can show, not the raw numbers: the control is at most
/// #kLargestControlSide pixels per side; an image above #kLargestImagePixels, or one the
/// system cannot give, is not made (the control keeps its previous image and logs a
/// warning); only the cells whose glyphs reach into the control are built, and cells narrower
/// than a pixel come down to their even-odd sum, so a SignNumber() of 2147483647 costs what one
/// cell costs; a polygon reaching further outside the image than the image's own size (at
/// least 1024 pixels) is cut there first. Within these limits every value renders as it always
/// has, pixel for pixel.
class LUMO_INDICATOR_EXPORT TLumoLiquidIndicator : public QWidget {
  Q_OBJECT
  // Published in this order, which is the order Designer saves them in and uic and QUiLoader
  // set them: each QColor face comes before its TColor, so that a form holding both sets the
  // exact colour, a system colour included, last.
  /// The colour scheme last chosen (csSilver): sets the five colours, all of them once loaded,
  /// before that those not given explicitly. Always stored; a value outside the enumeration is
  /// ignored.
  Q_PROPERTY(LumoLiquidIndicator::TLumoColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme NOTIFY ColorSchemeChanged)
  /// The number of character cells (10); values below 1 are ignored.
  Q_PROPERTY(qint32 SignNumber READ SignNumber WRITE SetSignNumber NOTIFY SignNumberChanged)
  /// The width of the unrotated indicator in pixels (172); values below 1 are ignored.
  Q_PROPERTY(qint32 IndicatorWidth READ IndicatorWidth WRITE SetIndicatorWidth NOTIFY IndicatorWidthChanged)
  /// The height of the unrotated indicator in pixels (36); values below 1 are ignored.
  Q_PROPERTY(qint32 IndicatorHeight READ IndicatorHeight WRITE SetIndicatorHeight NOTIFY IndicatorHeightChanged)
  /// The rotation in tenths of a degree, counter-clockwise (0); any value.
  Q_PROPERTY(qint32 IndicatorAngle READ IndicatorAngle WRITE SetIndicatorAngle NOTIFY IndicatorAngleChanged)
  /// The margin in pixels between the inner bevel and the cells (2); any value.
  Q_PROPERTY(qint32 IndicatorGap READ IndicatorGap WRITE SetIndicatorGap NOTIFY IndicatorGapChanged)
  /// The text shown (empty), right-aligned in the cells; the accessible value.
  Q_PROPERTY(QString Indicatorstring READ Indicatorstring WRITE SetIndicatorstring NOTIFY IndicatorstringChanged)
  /// How the cells draw their characters (ik7segment).
  Q_PROPERTY(LumoLiquidIndicator::TLumoIndicatorKind IndicatorKind READ IndicatorKind WRITE SetIndicatorKind NOTIFY IndicatorKindChanged)
  /// The inner bevel (bkDown).
  Q_PROPERTY(LumoLiquidIndicator::TLumoBevelKind InnerBevel READ InnerBevel WRITE SetInnerBevel NOTIFY InnerBevelChanged)
  /// The outer bevel (bkUP).
  Q_PROPERTY(LumoLiquidIndicator::TLumoBevelKind OuterBevel READ OuterBevel WRITE SetOuterBevel NOTIFY OuterBevelChanged)
  /// The inner bevel's width in pixels (2); values below 1 are ignored.
  Q_PROPERTY(qint32 InnerBevelWidth READ InnerBevelWidth WRITE SetInnerBevelWidth NOTIFY InnerBevelWidthChanged)
  /// The outer bevel's width in pixels (2); values below 1 are ignored.
  Q_PROPERTY(qint32 OuterBevelWidth READ OuterBevelWidth WRITE SetOuterBevelWidth NOTIFY OuterBevelWidthChanged)
  /// BevelColor as a QColor: Designer's colour picker, style sheets, colour names.
  Q_PROPERTY(QColor bevelColor READ bevelColor WRITE setBevelColor NOTIFY bevelColorChanged)
  /// The bevels' colour as a TColor (0xDDDDDD); their light and dark faces derive from it.
  Q_PROPERTY(qint32 BevelColor READ BevelColor WRITE SetBevelColor NOTIFY BevelColorChanged)
  /// BackColor as a QColor.
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
  /// The background as a TColor (0xDDDDDD).
  Q_PROPERTY(qint32 BackColor READ BackColor WRITE SetBackColor NOTIFY BackColorChanged)
  /// NumberForeColor as a QColor.
  Q_PROPERTY(QColor numberForeColor READ numberForeColor WRITE setNumberForeColor NOTIFY numberForeColorChanged)
  /// The lit segments as a TColor (0x363636).
  Q_PROPERTY(qint32 NumberForeColor READ NumberForeColor WRITE SetNumberForeColor NOTIFY NumberForeColorChanged)
  /// NumberForeColor1 as a QColor.
  Q_PROPERTY(QColor numberForeColor1 READ numberForeColor1 WRITE setNumberForeColor1 NOTIFY numberForeColor1Changed)
  /// The lit segments while hovered with maColor or maBoth, as a TColor (0x0000FF, red).
  Q_PROPERTY(qint32 NumberForeColor1 READ NumberForeColor1 WRITE SetNumberForeColor1 NOTIFY NumberForeColor1Changed)
  /// NumberBackColor as a QColor.
  Q_PROPERTY(QColor numberBackColor READ numberBackColor WRITE setNumberBackColor NOTIFY numberBackColorChanged)
  /// The unlit segments as a TColor (0xD3D3D3).
  Q_PROPERTY(qint32 NumberBackColor READ NumberBackColor WRITE SetNumberBackColor NOTIFY NumberBackColorChanged)
  /// The thickness of segments and dots (isNormal).
  Q_PROPERTY(LumoLiquidIndicator::TLumoIndicatorStyle IndicatorStyle READ IndicatorStyle WRITE SetIndicatorStyle NOTIFY IndicatorStyleChanged)
  /// What hovering changes (maNone).
  Q_PROPERTY(LumoLiquidIndicator::TLumoMouseAction MouseAction READ MouseAction WRITE SetMouseAction NOTIFY MouseActionChanged)
  /// What of the control is painted (tmNone: all of it, opaque).
  Q_PROPERTY(LumoLiquidIndicator::TLumoTransparentMode TransparentMode READ TransparentMode WRITE SetTransparentMode NOTIFY TransparentModeChanged)
  /// The texture of background, bevels and unlit segments (none).
  Q_PROPERTY(QImage BackMaterial READ BackMaterial WRITE SetBackMaterial NOTIFY BackMaterialChanged)
  /// The texture of the lit segments (none).
  Q_PROPERTY(QImage ForeMaterial READ ForeMaterial WRITE SetForeMaterial NOTIFY ForeMaterialChanged)
  /// How the unlit segments shade the back material (msmDark).
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialShadowMode MaterialShadowMode READ MaterialShadowMode WRITE SetMaterialShadowMode NOTIFY MaterialShadowModeChanged)
  /// How the back material is laid over the image (mmStretch).
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialMode MaterialMode READ MaterialMode WRITE SetMaterialMode NOTIFY MaterialModeChanged)
  /// How the fore material is laid over the image (mmStretch).
  Q_PROPERTY(LumoLiquidIndicator::TLumoMaterialMode ForeMaterialMode READ ForeMaterialMode WRITE SetForeMaterialMode NOTIFY ForeMaterialModeChanged)

public:
  /// \name Enumeration members
  /// The members of the enumerations of LumoTypes.h, reachable through the class too, as a
  /// form compiled by uic names them (constants rather than C++20's "using enum", so that the
  /// header stays C++17).
  /// \code
  /// lcd->setIndicatorKind(TLumoLiquidIndicator::ik9segment);
  /// lcd->setProperty("IndicatorKind", "ik9segment");  // by name, as a form does
  /// \endcode
  ///@{
  static constexpr LumoLiquidIndicator::TLumoIndicatorKind ik7segment = LumoLiquidIndicator::ik7segment;  ///< LumoLiquidIndicator::ik7segment
  static constexpr LumoLiquidIndicator::TLumoIndicatorKind ik5x7matrix = LumoLiquidIndicator::ik5x7matrix;  ///< LumoLiquidIndicator::ik5x7matrix
  static constexpr LumoLiquidIndicator::TLumoIndicatorKind ik9segment = LumoLiquidIndicator::ik9segment;  ///< LumoLiquidIndicator::ik9segment
  static constexpr LumoLiquidIndicator::TLumoBevelKind bkUP = LumoLiquidIndicator::bkUP;  ///< LumoLiquidIndicator::bkUP
  static constexpr LumoLiquidIndicator::TLumoBevelKind bkDown = LumoLiquidIndicator::bkDown;  ///< LumoLiquidIndicator::bkDown
  static constexpr LumoLiquidIndicator::TLumoBevelKind bkNone = LumoLiquidIndicator::bkNone;  ///< LumoLiquidIndicator::bkNone
  static constexpr LumoLiquidIndicator::TLumoIndicatorStyle isThin = LumoLiquidIndicator::isThin;  ///< LumoLiquidIndicator::isThin
  static constexpr LumoLiquidIndicator::TLumoIndicatorStyle isNormal = LumoLiquidIndicator::isNormal;  ///< LumoLiquidIndicator::isNormal
  static constexpr LumoLiquidIndicator::TLumoIndicatorStyle isThick = LumoLiquidIndicator::isThick;  ///< LumoLiquidIndicator::isThick
  static constexpr LumoLiquidIndicator::TLumoMouseAction maNone = LumoLiquidIndicator::maNone;  ///< LumoLiquidIndicator::maNone
  static constexpr LumoLiquidIndicator::TLumoMouseAction maColor = LumoLiquidIndicator::maColor;  ///< LumoLiquidIndicator::maColor
  static constexpr LumoLiquidIndicator::TLumoMouseAction maWidth = LumoLiquidIndicator::maWidth;  ///< LumoLiquidIndicator::maWidth
  static constexpr LumoLiquidIndicator::TLumoMouseAction maBoth = LumoLiquidIndicator::maBoth;  ///< LumoLiquidIndicator::maBoth
  static constexpr LumoLiquidIndicator::TLumoTransparentMode tmNone = LumoLiquidIndicator::tmNone;  ///< LumoLiquidIndicator::tmNone
  static constexpr LumoLiquidIndicator::TLumoTransparentMode tmBackOnly = LumoLiquidIndicator::tmBackOnly;  ///< LumoLiquidIndicator::tmBackOnly
  static constexpr LumoLiquidIndicator::TLumoTransparentMode tmAll = LumoLiquidIndicator::tmAll;  ///< LumoLiquidIndicator::tmAll
  static constexpr LumoLiquidIndicator::TLumoColorScheme csSilver = LumoLiquidIndicator::csSilver;  ///< LumoLiquidIndicator::csSilver
  static constexpr LumoLiquidIndicator::TLumoColorScheme csInvSilver = LumoLiquidIndicator::csInvSilver;  ///< LumoLiquidIndicator::csInvSilver
  static constexpr LumoLiquidIndicator::TLumoColorScheme csWhite = LumoLiquidIndicator::csWhite;  ///< LumoLiquidIndicator::csWhite
  static constexpr LumoLiquidIndicator::TLumoColorScheme csBlack = LumoLiquidIndicator::csBlack;  ///< LumoLiquidIndicator::csBlack
  static constexpr LumoLiquidIndicator::TLumoColorScheme csPlasma = LumoLiquidIndicator::csPlasma;  ///< LumoLiquidIndicator::csPlasma
  static constexpr LumoLiquidIndicator::TLumoColorScheme csInvPlasma = LumoLiquidIndicator::csInvPlasma;  ///< LumoLiquidIndicator::csInvPlasma
  static constexpr LumoLiquidIndicator::TLumoColorScheme csZORA = LumoLiquidIndicator::csZORA;  ///< LumoLiquidIndicator::csZORA
  static constexpr LumoLiquidIndicator::TLumoMaterialShadowMode msmDark = LumoLiquidIndicator::msmDark;  ///< LumoLiquidIndicator::msmDark
  static constexpr LumoLiquidIndicator::TLumoMaterialShadowMode msmLight = LumoLiquidIndicator::msmLight;  ///< LumoLiquidIndicator::msmLight
  static constexpr LumoLiquidIndicator::TLumoMaterialShadowMode msmNone = LumoLiquidIndicator::msmNone;  ///< LumoLiquidIndicator::msmNone
  static constexpr LumoLiquidIndicator::TLumoMaterialMode mmStretch = LumoLiquidIndicator::mmStretch;  ///< LumoLiquidIndicator::mmStretch
  static constexpr LumoLiquidIndicator::TLumoMaterialMode mmTile = LumoLiquidIndicator::mmTile;  ///< LumoLiquidIndicator::mmTile
  ///@}
  /// A colour, 0x00BBGGRR; see LumoLiquidIndicator::TColor.
  using TColor = LumoLiquidIndicator::TColor;

  /// \name Limits
  ///@{
  /// The largest control, per side: what X11 allows a window. The control sizes itself to at
  /// most this.
  static constexpr int kLargestControlSide = 32767;
  /// The largest image the control renders, in pixels (a 7680 x 4320 screen fits; 128 MB at
  /// 32 bits per pixel). A larger one is not made: the control keeps its previous image and
  /// says so with a warning, as it does when the system cannot give the memory.
  static constexpr qint64 kLargestImagePixels = qint64(1) << 25;
  ///@}

  /// The event the control posts to itself for a deferred refresh: a colour scheme, the
  /// pointer entering or leaving, or a resize at 0 or 180 degrees is shown when it arrives,
  /// and one on its way serves every change until then.
  static constexpr QEvent::Type CM_INDICATORREFRESH = static_cast<QEvent::Type>(0xB065);

  /// A control of 172 x 36 pixels with the defaults of every property.
  explicit TLumoLiquidIndicator(QWidget* parent = nullptr);
  ~TLumoLiquidIndicator() override;

  /// Makes the properties set so far take effect. The widget calls it itself when it is
  /// first polished (before it is first shown, or when the event loop first runs after it
  /// was made), so nobody needs to; a form loader may call it after setting a form's
  /// properties, and any further call does nothing. Before it, the sign count, the
  /// indicator's size and angle are only stored and a colour scheme fills only the colours
  /// not given explicitly; a control nothing has sized then takes the rotated box of its
  /// indicator.
  Q_INVOKABLE void Loaded();

  /// \name Getters
  /// One per property; see the property for its default and the values it takes.
  /// \code
  /// if (lcd->IndicatorKind() == TLumoLiquidIndicator::ik9segment)
  ///   lcd->SetIndicatorstring(QStringLiteral("12:34"));
  /// \endcode
  ///@{

  /// The #ColorScheme property.
  LumoLiquidIndicator::TLumoColorScheme ColorScheme() const;
  /// The #SignNumber property.
  qint32 SignNumber() const;
  /// The #IndicatorWidth property.
  qint32 IndicatorWidth() const;
  /// The #IndicatorHeight property.
  qint32 IndicatorHeight() const;
  /// The #IndicatorAngle property.
  qint32 IndicatorAngle() const;
  /// The #IndicatorGap property.
  qint32 IndicatorGap() const;
  /// The #Indicatorstring property.
  QString Indicatorstring() const;
  /// The #IndicatorKind property.
  LumoLiquidIndicator::TLumoIndicatorKind IndicatorKind() const;
  /// The #InnerBevel property.
  LumoLiquidIndicator::TLumoBevelKind InnerBevel() const;
  /// The #OuterBevel property.
  LumoLiquidIndicator::TLumoBevelKind OuterBevel() const;
  /// The #InnerBevelWidth property.
  qint32 InnerBevelWidth() const;
  /// The #OuterBevelWidth property.
  qint32 OuterBevelWidth() const;
  /// The #BevelColor property.
  qint32 BevelColor() const;
  /// The #BackColor property.
  qint32 BackColor() const;
  /// The #NumberForeColor property.
  qint32 NumberForeColor() const;
  /// The #NumberForeColor1 property.
  qint32 NumberForeColor1() const;
  /// The #NumberBackColor property.
  qint32 NumberBackColor() const;
  /// The #IndicatorStyle property.
  LumoLiquidIndicator::TLumoIndicatorStyle IndicatorStyle() const;
  /// The #MouseAction property.
  LumoLiquidIndicator::TLumoMouseAction MouseAction() const;
  /// The #TransparentMode property.
  LumoLiquidIndicator::TLumoTransparentMode TransparentMode() const;
  /// The #BackMaterial property.
  QImage BackMaterial() const;
  /// The #ForeMaterial property.
  QImage ForeMaterial() const;
  /// The #MaterialShadowMode property.
  LumoLiquidIndicator::TLumoMaterialShadowMode MaterialShadowMode() const;
  /// The #MaterialMode property.
  LumoLiquidIndicator::TLumoMaterialMode MaterialMode() const;
  /// The #ForeMaterialMode property.
  LumoLiquidIndicator::TLumoMaterialMode ForeMaterialMode() const;
  ///@}

  /// \name Colours as QColors
  /// The five colours as QColors, under the names the QML item gives them: what Designer's
  /// colour picker edits, what a style sheet sets and what setProperty() takes as a QColor or
  /// a colour name. A system colour reads as the colour shown, from the widget's palette.
  /// Setting one stores its RGB value (alpha is not used); an invalid colour, or the colour
  /// shown now, changes nothing, so a system colour written back through this face stays a
  /// system colour, and the colour a system colour showed before this face replaced it brings
  /// the system colour back (as Designer's undo gives it). A QRgb is 0xAARRGGBB, as QColor
  /// reads it; a plain int does not compile here, as it could be read either way: give a
  /// TColor to SetBackColor().
  /// \code
  /// lcd->setBackColor(QColor(0x20, 0x40, 0x80));
  /// lcd->setBackColor(qRgb(0x20, 0x40, 0x80));          // the same colour
  /// lcd->setNumberForeColor(Qt::darkBlue);
  /// lcd->setProperty("numberBackColor", "#c08020");      // a colour name, as QColor reads it
  /// lcd->setStyleSheet("TLumoLiquidIndicator { qproperty-backColor: #204080; }");
  /// \endcode
  ///@{
  /// The #bevelColor property: BevelColor as a QColor.
  QColor bevelColor() const;
  /// The #backColor property: BackColor as a QColor.
  QColor backColor() const;
  /// The #numberForeColor property: NumberForeColor as a QColor.
  QColor numberForeColor() const;
  /// The #numberForeColor1 property: NumberForeColor1 as a QColor.
  QColor numberForeColor1() const;
  /// The #numberBackColor property: NumberBackColor as a QColor.
  QColor numberBackColor() const;
  /// Sets #bevelColor.
  void setBevelColor(const QColor& value);
  /// Sets #backColor.
  void setBackColor(const QColor& value);
  /// Sets #numberForeColor.
  void setNumberForeColor(const QColor& value);
  /// Sets #numberForeColor1.
  void setNumberForeColor1(const QColor& value);
  /// Sets #numberBackColor.
  void setNumberBackColor(const QColor& value);
  /// Sets #bevelColor from a QRgb, 0xAARRGGBB (alpha not used).
  void setBevelColor(QRgb value) { setBevelColor(QColor(value)); }
  /// Sets #backColor from a QRgb, 0xAARRGGBB (alpha not used).
  void setBackColor(QRgb value) { setBackColor(QColor(value)); }
  /// Sets #numberForeColor from a QRgb, 0xAARRGGBB (alpha not used).
  void setNumberForeColor(QRgb value) { setNumberForeColor(QColor(value)); }
  /// Sets #numberForeColor1 from a QRgb, 0xAARRGGBB (alpha not used).
  void setNumberForeColor1(QRgb value) { setNumberForeColor1(QColor(value)); }
  /// Sets #numberBackColor from a QRgb, 0xAARRGGBB (alpha not used).
  void setNumberBackColor(QRgb value) { setNumberBackColor(QColor(value)); }
  // Qt::red would otherwise be taken as the integer 7.
  /// Sets #bevelColor from a Qt::GlobalColor (Qt::red).
  void setBevelColor(Qt::GlobalColor value) { setBevelColor(QColor(value)); }
  /// Sets #backColor from a Qt::GlobalColor (Qt::red).
  void setBackColor(Qt::GlobalColor value) { setBackColor(QColor(value)); }
  /// Sets #numberForeColor from a Qt::GlobalColor (Qt::red).
  void setNumberForeColor(Qt::GlobalColor value) { setNumberForeColor(QColor(value)); }
  /// Sets #numberForeColor1 from a Qt::GlobalColor (Qt::red).
  void setNumberForeColor1(Qt::GlobalColor value) { setNumberForeColor1(QColor(value)); }
  /// Sets #numberBackColor from a Qt::GlobalColor (Qt::red).
  void setNumberBackColor(Qt::GlobalColor value) { setNumberBackColor(QColor(value)); }
  /// Not there: an int could be a TColor or an RGB value.
  void setBevelColor(int) = delete;
  /// Not there: an int could be a TColor or an RGB value.
  void setBackColor(int) = delete;
  /// Not there: an int could be a TColor or an RGB value.
  void setNumberForeColor(int) = delete;
  /// Not there: an int could be a TColor or an RGB value.
  void setNumberForeColor1(int) = delete;
  /// Not there: an int could be a TColor or an RGB value.
  void setNumberBackColor(int) = delete;
  ///@}

  /// \name Setters
  /// One per property, under the widget's names (the properties' WRITE functions); see the
  /// property for what each takes. A colour here is a TColor, 0x00BBGGRR or a system colour.
  /// \code
  /// lcd->SetIndicatorAngle(900);                          // a quarter turn
  /// lcd->SetBackColor(0x804020);                          // TColor 0x00BBGGRR: #204080
  /// lcd->SetBackColor(TLumoLiquidIndicator::TColor(0x8000000F));  // the button face
  /// \endcode
  ///@{
  /// Sets #ColorScheme.
  void SetColorScheme(LumoLiquidIndicator::TLumoColorScheme value);
  /// Sets #SignNumber.
  void SetSignNumber(qint32 value);
  /// Sets #IndicatorWidth.
  void SetIndicatorWidth(qint32 value);
  /// Sets #IndicatorHeight.
  void SetIndicatorHeight(qint32 value);
  /// Sets #IndicatorAngle.
  void SetIndicatorAngle(qint32 value);
  /// Sets #IndicatorGap.
  void SetIndicatorGap(qint32 value);
  /// Sets #Indicatorstring.
  void SetIndicatorstring(const QString& value);
  /// Sets #IndicatorKind.
  void SetIndicatorKind(LumoLiquidIndicator::TLumoIndicatorKind value);
  /// Sets #InnerBevel.
  void SetInnerBevel(LumoLiquidIndicator::TLumoBevelKind value);
  /// Sets #OuterBevel.
  void SetOuterBevel(LumoLiquidIndicator::TLumoBevelKind value);
  /// Sets #InnerBevelWidth.
  void SetInnerBevelWidth(qint32 value);
  /// Sets #OuterBevelWidth.
  void SetOuterBevelWidth(qint32 value);
  /// Sets #BevelColor.
  void SetBevelColor(qint32 value);
  /// Sets #BackColor.
  void SetBackColor(qint32 value);
  /// Sets #NumberForeColor.
  void SetNumberForeColor(qint32 value);
  /// Sets #NumberForeColor1.
  void SetNumberForeColor1(qint32 value);
  /// Sets #NumberBackColor.
  void SetNumberBackColor(qint32 value);
  /// Sets #IndicatorStyle.
  void SetIndicatorStyle(LumoLiquidIndicator::TLumoIndicatorStyle value);
  /// Sets #MouseAction.
  void SetMouseAction(LumoLiquidIndicator::TLumoMouseAction value);
  /// Sets #TransparentMode.
  void SetTransparentMode(LumoLiquidIndicator::TLumoTransparentMode value);
  /// Sets #BackMaterial.
  void SetBackMaterial(const QImage& value);
  /// Sets #ForeMaterial.
  void SetForeMaterial(const QImage& value);
  /// Sets #MaterialShadowMode.
  void SetMaterialShadowMode(LumoLiquidIndicator::TLumoMaterialShadowMode value);
  /// Sets #MaterialMode.
  void SetMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value);
  /// Sets #ForeMaterialMode.
  void SetForeMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value);
  ///@}

  /// \name Setters under Qt's names
  /// The same setters as Qt names them, which forms compiled by uic call; the colours' are
  /// under "Colours as QColors".
  /// \code
  /// lcd->setSignNumber(5);
  /// lcd->setIndicatorstring(QStringLiteral("12:34"));
  /// \endcode
  ///@{
  /// Sets #ColorScheme; the same as SetColorScheme().
  void setColorScheme(LumoLiquidIndicator::TLumoColorScheme value) { SetColorScheme(value); }
  /// Sets #SignNumber; the same as SetSignNumber().
  void setSignNumber(qint32 value) { SetSignNumber(value); }
  /// Sets #IndicatorWidth; the same as SetIndicatorWidth().
  void setIndicatorWidth(qint32 value) { SetIndicatorWidth(value); }
  /// Sets #IndicatorHeight; the same as SetIndicatorHeight().
  void setIndicatorHeight(qint32 value) { SetIndicatorHeight(value); }
  /// Sets #IndicatorAngle; the same as SetIndicatorAngle().
  void setIndicatorAngle(qint32 value) { SetIndicatorAngle(value); }
  /// Sets #IndicatorGap; the same as SetIndicatorGap().
  void setIndicatorGap(qint32 value) { SetIndicatorGap(value); }
  /// Sets #Indicatorstring; the same as SetIndicatorstring().
  void setIndicatorstring(const QString& value) { SetIndicatorstring(value); }
  /// Sets #IndicatorKind; the same as SetIndicatorKind().
  void setIndicatorKind(LumoLiquidIndicator::TLumoIndicatorKind value) { SetIndicatorKind(value); }
  /// Sets #InnerBevel; the same as SetInnerBevel().
  void setInnerBevel(LumoLiquidIndicator::TLumoBevelKind value) { SetInnerBevel(value); }
  /// Sets #OuterBevel; the same as SetOuterBevel().
  void setOuterBevel(LumoLiquidIndicator::TLumoBevelKind value) { SetOuterBevel(value); }
  /// Sets #InnerBevelWidth; the same as SetInnerBevelWidth().
  void setInnerBevelWidth(qint32 value) { SetInnerBevelWidth(value); }
  /// Sets #OuterBevelWidth; the same as SetOuterBevelWidth().
  void setOuterBevelWidth(qint32 value) { SetOuterBevelWidth(value); }
  /// Sets #IndicatorStyle; the same as SetIndicatorStyle().
  void setIndicatorStyle(LumoLiquidIndicator::TLumoIndicatorStyle value) { SetIndicatorStyle(value); }
  /// Sets #MouseAction; the same as SetMouseAction().
  void setMouseAction(LumoLiquidIndicator::TLumoMouseAction value) { SetMouseAction(value); }
  /// Sets #TransparentMode; the same as SetTransparentMode().
  void setTransparentMode(LumoLiquidIndicator::TLumoTransparentMode value) { SetTransparentMode(value); }
  /// Sets #BackMaterial; the same as SetBackMaterial().
  void setBackMaterial(const QImage& value) { SetBackMaterial(value); }
  /// Sets #ForeMaterial; the same as SetForeMaterial().
  void setForeMaterial(const QImage& value) { SetForeMaterial(value); }
  /// Sets #MaterialShadowMode; the same as SetMaterialShadowMode().
  void setMaterialShadowMode(LumoLiquidIndicator::TLumoMaterialShadowMode value) { SetMaterialShadowMode(value); }
  /// Sets #MaterialMode; the same as SetMaterialMode().
  void setMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value) { SetMaterialMode(value); }
  /// Sets #ForeMaterialMode; the same as SetForeMaterialMode().
  void setForeMaterialMode(LumoLiquidIndicator::TLumoMaterialMode value) { SetForeMaterialMode(value); }
  ///@}

  /// \name Size
  /// The rotated box of the indicator: the size the control takes. The default size policy is
  /// fixed, so a layout gives the control this size and no other; with a policy that lets it
  /// shrink, the minimum is the box of cells of 3 x 5 pixels.
  /// \code
  /// lcd->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);  // grows with the layout
  /// \endcode
  ///@{
  /// The rotated box of the indicator.
  QSize sizeHint() const override;
  /// The rotated box, or in a direction whose policy lets the control shrink, the box of cells of 3 x 5 pixels.
  QSize minimumSizeHint() const override;
  ///@}

  /// The RGB value (0x00BBGGRR) of a colour, system colours taken from the application palette.
  static TColor ResolveColor(TColor color);

signals:
  /// \name Change signals
  /// One per property, emitted after the change has taken effect and only when the value
  /// changed, with the new value; the materials and ColorScheme signal on every set, as they
  /// always act. A colour scheme also signals each of the five colours it changed, and each
  /// QColor face signals with its TColor property.
  /// \code
  /// connect(lcd, &TLumoLiquidIndicator::IndicatorAngleChanged, this, &Panel::angleShown);
  /// connect(lcd, &TLumoLiquidIndicator::backColorChanged, swatch, &Swatch::setColor);
  /// \endcode
  ///@{
  /// #ColorScheme changed to value.
  void ColorSchemeChanged(LumoLiquidIndicator::TLumoColorScheme value);
  /// #SignNumber changed to value.
  void SignNumberChanged(qint32 value);
  /// #IndicatorWidth changed to value.
  void IndicatorWidthChanged(qint32 value);
  /// #IndicatorHeight changed to value.
  void IndicatorHeightChanged(qint32 value);
  /// #IndicatorAngle changed to value.
  void IndicatorAngleChanged(qint32 value);
  /// #IndicatorGap changed to value.
  void IndicatorGapChanged(qint32 value);
  /// #Indicatorstring changed to value.
  void IndicatorstringChanged(const QString& value);
  /// #IndicatorKind changed to value.
  void IndicatorKindChanged(LumoLiquidIndicator::TLumoIndicatorKind value);
  /// #InnerBevel changed to value.
  void InnerBevelChanged(LumoLiquidIndicator::TLumoBevelKind value);
  /// #OuterBevel changed to value.
  void OuterBevelChanged(LumoLiquidIndicator::TLumoBevelKind value);
  /// #InnerBevelWidth changed to value.
  void InnerBevelWidthChanged(qint32 value);
  /// #OuterBevelWidth changed to value.
  void OuterBevelWidthChanged(qint32 value);
  /// #BevelColor changed to value.
  void BevelColorChanged(qint32 value);
  /// #BackColor changed to value.
  void BackColorChanged(qint32 value);
  /// #NumberForeColor changed to value.
  void NumberForeColorChanged(qint32 value);
  /// #NumberForeColor1 changed to value.
  void NumberForeColor1Changed(qint32 value);
  /// #NumberBackColor changed to value.
  void NumberBackColorChanged(qint32 value);
  /// #IndicatorStyle changed to value.
  void IndicatorStyleChanged(LumoLiquidIndicator::TLumoIndicatorStyle value);
  /// #MouseAction changed to value.
  void MouseActionChanged(LumoLiquidIndicator::TLumoMouseAction value);
  /// #TransparentMode changed to value.
  void TransparentModeChanged(LumoLiquidIndicator::TLumoTransparentMode value);
  /// #BackMaterial changed to value.
  void BackMaterialChanged(const QImage& value);
  /// #ForeMaterial changed to value.
  void ForeMaterialChanged(const QImage& value);
  /// #MaterialShadowMode changed to value.
  void MaterialShadowModeChanged(LumoLiquidIndicator::TLumoMaterialShadowMode value);
  /// #MaterialMode changed to value.
  void MaterialModeChanged(LumoLiquidIndicator::TLumoMaterialMode value);
  /// #ForeMaterialMode changed to value.
  void ForeMaterialModeChanged(LumoLiquidIndicator::TLumoMaterialMode value);
  /// bevelColor changed (with BevelColorChanged()).
  void bevelColorChanged(const QColor& value);
  /// backColor changed (with BackColorChanged()).
  void backColorChanged(const QColor& value);
  /// numberForeColor changed (with NumberForeColorChanged()).
  void numberForeColorChanged(const QColor& value);
  /// numberForeColor1 changed (with NumberForeColor1Changed()).
  void numberForeColor1Changed(const QColor& value);
  /// numberBackColor changed (with NumberBackColorChanged()).
  void numberBackColorChanged(const QColor& value);
  ///@}

  /// \name Hovering
  /// The pointer entered or left the control, emitted after the toolkit's own handling, with
  /// the control as sender; MouseAction() says what it changes in the picture.
  /// \code
  /// connect(lcd, &TLumoLiquidIndicator::onMouseEnter, this, [] { qDebug() << "over the clock"; });
  /// \endcode
  ///@{
  /// The pointer entered the control.
  void onMouseEnter(TLumoLiquidIndicator* sender);
  /// The pointer left the control.
  void onMouseExit(TLumoLiquidIndicator* sender);
  ///@}

protected:
  /// \name Event handlers
  /// The widget's handling of Qt's events: polish (which loads it), the deferred refresh,
  /// palette and screen changes, painting (a copy of the finished image), resizing (the size
  /// rule of its angle), entering and leaving.
  ///@{
  /// Polish, the deferred refresh, palette, style and screen changes.
  bool event(QEvent* event) override;
  /// The window coming back from being minimised.
  bool eventFilter(QObject* watched, QEvent* event) override;
  /// Copies the finished image through the clip region.
  void paintEvent(QPaintEvent* event) override;
  /// The size rule of the angle.
  void resizeEvent(QResizeEvent* event) override;
  /// The pointer entered: a deferred refresh, then onMouseEnter().
  void enterEvent(QEnterEvent* event) override;
  /// The pointer left: a deferred refresh, then onMouseExit().
  void leaveEvent(QEvent* event) override;
  ///@}

private:
  friend class TLumoLiquidIndicatorPrivate;
  std::unique_ptr<TLumoLiquidIndicatorPrivate> d;
};
