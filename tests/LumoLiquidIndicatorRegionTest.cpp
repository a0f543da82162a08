// Even-odd regions of polygon lists: worked examples, and agreement with XOR-ing the
// polygons' regions one by one over the polygon lists of whole indicators.
#include "LumoGeometry_p.h"
#include "LumoRegions_p.h"

#include <QPolygon>
#include <gtest/gtest.h>
#include <random>
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

// The platform's own region of a polygon.
QRegion PlatformRegion(const TPoint* points, qint32 count) {
  QPolygon polygon;
  for (qint32 i = 0; i < count; ++i)
    polygon << QPoint(points[i].x, points[i].y);
  return QRegion(polygon, Qt::OddEvenFill);
}

QRegion XorOneByOne(const TPolyList& list) {
  QRegion region;
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    region ^= PlatformRegion(next, list.Vertices[i]);
    next += list.Vertices[i];
  }
  return region;
}

Tpoints Moved(Tpoints points, qint32 dx, qint32 dy) {
  for (TPoint& p : points)
    p = {p.x + dx, p.y + dy};
  return points;
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

// Polygons seen before elsewhere come from the cache moved to their place: every shape, at
// every place, still has the platform's own region.
TEST(LumoRegions, MovedShapesHaveThePlatformsRegion) {
  struct Row {
    const char* Name;
    Tpoints Shape;
  };
  const Row rows[] = {
      {"hexagon", {{2, 0}, {9, 0}, {11, 2}, {9, 4}, {2, 4}, {0, 2}}},
      {"sliver", {{0, 0}, {1, 0}, {37, 90}, {36, 90}}},
      {"triangle", {{0, 0}, {13, 5}, {4, 11}}},
      {"turned square", {{5, 0}, {10, 5}, {5, 10}, {0, 5}}},
      {"upright, from its lower right", {{8, 6}, {0, 6}, {0, 0}, {8, 0}}},
      {"upright, no width", {{3, 0}, {3, 0}, {3, 9}, {3, 9}}},
      {"star crossing itself", {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}}},
  };
  const QPoint places[] = {{0, 0}, {1, 0}, {0, -1}, {-7, 3}, {123457, -98765}, {-1000000, 1000000}};
  for (const Row& row : rows) {
    for (const QPoint& place : places) {
      SCOPED_TRACE(testing::Message() << row.Name << " at " << place.x() << "," << place.y());
      const Tpoints polygon = Moved(row.Shape, place.x(), place.y());
      const qint32 count = qint32(polygon.size());
      EXPECT_EQ(Rects(PolygonRegion(polygon.data(), count)), Rects(PlatformRegion(polygon.data(), count)));
    }
  }
}

// Lists given bounds are counted pixel by pixel inside them; that is the same region there as
// XOR-ing each polygon's region, with upright rectangles in any corner order, polygons
// without area, tall and far-reaching ones, and polygons wholly outside.
TEST(LumoRegions, LongListsAgreeInsideTheBounds) {
  const QRect bounds(0, 0, 300, 200);
  std::mt19937 random(2024);
  const auto any = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  std::vector<Tpoints> polygons;
  while (polygons.size() < 2100) {
    const qint32 x = any(-400, 700), y = any(-300, 500), w = any(0, 12), h = any(0, 9);
    switch (any(0, 19)) {
    case 0: polygons.push_back({{x, y}, {x + 3, y}, {x + w + 3, y + 600}, {x + w, y + 600}}); break;
    case 1: polygons.push_back({{x, y}, {x + w, y + 5000}, {x - 4000, y + h}}); break;
    case 2: case 3: polygons.push_back({{x, y}, {x + w, y + h / 2}, {x + w / 2, y + h}}); break;
    case 4: case 5: case 6: polygons.push_back({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}); break;
    case 7: case 8: case 9: polygons.push_back({{x + w, y + h}, {x + w, y}, {x, y}, {x, y + h}}); break;
    default: polygons.push_back(Moved({{2, 0}, {9, 0}, {11, 2}, {9, 4}, {2, 4}, {0, 2}}, x, y)); break;
    }
  }
  polygons.push_back({{5, 5}, {9, 9}});  // two corners: nothing
  const TPolyList list = List(polygons);
  std::vector<QRegion> parts;
  const TPoint* next = list.Points.data();
  for (qint32 i = 0; i < list.Count; ++i) {
    parts.push_back(PolygonRegion(next, list.Vertices[i], bounds) & bounds);
    next += list.Vertices[i];
  }
  while (parts.size() > 1) {  // XOR-ed pairwise, which keeps the regions small until the end
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
      parts[i / 2] = parts[i] ^ parts[i + 1];
    if (parts.size() % 2 == 1)
      parts[parts.size() / 2] = parts.back();
    parts.resize((parts.size() + 1) / 2);
  }
  const QRegion expected = parts.front();
  EXPECT_FALSE(expected.isEmpty());
  const QRegion region = PolyPolygonRegion(list, bounds);
  EXPECT_EQ(Rects(region ^ expected), std::vector<QRect>{}) << "the same pixels";
}
