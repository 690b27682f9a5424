#include "graphics/fwkFontText.h"

#include <gtest/gtest.h>

namespace {

using lines = std::vector<std::string>;

// Codes 32 .. 126: a space advances 3, 'a' advances 10, 'b' 6, 'w' 7, 'v' 5; '~' has no glyph.
fontMetrics TestMetrics() {
  fontMetrics metrics;
  metrics.first = 32;
  metrics.last = 125;
  metrics.height = 8;
  metrics.widths.fill(1);
  metrics.widths[' ' - 32] = 4;
  metrics.widths['a' - 32] = 11;
  metrics.widths['b' - 32] = 7;
  metrics.widths['w' - 32] = 8;
  metrics.widths['v' - 32] = 6;
  metrics.widths['z' - 32] = 0;
  return metrics;
}

TEST(FontText, WidthSumsAdvancesOfCharactersInRange) {
  const fontMetrics m = TestMetrics();
  EXPECT_EQ(FontMeasure(m, "wv"), 12);
  EXPECT_EQ(FontMeasure(m, "w~v\x1f"), 12) << "characters outside first .. last have no width";
  EXPECT_EQ(FontMeasure(m, "zz"), -2) << "a glyph of width 0 moves the pen back by one";
  EXPECT_EQ(FontMeasure(m, ""), 0);
  EXPECT_EQ(FontGlyphIndex(m, static_cast<char>(0xE9)), -1)
      << "codes above 127 are not negative indexes";
  fontMetrics high = m;
  high.last = 255;
  EXPECT_EQ(FontGlyphIndex(high, static_cast<char>(0xE9)), 0xE9 - 32);
}

TEST(FontText, LinePlacementStopsBeforeTheMaximumWidth) {
  const fontMetrics m = TestMetrics();
  const auto all = FontPlaceLine(m, "a~ab", 0);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].glyph, 'a' - 32);
  EXPECT_EQ(all[1].x, 10);
  EXPECT_EQ(all[2].x, 20);
  EXPECT_EQ(FontPlaceLine(m, "aab", 26).size(), 3u) << "20 + 6 does not exceed 26";
  EXPECT_EQ(FontPlaceLine(m, "aab", 25).size(), 2u);
  EXPECT_EQ(FontPlaceLine(m, "aab", 9).size(), 0u);
}

TEST(FontText, WrapKeepsTwoWordsTogetherOnlyWhenStrictlyNarrower) {
  const fontMetrics m = TestMetrics();
  // Words 40 wide, a space 3 wide: 40 + 3 + 40 = 83.
  EXPECT_EQ(FontWrap(m, 100, "aaaa aaaa"), (lines{"aaaa aaaa"}));
  EXPECT_EQ(FontWrap(m, 84, "aaaa aaaa"), (lines{"aaaa aaaa"}));
  EXPECT_EQ(FontWrap(m, 83, "aaaa aaaa"), (lines{"aaaa", "aaaa"}));
  EXPECT_EQ(FontWrap(m, 83, "aaaa aaaa aaaa"), (lines{"aaaa", "aaaa", "aaaa"}));
  EXPECT_EQ(FontWrap(m, 30, "aaaaaaa b"), (lines{"aaaaaaa", "b"}))
      << "a word wider than the box stands alone";
  EXPECT_TRUE(FontWrap(m, 100, "").empty());
}

TEST(FontText, WrapBreaksAtEveryKindOfLineEnd) {
  const fontMetrics m = TestMetrics();
  for (const std::string end : {"\r\n", "\n", "\r"})
    EXPECT_EQ(FontWrap(m, 100, "ab" + end + "ba"), (lines{"ab", "ba"}))
        << "line end of " << end.size();
  EXPECT_EQ(FontWrap(m, 100, "ab\r\rba"), (lines{"ab", "", "ba"}));
  EXPECT_EQ(FontWrap(m, 100, "aa bb\rb"), (lines{"aa bb", "b"}))
      << "the break flushes the pending words";
  EXPECT_EQ(FontWrap(m, 60, "aaaa aaaa\rb"), (lines{"aaaa", "aaaa", "b"}));
}

TEST(FontText, BreakRightAfterASpaceLeavesThePendingWords) {
  const fontMetrics m = TestMetrics();
  // The space ends the first word, so the break is met at the start of the remaining text:
  // it yields an empty line and the first word joins the second.
  EXPECT_EQ(FontWrap(m, 100, "aa \rbb"), (lines{"", "aa bb"}));
  // Spaces after a break are kept in front of the next word (and one more joins them).
  EXPECT_EQ(FontWrap(m, 100, "aa\r bb"), (lines{"aa", "  bb"}));
  EXPECT_EQ(FontWrap(m, 100, "aa  bb"), (lines{"aa  bb"})) << "a doubled space is an empty word";
}

TEST(FontText, AlignmentOffsetsRoundTowardZero) {
  EXPECT_EQ(FontAlignOffset(20, 11, 1), 4);
  EXPECT_EQ(FontAlignOffset(20, 25, 1), -2);
  EXPECT_EQ(FontAlignOffset(20, 11, 2), 9);
  EXPECT_EQ(FontAlignOffset(20, 11, 0), 0);
  EXPECT_EQ(FontAlignOffset(20, 11, 7), 0);
}

TEST(FontText, LinesStopWhenTheNextWouldPassTheMaximumHeight) {
  const fontMetrics m = TestMetrics();
  const lines five = {"a", "b", "aa", "bb", "ab"};
  const auto two = FontPlaceLines(m, 10, 100, five, 1, 20, 20, 0);
  ASSERT_EQ(two.size(), 2u) << "8, then 16 <= 20; 24 > 20 stops";
  EXPECT_EQ(two[1].y, 108);
  EXPECT_EQ(FontPlaceLines(m, 0, 0, five, 1, 20, 0, 0).size(), 5u) << "no maximum height";
  EXPECT_EQ(FontPlaceLines(m, 0, 0, five, 1, 20, 3, 0).size(), 1u)
      << "the first line is always drawn";

  const auto fromThird = FontPlaceLines(m, 10, 100, five, 3, 40, 0, 2);
  ASSERT_EQ(fromThird.size(), 3u);
  EXPECT_EQ(fromThird[0].line, 2);
  EXPECT_EQ(fromThird[0].x, 10 + 40 - 20);
  EXPECT_EQ(fromThird[0].y, 100);
  EXPECT_EQ(FontPlaceLines(m, 0, 0, five, 6, 20, 0, 0).size(), 0u);
  EXPECT_EQ(FontPlaceLines(m, 0, 0, five, 0, 20, 0, 0).size(), 5u)
      << "line numbers below 1 start at the first";
  EXPECT_EQ(FontPlaceLines(m, 0, 0, five, 1, 20, 0, 1)[0].x, (20 - 10) / 2);
}

}  // namespace
