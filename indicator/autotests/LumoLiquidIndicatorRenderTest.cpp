// The indicator's rendered image, checked pixel by pixel at chosen points: bevel colours at
// several angles, the clip region of each transparent mode, segment colours and hover,
// materials (shading, tiling, stretching), the window shape and painting through the clip.
#include "LumoWidgetFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEnterEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace LumoLiquidIndicator;

namespace {

constexpr QRgb Light = 0xFFFDFDFD;  // LighterColor of the default bevel colour 0xDDDDDD
constexpr QRgb Dark = 0xFFBDBDBD;   // DarkerColor of it
constexpr QRgb Back = 0xFFDDDDDD;
constexpr QRgb LitGrey = 0xFF363636;
constexpr QRgb UnlitGrey = 0xFFD3D3D3;

using LumoTest::Settle;

struct Loaded : LumoTest::TLoaded {
  QRgb At(int x, int y) const { return RenderedImage(*Lcd).pixel(x, y); }
  int Count(QRgb color) const {
    const QImage& image = RenderedImage(*Lcd);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        n += image.pixel(x, y) == color;
    return n;
  }
};

QRgb Shaded(QRgb c, int delta) {
  return qRgb(qBound(0, qRed(c) + delta, 255), qBound(0, qGreen(c) + delta, 255), qBound(0, qBlue(c) + delta, 255));
}

// The frame of both default bevels of a 172 x 36 indicator at angle 0.
const QRect Inside(4, 4, 164, 28);

} // namespace

// At every multiple of 90 degrees the raised outer bevel is light towards the top and the
// left of the screen and the sunken inner bevel dark there.
TEST(LumoLiquidIndicatorRender, BevelFacesFollowTheAngle) {
  for (const qint32 angle : {0, 900, 1800, -900, 2700}) {
    SCOPED_TRACE(angle);
    Loaded l;
    l.Lcd->SetIndicatorAngle(angle);
    const int w = l.Lcd->width(), h = l.Lcd->height();
    EXPECT_EQ(l.At(w / 2, 0), Light) << "outer, screen top";
    EXPECT_EQ(l.At(0, h / 2), Light) << "outer, screen left";
    EXPECT_EQ(l.At(w / 2, h - 1), Dark) << "outer, screen bottom";
    EXPECT_EQ(l.At(w - 1, h / 2), Dark) << "outer, screen right";
    EXPECT_EQ(l.At(w / 2, 2), Dark) << "inner, screen top";
    EXPECT_EQ(l.At(2, h / 2), Dark) << "inner, screen left";
    EXPECT_EQ(l.At(w / 2, h - 3), Light) << "inner, screen bottom";
    EXPECT_EQ(l.At(w - 3, h / 2), Light) << "inner, screen right";
    EXPECT_EQ(l.At(w / 2, 4) == Back || l.At(4, h / 2) == Back, true) << "gap";
  }
}

TEST(LumoLiquidIndicatorRender, BevelFacesAtThirtyDegrees) {
  Loaded l;
  l.Lcd->SetIndicatorAngle(300);
  ASSERT_EQ(l.Lcd->size(), QSize(167, 117));
  // The middle of the top face turned by 30 degrees, and of the bottom face.
  EXPECT_EQ(l.At(75, 43), Light);
  EXPECT_EQ(l.At(92, 72), Dark);
  // Corners of the box lie outside the rotated indicator: background there.
  EXPECT_EQ(l.At(0, 0), Back);
}

TEST(LumoLiquidIndicatorRender, RaisedInnerAndNoOuterBevel) {
  Loaded l;
  l.Lcd->SetOuterBevel(bkNone);
  l.Lcd->SetInnerBevel(bkUP);
  EXPECT_EQ(l.At(86, 0), Light);  // the inner bevel starts at the edge
  EXPECT_EQ(l.At(86, 35), Dark);
  EXPECT_EQ(l.At(86, 2), Back);
}

