// Materials laid inside a region show what the material laid over the whole image shows
// there, for regions anywhere on the image, with and without alpha, at device pixel ratios
// 1 and 2.
#include "LumoMaterials_p.h"
#include "LumoRegions_p.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace LumoLiquidIndicator;

namespace {

QImage Material(int width, int height, QImage::Format format) {
  QImage image(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixelColor(x, y, QColor(40 * x % 256, 70 * y % 256, 90, 255 - 30 * ((x + y) % 5)));
  return image;
}

// An image whose pixels all differ a little, so that blending shows where it went wrong.
QImage Canvas() {
  static const QImage canvas = [] {
    QImage image(400, 700, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    return image;
  }();
  return canvas;
}

QRegion Quad(std::array<TPoint, 4> corners) { return PolygonRegion(corners.data(), 4); }

} // namespace

TEST(DrawMaterialInRegion, LaysWhatTheWholeImageShowsThere) {
  struct Region {
    const char* Name;
    QRegion Value;
  };
  const Region regions[] = {
      {"two rectangles", QRegion(30, 40, 100, 60) | QRegion(150, 70, 20, 100)},
      {"diagonal band", Quad({{{-20, 0}, {10, 0}, {310, 690}, {280, 690}}})},
      {"blobs far apart", QRegion(17, 5, 30, 30) | QRegion(130, 230, 50, 60)},
      {"right side only", QRegion(100, 10, 150, 600)},
      {"reaching outside", Quad({{{-300, -200}, {260, 50}, {250, 400}, {-20, 250}}})},
  };
  const QImage materials[] = {Material(7, 5, QImage::Format_RGB888), Material(9, 4, QImage::Format_ARGB32),
                              Material(5, 6, QImage::Format_RGBA64)};
  for (const Region& region : regions)
    for (const QImage& material : materials)
      for (const TLumoMaterialMode mode : {mmStretch, mmTile})
        for (const qreal ratio : {1.0, 2.0}) {
          SCOPED_TRACE(testing::Message() << region.Name << ", format " << material.format() << ", mode "
                                          << int(mode) << ", ratio " << ratio);
          QImage whole = Canvas();
          DrawMaterial(whole, material, mode, ratio);
          QImage expected = Canvas();  // the whole image's pixels copied in through the region
          {
            QPainter painter(&expected);
            painter.setClipRegion(region.Value);
            painter.drawImage(0, 0, whole);
          }
          QImage inRegion = Canvas();
          DrawMaterialInRegion(inRegion, region.Value, material, mode, ratio);
          ASSERT_EQ(inRegion, expected);
        }
}

// Laid into parts of the image one after another, a material shows what laying it over the
// whole image shows there, in the background and inside a region: Qt's fast scaling of 32-bit
// images steps its source rows from the first row it draws, wherever that is.
TEST(DrawMaterial, PartsShowWhatTheWholeImageShows) {
  const QRegion region = Quad({{{-20, 0}, {10, 0}, {310, 690}, {280, 690}}}) | QRegion(0, 300, 400, 300);
  const QImage materials[] = {Material(7, 5, QImage::Format_RGB32),
                              Material(9, 13, QImage::Format_ARGB32_Premultiplied),
                              Material(5, 6, QImage::Format_RGBA64)};
  for (const QImage& material : materials)
    for (const qreal ratio : {1.0, 1.5}) {
      SCOPED_TRACE(testing::Message() << "format " << material.format() << ", ratio " << ratio);
      for (const TLumoMaterialMode mode : {mmStretch, mmTile}) {
        QImage whole = Canvas(), inRegion = Canvas();
        DrawMaterial(whole, material, mode, ratio);
        DrawMaterialInRegion(inRegion, region, material, mode, ratio);
        QImage parts = Canvas(), regionParts = Canvas();
        for (int top = 0; top < 700; top += 83)
          for (int left = 0; left < 400; left += 150) {
            const QRect part(left, top, 150, 83);
            DrawMaterial(parts, material, mode, ratio, part);
            DrawMaterialInRegion(regionParts, region, material, mode, ratio, part);
          }
        ASSERT_EQ(parts, whole) << "mode " << int(mode);
        ASSERT_EQ(regionParts, inRegion) << "mode " << int(mode);
      }
    }
}

// The cheaper forms painting lays a stretched material in show the pixels the material itself
// shows: laid across the image's width, and blended over the background colour once a source
// pixel, in every format Qt scales one way or the other.
TEST(DrawMaterial, CheaperFormsShowTheMaterialsPixels) {
  const QImage materials[] = {Material(7, 5, QImage::Format_RGB32), Material(9, 13, QImage::Format_ARGB32_Premultiplied),
                              Material(19, 3, QImage::Format_RGB888), Material(5, 6, QImage::Format_RGBA64),
                              Material(4, 9, QImage::Format_ARGB32), Material(3, 70, QImage::Format_RGB32)};
  const QSize canvases[] = {{400, 700}, {131, 29}, {4000, 3}};
  const QRgb back = qRgb(30, 140, 220);
  for (const QImage& material : materials)
    for (const QSize& size : canvases) {
      SCOPED_TRACE(testing::Message() << "format " << material.format() << ", " << size.width() << "x"
                                      << size.height());
      QImage expected(size, QImage::Format_RGB32), across(size, QImage::Format_RGB32), over(size, QImage::Format_RGB32);
      expected.fill(back), across.fill(back), over.fill(back);
      DrawMaterial(expected, material, mmStretch, 1.0);
      const QImage laid = LaidAcross(material, mmStretch, size);
      EXPECT_EQ(laid.width(), size.width());
      DrawMaterial(across, laid, mmStretch, 1.0);
      EXPECT_EQ(across, expected);
      DrawMaterial(over, LaidAcross(OverColour(material, back, mmStretch, size), mmStretch, size), mmStretch, 1.0);
      EXPECT_EQ(over, expected);
    }
}
