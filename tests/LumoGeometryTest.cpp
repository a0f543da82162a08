// Point rotation, the rotated box and window shape, lighting and bevels, colours, shading
// bytes and tiling of the indicator.
#include "LumoGeometry_p.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace LumoLiquidIndicator;

namespace {

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();

struct RotationRow {
  const char* name;
  TPoint in;
  qint32 angle;
  TPoint out;
};

TEST(RotatePoints, WorkedExamples) {
  const RotationRow rows[] = {
      {"x axis by 90", {10, 0}, 900, {0, -10}},
      {"below origin by 90", {0, 10}, 900, {10, 0}},
      {"above origin by 90", {0, -10}, 900, {-10, 0}},
      {"3-4-5 by 90", {3, 4}, 900, {4, -3}},
      {"origin stays", {0, 0}, 900, {0, 0}},
      {"origin stays at odd angle", {0, 0}, 123, {0, 0}},
      {"angle 0 is identity", {-17, 23}, 0, {-17, 23}},
      {"full turn is identity", {40, -7}, 3600, {40, -7}},
      {"far beyond a turn", {10, 0}, 3600 * 1000 + 900, {0, -10}},
      {"negative quarter", {10, 0}, -900, {0, 10}},
      {"half turn", {5, 7}, 1800, {-5, -7}},
      {"45 degrees, each point rounded alone", {10, 0}, 450, {7, -7}},
  };
  for (const auto& row : rows) {
    Tpoints points{row.in};
    RotatePoints(points, row.angle);
    EXPECT_EQ(points[0], row.out) << row.name;
  }
}

TEST(RotatePoints, ExtremeCoordinatesStayInRange) {
  Tpoints points{{kMax, kMax}, {kMin, kMin}, {kMin, kMax}, {kMax, 0}};
  for (const qint32 angle : {0, 450, 900, 1234, kMax, kMin}) {
    Tpoints turned = points;
    RotatePoints(turned, angle);
    ASSERT_EQ(turned.size(), points.size());
  }
  Tpoints corner{{kMax, kMax}};
  RotatePoints(corner, 450);  // lands on the x axis at sqrt(2) * kMax: held at the range's end
  EXPECT_EQ(corner[0], (TPoint{kMax, 0}));
}

// Angle 0 skips the polar round trip as an exact identity; a full turn takes the round trip
// and must give every point back too, which shows that its error never reaches a rounding half.
TEST(RotatePoints, FullTurnRoundTripIsExactOverTheWholeRange) {
  std::mt19937 random(7);
  std::uniform_int_distribution<qint32> coordinate(kMin / 2, kMax / 2);
  Tpoints points;
  for (int i = 0; i < 20000; ++i)
    points.push_back({coordinate(random) >> (i % 31), coordinate(random) >> (i % 29)});
  for (const qint32 angle : {3600, -3600}) {
    Tpoints turned = points;
    RotatePoints(turned, angle);
    EXPECT_EQ(turned, points) << angle;
    Tpoints around = points;
    RotatePointsAround(around, 96, 32, angle);
    EXPECT_EQ(around, points) << angle;
  }
}

// The rotation as polar coordinates, step by step in extended precision: the rule every
// faster way of turning a point must agree with, pixel for pixel.
TPoint PolarTurn(TPoint p, qint32 angle) {
  using Ext = long double;
  const Ext pi = 3.141592653589793238462643383279502884L;
  const double r = static_cast<double>(std::sqrt(Ext(p.x) * p.x + Ext(p.y) * Ext(p.y)));
  if (std::nearbyint(r) == 0)
    return p;
  const Ext phi = p.x != 0 ? std::atan2(-Ext(p.y) / 1000.0L, Ext(p.x) / 1000.0L) : (p.y <= 0 ? pi / 2 : -pi / 2);
  const double turned = static_cast<double>(phi + Ext(angle) * pi / 1800.0L);
  return {qint32(std::nearbyint(Ext(r) * std::cos(Ext(turned)))), qint32(-std::nearbyint(Ext(r) * std::sin(Ext(turned))))};
}

// Includes angles whose sine or cosine is a simple fraction (exact halves at 30 and 60
// degrees), tiny and huge angles.
TEST(RotatePoints, AgreesWithThePolarRotation) {
  std::mt19937 random(11);
  std::uniform_int_distribution<qint32> small(-400, 400), large(-3000000, 3000000);
  Tpoints points;
  for (int i = 0; i < 4000; ++i)
    points.push_back(i % 4 ? TPoint{small(random), small(random)} : TPoint{large(random), large(random)});
  for (qint32 x = -12; x <= 12; ++x)
    for (qint32 y = -12; y <= 12; ++y)
      points.push_back({x, y});
  for (const qint32 angle : {1, -1, 300, 450, 600, 900, 1200, -1500, 2999, 36000 + 300, 7654321, kMax}) {
    Tpoints turned = points;
    RotatePoints(turned, angle);
    for (size_t i = 0; i < points.size(); ++i)
      ASSERT_EQ(turned[i], PolarTurn(points[i], angle)) << angle << " at " << points[i].x << ", " << points[i].y;
  }
}

TEST(RotatePointsAround, PivotOriginEqualsPlainRotation) {
  const Tpoints points{{10, 0}, {3, 4}, {-8, 13}, {0, 0}};
  for (const qint32 angle : {0, 300, 900, -450, 2700}) {
    Tpoints plain = points;
    Tpoints around = points;
    RotatePoints(plain, angle);
    RotatePointsAround(around, 0, 0, angle);
    EXPECT_EQ(plain, around) << angle;
  }
}

TEST(RotatePointsAround, PivotStaysAndDisplacementRoundsOnce) {
  Tpoints points{{86, 18}, {0, 0}, {172, 36}};
  RotatePointsAround(points, 86, 18, 900);
  EXPECT_EQ(points[0], (TPoint{86, 18}));
  EXPECT_EQ(points[1], (TPoint{68, 104}));
  EXPECT_EQ(points[2], (TPoint{104, -68}));
}

TEST(OffsetPoints, RunAndWholeList) {
  Tpoints points{{1, 1}, {2, 2}, {3, 3}};
  OffsetPoints(points.data(), 1, 10, -10);
  EXPECT_EQ(points, (Tpoints{{11, -9}, {12, -8}, {3, 3}}));
  OffsetPoints(points.data(), -1, 100, 100);
  EXPECT_EQ(points[0], (TPoint{11, -9})) << "an empty run is left alone";
  OffsetPoints(points, kMax, kMin);
  EXPECT_EQ(points[0], (TPoint{kMax, kMin})) << "sums saturate instead of wrapping";
}

TEST(PolygonLists, AddAndAppendKeepTheCountsTogether) {
  TPolyList list;
  AddPolygon(list.Points, list.Vertices, {{0, 0}, {1, 0}, {1, 1}});
  list.Count = 1;
  TPolyList part;
  AddPolygon(part.Points, part.Vertices, {{5, 5}, {6, 5}, {6, 6}, {5, 6}});
  part.Count = 1;
  AppendPolygons(list, part);
  EXPECT_EQ(list.Points.size(), 7u);
  EXPECT_EQ(list.Vertices, (Tintegers{3, 4}));
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.Points[3], (TPoint{5, 5}));
  EXPECT_EQ(part.Vertices, (Tintegers{4})) << "the part is not changed";
}

