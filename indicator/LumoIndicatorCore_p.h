#pragma once
// What the indicator's two faces, the widget and the QML item, share besides the renderer:
// the property values and which of them a property takes, how a colour scheme fills the five
// colours, the size rule, hovering and the shape that is shown. A face calls these and adds
// what is its own (its refreshes, its window's size, its signals), so a property's behaviour
// is written here once.

#include "LumoGeometry_p.h"
#include "LumoRenderer_p.h"

#include <QMetaEnum>
#include <QRegion>
#include <type_traits>

namespace LumoLiquidIndicator {

// Whether value is one of its enumeration's members.
template <typename E> bool IsMember(E value) {
  return QMetaEnum::fromType<E>().valueToKey(int(value)) != nullptr;
}

// The sign count, the indicator's size and the bevel widths take values above 0 only.
bool TakesOnlyPositive(qint32 TLumoIndicatorState::*field);

class TLumoIndicatorCore : public TLumoIndicatorState {
public:
  // Loaded: the widget by Loaded() or its first polish, the QML item once QML has completed
  // it. Until then a colour scheme fills only the colours not given.
  bool Imloaded = false;
  // The pointer is over the control.
  bool Moused = false;

  // Whether a property takes value: see TakesOnlyPositive; an enumeration takes its members
  // only, so that its getter always returns one; anything else takes every value.
  template <typename T> static bool Takes(T TLumoIndicatorState::*field, const T& value) {
    if constexpr (std::is_enum_v<T>)
      return IsMember(value);
    else if constexpr (std::is_same_v<T, qint32>)
      return value > 0 || !TakesOnlyPositive(field);
    else
      return true;
  }
  // Stores value when the property takes it and it differs; true when it changed.
  template <typename T> bool Set(T TLumoIndicatorState::*field, const T& value) {
    if (!Takes(field, value) || this->*field == value)
      return false;
    this->*field = value;
    return true;
  }
  // A colour the caller gives, stored as Set does. Before loading it is also remembered as
  // given, the same value included, so that a scheme leaves it alone whatever the order.
  bool SetColor(TColor TLumoIndicatorState::*field, TColor value);
  // Stores a scheme that is a member (false for any other value: nothing changes) and sets
  // its colours: once loaded all five, before that only those not given.
  bool SetColorScheme(TLumoColorScheme value);

  // The control's size: the bounding box of the rotated indicator.
  QSize ControlSize() const { return TLumoRenderer::ControlSize(*this); }
  // The size rule for a control of size: at 0 and 180 degrees the indicator takes that size,
  // at 90 and 270 degrees with width and height exchanged; at other angles it keeps its own,
  // and the control is to return to ControlSize(). A side below 1 changes nothing. Returns the
  // branch taken.
  TSizeRule TakeControlSize(QSize size);
  // The pointer entered or left; true when that changed. Each change is rendered anew, with
  // every mouse action (with maNone to the same picture), by both faces alike.
  bool SetMoused(bool value);
  // The rotated indicator's shape in a control of size; and what of the control is shown:
  // that shape, and within it only the renderer's clip region in the transparent modes.
  QRegion ShapeRegion(QSize size) const;
  QRegion ShownRegion(QSize size, const TLumoRenderer& renderer) const;

private:
  quint8 ColoursGiven = 0;  // one bit per colour a scheme sets
};

} // namespace LumoLiquidIndicator
