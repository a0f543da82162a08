// Even-odd regions of polygon lists: worked examples, and agreement with XOR-ing the
// polygons' regions one by one over the polygon lists of whole indicators.
#include "LumoGeometry.h"
#include "LumoRegions.h"

#include <gtest/gtest.h>
#include <vector>

using namespace LumoLiquidIndicator;

namespace {

TPolyList List(const std::vector<Tpoints>& polygons) {
  TPolyList list;
  for (const Tpoints& polygon : polygons)
    AddPolygon(list.Points, list.Vertices, polygon);
  list.Count = qint32(list.Vertices.size());
  return list;
}

Tpoints Square(qint32 x, qint32 y, qint32 side) {
  return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

QRegion XorOneByOne(const TPolyList& list) {
  QRegion region;
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    region ^= PolygonRegion(next, list.Vertices[i]);
    next += list.Vertices[i];
  }
  return region;
}

std::vector<QRect> Rects(const QRegion& region) { return {region.begin(), region.end()}; }

} // namespace

TEST(LumoRegions, RectanglePolygonLeavesOutItsRightAndBottomEdge) {
  const Tpoints rectangle = {{0, 0}, {172, 0}, {172, 36}, {0, 36}};
  EXPECT_EQ(PolygonRegion(rectangle.data(), 4), QRegion(0, 0, 172, 36));
}

struct EvenOddRow {
  const char* Name;
  std::vector<Tpoints> Polygons;
  QRegion Expected;
};

TEST(LumoRegions, PlacesCoveredAnEvenNumberOfTimesLieOutside) {
  const EvenOddRow rows[] = {
      {"nothing", {}, QRegion()},
      {"one square", {Square(2, 3, 4)}, QRegion(2, 3, 4, 4)},
      {"apart", {Square(0, 0, 2), Square(5, 0, 2)}, QRegion(0, 0, 2, 2) | QRegion(5, 0, 2, 2)},
      {"touching", {Square(0, 0, 2), Square(2, 0, 2)}, QRegion(0, 0, 4, 2)},
      {"overlapping", {Square(0, 0, 10), Square(5, 5, 10)}, QRegion(0, 0, 10, 10) ^ QRegion(5, 5, 10, 10)},
      {"twice the same", {Square(1, 1, 5), Square(1, 1, 5)}, QRegion()},
      {"one inside another", {Square(0, 0, 10), Square(3, 3, 4)}, QRegion(0, 0, 10, 10) - QRegion(3, 3, 4, 4)},
      {"three over one place", {Square(0, 0, 4), Square(0, 0, 4), Square(0, 0, 4)}, QRegion(0, 0, 4, 4)},
  };
  for (const EvenOddRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const QRegion region = PolyPolygonRegion(List(row.Polygons));
    EXPECT_EQ(region, row.Expected);
    EXPECT_EQ(Rects(region), Rects(row.Expected)) << "kept in QRegion's own banded form";
  }
}

TEST(LumoRegions, WholeIndicatorsAgreeWithXorOneByOne) {
  TIndicatorLayoutSettings settings;
  for (const qint32 angle : {0, 300, 450, 900, -1234})
    for (const auto kind : {ik7segment, ik9segment, ik5x7matrix})
      for (const char* text : {"03:00", "8.8.8.", "Tea:1,2"}) {
        SCOPED_TRACE(testing::Message() << angle << " " << int(kind) << " " << text);
        settings.IndicatorAngle = angle;
        settings.IndicatorKind = kind;
        settings.Indicatorstring = QString::fromLatin1(text);
        const TBoxSize box = RotatedBox(settings.IndicatorWidth, settings.IndicatorHeight, angle);
        settings.ControlWidth = box.Width;
        settings.ControlHeight = box.Height;
        const TIndicatorPolygons polygons = BuildIndicatorPolygons(settings);
        for (const TPolyList* list : {&polygons.Black, &polygons.Gray}) {
          const QRegion expected = XorOneByOne(*list);
          const QRegion region = PolyPolygonRegion(*list);
          EXPECT_EQ(region, expected);
          EXPECT_EQ(Rects(region), Rects(expected));
        }
      }
}
