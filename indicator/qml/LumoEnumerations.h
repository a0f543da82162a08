#pragma once
// Lumo, the QML singleton of the indicator's enumerations. QML looks enumeration members up
// by capitalised names only, so the QML face names them so: Lumo.Ik9Segment, Lumo.CsBlack,
// in bindings, in expressions and for qmllint alike (the C++ name with its first letter
// capitalised, and the segment kinds' words too). Each has the value of the C++ member it
// stands for.
//
// The lower-case names keep working where they always did: Lumo.ik9segment anywhere (the
// singleton holds them as values), LumoIndicator.ik9segment in a binding of that name alone,
// and strings ("ik9segment").

#include "LumoTypes.h"

#include <QQmlPropertyMap>
#include <QtQml/qqmlregistration.h>

class TLumoEnumerations : public QQmlPropertyMap {
  Q_OBJECT
  QML_NAMED_ELEMENT(Lumo)
  QML_SINGLETON

public:
  enum IndicatorKind {
    Ik7Segment = LumoLiquidIndicator::ik7segment,
    Ik5x7Matrix = LumoLiquidIndicator::ik5x7matrix,
    Ik9Segment = LumoLiquidIndicator::ik9segment
  };
  Q_ENUM(IndicatorKind)
  enum BevelKind { BkUP = LumoLiquidIndicator::bkUP, BkDown = LumoLiquidIndicator::bkDown, BkNone = LumoLiquidIndicator::bkNone };
  Q_ENUM(BevelKind)
  enum IndicatorStyle {
    IsThin = LumoLiquidIndicator::isThin,
    IsNormal = LumoLiquidIndicator::isNormal,
    IsThick = LumoLiquidIndicator::isThick
  };
  Q_ENUM(IndicatorStyle)
  enum MouseAction {
    MaNone = LumoLiquidIndicator::maNone,
    MaColor = LumoLiquidIndicator::maColor,
    MaWidth = LumoLiquidIndicator::maWidth,
    MaBoth = LumoLiquidIndicator::maBoth
  };
  Q_ENUM(MouseAction)
  enum TransparentMode {
    TmNone = LumoLiquidIndicator::tmNone,
    TmBackOnly = LumoLiquidIndicator::tmBackOnly,
    TmAll = LumoLiquidIndicator::tmAll
  };
  Q_ENUM(TransparentMode)
  enum ColorScheme {
    CsSilver = LumoLiquidIndicator::csSilver,
    CsInvSilver = LumoLiquidIndicator::csInvSilver,
    CsWhite = LumoLiquidIndicator::csWhite,
    CsBlack = LumoLiquidIndicator::csBlack,
    CsPlasma = LumoLiquidIndicator::csPlasma,
    CsInvPlasma = LumoLiquidIndicator::csInvPlasma,
    CsZORA = LumoLiquidIndicator::csZORA
  };
  Q_ENUM(ColorScheme)
  enum MaterialShadowMode {
    MsmDark = LumoLiquidIndicator::msmDark,
    MsmLight = LumoLiquidIndicator::msmLight,
    MsmNone = LumoLiquidIndicator::msmNone
  };
  Q_ENUM(MaterialShadowMode)
  enum MaterialMode { MmStretch = LumoLiquidIndicator::mmStretch, MmTile = LumoLiquidIndicator::mmTile };
  Q_ENUM(MaterialMode)

  explicit TLumoEnumerations(QObject* parent = nullptr);

protected:
  // The lower-case members are constants: a script cannot change them.
  QVariant updateValue(const QString& key, const QVariant& input) override;
};
