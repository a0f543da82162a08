// The lit and unlit polygon lists of a whole indicator, and those worth drawing.
#include "LumoArithmetic_p.h"
#include "LumoPatterns_p.h"

#include <unordered_map>

namespace LumoLiquidIndicator {

using namespace Arithmetic;

namespace {

// Moves both lists by the border, turns them about the indicator's centre and centres them
// in the control.
void PlaceLists(TIndicatorPolygons& result, const TCellLayout& layout, const TIndicatorLayoutSettings& settings) {
  for (TPolyList* list : {&result.Black, &result.Gray}) {
    OffsetPoints(list->Points, layout.Border, layout.Border);
    PlaceInControl(list->Points, settings.IndicatorWidth, settings.IndicatorHeight, settings.IndicatorAngle,
                   settings.ControlWidth, settings.ControlHeight);
  }
}

// Cell k's rectangle in the glyph area.
TRect CellRect(const TCellLayout& layout, qint64 k) {
  return {Clamp32((k - 1) * layout.CellWidth), 0, Clamp32(k * layout.CellWidth), layout.CellHeight};
}

// Appends part moved by (dx, dy), each coordinate held to 32 bits as the glyph's own moving
// does; with held false the caller knows that no coordinate leaves the 32-bit range.
void AppendMovedPolygons(TPolyList& into, const TPolyList& part, qint32 dx, qint32 dy, bool held) {
  const size_t at = into.Points.size();
  into.Points.resize(at + part.Points.size());
  TPoint* out = into.Points.data() + at;
  if (held) {
    for (const TPoint& p : part.Points)
      *out++ = {Clamp32(static_cast<qint64>(p.x) + dx), Clamp32(static_cast<qint64>(p.y) + dy)};
  } else {
    for (const TPoint& p : part.Points)
      *out++ = {p.x + dx, p.y + dy};
  }
  into.Vertices.insert(into.Vertices.end(), part.Vertices.begin(), part.Vertices.end());
  into.Count = Clamp32(static_cast<qint64>(into.Count) + part.Count);
}

// The box of the corners of polygon lists; left of right and below bottom when there are none.
struct TCorners {
  qint64 Left = kMax32, Top = kMax32, Right = kMin32, Bottom = kMin32;
};

TCorners CornersOf(std::initializer_list<const TPolyList*> lists) {
  TCorners box;
  for (const TPolyList* list : lists)
    for (const TPoint& p : list->Points)
      box = {std::min<qint64>(box.Left, p.x), std::min<qint64>(box.Top, p.y), std::max<qint64>(box.Right, p.x),
             std::max<qint64>(box.Bottom, p.y)};
  return box;
}

// A glyph built in the first cell: its lit and unlit polygons and the box of their corners.
struct TGlyphShape {
  TPolyList Lit, Unlit;
  TCorners Box;
  // Whether moving the glyph by (dx, dy) keeps every corner inside the 32-bit range.
  bool FitsMovedBy(qint32 dx, qint32 dy) const {
    return Box.Left + dx >= kMin32 && Box.Right + dx <= kMax32 && Box.Top + dy >= kMin32 &&
           Box.Bottom + dy <= kMax32;
  }
};

// The glyphs of one layout, each built once in the first cell: every cell is as wide and tall
// as the first, and a glyph is the same polygons moved to its cell, so a text of thousands of
// cells builds only its few distinct characters.
class TGlyphShapes {
public:
  TGlyphShapes(const TCellLayout& layout, const TGlyphSettings& glyph) : First(CellRect(layout, 1)), Glyph(glyph) {}
  const TGlyphShape& Of(TCellCharacter cell) {
    const quint32 key = quint32(cell.Character) | (cell.Point ? 0x10000u : 0u);
    auto found = Shapes.find(key);
    if (found == Shapes.end()) {
      found = Shapes.emplace(key, TGlyphShape{}).first;
      Build(cell, found->second);
    }
    return found->second;
  }
  // Whether cell (a cell rectangle of the layout) has the first cell's size.
  bool SameSize(const TRect& cell) const {
    return qint64(cell.Right) - cell.Left == qint64(First.Right) - First.Left;
  }

private:
  void Build(TCellCharacter cell, TGlyphShape& shape) const {
    BuildGlyph(First, cell.Character, cell.Point, Glyph, shape.Lit, shape.Unlit);
    shape.Box = CornersOf({&shape.Lit, &shape.Unlit});
  }