struct ClipRow {
  const char* Name;
  TLumoTransparentMode Mode;
  const char* Text;
  bool HoldsLit;
  bool HoldsUnlit;
};

TEST(LumoLiquidIndicatorRender, ClipRegionHoldsWhatStaysOpaque) {
  const ClipRow rows[] = {
      {"back only, all lit but the points", tmBackOnly, "8888888888", true, true},
      {"back only, nothing lit", tmBackOnly, "", false, true},
      {"all, all lit", tmAll, "8888888888", true, false},
      {"all, nothing lit", tmAll, "", false, false},
  };
  for (const ClipRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Loaded l;
    l.Lcd->SetTransparentMode(row.Mode);
    l.Lcd->SetIndicatorstring(QString::fromLatin1(row.Text));
    ASSERT_TRUE(ClipRegion(*l.Lcd).has_value());
    const QRegion clip = *ClipRegion(*l.Lcd);
    EXPECT_TRUE(clip.contains(QPoint(86, 0)) && clip.contains(QPoint(86, 2))) << "bevel frames";
    EXPECT_FALSE(clip.contains(QPoint(86, 4))) << "gap";
    const QRegion segments = clip.intersected(Inside);
    EXPECT_EQ(!segments.isEmpty(), row.HoldsLit || row.HoldsUnlit);
    // Every pixel of the inner part of the region is a segment of an expected kind.
    int lit = 0, unlit = 0;
    for (const QRect& rect : segments)
      for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
          lit += l.At(x, y) == LitGrey;
          unlit += l.At(x, y) == UnlitGrey;
        }
    EXPECT_EQ(lit > 0, row.HoldsLit);
    EXPECT_EQ(unlit > 0, row.HoldsUnlit);
    int area = 0;
    for (const QRect& rect : segments)
      area += rect.width() * rect.height();
    EXPECT_EQ(lit + unlit, area) << "only segments in the region";
    // With the frames and segments left out, the whole rest is background.
    const QRegion rest = QRegion(Inside).subtracted(clip);
    for (const QRect& rect : rest)
      for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
          if (l.At(x, y) != Back && !(row.Mode == tmAll && l.At(x, y) == UnlitGrey))
            ADD_FAILURE() << "unexpected colour at " << x << "," << y;
  }
  Loaded none;
  EXPECT_FALSE(ClipRegion(*none.Lcd).has_value());
}

TEST(LumoLiquidIndicatorRender, LitBeforeUnlitInTheirColours) {
  Loaded l;
  l.Lcd->SetIndicatorstring(QStringLiteral("8"));
  EXPECT_GT(l.Count(LitGrey), 0);
  EXPECT_GT(l.Count(UnlitGrey), 0);
  l.Lcd->SetIndicatorstring(QString());
  EXPECT_EQ(l.Count(LitGrey), 0);
  EXPECT_GT(l.Count(UnlitGrey), 0);
}

struct HoverRow {
  const char* Name;
  TLumoMouseAction Action;
  bool WithMaterial;
  bool HoverColour;
};

TEST(LumoLiquidIndicatorRender, HoverColourReplacesColourAndMaterial) {
  const QRgb hover = 0xFFFF0000;  // NumberForeColor1 0x0000FF
  const QRgb texture = 0xFF00FF00;
  const HoverRow rows[] = {
      {"none", maNone, false, false},       {"colour", maColor, false, true},
      {"both", maBoth, true, true},         {"width keeps the material", maWidth, true, false},
      {"colour over material", maColor, true, true},
  };
  for (const HoverRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Loaded l;
    l.Lcd->SetIndicatorstring(QStringLiteral("8888888888"));
    l.Lcd->SetMouseAction(row.Action);
    if (row.WithMaterial) {
      QImage green(3, 3, QImage::Format_RGB32);
      green.fill(texture);
      l.Lcd->SetForeMaterial(green);
    }
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(l.Lcd, &enter);
    Settle();
    EXPECT_EQ(l.Count(hover) > 0, row.HoverColour);
    EXPECT_EQ(l.Count(texture) > 0, row.WithMaterial && !row.HoverColour);
    EXPECT_EQ(l.Count(LitGrey) > 0, !row.WithMaterial && !row.HoverColour);
  }
}

