// The layout of a whole indicator: border and cells, how a text is spread over the cells,
// and the placed polygon lists, with property checks over many random settings.
#include "LumoGeometry_p.h"
#include "LumoPatterns_p.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <numeric>
#include <random>
#include <string>

using namespace LumoLiquidIndicator;

namespace {

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();

TIndicatorLayoutSettings MainWindow() {
  TIndicatorLayoutSettings s;
  s.SignNumber = 5;
  s.IndicatorWidth = s.ControlWidth = 193;
  s.IndicatorHeight = s.ControlHeight = 65;
  s.IndicatorGap = 4;
  s.OuterBevelWidth = 1;
  s.IndicatorKind = ik9segment;
  s.Indicatorstring = QStringLiteral("00:00");
  return s;
}

struct LayoutRow {
  const char* name;
  TIndicatorLayoutSettings settings;
  TCellLayout layout;
};

TIndicatorLayoutSettings With(TIndicatorLayoutSettings s, auto change) {
  change(s);
  return s;
}

TEST(CellLayout, BorderAndCellsWithTheirFallbacks) {
  const TIndicatorLayoutSettings defaults;
  const LayoutRow rows[] = {
      {"defaults", defaults, {6, 16, 24}},
      {"main window", MainWindow(), {7, 35, 51}},
      {"no outer bevel", With(defaults, [](auto& s) { s.OuterBevel = bkNone; }), {4, 16, 28}},
      {"no bevels", With(defaults, [](auto& s) { s.OuterBevel = s.InnerBevel = bkNone; }), {2, 16, 32}},
      {"border of half the height", With(defaults, [](auto& s) { s.IndicatorGap = 14; }), {18, 13, 36}},
      {"border leaves no width", With(defaults, [](auto& s) { s.IndicatorWidth = 20; }), {6, 2, 24}},
      {"negative gap widens the cells", With(defaults, [](auto& s) { s.IndicatorGap = -10; }), {-6, 17, 36}},
      {"more signs than pixels", With(defaults, [](auto& s) { s.SignNumber = 200; }), {6, 0, 24}},
      {"one pixel wide", With(defaults, [](auto& s) { s.IndicatorWidth = 1; s.SignNumber = 1; }), {6, 1, 24}},
      {"huge gap", With(defaults, [](auto& s) { s.IndicatorGap = kMax; }), {kMax, 17, 36}},
      {"huge negative gap", With(defaults, [](auto& s) { s.IndicatorGap = kMin; }), {kMin + 4, 17, 36}},
      {"no signs", With(defaults, [](auto& s) { s.SignNumber = 0; }), {6, 0, 24}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CellLayout(row.settings), row.layout) << row.name;
}

// Expected cells written as text: cells separated by '|', a '+' after a character marks its
// lit decimal point.
std::vector<TCellCharacter> Cells(const std::string& written) {
  std::vector<TCellCharacter> cells;
  size_t start = 0;
  while (start <= written.size()) {
    const size_t end = std::min(written.find('|', start), written.size());
    const std::string cell = written.substr(start, end - start);
    cells.push_back({static_cast<char16_t>(cell.at(0)), cell.size() > 1 && cell[1] == '+'});
    start = end + 1;
  }
  return cells;
}

struct AssignmentRow {
  const char* text;
  qint32 signs;
  TLumoIndicatorKind kind;
  const char* cells;
};

TEST(CellAssignment, TextDistribution) {
  const AssignmentRow rows[] = {
      {"00:00", 5, ik9segment, "0|0|:|0|0"},
      {"12.5", 5, ik7segment, " | |1|2+|5"},
      {".5", 3, ik7segment, " | +|5"},
      {"5.", 3, ik7segment, " | |5+"},
      {"1.5", 3, ik7segment, " |1+|5"},
      {"1..2", 5, ik7segment, " | |1+|.|2"},
      {"1.2.3", 5, ik7segment, " | |1+|2+|3"},
      {"1,2,3", 5, ik9segment, " | |1+|2+|3"},
      {"123456", 5, ik7segment, "1|2|3|4|5"},
      {"12345.6", 5, ik7segment, "1|2|3|4|5+"},
      {".12345", 5, ik7segment, " +|1|2|3|4"},
      {"", 3, ik7segment, " | | "},
      {".", 3, ik7segment, " | | +"},
      {"..", 3, ik7segment, " | +|."},
      {"5", 1, ik7segment, "5"},
      {"12", 1, ik7segment, "1"},
      {".5", 1, ik7segment, " +"},
      {"12.5", 5, ik5x7matrix, " |1|2|.|5"},
      {"123456", 5, ik5x7matrix, "1|2|3|4|5"},
      {"", 2, ik5x7matrix, " | "},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CellAssignment(QString::fromLatin1(row.text), row.signs, row.kind), Cells(row.cells))
        << '"' << row.text << "\" in " << row.signs << " cells";
  EXPECT_TRUE(CellAssignment(QStringLiteral("12"), 0, ik7segment).empty());
  EXPECT_TRUE(CellAssignment(QStringLiteral("12"), -4, ik5x7matrix).empty());
}

// The same distribution said another way: a point right after a character that is not a
// point joins that character's cell; a leading point sits on a blank cell; the cells are
// right-aligned behind blanks or cut at the right.
std::vector<TCellCharacter> Model(const QString& text, qint32 signs) {
  std::vector<TCellCharacter> tokens;
  for (qsizetype j = 0; j < text.size(); ++j) {
    const char16_t c = text.at(j).unicode();
    if (IsPointCharacter(c) && j == 0)
      tokens.push_back({u' ', true});
    else if (IsPointCharacter(c) && !IsPointCharacter(text.at(j - 1).unicode()))
      tokens.back().Point = true;
    else
      tokens.push_back({c, false});
  }
  std::vector<TCellCharacter> cells;
  for (qsizetype k = static_cast<qsizetype>(tokens.size()); k < signs; ++k)
    cells.push_back({u' ', false});
  for (const auto& token : tokens) {
    if (static_cast<qsizetype>(cells.size()) == signs)
      break;
    cells.push_back(token);
  }
  return cells;
}

QString RandomText(std::mt19937& random, int maxLength) {
  static const char16_t alphabet[] = {u'.', u',', u'.', u'0', u'1', u'5', u'8', u':', u' ', u'A', u'a',
                                      u'\0', char16_t(0xD800), char16_t(0xDFFF), char16_t(0x00E9), u'-'};
  std::uniform_int_distribution<int> length(0, maxLength);
  std::uniform_int_distribution<int> pick(0, std::size(alphabet) - 1);
  QString text;
  for (int i = length(random); i > 0; --i)
    text.append(QChar(alphabet[pick(random)]));
  return text;
}

TEST(CellAssignment, AgreesWithTheTokenModelOnRandomTexts) {
  std::mt19937 random(20260);
  for (int round = 0; round < 20000; ++round) {
    const QString text = RandomText(random, 12);
    const qint32 signs = std::uniform_int_distribution<int>(1, 9)(random);
    ASSERT_EQ(CellAssignment(text, signs, ik7segment), Model(text, signs))
        << text.toStdString() << " in " << signs << " cells";
  }
}

// Every point of a list, the glyphs as BuildGlyph gives them moved by (dx, dy).
TPolyList Glyphs(const TIndicatorLayoutSettings& s, qint32 dx, qint32 dy, bool litOnes) {
  const TCellLayout layout = CellLayout(s);
  TPolyList all;
  const auto cells = CellAssignment(s.Indicatorstring, s.SignNumber, s.IndicatorKind);
  for (qint32 k = 0; k < s.SignNumber; ++k) {
    TPolyList lit;
    TPolyList unlit;
    BuildGlyph({k * layout.CellWidth, 0, (k + 1) * layout.CellWidth, layout.CellHeight}, cells[k].Character,
               cells[k].Point, {s.IndicatorKind, s.IndicatorStyle, s.Hovering}, lit, unlit);
    AppendPolygons(all, litOnes ? lit : unlit);
  }
  OffsetPoints(all.Points, dx, dy);
  return all;
}

TEST(BuildIndicatorPolygons, DefaultsMoveEveryPointByTheBorder) {
  TIndicatorLayoutSettings s;
  s.Indicatorstring = QStringLiteral("-1.5");
  const TIndicatorPolygons polygons = BuildIndicatorPolygons(s);
  EXPECT_EQ(polygons.Black, Glyphs(s, 6, 6, true));
  EXPECT_EQ(polygons.Gray, Glyphs(s, 6, 6, false));
  EXPECT_EQ(polygons.Black.Count, 1 + 2 + 1 + 5);
  for (const TPolyList* list : {&polygons.Black, &polygons.Gray}) {
    for (const TPoint& p : list->Points) {
      EXPECT_TRUE(p.x >= 6 && p.x <= 166 && p.y >= 6 && p.y <= 30) << p.x << ", " << p.y;
    }
  }
}

TEST(BuildIndicatorPolygons, MainWindowUpright) {
  const TIndicatorLayoutSettings s = MainWindow();
  const TIndicatorPolygons polygons = BuildIndicatorPolygons(s);
  EXPECT_EQ(polygons.Black.Count, 4 * 6 + 2);
  EXPECT_EQ(polygons.Gray.Count, 5 * 10 - polygons.Black.Count);
  EXPECT_EQ(polygons.Black, Glyphs(s, 7, 7, true));
  EXPECT_EQ(polygons.Gray, Glyphs(s, 7, 7, false));
}

TEST(BuildIndicatorPolygons, QuarterTurnInTheTurnedControl) {
  // At 90 degrees (x, y) turns to (y, -x) exactly; the pivot (96, 32) and the centring in a
  // 65 x 193 control then give (y, 192 - x).
  const TIndicatorLayoutSettings upright = MainWindow();
  TIndicatorLayoutSettings turned = upright;
  turned.IndicatorAngle = 900;
  turned.ControlWidth = 65;
  turned.ControlHeight = 193;
  const TIndicatorPolygons a = BuildIndicatorPolygons(upright);
  const TIndicatorPolygons b = BuildIndicatorPolygons(turned);
  ASSERT_EQ(a.Black.Points.size(), b.Black.Points.size());
  for (size_t i = 0; i < a.Black.Points.size(); ++i)
    EXPECT_EQ(b.Black.Points[i], (TPoint{a.Black.Points[i].y, 192 - a.Black.Points[i].x})) << i;
  EXPECT_EQ(a.Gray.Vertices, b.Gray.Vertices);
}

TEST(BuildIndicatorPolygons, CentredInALargerControl) {
  TIndicatorLayoutSettings s = MainWindow();
  const TIndicatorPolygons plain = BuildIndicatorPolygons(s);
  s.ControlWidth = 200;   // (200 - 193) div 2 = 3
  s.ControlHeight = 60;   // (60 - 65) div 2 = -2, truncated toward zero
  TPolyList moved = plain.Gray;
  OffsetPoints(moved.Points, 3, -2);
  EXPECT_EQ(BuildIndicatorPolygons(s).Gray, moved);
}

TEST(BuildIndicatorPolygons, UnlitOnlyTextLeavesBlackEmpty) {
  TIndicatorLayoutSettings s;
  s.Indicatorstring = QStringLiteral("  Sz");
  const TIndicatorPolygons polygons = BuildIndicatorPolygons(s);
  EXPECT_TRUE(polygons.Black.Points.empty());
  EXPECT_EQ(polygons.Black.Count, 0);
  EXPECT_EQ(polygons.Gray.Count, 80);
  s.SignNumber = 0;
  EXPECT_EQ(BuildIndicatorPolygons(s).Gray.Count, 0) << "no cells, no polygons, no division by zero";
}

// Points, vertex counts and polygon count agree; every polygon has the kind's vertex count.
void ExpectConsistent(const TPolyList& list, int vertices, const std::string& context) {
  ASSERT_EQ(list.Count, static_cast<qint32>(list.Vertices.size())) << context;
  ASSERT_EQ(std::accumulate(list.Vertices.begin(), list.Vertices.end(), qint64(0)),
            static_cast<qint64>(list.Points.size()))
      << context;
  for (const qint32 count : list.Vertices)
    ASSERT_EQ(count, vertices) << context;
}

TEST(BuildIndicatorPolygons, InvariantsOverRandomSettings) {
  std::mt19937 random(3600);
  auto any = [&random](std::initializer_list<qint32> choices) {
    return *(choices.begin() + std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random));
  };
  for (int round = 0; round < 400; ++round) {
    TIndicatorLayoutSettings s;
    s.SignNumber = any({1, 2, 5, 10, 37, 300});
    s.IndicatorWidth = any({1, 2, 16, 172, 193, 5000, kMax});
    s.IndicatorHeight = any({1, 3, 36, 65, 1000, kMax});
    s.IndicatorAngle = any({0, 1, 300, 450, 900, -900, 1800, 2701, 36001, -123457, kMax, kMin});
    s.IndicatorGap = any({0, 2, 4, -7, 500, kMax, kMin, kMax / 2 + 1});
    s.IndicatorKind = static_cast<TLumoIndicatorKind>(any({0, 1, 2}));
    s.OuterBevel = static_cast<TLumoBevelKind>(any({0, 1, 2}));
    s.InnerBevel = static_cast<TLumoBevelKind>(any({0, 1, 2}));
    s.OuterBevelWidth = any({1, 2, 9, kMax});
    s.InnerBevelWidth = any({1, 2, kMax});
    s.IndicatorStyle = static_cast<TLumoIndicatorStyle>(any({0, 1, 2}));
    s.Hovering = any({0, 1}) != 0;
    s.ControlWidth = any({s.IndicatorWidth, 1, 500, kMax, kMin});
    s.ControlHeight = any({s.IndicatorHeight, 1, 500, kMin});
    s.Indicatorstring = RandomText(random, round % 40 == 0 ? 10000 : 16);

    const std::string context = "round " + std::to_string(round);
    const TIndicatorPolygons polygons = BuildIndicatorPolygons(s);
    const int vertices = s.IndicatorKind == ik5x7matrix ? 4 : 6;
    ExpectConsistent(polygons.Black, vertices, context);
    ExpectConsistent(polygons.Gray, vertices, context);
    const qint64 perCell = s.IndicatorKind == ik5x7matrix ? 35 : s.IndicatorKind == ik9segment ? 10 : 8;
    ASSERT_EQ(qint64(polygons.Black.Count) + polygons.Gray.Count, perCell * s.SignNumber) << context;
  }
}

} // namespace

