// Absurd but legal values: the visible polygon lists show what the full ones show inside the
// control, every extreme property value leaves a working control, and the region cache and
// ordinary rebuilds keep their memory bounded.
#include "LumoGeometry_p.h"
#include "LumoRegions_p.h"
#include "LumoWidgetFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
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

// Every cell's glyph is the first cell's moved along: the lists are the glyphs built cell by
// cell, whatever the kind, the decimal points and the characters repeated or not.
TEST(BuildIndicatorPolygons, EachCellHoldsItsOwnGlyph) {
  struct Row {
    const char* Name;
    TLumoIndicatorKind Kind;
    const char* Text;
    qint32 Signs, Width;
  };
  const Row rows[] = {
      {"seven segments, points", ik7segment, "8.8.1.:2", 9, 300},
      {"nine segments, one pixel cells", ik9segment, "-88-", 300, 300},
      {"matrix, repeated and single", ik5x7matrix, "AAbA.q", 7, 400},
      {"matrix, narrow cells", ik5x7matrix, "Zz9:", 150, 310},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TIndicatorLayoutSettings s;
    s.IndicatorKind = row.Kind;
    s.Indicatorstring = QString::fromLatin1(row.Text);
    s.SignNumber = row.Signs;
    s.IndicatorWidth = s.ControlWidth = row.Width;
    const TCellLayout layout = CellLayout(s);
    const std::vector<TCellCharacter> cells = CellAssignment(s.Indicatorstring, s.SignNumber, s.IndicatorKind);
    TIndicatorPolygons expected, lists;
    for (qint32 k = 1; k <= s.SignNumber; ++k) {
      const TRect cell{(k - 1) * layout.CellWidth, 0, k * layout.CellWidth, layout.CellHeight};
      BuildGlyph(cell, cells[size_t(k - 1)].Character, cells[size_t(k - 1)].Point,
                 {s.IndicatorKind, s.IndicatorStyle, false}, lists.Black, lists.Gray);
      AppendPolygons(expected.Black, lists.Black);
      AppendPolygons(expected.Gray, lists.Gray);
    }
    for (TPolyList* list : {&expected.Black, &expected.Gray})
      OffsetPoints(list->Points, layout.Border, layout.Border);
    const TIndicatorPolygons built = BuildIndicatorPolygons(s);
    EXPECT_EQ(built.Black, expected.Black);
    EXPECT_EQ(built.Gray, expected.Gray);
  }
}