struct ShadowRow {
  TLumoMaterialShadowMode Mode;
  int Delta;
};

// A plain material shows the roles of its shaded copies: background as it is, light faces
// 64 lighter, dark faces 64 darker, unlit segments 32 darker, lighter or unchanged.
TEST(LumoLiquidIndicatorRender, BackMaterialAndItsShadedCopies) {
  const QRgb base = qRgb(100, 150, 200);
  for (const ShadowRow& row : {ShadowRow{msmDark, -32}, ShadowRow{msmLight, 32}, ShadowRow{msmNone, 0}}) {
    SCOPED_TRACE(int(row.Mode));
    Loaded l;
    l.Lcd->SetMaterialShadowMode(row.Mode);
    QImage material(7, 5, QImage::Format_ARGB32);
    material.fill(base);
    l.Lcd->SetBackMaterial(material);
    l.Lcd->SetIndicatorstring(QString());
    l.Lcd->SetTransparentMode(tmBackOnly);

    const QImage& shadow = BackMaterialShadow(*l.Lcd);
    ASSERT_EQ(shadow.format(), QImage::Format_RGB888);
    EXPECT_EQ(shadow.pixel(6, 4), Shaded(base, row.Delta));
    EXPECT_EQ(BackMaterialLight(*l.Lcd).pixel(0, 0), Shaded(base, 64));
    EXPECT_EQ(BackMaterialDark(*l.Lcd).pixel(0, 0), Shaded(base, -64));

    EXPECT_EQ(l.At(86, 4), base);
    EXPECT_EQ(l.At(86, 0), Shaded(base, 64));
    EXPECT_EQ(l.At(86, 35), Shaded(base, -64));
    const QRegion unlit = ClipRegion(*l.Lcd)->intersected(Inside);
    ASSERT_FALSE(unlit.isEmpty());
    const QPoint p = unlit.begin()->topLeft();
    EXPECT_EQ(l.At(p.x(), p.y()), Shaded(base, row.Delta));
  }
}

// Tiles start at the top-left corner; the last column and row, which only partly fit, are
// drawn too (193 x 65 takes 20 x 7 tiles of 10 x 10).
TEST(LumoLiquidIndicatorRender, TiledBackMaterial) {
  QImage pattern(10, 10, QImage::Format_RGB32);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      pattern.setPixel(x, y, qRgb(x * 20, y * 20, 100));
  Loaded l;
  l.Lcd->SetIndicatorWidth(193);
  l.Lcd->SetIndicatorHeight(65);
  l.Lcd->SetMaterialMode(mmTile);
  l.Lcd->SetBackMaterial(pattern);
  ASSERT_EQ(RenderedImage(*l.Lcd).size(), QSize(193, 65));
  const auto tile = [&](int x, int y) { return pattern.pixel(x % 10, y % 10); };
  EXPECT_EQ(l.At(187, 60), tile(187, 60)) << "background in the gap";
  EXPECT_EQ(l.At(4, 4), tile(4, 4));
  EXPECT_EQ(l.At(192, 30), Shaded(tile(192, 30), -64)) << "last column, dark outer face";
  EXPECT_EQ(l.At(100, 64), Shaded(tile(100, 64), -64)) << "last row";
  EXPECT_EQ(l.At(100, 0), Shaded(tile(100, 0), 64)) << "light outer face";
}

