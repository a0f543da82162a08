#pragma once
// The character tables of the indicator and the patterns the glyph generator walks through.
// Every character is one UTF-16 code unit; lookups are case-sensitive, and a code unit
// without an entry is blank.

#include "LumoTypes.h"

#include <array>
#include <string_view>

namespace LumoLiquidIndicator {

// One entry of the segment-kind table: the lit segments 1..7 of ik7segment and 1..9 of
// ik9segment (8 and 9 are the colon dots) as "0"/"1". The decimal point is never in the
// table. Seven is empty for a character that only ik9segment shows (the colon).
struct TSegmentPatternEntry {
  char16_t Character;
  std::string_view Seven;
  std::string_view Nine;
};
extern const std::array<TSegmentPatternEntry, 37> SegmentPatterns;

// One entry of the 5x7 table: rows 1 (top) to 7, column 1 at the left of each row.
struct TMatrixPatternEntry {
  char16_t Character;
  std::array<std::string_view, 7> Rows;
};
extern const std::array<TMatrixPatternEntry, 93> MatrixPatterns;

// The decimal point, and its twin the comma.
constexpr bool IsPointCharacter(char16_t character) {
  return character == u'.' || character == u',';
}

// The full pattern of a segment cell: positions 1..8 (ik7segment) or 1..10 (ik9segment) at
// Lit[0..Size-1], the decimal point last. Any kind other than ik9segment is taken as
// ik7segment.
struct TSegmentPattern {
  std::array<bool, 10> Lit{};
  int Size = 0;
  friend bool operator==(const TSegmentPattern&, const TSegmentPattern&) = default;
};
TSegmentPattern SegmentPattern(TLumoIndicatorKind kind, char16_t character, bool point);

// The seven rows of a 5x7 glyph; blank rows for a character without an entry.
using TMatrixPattern = std::array<std::string_view, 7>;
const TMatrixPattern& MatrixPattern(char16_t character);

} // namespace LumoLiquidIndicator
