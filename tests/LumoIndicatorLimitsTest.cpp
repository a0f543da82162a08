// Absurd but legal values: the visible polygon lists show what the full ones show inside the
// control, every extreme property value leaves a working control, and the region cache and
// ordinary rebuilds keep their memory bounded.
#include "LumoGeometry.h"
#include "LumoLiquidIndicator.h"
#include "LumoRegions.h"

#include <QCoreApplication>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <random>

using namespace LumoLiquidIndicator;

namespace {

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();

QRegion Seen(const TPolyList& list, const TIndicatorLayoutSettings& s) {
  return list.Points.empty() ? QRegion() : PolyPolygonRegion(list) & QRect(0, 0, s.ControlWidth, s.ControlHeight);
}

} // namespace

// Leaving out cells outside the control and cancelling stacked cells of width 0 changes
// nothing inside the control, at any angle, size, gap and text.
TEST(BuildVisibleIndicatorPolygons, ShowsWhatTheFullListsShowInsideTheControl) {
  std::mt19937 random(1111);
  auto any = [&random](std::initializer_list<qint32> choices) {
    return *(choices.begin() + std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random));
  };
  const QString alphabet = QStringLiteral("0123456789.,:-AbcHL _Zq~");
  for (int round = 0; round < 100; ++round) {
    TIndicatorLayoutSettings s;
    s.SignNumber = any({1, 3, 10, 37, 172, 173, 400});
    s.IndicatorWidth = any({16, 172, 193, 400});
    s.IndicatorHeight = any({5, 36, 65, 120});
    s.IndicatorAngle = any({0, 300, 450, 900, -1234, 1800, 2701});
    s.IndicatorGap = any({2, -7, -60, 40});
    s.IndicatorKind = static_cast<TLumoIndicatorKind>(any({0, 1, 2}));
    s.IndicatorStyle = static_cast<TLumoIndicatorStyle>(any({0, 1, 2}));
    const TBoxSize box = RotatedBox(s.IndicatorWidth, s.IndicatorHeight, s.IndicatorAngle);
    s.ControlWidth = any({box.Width, box.Width / 3, box.Width + 50});
    s.ControlHeight = any({box.Height, box.Height / 2});
    for (int i = std::uniform_int_distribution<int>(0, 30)(random); i > 0; --i)
      s.Indicatorstring += alphabet[std::uniform_int_distribution<int>(0, int(alphabet.size()) - 1)(random)];

    const TIndicatorPolygons full = BuildIndicatorPolygons(s);
    const TIndicatorPolygons seen = BuildVisibleIndicatorPolygons(s);
    ASSERT_EQ(Seen(seen.Black, s), Seen(full.Black, s)) << "round " << round;
    ASSERT_EQ(Seen(seen.Gray, s), Seen(full.Gray, s)) << "round " << round;
    ASSERT_LE(seen.Black.Count + seen.Gray.Count, full.Black.Count + full.Gray.Count);
  }
}

// The blank cells in front of a text are counted, not built: a million cells of width 0 come
// down to one glyph's polygons at most.
TEST(BuildVisibleIndicatorPolygons, WorkFollowsWhatCanBeSeen) {
  TIndicatorLayoutSettings s;
  s.Indicatorstring = QStringLiteral("12:3.4");
  for (const qint32 signs : {1'000'001, kMax}) {
    for (const TLumoIndicatorKind kind : {ik7segment, ik5x7matrix, ik9segment}) {
      s.SignNumber = signs;
      s.IndicatorKind = kind;
      const TIndicatorPolygons seen = BuildVisibleIndicatorPolygons(s);
      EXPECT_LE(seen.Black.Count + seen.Gray.Count, 35);
    }
  }
  s.SignNumber = 10;
  s.IndicatorWidth = kMax;  // cells far wider than the control: only the middle one shows
  EXPECT_LE(BuildVisibleIndicatorPolygons(s).Gray.Count, 8);
  s.IndicatorGap = kMin;    // the glyph area far outside the control
  EXPECT_EQ(BuildVisibleIndicatorPolygons(s).Gray.Count, 0);
}

// Tall polygons are scanned by the indicator itself, in time that follows their rows; the
// pixels are those of the platform's own scan, self-crossing polygons included (the
// rectangles may be grouped into bands differently).
TEST(LumoRegions, TallPolygonsScanLikeThePlatform) {
  std::mt19937 random(4242);
  std::uniform_int_distribution<int> x(-400, 400), y(-300, 700), corners(3, 8);
  for (int round = 0; round < 300; ++round) {
    Tpoints polygon(corners(random));
    for (TPoint& p : polygon)
      p = {x(random), y(random)};
    polygon[0].y = -300;
    polygon[1].y = 700;  // taller than the platform is left to scan
    QPolygon platform;
    for (const TPoint& p : polygon)
      platform << QPoint(p.x, p.y);
    const QRegion own = PolygonRegion(polygon.data(), qint32(polygon.size()));
    const QRegion theirs(platform, Qt::OddEvenFill);
    ASSERT_TRUE((own ^ theirs).isEmpty()) << "round " << round;
  }
}
