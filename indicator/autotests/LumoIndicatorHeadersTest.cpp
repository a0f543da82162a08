// Built as C++17 beside one source per installed header that includes it alone: the installed
// headers stand alone and need no later standard than Qt 6 does.
#include <LumoLiquidIndicator.h>

#include <gtest/gtest.h>

static_assert(__cplusplus == 201703L, "built as C++17");

TEST(LumoIndicatorHeaders, MakeAWidgetAsCxx17) {
  TLumoLiquidIndicator lcd;
  lcd.setIndicatorKind(TLumoLiquidIndicator::ik9segment);
  EXPECT_EQ(lcd.IndicatorKind(), LumoLiquidIndicator::ik9segment);
}
