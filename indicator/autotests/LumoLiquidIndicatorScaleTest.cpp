// The indicator on a screen scaled by 2 against one of scale 1: the image is rendered in
// device pixels (not enlarged), while size, window shape and clip region stay logical; a
// move to the other screen renders it anew. The program runs on two offscreen screens,
// "ratio1" and "ratio2" (scaled by QT_SCREEN_SCALE_FACTORS).
#include "LumoLiquidIndicator_p.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace LumoLiquidIndicator;

namespace {

using Setup = std::function<void(TLumoLiquidIndicator&)>;

QScreen* ScreenNamed(const QString& name) {
  for (QScreen* screen : QGuiApplication::screens())
    if (screen->name() == name)
      return screen;
  return nullptr;
}

void MoveTo(QWidget& window, const QString& screenName) {
  QScreen* screen = ScreenNamed(screenName);
  ASSERT_NE(screen, nullptr) << qPrintable(screenName);
  window.windowHandle()->setScreen(screen);
  QCoreApplication::sendPostedEvents();
}

// An indicator in a window on the named screen, set up and loaded.
struct OnScreen {
  std::unique_ptr<QWidget> Window = std::make_unique<QWidget>();
  TLumoLiquidIndicator* Lcd = new TLumoLiquidIndicator(Window.get());
  OnScreen(const QString& screenName, const Setup& setup) {
    Window->resize(400, 300);
    Window->winId();
    MoveTo(*Window, screenName);
    setup(*Lcd);
    Lcd->Loaded();
    QCoreApplication::sendPostedEvents();
  }
  const QImage& Image() const { return RenderedImage(*Lcd); }
};

int CountOf(const QImage& image, QRgb color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += image.pixel(x, y) == color;
  return n;
}

// Aligned 2 x 2 blocks whose pixels differ: none at all in an image enlarged from half size.
int MixedBlocks(const QImage& image) {
  int n = 0;
  for (int y = 0; y + 1 < image.height(); y += 2)
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb c = image.pixel(x, y);
      n += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c;
    }
  return n;
}

void MainWindowDisplay(TLumoLiquidIndicator& lcd, qint32 angle) {
  lcd.resize(193, 65);
  lcd.SetSignNumber(5);
  lcd.SetIndicatorGap(4);
  lcd.SetOuterBevelWidth(1);
  lcd.SetIndicatorKind(TLumoLiquidIndicator::ik9segment);
  lcd.SetIndicatorstring(QStringLiteral("03:00"));
  lcd.SetIndicatorAngle(angle);
}

struct Row {
  const char* name;
  Setup setup;
};

const Row Rows[] = {
    {"main window display", [](TLumoLiquidIndicator& l) { MainWindowDisplay(l, 0); }},
    {"main window display at 30 degrees", [](TLumoLiquidIndicator& l) { MainWindowDisplay(l, 300); }},
    {"seven segments with a point, see-through back",
     [](TLumoLiquidIndicator& l) {
       l.SetIndicatorstring(QStringLiteral("12.5"));
       l.SetTransparentMode(TLumoLiquidIndicator::tmBackOnly);
     }},
    {"5x7 dots at 90 degrees, lit parts only",
     [](TLumoLiquidIndicator& l) {
       l.SetIndicatorKind(TLumoLiquidIndicator::ik5x7matrix);
       l.SetSignNumber(4);
       l.SetIndicatorstring(QStringLiteral("AB"));
       l.SetTransparentMode(TLumoLiquidIndicator::tmAll);
       l.SetIndicatorAngle(900);
       l.resize(100, 400);  // dots well above their smallest size
     }},
};

constexpr QRgb Lit = 0xFF363636;

} // namespace

TEST(LumoLiquidIndicatorScale, RatioTwoRendersInDevicePixels) {
  for (const Row& row : Rows) {
    SCOPED_TRACE(row.name);
    const OnScreen one(QStringLiteral("ratio1"), row.setup);
    const OnScreen two(QStringLiteral("ratio2"), row.setup);
    ASSERT_EQ(two.Lcd->devicePixelRatioF(), 2.0);
    EXPECT_EQ(two.Lcd->size(), one.Lcd->size());
    EXPECT_EQ(two.Image().size(), one.Image().size() * 2);
    EXPECT_EQ(two.Image().devicePixelRatio(), 2.0);
    EXPECT_EQ(two.Lcd->mask(), one.Lcd->mask());
    EXPECT_EQ(ClipRegion(*two.Lcd), ClipRegion(*one.Lcd));
    const double litArea = double(CountOf(two.Image(), Lit)) / CountOf(one.Image(), Lit);
    // About four times: the one-pixel gaps between segments and dots do not scale.
    EXPECT_NEAR(litArea, 4.0, 0.8);
    EXPECT_GT(MixedBlocks(two.Image()), 20);
  }
}

TEST(LumoLiquidIndicatorScale, AnotherScreenRendersAnew) {
  OnScreen lcd(QStringLiteral("ratio1"), [](TLumoLiquidIndicator& l) { MainWindowDisplay(l, 300); });
  const QImage before = lcd.Image().copy();
  const quint64 rebuilds = RebuildCount(*lcd.Lcd);

  MoveTo(*lcd.Window, QStringLiteral("ratio2"));
  EXPECT_GT(RebuildCount(*lcd.Lcd), rebuilds);
  EXPECT_EQ(lcd.Image().size(), before.size() * 2);
  // Painting copies the image as it is, one image pixel to one device pixel.
  EXPECT_EQ(lcd.Lcd->grab().toImage().convertToFormat(QImage::Format_RGB32), lcd.Image());

  MoveTo(*lcd.Window, QStringLiteral("ratio1"));
  EXPECT_EQ(lcd.Image(), before);
}

// Before its window exists a widget takes the ratio of the primary screen (ratio1); shown on
// the screen of ratio 2, the indicator is rendered for that one.
TEST(LumoLiquidIndicatorScale, ShownOnAScreenRendersForIt) {
  QWidget window;
  auto* lcd = new TLumoLiquidIndicator(&window);
  lcd->Loaded();
  ASSERT_EQ(RenderedImage(*lcd).devicePixelRatio(), 1.0);
  window.move(ScreenNamed(QStringLiteral("ratio2"))->geometry().topLeft() + QPoint(20, 20));
  window.show();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(RenderedImage(*lcd).devicePixelRatio(), 2.0);
  EXPECT_EQ(RenderedImage(*lcd).size(), lcd->size() * 2);
}

// Tiles of a material are as large on the scaled screen as on the other: each material pixel
// takes 2 x 2 device pixels.
TEST(LumoLiquidIndicatorScale, TiledMaterialKeepsItsLogicalSize) {
  QImage material(4, 4, QImage::Format_RGB32);
  material.fill(Qt::yellow);
  for (int y = 0; y < 4; ++y)
    material.setPixel(0, y, qRgb(0, 0, 255));
  const OnScreen two(QStringLiteral("ratio2"), [&](TLumoLiquidIndicator& l) {
    l.SetOuterBevel(TLumoLiquidIndicator::bkNone);
    l.SetInnerBevel(TLumoLiquidIndicator::bkNone);
    l.SetMaterialMode(TLumoLiquidIndicator::mmTile);
    l.SetBackMaterial(material);
  });
  for (int x = 0; x < 40; ++x)  // the top row lies in the gap: background only
    EXPECT_EQ(two.Image().pixel(x, 0) == qRgb(0, 0, 255), x / 2 % 4 == 0) << x;
}