struct BoxRow {
  const char* name;
  qint32 width, height, angle;
  TBoxSize box;
};

TEST(RotatedBox, WorkedExamples) {
  const BoxRow rows[] = {
      {"angle 0", 172, 36, 0, {172, 36}},
      {"half turn", 172, 36, 1800, {172, 36}},
      {"quarter", 172, 36, 900, {36, 172}},
      {"three quarters", 172, 36, 2700, {36, 172}},
      {"45 degrees", 172, 36, 450, {147, 147}},
      {"30 degrees", 172, 36, 300, {167, 117}},
      {"minus 30 degrees", 172, 36, -300, {167, 117}},
      {"huge sides saturate", kMax, kMax, 450, {kMax, kMax}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(RotatedBox(row.width, row.height, row.angle), row.box) << row.name;
}

TEST(SizeRuleFor, Branches) {
  const std::pair<qint32, TSizeRule> rows[] = {
      {0, TSizeRule::Straight},   {1800, TSizeRule::Straight}, {-3600, TSizeRule::Straight},
      {900, TSizeRule::Quarter},  {2700, TSizeRule::Quarter},  {-900, TSizeRule::Quarter},
      {300, TSizeRule::Other},    {450, TSizeRule::Other},     {1, TSizeRule::Other},
      {36000900, TSizeRule::Quarter},
  };
  for (const auto& [angle, rule] : rows)
    EXPECT_EQ(SizeRuleFor(angle), rule) << angle;
}

TEST(WindowShape, WorkedExamples) {
  EXPECT_EQ(WindowShape(172, 36, 0, 172, 36),
            (std::array<TPoint, 4>{TPoint{0, 0}, {172, 0}, {172, 36}, {0, 36}}));
  EXPECT_EQ(WindowShape(172, 36, 900, 36, 172),
            (std::array<TPoint, 4>{TPoint{0, 172}, {0, 0}, {36, 0}, {36, 172}}));
}

TEST(LightingOctant, Angles) {
  const std::pair<qint32, std::vector<int>> rows[] = {
      {0, {8}},        {300, {1}},     {900, {2, 3}},    {1800, {4, 5}},   {-900, {6, 7}},
      {600, {2}},      {1200, {3}},    {1500, {4}},      {2000, {5}},      {2500, {6}},
      {2900, {7}},     {3400, {8}},    {3600 + 300, {1}}, {-3300, {1}},
  };
  for (const auto& [angle, allowed] : rows) {
    const int octant = LightingOctant(angle);
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), octant), allowed.end())
        << "angle " << angle << " gave " << octant;
  }
}

