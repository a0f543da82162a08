#pragma once
/// \file LumoTypes.h
/// The enumerations of the indicator's published properties and its colour type. C++17 is
/// enough for this header (the widget's users include it).

#include "LumoIndicatorExport.h"

#include <QtCore/qobjectdefs.h>
#include <QtCore/qglobal.h>

/// The indicator's enumerations (with Qt meta-data, so Designer and QMetaEnum know their
/// members) and its colour type. The enumerations' members are reachable as
/// TLumoLiquidIndicator::ik9segment too.
namespace LumoLiquidIndicator {
Q_NAMESPACE_EXPORT(LUMO_INDICATOR_EXPORT)

/// How each cell draws its character.
enum TLumoIndicatorKind : quint8 {
  ik7segment = 0,   ///< seven segments and a decimal point
  ik5x7matrix = 1,  ///< a 5x7 dot matrix: printable ASCII
  ik9segment = 2    ///< seven segments, two colon dots and a decimal point
};
Q_ENUM_NS(TLumoIndicatorKind)

/// The look of a bevel, lit according to the indicator's angle.
enum TLumoBevelKind : quint8 {
  bkUP = 0,    ///< raised
  bkDown = 1,  ///< sunken
  bkNone = 2   ///< no bevel, and no room taken for it
};
Q_ENUM_NS(TLumoBevelKind)

/// The thickness of segments and dots.
enum TLumoIndicatorStyle : quint8 {
  isThin = 0,    ///< segments an eighth of the smaller cell side (at least 2 pixels)
  isNormal = 1,  ///< a sixth (at least 3 pixels)
  isThick = 2    ///< a fifth (at least 4 pixels)
};
Q_ENUM_NS(TLumoIndicatorStyle)

/// What the pointer over the control changes.
enum TLumoMouseAction : quint8 {
  maNone = 0,   ///< nothing
  maColor = 1,  ///< lit segments take NumberForeColor1 (and not the fore material)
  maWidth = 2,  ///< segments and dots grow thicker
  maBoth = 3    ///< both
};
Q_ENUM_NS(TLumoMouseAction)

/// What of the control is painted; the rest shows the parent through.
enum TLumoTransparentMode : quint8 {
  tmNone = 0,      ///< everything: the control is opaque
  tmBackOnly = 1,  ///< the bevels and all segments
  tmAll = 2        ///< the bevels and the lit segments
};
Q_ENUM_NS(TLumoTransparentMode)

/// A set of the five colours (back, bevel, unlit, lit, lit while hovered).
enum TLumoColorScheme : quint8 {
  csSilver = 0,     ///< dark grey on light grey: the defaults
  csInvSilver = 1,  ///< light grey on black
  csWhite = 2,      ///< black on white
  csBlack = 3,      ///< white on black, grey bevel
  csPlasma = 4,     ///< amber on dark red
  csInvPlasma = 5,  ///< dark red on amber
  csZORA = 6        ///< mint on dark blue
};
Q_ENUM_NS(TLumoColorScheme)

/// How the unlit segments shade the back material.
enum TLumoMaterialShadowMode : quint8 {
  msmDark = 0,   ///< darkened by 32 per channel
  msmLight = 1,  ///< lightened by 32 per channel
  msmNone = 2    ///< unchanged
};
Q_ENUM_NS(TLumoMaterialShadowMode)

/// How a material is laid over the image.
enum TLumoMaterialMode : quint8 {
  mmStretch = 0,  ///< stretched over the whole image
  mmTile = 1      ///< repeated at its own size
};
Q_ENUM_NS(TLumoMaterialMode)

/// A colour laid out 0x00BBGGRR (red in the lowest byte). A negative value (top byte 0x80)
/// names a system colour by the index in its lowest byte, taken from the application palette.
using TColor = qint32;

} // namespace LumoLiquidIndicator
