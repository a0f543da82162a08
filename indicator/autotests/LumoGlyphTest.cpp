// Glyph shapes: segment hexagons, colon dots, the decimal point, 5x7 dots and how a glyph
// splits its positions between the lit and the unlit list.
#include "LumoGeometry_p.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace LumoLiquidIndicator;

namespace {

const TRect kCell{0, 0, 32, 48};

Tpoints Segment(int index, TLumoIndicatorKind kind = ik7segment, TLumoIndicatorStyle style = isNormal,
                const TRect& cell = kCell) {
  Tpoints points;
  SegmentPolygon(cell, kind, style, false, index, points);
  return points;
}

struct ShapeRow {
  const char* name;
  int index;
  TLumoIndicatorKind kind;
  Tpoints points;
};

TEST(SegmentPolygon, WorkedCell32x48) {
  // The decimal point's right tip: 6t/4 with t = 32/6 held as double is just below 8 in
  // extended precision and exactly 8 where the geometry computes in double.
  const qint32 tip = GeometryPrecisionBits() > 53 ? 29 : 30;
  const ShapeRow rows[] = {
      {"segment 1", 1, ik7segment, {{4, 43}, {1, 38}, {3, 26}, {6, 24}, {8, 26}, {6, 38}}},
      {"segment 3", 3, ik7segment, {{9, 3}, {11, 3}, {22, 3}, {25, 3}, {22, 8}, {11, 8}}},
      {"segment 6", 6, ik7segment, {{5, 44}, {7, 39}, {18, 39}, {21, 44}, {18, 44}, {7, 44}}},
      {"upper colon dot", 8, ik9segment, {{14, 18}, {12, 15}, {14, 11}, {17, 11}, {19, 15}, {17, 18}}},
      {"lower colon dot", 9, ik9segment, {{12, 36}, {10, 33}, {12, 29}, {15, 29}, {17, 33}, {15, 36}}},
      {"decimal point, seven-segment", 8, ik7segment, {{24, 42}, {25, 39}, {28, 39}, {tip, 42}, {28, 44}, {25, 44}}},
      {"decimal point, nine-segment", 10, ik9segment, {{24, 42}, {25, 39}, {28, 39}, {tip, 42}, {28, 44}, {25, 44}}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Segment(row.index, row.kind), row.points) << row.name;
}

TEST(SegmentPolygon, EverySegmentKeepsItsGaps) {
  // Verticals end one pixel short below, bars are one pixel shorter at both ends: no two
  // neighbouring segments share a vertex.
  for (int a = 1; a <= 7; ++a) {
    const Tpoints first = Segment(a);
    ASSERT_EQ(first.size(), 6u);
    for (int b = a + 1; b <= 7; ++b) {
      for (const TPoint& p : Segment(b))
        EXPECT_EQ(std::find(first.begin(), first.end(), p), first.end()) << a << " and " << b;
    }
  }
}

TEST(SegmentPolygon, CellOffsetAndZeroWidth) {
  // Shapes come in cell coordinates: only the size of the cell matters here.
  for (int index = 1; index <= 8; ++index)
    EXPECT_EQ(Segment(index, ik7segment, isNormal, {32, 0, 64, 48}), Segment(index)) << index;
  EXPECT_EQ(Segment(3, ik7segment, isNormal, {0, 0, 0, 24}),
            (Tpoints{{1, 1}, {2, 1}, {-2, 1}, {-1, 1}, {-2, 4}, {2, 4}}));
}

struct ThicknessRow {
  const char* name;
  TLumoIndicatorStyle style;
  bool hovering;
  qint32 w, h;
  double t;
};

TEST(SegmentThickness, StylesHoverAndLowerLimits) {
  const ThicknessRow rows[] = {
      {"thin", isThin, false, 32, 48, 4.0},
      {"thin hovering", isThin, true, 32, 48, 32.0 / 6},
      {"normal", isNormal, false, 32, 48, 32.0 / 6},
      {"normal hovering", isNormal, true, 32, 48, 6.4},
      {"thick", isThick, false, 32, 48, 6.4},
      {"thick hovering", isThick, true, 32, 48, 32.0 / 4.5},
      {"smaller side decides", isNormal, false, 60, 30, 5.0},
      {"normal raised to 3 in a 16 x 24 cell", isNormal, false, 16, 24, 3.0},
      {"thin raised to 2", isThin, false, 8, 100, 2.0},
      {"thick raised to 4", isThick, true, 10, 100, 4.0},
      {"zero width", isNormal, false, 0, 24, 3.0},
  };
  for (const auto& row : rows)
    EXPECT_DOUBLE_EQ(SegmentThickness(row.style, row.hovering, row.w, row.h), row.t) << row.name;
}

TEST(SegmentPolygon, HoveringThickensTheBars) {
  Tpoints plain;
  Tpoints hovered;
  SegmentPolygon(kCell, ik7segment, isThin, true, 3, hovered);
  SegmentPolygon(kCell, ik7segment, isNormal, false, 3, plain);
  EXPECT_EQ(plain, hovered) << "hovering thin draws like plain normal";
}

struct DotRow {
  const char* name;
  TLumoIndicatorStyle style;
  bool hovering;
  int row, column;
  Tpoints points;
};

TEST(MatrixDotPolygon, WorkedCell32x48) {
  const DotRow rows[] = {
      {"dot 1,1", isNormal, false, 1, 1, {{3, 0}, {5, 0}, {5, 4}, {3, 4}}},
      {"dot 1,5", isNormal, false, 1, 5, {{23, 0}, {25, 0}, {25, 4}, {23, 4}}},
      {"dot 7,1", isNormal, false, 7, 1, {{3, 41}, {5, 41}, {5, 45}, {3, 45}}},
      {"thin is 2 x 3", isThin, false, 1, 1, {{3, 0}, {5, 0}, {5, 3}, {3, 3}}},
      {"thick is 4 x 5", isThick, false, 1, 1, {{3, 0}, {7, 0}, {7, 5}, {3, 5}}},
      {"normal hovering is 2 x 3", isNormal, true, 1, 1, {{3, 0}, {5, 0}, {5, 3}, {3, 3}}},
  };
  for (const auto& row : rows) {
    Tpoints points;
    MatrixDotPolygon(kCell, row.style, row.hovering, row.row, row.column, points);
    EXPECT_EQ(points, row.points) << row.name;
  }
  Tpoints tiny;
  MatrixDotPolygon({0, 0, 8, 7}, isThick, false, 1, 1, tiny);
  EXPECT_EQ(tiny, (Tpoints{{1, 0}, {4, 0}, {4, 3}, {1, 3}})) << "sizes held at 3.5";
}

struct Split {
  std::vector<int> lit;
  std::vector<int> unlit;
};

// The glyph's polygons against the single shapes, walking order kept in both lists.
void ExpectSplit(const TRect& cell, char16_t character, bool point, TLumoIndicatorKind kind, const Split& split) {
  TPolyList lit;
  TPolyList unlit;
  BuildGlyph(cell, character, point, {kind, isNormal, false}, lit, unlit);
  auto expect = [&](const TPolyList& list, const std::vector<int>& indices) {
    ASSERT_EQ(list.Count, static_cast<qint32>(indices.size()));
    ASSERT_EQ(list.Vertices, Tintegers(indices.size(), 6));
    for (size_t i = 0; i < indices.size(); ++i) {
      Tpoints shape = Segment(indices[i], kind, isNormal, cell);
      OffsetPoints(shape, cell.Left, cell.Top);
      EXPECT_EQ(Tpoints(list.Points.begin() + 6 * i, list.Points.begin() + 6 * (i + 1)), shape)
          << "position " << indices[i];
    }
  };
  expect(lit, split.lit);
  expect(unlit, split.unlit);
}

TEST(BuildGlyph, SevenAndOneSplits) {
  ExpectSplit(kCell, u'7', false, ik7segment, {{3, 4, 5}, {1, 2, 6, 7, 8}});
  ExpectSplit(kCell, u'1', true, ik9segment, {{4, 5, 10}, {1, 2, 3, 6, 7, 8, 9}});
  ExpectSplit({32, 5, 64, 53}, u'8', true, ik7segment, {{1, 2, 3, 4, 5, 6, 7, 8}, {}});
  ExpectSplit({32, 0, 64, 48}, u' ', false, ik9segment, {{}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
}

TEST(BuildGlyph, ResultsAreEmptiedFirst) {
  TPolyList lit;
  TPolyList unlit;
  lit.Points = {{1, 1}};
  lit.Vertices = {1};
  lit.Count = 1;
  BuildGlyph(kCell, u' ', false, {ik7segment, isNormal, false}, lit, unlit);
  EXPECT_TRUE(lit.Points.empty());
  EXPECT_TRUE(lit.Vertices.empty());
  EXPECT_EQ(lit.Count, 0);
  EXPECT_EQ(unlit.Count, 8);
}

TEST(BuildGlyph, MatrixWalksRowByRowAndIgnoresThePoint) {
  const TRect cell{10, 20, 42, 68};
  TPolyList lit;
  TPolyList unlit;
  BuildGlyph(cell, u'1', false, {ik5x7matrix, isNormal, false}, lit, unlit);
  TPolyList litPoint;
  TPolyList unlitPoint;
  BuildGlyph(cell, u'1', true, {ik5x7matrix, isNormal, false}, litPoint, unlitPoint);
  EXPECT_EQ(lit, litPoint);
  EXPECT_EQ(unlit, unlitPoint);
  // "1": 00010 00110 00010 00010 00010 00010 00111 lights 10 dots.
  ASSERT_EQ(lit.Count, 10);
  EXPECT_EQ(unlit.Count, 25);
  EXPECT_EQ(lit.Vertices, Tintegers(10, 4));
  Tpoints first;
  MatrixDotPolygon(cell, isNormal, false, 1, 4, first);
  OffsetPoints(first, cell.Left, cell.Top);
  EXPECT_EQ(Tpoints(lit.Points.begin(), lit.Points.begin() + 4), first);
  Tpoints last;
  MatrixDotPolygon(cell, isNormal, false, 7, 5, last);
  OffsetPoints(last, cell.Left, cell.Top);
  EXPECT_EQ(Tpoints(lit.Points.end() - 4, lit.Points.end()), last);
}

} // namespace
