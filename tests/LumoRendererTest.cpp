// The renderer alone: what it makes of a state is what the widget shows for the same
// properties, its size rule is the widget's, and system colours come from the palette given.
#include "LumoLiquidIndicator_p.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <functional>

using namespace LumoLiquidIndicator;

namespace {

struct SameAsWidgetRow {
  const char* Name;
  std::function<void(TLumoIndicatorState&)> Change;
  bool Hovered;
};

void Apply(TLumoLiquidIndicator& lcd, const TLumoIndicatorState& s) {
  lcd.SetIndicatorAngle(s.FIndicatorAngle);
  lcd.SetIndicatorKind(s.FIndicatorKind);
  lcd.SetIndicatorstring(s.FIndicatorString);
  lcd.SetTransparentMode(s.FTransparentMode);
  lcd.SetMouseAction(s.FMouseAction);
  lcd.SetBackMaterial(s.FBackMaterial);
  lcd.SetMaterialMode(s.FMaterialMode);
  lcd.SetNumberForeColor(s.FNumberForeColor);
}

} // namespace

TEST(LumoRenderer, DrawsWhatTheWidgetShows) {
  QImage checks(7, 5, QImage::Format_RGB32);
  for (int i = 0; i < 35; ++i)
    checks.setPixel(i % 7, i / 7, (i % 3) ? qRgb(200, 30, 90) : qRgb(20, 160, 40));
  const SameAsWidgetRow rows[] = {
      {"defaults", [](TLumoIndicatorState&) {}, false},
      {"text at 30 degrees", [](TLumoIndicatorState& s) { s.FIndicatorString = "12:34"; s.FIndicatorAngle = 300; }, false},
      {"nine segments, back only",
       [](TLumoIndicatorState& s) { s.FIndicatorKind = ik9segment; s.FIndicatorString = "8:8"; s.FTransparentMode = tmBackOnly; }, false},
      {"hovered, both effects", [](TLumoIndicatorState& s) { s.FIndicatorString = "42"; s.FMouseAction = maBoth; }, true},
      {"tiled material, system colour",
       [&](TLumoIndicatorState& s) { s.FBackMaterial = checks; s.FMaterialMode = mmTile; s.FNumberForeColor = TColor(0x80000008); }, false},
  };
  for (const SameAsWidgetRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TLumoIndicatorState state;
    row.Change(state);
    QWidget parent;
    auto* lcd = new TLumoLiquidIndicator(&parent);
    lcd->Loaded();
    Apply(*lcd, state);
    if (row.Hovered) {
      QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
      QCoreApplication::sendEvent(lcd, &enter);
    }
    QCoreApplication::sendPostedEvents();

    TLumoRenderer renderer;
    const QSize size = TLumoRenderer::ControlSize(state);
    EXPECT_EQ(size, lcd->size());
    ASSERT_TRUE(renderer.Rebuild(state, size, 1.0, row.Hovered, QGuiApplication::palette()));
    EXPECT_EQ(renderer.Image(), RenderedImage(*lcd));
    EXPECT_EQ(renderer.Clips(), ClipRegion(*lcd).has_value());
    if (renderer.Clips()) {
      EXPECT_EQ(renderer.ClipRegion(), *ClipRegion(*lcd));
    }
    EXPECT_FALSE(renderer.LitRegion().isEmpty() && !state.FIndicatorString.isEmpty());
  }
}

TEST(LumoRenderer, SystemColoursComeFromThePaletteGiven) {
  TLumoIndicatorState state;
  state.FBackColor = TColor(0x8000000F);  // button face
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(10, 20, 30));
  TLumoRenderer renderer;
  ASSERT_TRUE(renderer.Rebuild(state, {172, 36}, 1.0, false, palette));
  EXPECT_EQ(renderer.Image().pixel(86, 18), qRgb(10, 20, 30));
  EXPECT_EQ(ResolveColor(TColor(0x8000000F), palette), 0x1E140A);
}

TEST(LumoRenderer, RendersInDevicePixelsAndClipsInLogicalOnes) {
  TLumoIndicatorState state;
  state.FTransparentMode = tmAll;
  state.FIndicatorString = "5";
  TLumoRenderer one, two;
  ASSERT_TRUE(one.Rebuild(state, {172, 36}, 1.0, false, QPalette()));
  ASSERT_TRUE(two.Rebuild(state, {172, 36}, 2.0, false, QPalette()));
  EXPECT_EQ(two.Image().size(), QSize(344, 72));
  EXPECT_EQ(two.Image().devicePixelRatio(), 2.0);
  EXPECT_EQ(two.ClipRegion().boundingRect(), one.ClipRegion().boundingRect());
  EXPECT_GT(two.LitRegion().boundingRect().width(), one.LitRegion().boundingRect().width());
}
