// The behaviour both faces of the indicator share: values taken, colour schemes, the size
// rule, hovering and the shape shown.
#include "LumoIndicatorCore_p.h"
#include "LumoRegions_p.h"

#include <algorithm>
#include <iterator>

namespace LumoLiquidIndicator {

bool TakesOnlyPositive(qint32 TLumoIndicatorState::*field) {
  constexpr qint32 TLumoIndicatorState::*positive[] = {
      &TLumoIndicatorState::FSignNumber, &TLumoIndicatorState::FIndicatorWidth,
      &TLumoIndicatorState::FIndicatorHeight, &TLumoIndicatorState::FInnerBevelWidth,
      &TLumoIndicatorState::FOuterBevelWidth};
  return std::find(std::begin(positive), std::end(positive), field) != std::end(positive);
}

namespace {

// The five colours a scheme sets, in the order of TSchemeColors.
constexpr TColor TLumoIndicatorState::*kSchemeColourFields[] = {
    &TLumoIndicatorState::FBackColor, &TLumoIndicatorState::FBevelColor, &TLumoIndicatorState::FNumberBackColor,
    &TLumoIndicatorState::FNumberForeColor, &TLumoIndicatorState::FNumberForeColor1};

quint8 ColourBit(TColor TLumoIndicatorState::*field) {
  const auto* found = std::find(std::begin(kSchemeColourFields), std::end(kSchemeColourFields), field);
  return found == std::end(kSchemeColourFields) ? 0 : quint8(1u << (found - std::begin(kSchemeColourFields)));
}

} // namespace

bool TLumoIndicatorCore::SetColor(TColor TLumoIndicatorState::*field, TColor value) {
  if (!Imloaded)
    ColoursGiven |= ColourBit(field);
  return Set(field, value);
}

bool TLumoIndicatorCore::SetColorScheme(TLumoColorScheme value) {
  const std::optional<TSchemeColors> scheme = SchemeColors(value);
  if (!IsMember(value) || !scheme)
    return false;
  FColorScheme = value;
  const TColor colours[] = {scheme->Back, scheme->Bevel, scheme->NumberBack, scheme->NumberFore, scheme->NumberFore1};
  for (size_t i = 0; i < std::size(colours); ++i)
    if (Imloaded || !(ColoursGiven & (1u << i)))
      this->*kSchemeColourFields[i] = colours[i];
  return true;
}

TSizeRule TLumoIndicatorCore::TakeControlSize(QSize size) {
  const TSizeRule rule = SizeRuleFor(FIndicatorAngle);
  if (size.width() < 1 || size.height() < 1)
    return rule;
  if (rule == TSizeRule::Straight) {
    FIndicatorHeight = size.height();
    FIndicatorWidth = size.width();
  } else if (rule == TSizeRule::Quarter) {
    FIndicatorHeight = size.width();
    FIndicatorWidth = size.height();
  }
  return rule;
}

bool TLumoIndicatorCore::SetMoused(bool value) {
  if (Moused == value)
    return false;
  Moused = value;
  return true;
}

QRegion TLumoIndicatorCore::ShapeRegion(QSize size) const {
  const std::array<TPoint, 4> corners =
      WindowShape(FIndicatorWidth, FIndicatorHeight, FIndicatorAngle, size.width(), size.height());
  return PolygonRegion(corners.data(), qint32(corners.size()), QRect(QPoint(), size));
}

QRegion TLumoIndicatorCore::ShownRegion(QSize size, const TLumoRenderer& renderer) const {
  QRegion shown = ShapeRegion(size);
  if (renderer.Clips())
    shown &= renderer.ClipRegion();
  return shown;
}

} // namespace LumoLiquidIndicator