  TRect First;
  TGlyphSettings Glyph;
  std::unordered_map<quint32, TGlyphShape> Shapes;
};

// Appends the glyphs of cells first..last, cell after cell.
template <typename CharacterOf>
void AppendCells(TIndicatorPolygons& result, const TCellLayout& layout, const TGlyphSettings& glyph, qint64 first,
                 qint64 last, CharacterOf characterOf) {
  const size_t perCell = glyph.Kind == ik5x7matrix ? 35 : glyph.Kind == ik9segment ? 10 : 8;
  const size_t pointsPerPolygon = glyph.Kind == ik5x7matrix ? 4 : 6;
  const size_t cells = last >= first ? static_cast<size_t>(last - first + 1) : 0;
  for (TPolyList* list : {&result.Black, &result.Gray}) {
    list->Points.reserve(cells * perCell * pointsPerPolygon);
    list->Vertices.reserve(cells * perCell);
  }
  TGlyphShapes shapes(layout, glyph);
  TPolyList lit;
  TPolyList unlit;
  for (qint64 k = first; k <= last; ++k) {
    const TCellCharacter cell = characterOf(k);
    const TRect rect = CellRect(layout, k);
    if (shapes.SameSize(rect)) {
      const TGlyphShape& shape = shapes.Of(cell);
      const bool held = !shape.FitsMovedBy(rect.Left, rect.Top);
      AppendMovedPolygons(result.Black, shape.Lit, rect.Left, rect.Top, held);
      AppendMovedPolygons(result.Gray, shape.Unlit, rect.Left, rect.Top, held);
      continue;
    }
    BuildGlyph(rect, cell.Character, cell.Point, glyph, lit, unlit);
    AppendPolygons(result.Black, lit);
    AppendPolygons(result.Gray, unlit);
  }
}

} // namespace

TIndicatorPolygons BuildIndicatorPolygons(const TIndicatorLayoutSettings& settings) {
  TIndicatorPolygons result;
  if (settings.SignNumber <= 0)
    return result;
  const TCellLayout layout = CellLayout(settings);
  const std::vector<TCellCharacter> cells =
      CellAssignment(settings.Indicatorstring, settings.SignNumber, settings.IndicatorKind);
  const TGlyphSettings glyph{settings.IndicatorKind, settings.IndicatorStyle, settings.Hovering};
  AppendCells(result, layout, glyph, 1, static_cast<qint64>(cells.size()),
              [&cells](qint64 k) { return cells[static_cast<size_t>(k - 1)]; });
  PlaceLists(result, layout, settings);
  return result;
}

namespace {

// The cells of a text without the blank cells in front of it: a text of n characters in
// count >= n cells takes count - n blank cells and then the cells it takes in n cells.
struct TCellTexts {
  std::vector<TCellCharacter> Tail;
  qint64 Blanks = 0;
  TCellTexts(const QString& text, qint32 count, TLumoIndicatorKind kind)
      : Tail(CellAssignment(text, static_cast<qint32>(std::min<qsizetype>(count, text.size())), kind)),
        Blanks(count - static_cast<qint64>(Tail.size())) {}
  TCellCharacter At(qint64 k) const { return k <= Blanks ? TCellCharacter{} : Tail[static_cast<size_t>(k - Blanks - 1)]; }
};

struct TBox {
  Ext Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The bounding box of every polygon of cell 1, lit or unlit; cell k's is the same box moved
// by (k - 1) cell widths.
TBox GlyphBox(const TCellLayout& layout, const TGlyphSettings& glyph) {
  TPolyList lit;
  TPolyList unlit;
  BuildGlyph(CellRect(layout, 1), u'8', true, glyph, lit, unlit);
  const TCorners box = CornersOf({&lit, &unlit});
  return {Ext(box.Left), Ext(box.Top), Ext(box.Right), Ext(box.Bottom)};
}

// A part of the control (in its pixels) carried back into the glyph area (undoing centring,
// rotation and the border), as a box widened by a few pixels for the rounding of the
// placement.
TBox PartInGlyphArea(const TIndicatorLayoutSettings& s, const TCellLayout& layout, const TRect& part) {
  const Ext theta = Radians(s.IndicatorAngle);
  const Ext c = s.IndicatorAngle == 0 ? 1.0L : std::cos(theta);
  const Ext sn = s.IndicatorAngle == 0 ? 0.0L : std::sin(theta);
  const Ext px = s.IndicatorWidth / 2, py = s.IndicatorHeight / 2;
  const Ext dx = static_cast<Ext>(CentringOffset(s.ControlWidth, s.IndicatorWidth)) + px;
  const Ext dy = static_cast<Ext>(CentringOffset(s.ControlHeight, s.IndicatorHeight)) + py;
  TBox box{std::numeric_limits<Ext>::max(), std::numeric_limits<Ext>::max(), std::numeric_limits<Ext>::lowest(),
           std::numeric_limits<Ext>::lowest()};
  for (const Ext x : {Ext(part.Left), Ext(part.Right)}) {
    for (const Ext y : {Ext(part.Top), Ext(part.Bottom)}) {
      const Ext gx = (x - dx) * c - (y - dy) * sn + px - layout.Border;
      const Ext gy = (x - dx) * sn + (y - dy) * c + py - layout.Border;
      box = {std::min(box.Left, gx), std::min(box.Top, gy), std::max(box.Right, gx), std::max(box.Bottom, gy)};
    }
  }
  constexpr Ext kMargin = 4;
  return {box.Left - kMargin, box.Top - kMargin, box.Right + kMargin, box.Bottom + kMargin};
}

// The cells first..last (from 1) whose glyphs can reach into the part of the control; none
// when last < first.
std::pair<qint64, qint64> VisibleCells(const TIndicatorLayoutSettings& s, const TCellLayout& layout,
                                       const TGlyphSettings& glyph, const TRect& part) {
  constexpr std::pair<qint64, qint64> none{1, 0};
  if (part.Right <= part.Left || part.Bottom <= part.Top)
    return none;
  const TBox seen = PartInGlyphArea(s, layout, part);
  const TBox cell = GlyphBox(layout, glyph);
  if (cell.Bottom < seen.Top || cell.Top > seen.Bottom)
    return none;
  if (layout.CellWidth == 0)
    return cell.Right < seen.Left || cell.Left > seen.Right ? none : std::pair<qint64, qint64>{1, s.SignNumber};
  const Ext width = layout.CellWidth;
  const Ext first = std::max<Ext>(std::ceil((seen.Left - cell.Right) / width), 0);
  const Ext last = std::min<Ext>(std::floor((seen.Right - cell.Left) / width), s.SignNumber - 1);
  if (last < first)
    return none;
  return {static_cast<qint64>(first) + 1, static_cast<qint64>(last) + 1};
}

// A character that shows the same glyph as another stands for it: every character without a
// glyph of its own is the blank.
char16_t GlyphOf(char16_t character, TLumoIndicatorKind kind) {
  if (kind == ik5x7matrix)
    return MatrixPattern(character) == MatrixPattern(u' ') ? u' ' : character;
  return SegmentPattern(kind, character, false) == SegmentPattern(kind, u' ', false) ? u' ' : character;
}

// Flips whether polygon occurs an odd number of times.
void Toggle(std::vector<std::pair<Tpoints, bool>>& odd, const TPoint* points, qint32 count) {
  const Tpoints polygon(points, points + count);
  for (auto& [known, isOdd] : odd) {
    if (known == polygon) {
      isOdd = !isOdd;
      return;
    }
  }
  odd.emplace_back(polygon, true);
}

void ToggleAll(std::vector<std::pair<Tpoints, bool>>& odd, const TPolyList& list) {
  const TPoint* next = list.Points.data();
  for (const qint32 count : list.Vertices) {
    Toggle(odd, next, count);
    next += count;
  }
}

// Cells of width 0 all lie on one spot, so that their polygons cover one another: in the
// even-odd sum a polygon shows when it occurs an odd number of times, and once is enough.
void AppendStackedCells(TIndicatorPolygons& result, const TCellLayout& layout, const TGlyphSettings& glyph,
                        const TCellTexts& texts) {
  std::vector<std::pair<TCellCharacter, qint64>> counts{{TCellCharacter{}, texts.Blanks}};
  for (TCellCharacter cell : texts.Tail) {
    cell.Character = GlyphOf(cell.Character, glyph.Kind);
    const auto found = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == cell; });
    if (found != counts.end())
      ++found->second;
    else
      counts.emplace_back(cell, 1);
  }
  std::vector<std::pair<Tpoints, bool>> black, gray;
  TPolyList lit;
  TPolyList unlit;
  for (const auto& [cell, count] : counts) {
    if (count % 2 == 0)
      continue;
    BuildGlyph(CellRect(layout, 1), cell.Character, cell.Point, glyph, lit, unlit);
    ToggleAll(black, lit);
    ToggleAll(gray, unlit);
  }
  for (auto [odd, list] : {std::pair{&black, &result.Black}, std::pair{&gray, &result.Gray}}) {
    for (const auto& [polygon, isOdd] : *odd) {
      if (isOdd) {
        AddPolygon(list->Points, list->Vertices, polygon);
        ++list->Count;
      }
    }
  }
}

} // namespace