// Leaving out cells outside the control and cancelling stacked cells of width 0 changes
// nothing inside the control, at any angle, size, gap and text.
TEST(BuildVisibleIndicatorPolygons, ShowsWhatTheFullListsShowInsideTheControl) {
  std::mt19937 random(1111);
  std::mt19937 parts(2222);
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

    // A part of the control alone, as painting asks for it, shows the same pixels there.
    const QRect bounds(0, 0, s.ControlWidth, s.ControlHeight);
    const int left = std::uniform_int_distribution<int>(0, s.ControlWidth - 1)(parts);
    const int top = std::uniform_int_distribution<int>(0, s.ControlHeight - 1)(parts);
    const QRect part(left, top, std::uniform_int_distribution<int>(1, 80)(parts),
                     std::uniform_int_distribution<int>(1, 80)(parts));
    const TIndicatorPolygons inPart =
        BuildVisibleIndicatorPolygons(s, {part.left(), part.top(), part.right() + 1, part.bottom() + 1});
    ASSERT_TRUE(PolyPolygonRegionIn(inPart.Black, bounds, part).xored(Seen(full.Black, s) & part).isEmpty())
        << "round " << round;
    ASSERT_TRUE(PolyPolygonRegionIn(inPart.Gray, bounds, part).xored(Seen(full.Gray, s) & part).isEmpty())
        << "round " << round;
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

namespace {

using Loaded = LumoTest::TLoaded;

QImage Indexed8WithoutColours() {
  QImage image(3, 2, QImage::Format_Indexed8);
  image.fill(9);
  return image;
}

using Change = std::function<void(TLumoLiquidIndicator&)>;
struct ExtremeRow {
  const char* Name;
  Change Set;
};

} // namespace

// Each property at the ends of its type, on a loaded control of the default size: the
// control lives on with a size the platform's windows allow and an image within its limit,
// and paints. (The time and memory each takes are measured by steepo_indicator_extremes.)
TEST(LumoIndicatorLimits, ExtremeValuesLeaveAWorkingControl) {
  const ExtremeRow rows[] = {
      {"SignNumber max", [](auto& l) { l.SetSignNumber(kMax); }},
      {"SignNumber max, 5x7", [](auto& l) { l.SetIndicatorKind(ik5x7matrix); l.SetSignNumber(kMax); }},
      {"IndicatorWidth max", [](auto& l) { l.SetIndicatorWidth(kMax); }},
      {"IndicatorHeight max", [](auto& l) { l.SetIndicatorHeight(kMax); }},
      {"IndicatorWidth huge at 45 degrees", [](auto& l) { l.SetIndicatorAngle(450); l.SetIndicatorWidth(16777216); }},
      {"IndicatorAngle min", [](auto& l) { l.SetIndicatorAngle(kMin); }},
      {"IndicatorGap min", [](auto& l) { l.SetIndicatorGap(kMin); }},
      {"IndicatorGap max", [](auto& l) { l.SetIndicatorGap(kMax); }},
      {"both bevel widths max", [](auto& l) { l.SetInnerBevelWidth(kMax); l.SetOuterBevelWidth(kMax); }},
      {"outer bevel 100000 at 30 degrees", [](auto& l) { l.SetIndicatorAngle(300); l.SetOuterBevelWidth(100000); }},
      {"back material without colour table", [](auto& l) { l.SetBackMaterial(Indexed8WithoutColours()); }},
      {"fore material without colour table", [](auto& l) {
         l.SetIndicatorstring("88");
         l.SetForeMaterialMode(mmTile);
         l.SetForeMaterial(Indexed8WithoutColours());
       }},
      {"kinds and modes out of range", [](auto& l) {
         l.SetIndicatorKind(TLumoIndicatorKind(255));
         l.SetIndicatorStyle(TLumoIndicatorStyle(255));
         l.SetInnerBevel(TLumoBevelKind(255));
         l.SetTransparentMode(TLumoTransparentMode(255));
         l.SetMaterialMode(TLumoMaterialMode(255));
         l.SetColorScheme(TLumoColorScheme(255));
       }},
  };
  for (const ExtremeRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Loaded l;
    row.Set(*l.Lcd);
    QCoreApplication::sendPostedEvents();
    EXPECT_LE(l.Lcd->width(), TLumoLiquidIndicator::kLargestControlSide);
    EXPECT_LE(l.Lcd->height(), TLumoLiquidIndicator::kLargestControlSide);
    const QImage& image = RenderedImage(*l.Lcd);
    EXPECT_FALSE(image.isNull());
    EXPECT_LE(qint64(image.width()) * image.height(), TLumoLiquidIndicator::kLargestImagePixels);
    QImage screen(qMin(l.Lcd->width(), 600), qMin(l.Lcd->height(), 600), QImage::Format_RGB32);
    l.Lcd->render(&screen);
  }
}

// An image above the limit is not made: the previous image stays, and a warning says why.
TEST(LumoIndicatorLimits, ImageAboveTheLimitKeepsThePreviousImage) {
  Loaded l;
  l.Lcd->SetIndicatorstring("12");
  const QImage before = RenderedImage(*l.Lcd);
  l.Lcd->SetIndicatorAngle(450);
  const QImage turned = RenderedImage(*l.Lcd);
  ASSERT_EQ(turned.size(), l.Lcd->size());
  static int warnings = 0;
  warnings = 0;
  const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
    warnings += type == QtWarningMsg;
  });
  l.Lcd->SetIndicatorWidth(30000);  // 45 degrees: a box of about 21000 x 21000 pixels
  qInstallMessageHandler(previous);
  EXPECT_GE(warnings, 1);
  EXPECT_GT(qint64(l.Lcd->width()) * l.Lcd->height(), TLumoLiquidIndicator::kLargestImagePixels);
  EXPECT_EQ(RenderedImage(*l.Lcd), turned);
  EXPECT_NE(before, turned);
}