// On the diagonals s = sin(45 degrees) held as double meets r = 1/sqrt(2): in extended
// precision s lies just above r, in double it does not, so three diagonals take the other
// neighbouring octant.
TEST(LightingOctant, OddMultiplesOf45DegreesFollowThePrecision) {
  struct Row {
    qint32 angle;
    int extended;
    int plainDouble;
  };
  const Row rows[] = {{450, 2, 1}, {1350, 3, 3}, {2250, 6, 5}, {3150, 7, 7}, {-450, 7, 8}};
  const bool extended = GeometryPrecisionBits() > 53;
  for (const Row& row : rows)
    EXPECT_EQ(LightingOctant(row.angle), extended ? row.extended : row.plainDouble) << row.angle;
}

TEST(BevelFaces, OrderAndRoles) {
  using enum TBevelFace;
  struct Row {
    int octant;
    std::array<TBevelFace, 4> order;
  };
  const Row rows[] = {{1, {Top, Left, Bottom, Right}}, {8, {Top, Left, Bottom, Right}},
                      {2, {Top, Right, Left, Bottom}}, {3, {Top, Right, Left, Bottom}},
                      {4, {Bottom, Right, Top, Left}}, {5, {Bottom, Right, Top, Left}},
                      {6, {Left, Bottom, Right, Top}}, {7, {Left, Bottom, Right, Top}}};
  for (const auto& row : rows) {
    const auto up = BevelFaces(row.octant, bkUP);
    const auto down = BevelFaces(row.octant, bkDown);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(up[i].Face, row.order[i]) << row.octant;
      EXPECT_EQ(down[i].Face, row.order[i]) << row.octant;
      EXPECT_EQ(up[i].Light, i < 2) << row.octant;
      EXPECT_EQ(down[i].Light, i >= 2) << "a sunken bevel swaps the roles, octant " << row.octant;
    }
  }
}

TEST(BevelPoints, DefaultsAtAngleZero) {
  const auto outer = BevelPoints(172, 36, 0, 2, 0, 172, 36);
  const std::array<TPoint, 16> expectedOuter{
      TPoint{0, 0}, {172, 0}, {170, 2}, {2, 2},       // top
      {0, 0},       {0, 36},  {2, 34},  {2, 2},       // left
      {0, 36},      {2, 34},  {170, 34}, {172, 36},   // bottom
      {172, 36},    {170, 34}, {170, 2}, {172, 0}};   // right
  EXPECT_EQ(outer, expectedOuter);
  const auto inner = BevelPoints(172, 36, 2, 2, 0, 172, 36);
  EXPECT_EQ(inner[0], (TPoint{2, 2}));
  EXPECT_EQ(inner[2], (TPoint{168, 4}));
  EXPECT_EQ(inner[10], (TPoint{168, 32}));
}

TEST(BevelPoints, PlacedLikeTheWindowShape) {
  const auto bevel = BevelPoints(172, 36, 0, 2, 900, 36, 172);
  const auto shape = WindowShape(172, 36, 900, 36, 172);
  EXPECT_EQ(bevel[0], shape[0]);   // top-left corner
  EXPECT_EQ(bevel[1], shape[1]);   // top-right
  EXPECT_EQ(bevel[15], shape[1]);
  EXPECT_EQ(bevel[8], shape[3]);   // bottom-left
  EXPECT_EQ(bevel[12], shape[2]);  // bottom-right
}