TIndicatorPolygons BuildVisibleIndicatorPolygons(const TIndicatorLayoutSettings& settings) {
  return BuildVisibleIndicatorPolygons(settings, {0, 0, settings.ControlWidth, settings.ControlHeight});
}

TIndicatorPolygons BuildVisibleIndicatorPolygons(const TIndicatorLayoutSettings& settings, const TRect& part) {
  TIndicatorPolygons result;
  if (settings.SignNumber <= 0)
    return result;
  const TCellLayout layout = CellLayout(settings);
  const TGlyphSettings glyph{settings.IndicatorKind, settings.IndicatorStyle, settings.Hovering};
  const auto [first, last] = VisibleCells(settings, layout, glyph, part);
  if (last < first)
    return result;
  const TCellTexts texts(settings.Indicatorstring, settings.SignNumber, settings.IndicatorKind);
  if (layout.CellWidth == 0)
    AppendStackedCells(result, layout, glyph, texts);
  else
    AppendCells(result, layout, glyph, first, last, [&texts](qint64 k) { return texts.At(k); });
  PlaceLists(result, layout, settings);
  return result;
}

TIndicatorLayoutSettings AtPixelRatio(TIndicatorLayoutSettings settings, double ratio) {
  if (ratio == 1.0)
    return settings;
  auto scale = [ratio](qint32& value) {
    value = static_cast<qint32>(RoundAway(static_cast<double>(value) * ratio));
  };
  for (qint32* value : {&settings.IndicatorWidth, &settings.IndicatorHeight, &settings.ControlWidth,
                        &settings.ControlHeight, &settings.IndicatorGap, &settings.OuterBevelWidth,
                        &settings.InnerBevelWidth})
    scale(*value);
  return settings;
}

} // namespace LumoLiquidIndicator
