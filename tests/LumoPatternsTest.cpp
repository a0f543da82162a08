// The character tables and the pattern rules of the indicator.
#include "LumoPatterns_p.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace LumoLiquidIndicator;

namespace {

std::string Text(const TSegmentPattern& pattern) {
  std::string text;
  for (int k = 0; k < pattern.Size; ++k)
    text += pattern.Lit[k] ? '1' : '0';
  return text;
}

std::string Rows(const TMatrixPattern& rows) {
  std::string text;
  for (const auto& row : rows)
    text += std::string(row) + ' ';
  text.pop_back();
  return text;
}

TEST(SegmentPatterns, LitSegmentsByLetter) {
  // The usual letters, in the order of the control's numbering: 1 = e, 2 = f, 3 = a, 4 = b,
  // 5 = c, 6 = d, 7 = g. An independent spelling of every entry that lights a segment.
  const std::map<char16_t, std::string> letters{
      {u'-', "g"},      {u'0', "efabcd"}, {u'1', "bc"},     {u'2', "eabdg"},   {u'3', "abcdg"},
      {u'4', "fbcg"},   {u'5', "facdg"},  {u'6', "efacdg"}, {u'7', "abc"},     {u'8', "efabcdg"},
      {u'9', "fabcdg"}, {u'A', "efabcg"}, {u'C', "efad"},   {u'E', "efadg"},   {u'F', "efag"},
      {u'G', "efacd"},  {u'H', "efbcg"},  {u'J', "ebcd"},   {u'L', "efd"},     {u'O', "efabcd"},
      {u'P', "efabg"},  {u'U', "efbcd"},  {u'Y', "fbcdg"},  {u'_', "d"},       {u'b', "efcdg"},
      {u'c', "edg"},    {u'd', "ebcdg"},  {u'h', "efcg"},   {u'i', "e"},       {u'j', "cd"},
      {u'l', "ef"},     {u'n', "ecg"},    {u'o', "ecdg"},   {u'r', "eg"},      {u't', "efdg"},
      {u'u', "ecd"}};
  const std::string numbering = "efabcdg";
  ASSERT_EQ(SegmentPatterns.size(), 37u);
  for (const auto& [character, lit] : letters) {
    std::string expected(8, '0');
    for (const char letter : lit)
      expected[numbering.find(letter)] = '1';
    EXPECT_EQ(Text(SegmentPattern(ik7segment, character, false)), expected) << char(character);
    EXPECT_EQ(Text(SegmentPattern(ik9segment, character, false)), expected.substr(0, 7) + "000")
        << char(character);
  }
  char16_t previous = 0;
  for (const auto& entry : SegmentPatterns) {
    EXPECT_LT(previous, entry.Character) << "table in code order, no duplicates";
    previous = entry.Character;
    if (entry.Character != u':') {
      EXPECT_EQ(std::string(entry.Nine), std::string(entry.Seven) + "00") << char(entry.Character);
    }
  }
}

struct SegmentRow {
  const char* name;
  TLumoIndicatorKind kind;
  char16_t character;
  bool point;
  const char* pattern;
};

TEST(SegmentPattern, Rules) {
  const SegmentRow rows[] = {
      {"eight with point", ik7segment, u'8', true, "11111111"},
      {"colon is blank in seven-segment", ik7segment, u':', false, "00000000"},
      {"colon lights both dots", ik9segment, u':', false, "0000000110"},
      {"colon with point", ik9segment, u':', true, "0000000111"},
      {"comma is a point", ik7segment, u',', false, "00000001"},
      {"point ignores the flag", ik7segment, u'.', true, "00000001"},
      {"nine-segment point", ik9segment, u'.', false, "0000000001"},
      {"nine-segment comma", ik9segment, u',', true, "0000000001"},
      {"space, point unlit", ik7segment, u' ', false, "00000000"},
      {"space, point lit", ik9segment, u' ', true, "0000000001"},
      {"one with point", ik9segment, u'1', true, "0001100001"},
      {"NUL is blank", ik7segment, u'\0', false, "00000000"},
      {"lone surrogate is blank", ik9segment, char16_t(0xD800), true, "0000000001"},
      {"beyond ASCII is blank", ik7segment, char16_t(0x0665), false, "00000000"},
      {"matrix kind is never asked, taken as seven", ik5x7matrix, u'7', false, "00111000"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Text(SegmentPattern(row.kind, row.character, row.point)), row.pattern) << row.name;
}

TEST(SegmentPattern, NoCaseFolding) {
  for (const char16_t blank : {u'a', u'B', u'I', u'S', u'Z', u'g', u'q', u'y', u'`', u'~'})
    EXPECT_EQ(Text(SegmentPattern(ik7segment, blank, false)), "00000000") << char(blank);
  const std::pair<char16_t, char16_t> differ[] = {
      {u'h', u'H'}, {u'j', u'J'}, {u'l', u'L'}, {u'u', u'U'}, {u'c', u'C'}, {u'o', u'O'}};
  for (const auto& [lower, upper] : differ)
    EXPECT_NE(SegmentPattern(ik7segment, lower, false), SegmentPattern(ik7segment, upper, false))
        << char(lower);
}

TEST(MatrixPatterns, CoverPrintableAsciiButTheGraveAccent) {
  ASSERT_EQ(MatrixPatterns.size(), 93u);
  char16_t expected = 0x21;
  for (const auto& entry : MatrixPatterns) {
    if (expected == 0x60)
      ++expected;
    EXPECT_EQ(entry.Character, expected);
    ++expected;
    for (const auto& row : entry.Rows) {
      ASSERT_EQ(row.size(), 5u);
      EXPECT_EQ(row.find_first_not_of("01"), std::string_view::npos);
    }
  }
}

TEST(MatrixPattern, Glyphs) {
  const std::pair<char16_t, const char*> rows[] = {
      {u'0', "01110 10001 10001 10001 10001 10001 01110"},
      {u'4', "10001 10001 10001 01111 00001 00001 00001"},
      {u'A', "01110 10001 10001 11111 10001 10001 10001"},
      {u'N', "10001 11001 11001 10101 10111 10011 10001"},
      {u'P', "01110 10001 10001 11110 10000 10000 10000"},
      {u'g', "00000 00000 01110 10001 01111 00001 00110"},
      {u'.', "00000 00000 00000 00000 00000 00110 00110"},
      {u',', "00000 00000 00000 00000 00110 00110 00010"},
      {u'\\', "00000 10000 01000 00100 00010 00001 00000"},
      {u'|', "00100 00100 00100 00100 00100 00100 00100"},
      {u'!', "00110 00110 00110 00110 00000 00110 00110"},
      {u'~', "01010 10100 00000 00000 00000 00000 00000"},
      {u'`', "00000 00000 00000 00000 00000 00000 00000"},
      {u' ', "00000 00000 00000 00000 00000 00000 00000"},
      {u'\0', "00000 00000 00000 00000 00000 00000 00000"},
      {char16_t(0x7F), "00000 00000 00000 00000 00000 00000 00000"},
      {char16_t(0xDC00), "00000 00000 00000 00000 00000 00000 00000"},
  };
  for (const auto& [character, expected] : rows)
    EXPECT_EQ(Rows(MatrixPattern(character)), expected) << int(character);
  EXPECT_EQ(MatrixPattern(u'"'), MatrixPattern(u'~'));
  EXPECT_EQ(MatrixPattern(u'0'), MatrixPattern(u'O'));
}

} // namespace