// A tall region is not kept for long: the cache holds at most a few megabytes, however tall
// the polygons it has seen.
TEST(LumoIndicatorLimits, RegionCacheIsBoundedByItsMemory) {
  for (qint32 i = 0; i < 300; ++i) {
    const Tpoints diamond{{0, i}, {300, i + 1000}, {0, i + 2000}, {-300, i + 1000}};
    PolygonRegion(diamond.data(), 4);
    const Tpoints small{{i, 0}, {i + 7, 3}, {i, 9}};
    PolygonRegion(small.data(), 3);
    ASSERT_LE(PolygonRegionCacheBytes(), 4 * 1024 * 1024);
    ASSERT_LE(PolygonRegionCacheSize(), 4096);
  }
  EXPECT_GT(PolygonRegionCacheSize(), 0);
}

namespace {

// Resident memory of the process, in bytes.
qint64 Resident() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly))
    return 0;
  return statm.readAll().split(' ').value(1).toLongLong() * 4096;
}

} // namespace

// Ordinary rebuilds (texts, angles, kinds) hold no memory beyond the control's own. (The
// measuring program runs 20,000 of them at every angle.)
TEST(LumoIndicatorLimits, RebuildsDoNotGrowMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer keeps freed memory in quarantine";
#endif
  Loaded l;
  const QString texts[] = {"12:34", "0.5", "--", "Hello", "88:88", "7.7.7"};
  const auto round = [&](int i) {
    l.Lcd->SetIndicatorstring(texts[i % 6]);
    if (i % 50 == 0)
      l.Lcd->SetIndicatorAngle((i / 50) % 2 * 1800);
    if (i % 70 == 0)
      l.Lcd->SetIndicatorKind(TLumoIndicatorKind(i / 70 % 3));
  };
  for (int i = 0; i < 700; ++i)  // caches and allocator pools reach their size
    round(i);
  const qint64 before = Resident();
  for (int i = 0; i < 2100; ++i)
    round(i);
  EXPECT_LT(Resident() - before, 1024 * 1024);
}

// A translucent material tiled by one pattern fill blends with the back colour exactly as
// drawing it tile by tile does; an indexed material without colours shows as grey levels.
TEST(LumoIndicatorLimits, MaterialsDrawAsGiven) {
  QImage glass(7, 3, QImage::Format_ARGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x)
      glass.setPixel(x, y, qRgba(x * 35, y * 80, 200, 40 + x * 30));
  Loaded l;
  l.Lcd->SetMaterialMode(mmTile);
  l.Lcd->SetBackMaterial(glass);
  QImage expected(l.Lcd->size(), QImage::Format_RGB32);
  expected.fill(qRgb(0xDD, 0xDD, 0xDD));
  {
    QPainter painter(&expected);
    for (int x = 0; x < expected.width(); x += 7)
      for (int y = 0; y < expected.height(); y += 3)
        painter.drawImage(x, y, glass);
  }
  for (const QPoint gap : {QPoint(5, 5), QPoint(6, 17), QPoint(165, 30)})
    EXPECT_EQ(RenderedImage(*l.Lcd).pixel(gap), expected.pixel(gap)) << gap.x() << ", " << gap.y();

  l.Lcd->SetMaterialMode(mmStretch);
  l.Lcd->SetBackMaterial(Indexed8WithoutColours());
  EXPECT_EQ(RenderedImage(*l.Lcd).pixel(5, 5), qRgb(9, 9, 9));
}
