// The renderer alone: what it makes of a state is what the widget shows for the same
// properties, its size rule is the widget's, and system colours come from the palette given.
#include "LumoLiquidIndicator_p.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QTest>
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

// A rebuild from the inputs of the last one keeps its image, painted parts and all (a resize
// rebuilds twice); any input that changes the pixels, a palette's system colour among them,
// makes it anew.
TEST(LumoRenderer, RebuildFromTheSameInputsKeepsItsImage) {
  QPalette dark;
  dark.setColor(QPalette::Button, QColor(10, 20, 30));
  QImage checks(4, 4, QImage::Format_RGB32);
  checks.fill(qRgb(200, 30, 90));
  checks.setPixel(0, 0, qRgb(0, 0, 255));
  const struct {
    const char* Name;
    std::function<void(TLumoIndicatorState&)> Change;
    QPalette Palette;
    bool Kept;
  } rows[] = {
      {"same inputs", [](TLumoIndicatorState&) {}, QPalette(), true},
      {"same material pixels, another image", [&](TLumoIndicatorState& s) { s.FBackMaterial = checks.copy(); }, {}, true},
      {"system colour from another palette", [](TLumoIndicatorState&) {}, dark, false},
      {"material with other pixels", [&](TLumoIndicatorState& s) { s.FBackMaterial = checks.mirrored(); }, {}, false},
      {"text", [](TLumoIndicatorState& s) { s.FIndicatorString = "7"; }, QPalette(), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TLumoIndicatorState state;
    state.FNumberForeColor = TColor(0x8000000F);
    state.FBackMaterial = checks;
    state.FIndicatorString = "8";
    TLumoRenderer renderer;
    ASSERT_TRUE(renderer.Rebuild(state, {172, 36}, 1.0, false, QPalette()));
    (void)renderer.Image();
    const qint64 painted = renderer.PaintedPixels();
    row.Change(state);
    ASSERT_TRUE(renderer.Rebuild(state, {172, 36}, 1.0, false, row.Palette));
    TLumoRenderer fresh;
    ASSERT_TRUE(fresh.Rebuild(state, {172, 36}, 1.0, false, row.Palette));
    EXPECT_EQ(renderer.Image(), fresh.Image());
    EXPECT_EQ(renderer.PaintedPixels() == painted, row.Kept);
  }
}

namespace {

// A material whose every pixel differs from its neighbours, so that a pixel laid from the
// wrong place shows.
QImage Gradient(int width, int height, QImage::Format format) {
  QImage image(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256));
  return image;
}

QRect InPixels(const QRectF& logical, qreal ratio) {
  return QRectF(logical.topLeft() * ratio, logical.size() * ratio).toAlignedRect();
}

} // namespace

// A rebuild paints nothing; each part asked for is painted then, the pixels those of the whole
// image, whatever was painted before and whatever the previous rebuild left.
TEST(LumoRenderer, PartsPaintedOnDemandAreTheWholeImage) {
  const struct {
    const char* Name;
    std::function<void(TLumoIndicatorState&)> Change;
    qreal Ratio;
  } rows[] = {
      {"colours", [](TLumoIndicatorState&) {}, 1.0},
      {"stretched 64-bit back, ratio 1.5",
       [](TLumoIndicatorState& s) { s.FBackMaterial = Gradient(25, 17, QImage::Format_RGBA64); }, 1.5},
      {"back larger than the image",
       [](TLumoIndicatorState& s) { s.FBackMaterial = Gradient(300, 900, QImage::Format_RGB32); }, 1.0},
      {"tiled back and fore, hovered",
       [](TLumoIndicatorState& s) {
         s.FBackMaterial = Gradient(7, 5, QImage::Format_RGB32);
         s.FForeMaterial = Gradient(3, 11, QImage::Format_RGB32);
         s.FMaterialMode = s.FForeMaterialMode = mmTile;
         s.FMouseAction = maWidth;
       }, 1.25},
      {"stretched fore, 5x7, back only at 90 degrees",
       [](TLumoIndicatorState& s) {
         s.FForeMaterial = Gradient(13, 40, QImage::Format_RGB32);
         s.FIndicatorKind = ik5x7matrix;
         s.FTransparentMode = tmBackOnly;
         s.FIndicatorAngle = 900;
       }, 2.0},
  };
  const QRectF parts[] = {{3, 301, 40, 130}, {10, 0, 95, 70}, {0, 290, 300, 45}, {50, 640, 7, 1}, {420, 30, 9, 50}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TLumoIndicatorState state;
    state.FIndicatorWidth = 110;
    state.FIndicatorHeight = 700;
    state.FIndicatorString = "8.4:";
    row.Change(state);
    const QSize size = TLumoRenderer::ControlSize(state);
    TLumoRenderer whole, inParts;
    ASSERT_TRUE(whole.Rebuild(state, size, row.Ratio, true, QPalette()));
    const QImage expected = whole.Image();
    TLumoIndicatorState before = state;
    before.FBackColor = 0x123456;
    before.FIndicatorString = "1";
    ASSERT_TRUE(inParts.Rebuild(before, size, row.Ratio, true, QPalette()));
    (void)inParts.Image();
    ASSERT_TRUE(inParts.Rebuild(state, size, row.Ratio, true, QPalette()));
    for (const QRectF& part : parts) {
      const QRect pixels = InPixels(part, row.Ratio) & expected.rect();
      if (!pixels.isEmpty()) {  // an empty rectangle would copy the whole image
        EXPECT_EQ(inParts.ImagePart(part).copy(pixels), expected.copy(pixels)) << pixels.x() << "," << pixels.y();
      }
    }
    EXPECT_EQ(inParts.Image(), expected);
  }
}

// Painted onto less than the whole control, here rows 250 on of a tall one, the control
// shows the pixels of its image there.
TEST(LumoRenderer, WidgetPaintedInPartShowsItsImage) {
  QWidget parent;
  auto* lcd = new TLumoLiquidIndicator(&parent);
  lcd->Loaded();
  lcd->SetIndicatorstring(QStringLiteral("8.8"));
  lcd->SetIndicatorHeight(900);
  QCoreApplication::sendPostedEvents();
  QImage shown(lcd->width(), 150, QImage::Format_RGB32);
  shown.fill(Qt::magenta);
  {
    QPainter painter(&shown);
    lcd->render(&painter, QPoint(0, -250));
  }
  EXPECT_EQ(shown, RenderedImage(*lcd).copy(0, 250, lcd->width(), 150));
}

// Shown in a window smaller than itself, a tall or wide control paints what the window shows
// and no more; its whole image, read, is all painted.
TEST(LumoRenderer, ShownControlPaintsOnlyWhatItsWindowShows) {
  const struct {
    const char* Name;
    qint32 Angle;
  } rows[] = {{"tall", 0}, {"wide", 900}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    QWidget window;
    window.resize(200, 150);
    auto* lcd = new TLumoLiquidIndicator(&window);
    lcd->Loaded();
    lcd->SetIndicatorAngle(row.Angle);
    lcd->SetIndicatorHeight(30000);
    const qint64 before = PaintedPixels(*lcd);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents();
    }
    const qint64 whole = qint64(lcd->width()) * lcd->height();
    const qint64 shown = PaintedPixels(*lcd) - before;
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, whole / 20);
    (void)RenderedImage(*lcd);
    EXPECT_GE(PaintedPixels(*lcd) - before, whole);
  }
}