TEST(LumoLiquidIndicatorRender, StretchedForeMaterial) {
  QImage halves(2, 1, QImage::Format_RGB32);
  halves.setPixel(0, 0, qRgb(255, 0, 0));
  halves.setPixel(1, 0, qRgb(0, 0, 255));
  Loaded l;
  l.Lcd->SetIndicatorstring(QStringLiteral("8888888888"));
  l.Lcd->SetForeMaterial(halves);
  const QImage& image = RenderedImage(*l.Lcd);
  int red = 0, blue = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == qRgb(255, 0, 0)) {
        ++red;
        ASSERT_LT(x, 86);
      } else if (image.pixel(x, y) == qRgb(0, 0, 255)) {
        ++blue;
        ASSERT_GE(x, 86);
      }
    }
  EXPECT_GT(red, 0);
  EXPECT_GT(blue, 0);
  EXPECT_EQ(l.Count(LitGrey), 0);
}

TEST(LumoLiquidIndicatorRender, WindowShapeIsTheRotatedRectangle) {
  Loaded l;
  EXPECT_EQ(l.Lcd->mask(), QRegion(0, 0, 172, 36));
  l.Lcd->SetIndicatorAngle(900);
  EXPECT_EQ(l.Lcd->mask(), QRegion(0, 0, 36, 172));
  l.Lcd->SetIndicatorAngle(450);
  const QRegion diamond = l.Lcd->mask();
  EXPECT_TRUE(diamond.contains(QPoint(73, 73)));
  EXPECT_FALSE(diamond.contains(QPoint(2, 2)));
  EXPECT_FALSE(diamond.contains(QPoint(144, 144)));

  TLumoLiquidIndicator orphan;  // no parent: no shape
  orphan.Loaded();
  EXPECT_TRUE(orphan.mask().isEmpty());
}

// Painting copies the image; in the transparent modes the parent shows outside the clip.
TEST(LumoLiquidIndicatorRender, PaintingCopiesThroughTheClipRegion) {
  for (const TLumoTransparentMode mode : {tmNone, tmAll}) {
    SCOPED_TRACE(int(mode));
    Loaded l;
    QPalette palette = l.Parent->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 255));
    l.Parent->setPalette(palette);
    l.Parent->setAutoFillBackground(true);
    l.Lcd->SetTransparentMode(mode);
    l.Parent->show();
    Settle();
    if (mode == tmNone) {
      EXPECT_EQ(l.Lcd->grab().toImage().convertToFormat(QImage::Format_RGB32), RenderedImage(*l.Lcd));
    }
    const QImage shot = l.Parent->grab(l.Lcd->geometry()).toImage();
    EXPECT_EQ(shot.pixel(86, 0), Light);
    EXPECT_EQ(shot.pixel(86, 4), mode == tmNone ? Back : qRgb(255, 0, 255));
  }
}

// System colours follow the palette: a dark application palette, or one of the control's own,
// rebuilds a control that uses one; a control without any keeps its image.
TEST(LumoLiquidIndicatorRender, SystemColoursFollowAPaletteChange) {
  constexpr TColor buttonFace = TColor(0x8000000F);
  const QPalette original = QApplication::palette();
  Loaded system, plain;
  system.Lcd->SetBackColor(buttonFace);
  const quint64 plainRebuilds = RebuildCount(*plain.Lcd);
  QPalette dark = original;
  dark.setColor(QPalette::Button, QColor(30, 32, 36));
  QApplication::setPalette(dark);
  Settle();
  EXPECT_EQ(system.At(86, 18), qRgb(30, 32, 36));
  EXPECT_EQ(RebuildCount(*plain.Lcd), plainRebuilds);
  QApplication::setPalette(original);
  Settle();
  EXPECT_EQ(system.At(86, 18), original.color(QPalette::Button).rgb());

  QPalette own = system.Lcd->palette();
  own.setColor(QPalette::Button, QColor(200, 10, 10));
  system.Lcd->setPalette(own);
  EXPECT_EQ(system.At(86, 18), qRgb(200, 10, 10));
}
