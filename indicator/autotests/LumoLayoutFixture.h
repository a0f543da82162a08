#pragma once
// The Steepo main window's indicator as the geometry sees it: five nine-segment cells in
// 193 x 65 pixels, a 4-pixel gap and a 1-pixel outer bevel, showing "00:00". The geometry
// tests and benchmarks share it.
#include "LumoGeometry_p.h"

namespace LumoTest {

inline LumoLiquidIndicator::TIndicatorLayoutSettings MainWindowLayout() {
  LumoLiquidIndicator::TIndicatorLayoutSettings s;
  s.SignNumber = 5;
  s.IndicatorWidth = s.ControlWidth = 193;
  s.IndicatorHeight = s.ControlHeight = 65;
  s.IndicatorGap = 4;
  s.OuterBevelWidth = 1;
  s.IndicatorKind = LumoLiquidIndicator::ik9segment;
  s.Indicatorstring = QStringLiteral("00:00");
  return s;
}

} // namespace LumoTest
