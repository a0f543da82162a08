// Text into cells: the cell sizes, and which character and point each cell shows.
#include "LumoArithmetic_p.h"
#include "LumoPatterns_p.h"

namespace LumoLiquidIndicator {

using namespace Arithmetic;

TCellLayout CellLayout(const TIndicatorLayoutSettings& settings) {
  // 64-bit sums: huge gaps or bevel widths fall back to the full size instead of wrapping.
  qint64 border = settings.IndicatorGap;
  if (settings.OuterBevel != bkNone)
    border += settings.OuterBevelWidth;
  if (settings.InnerBevel != bkNone)
    border += settings.InnerBevelWidth;

  const qint64 height = settings.IndicatorHeight;
  qint64 cellHeight = height - 2 * border;
  if (cellHeight <= 0 || cellHeight > height)
    cellHeight = height;

  qint64 cellWidth = 0;
  if (settings.SignNumber > 0) {
    const qint64 width = settings.IndicatorWidth;
    const qint64 widest = width / settings.SignNumber;
    cellWidth = (width - 2 * border) / settings.SignNumber;
    if (cellWidth <= 0 || cellWidth > widest)
      cellWidth = widest;
  }
  return {Clamp32(border), Clamp32(cellWidth), Clamp32(cellHeight)};
}

namespace {

// The text's code unit at position j, counted from 1.
char16_t CharacterAt(const QString& text, qsizetype j) {
  return static_cast<char16_t>(text.at(j - 1).unicode());
}

// The 5x7 kind: one character per cell, right-aligned, the rest cut at the right.
std::vector<TCellCharacter> MatrixCells(const QString& text, qsizetype count) {
  std::vector<TCellCharacter> cells;
  cells.reserve(static_cast<size_t>(count));
  const qsizetype n = text.size();
  for (qsizetype k = 1; k <= count; ++k) {
    char16_t character = u' ';
    if (n >= count)
      character = CharacterAt(text, k);
    else if (k > count - n)
      character = CharacterAt(text, k - (count - n));
    cells.push_back({character, false});
  }
  return cells;
}

// Counting pass of the segment kinds: how many cells the text occupies, at most count. A
// point right after another character lights that character's decimal point and takes no cell.
qsizetype UsedSegmentCells(const QString& text, qsizetype count) {
  const qsizetype n = text.size();
  qsizetype next = 1;
  bool pending = false;
  for (qsizetype j = 1; j <= n && next <= count; ++j) {
    const bool point = IsPointCharacter(CharacterAt(text, j));
    if (j == 1 && point) {
      ++next;
    } else if (!pending) {
      if (point || j == n)
        ++next;
      pending = !point;
    } else if (point) {
      ++next;
      pending = false;
    } else {
      ++next;
      if (next > count)
        break;
      if (j == n)
        ++next;
    }
  }
  return next - 1;
}

// Placing pass of the segment kinds over the padded text: a space under a leading point,
// blanks for the cells the text leaves unused, then the text.
std::vector<TCellCharacter> SegmentCells(const QString& text, qsizetype count) {
  std::vector<TCellCharacter> cells;
  cells.reserve(static_cast<size_t>(count));
  const qsizetype n = text.size();
  const qsizetype leadingPoint = n > 0 && IsPointCharacter(CharacterAt(text, 1)) ? 1 : 0;
  const qsizetype lead = leadingPoint + (count - UsedSegmentCells(text, count));
  const qsizetype length = lead + n;
  auto padded = [&](qsizetype j) { return j <= lead ? u' ' : CharacterAt(text, j - lead); };
  char16_t held = 0;
  bool holding = false;
  auto place = [&cells](char16_t character, bool point) { cells.push_back({character, point}); };
  for (qsizetype j = 1; j <= length && static_cast<qsizetype>(cells.size()) < count; ++j) {
    const char16_t c = padded(j);
    const bool point = IsPointCharacter(c);
    if (!holding) {
      if (point || j == length)
        place(c, false);
      else {
        held = c;
        holding = true;
      }
    } else if (point) {
      place(held, true);
      holding = false;
    } else {
      place(held, false);
      held = c;
      if (static_cast<qsizetype>(cells.size()) >= count)
        break;
      if (j == length)
        place(c, false);
    }
  }
  // The two passes agree; should they ever not, the cells stay complete and blank.
  cells.resize(static_cast<size_t>(count));
  return cells;
}

} // namespace

std::vector<TCellCharacter> CellAssignment(const QString& text, qint32 signNumber,
                                           TLumoIndicatorKind kind) {
  if (signNumber <= 0)
    return {};
  return kind == ik5x7matrix ? MatrixCells(text, signNumber) : SegmentCells(text, signNumber);
}

} // namespace LumoLiquidIndicator