TEST(AtPixelRatio, SizesGapAndBevelsScaledAndRounded) {
  struct Row {
    const char* name;
    double ratio;
    std::array<qint32, 7> sizes;  // width, height, control width and height, gap, outer, inner
  };
  const Row rows[] = {
      {"ratio 1 keeps everything", 1.0, {193, 65, 200, 153, 4, 1, 2}},
      {"ratio 2 doubles", 2.0, {386, 130, 400, 306, 8, 2, 4}},
      {"ratio 1.25 rounds each alone", 1.25, {241, 81, 250, 191, 5, 1, 3}},
      {"ratio 1.5 rounds halves up", 1.5, {290, 98, 300, 230, 6, 2, 3}},
  };
  for (const Row& row : rows) {
    TIndicatorLayoutSettings settings = MainWindow();
    settings.IndicatorAngle = 300;
    settings.ControlWidth = 200;
    settings.ControlHeight = 153;
    const TIndicatorLayoutSettings scaled = AtPixelRatio(settings, row.ratio);
    const std::array<qint32, 7> sizes{scaled.IndicatorWidth, scaled.IndicatorHeight, scaled.ControlWidth,
                                      scaled.ControlHeight, scaled.IndicatorGap, scaled.OuterBevelWidth,
                                      scaled.InnerBevelWidth};
    EXPECT_EQ(sizes, row.sizes) << row.name;
    EXPECT_EQ(scaled.IndicatorAngle, 300) << row.name;
    EXPECT_EQ(scaled.SignNumber, 5) << row.name;
    EXPECT_EQ(scaled.Indicatorstring, settings.Indicatorstring) << row.name;
  }
}