TEST(Colours, LighterAndDarker) {
  const TSysColorResolver none;
  struct Row {
    TColor in, lighter, darker;
  };
  const Row rows[] = {{0x102030, 0x304050, 0x000010},
                      {0xF0F0F0, 0xFFFFFF, 0xD0D0D0},
                      {0xDDDDDD, 0xFDFDFD, 0xBDBDBD},
                      {0x000000, 0x202020, 0x000000},
                      {0x0FE01F, 0x2FFF3F, 0x00C000}};
  for (const auto& row : rows) {
    EXPECT_EQ(LighterColor(row.in, none), row.lighter) << std::hex << row.in;
    EXPECT_EQ(DarkerColor(row.in, none), row.darker) << std::hex << row.in;
  }
  EXPECT_EQ(LighterColor(0x12102030, none), 0x304050) << "the top byte is dropped";
}

TEST(Colours, SystemColoursResolveThroughTheCaller) {
  int asked = -1;
  const TSysColorResolver resolve = [&asked](int index) {
    asked = index;
    return TColor(0xF0F0F0);
  };
  const TColor buttonFace = static_cast<TColor>(0x8000000F);
  EXPECT_EQ(ColorToRGB(buttonFace, resolve), 0xF0F0F0);
  EXPECT_EQ(asked, 0x0F);
  EXPECT_EQ(LighterColor(buttonFace, resolve), 0xFFFFFF);
  EXPECT_EQ(DarkerColor(buttonFace, resolve), 0xD0D0D0);
  EXPECT_EQ(ColorToRGB(0x00123456, resolve), 0x00123456);
  EXPECT_EQ(DarkerColor(buttonFace, TSysColorResolver()), 0) << "no resolver: black, no crash";
}

TEST(ShadingBytes, RowsWithPadding) {
  // Two rows of one pixel each, stride 4: the fourth byte of a row is padding.
  std::vector<uchar> bits{50, 200, 64, 7, 0, 255, 63, 9};
  DarkenBytes(bits.data(), 1, 2, 4, 64);
  EXPECT_EQ(bits, (std::vector<uchar>{0, 136, 0, 7, 0, 191, 0, 9}));
  bits = {200, 191, 100, 250, 192, 0, 255, 251};
  LightenBytes(bits.data(), 1, 2, 4, 64);
  EXPECT_EQ(bits, (std::vector<uchar>{255, 255, 164, 250, 255, 64, 255, 251}));
}

TEST(ShadingBytes, OddAmountsAndSizesStayInsideTheBuffer) {
  std::vector<uchar> bits{10, 250, 128};
  DarkenBytes(bits.data(), 1, 1, 3, -20);
  EXPECT_EQ(bits, (std::vector<uchar>{30, 255, 148})) << "a negative amount lightens, capped";
  LightenBytes(bits.data(), 1, 1, 3, 1000);
  EXPECT_EQ(bits, (std::vector<uchar>{255, 255, 255}));
  DarkenBytes(bits.data(), 5, 1, 3, 10);  // rows never reach past the stride
  EXPECT_EQ(bits, (std::vector<uchar>{245, 245, 245}));
  DarkenBytes(nullptr, 5, 5, 15, 10);
  DarkenBytes(bits.data(), -1, 1, 3, 10);
  EXPECT_EQ(bits[0], 245);
}

TEST(TileOrigins, ColumnsFirstIncludingTheEdges) {
  const auto tiles = TileOrigins(100, 40, 30, 16);
  ASSERT_EQ(tiles.size(), 12u);
  EXPECT_EQ(tiles[0], (TPoint{0, 0}));
  EXPECT_EQ(tiles[1], (TPoint{0, 16}));
  EXPECT_EQ(tiles[2], (TPoint{0, 32}));
  EXPECT_EQ(tiles[3], (TPoint{30, 0}));
  EXPECT_EQ(tiles[11], (TPoint{90, 32}));
  EXPECT_EQ(TileOrigins(90, 32, 30, 16).size(), 12u) << "the last column and row start on the edge";
  EXPECT_EQ(TileOrigins(193, 65, 10, 10).size(), 20u * 7u);
  EXPECT_TRUE(TileOrigins(100, 40, 0, 16).empty());
  EXPECT_TRUE(TileOrigins(100, 40, 30, 0).empty());
}

} // namespace
