#include "ui/core/description_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_hosts.h"

namespace qv::ui {
namespace {

// Every character 6 px wide, every line 16 px high.
Size FixedMeasure(std::u16string_view piece) {
  return Size{6 * static_cast<int>(piece.size()), 16};
}

// 61 px wide (a piece fits below 60 px: nine characters) and room for three lines of 16 px
// with their 1-px gaps.
constexpr Rect kBox{0, 0, 61, 50};

std::vector<std::u16string> Wrapped(std::u16string_view text, const Rect& box = kBox) {
  std::vector<std::u16string> lines;
  for (const DescriptionLine& line : WrapDescription(text, box, FixedMeasure)) {
    EXPECT_EQ(line.height, 16);
    lines.emplace_back(text.substr(line.start, line.end - line.start));
  }
  return lines;
}

TEST(DescriptionWrapTest, LinesBreakAfterBlanksAndLongRunsBreakWhereTheyOverflow) {
  struct Case {
    const char* what;
    std::u16string text;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {"fits on one line", u"one two", {u"one two"}},
      {"breaks after the blank before a word that does not fit", u"one two three",
       {u"one two ", u"three"}},
      {"a trailing blank may overhang", u"abcdefghi jk", {u"abcdefghi ", u"jk"}},
      {"a word wider than a line breaks where it overflows", u"abcdefghijklmno",
       {u"abcdefghi", u"jklmno"}},
      {"a long word after a short one starts a line of its own", u"ab cdefghijklmnop",
       {u"ab ", u"cdefghijk", u"lmnop"}},
      {"text without blanks fills whole lines",
       u"\u4e00\u4e01\u4e02\u4e03\u4e04\u4e05\u4e06\u4e07\u4e08\u4e09\u4e0a\u4e0b",
       {u"\u4e00\u4e01\u4e02\u4e03\u4e04\u4e05\u4e06\u4e07\u4e08", u"\u4e09\u4e0a\u4e0b"}},
      {"the last line that fits takes the rest", u"aa bb cc dd ee ff gg hh ii jj",
       {u"aa bb cc ", u"dd ee ff ", u"gg hh ii jj"}},
      {"the rest of a text without blanks too", std::u16string(30, u'x'),
       {std::u16string(9, u'x'), std::u16string(9, u'x'), std::u16string(12, u'x')}},
      {"a blank as the first character", u" abc", {u" abc"}},
      {"empty text", u"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Wrapped(c.text), c.lines) << c.what;
}

TEST(DescriptionWrapTest, NothingWhenNotEvenOneLineFits) {
  EXPECT_TRUE(Wrapped(u"one two", Rect{0, 0, 61, 15}).empty());
  EXPECT_EQ(Wrapped(u"one two", Rect{0, 0, 61, 16}).size(), 1u);
}

TEST(DescriptionWrapTest, LinesStartAtTheRectanglesTopEachBelowTheOtherWithAGap) {
  // Three lines from y 265 with 1-px gaps end at 265 + 3 * 16 + 2 = 315; a fourth (ending at
  // 332) fits below 340, a fifth would not.
  const auto lines = WrapDescription(std::u16string(60, u'x'), Rect{0, 265, 61, 75}, FixedMeasure);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.back().end, 60u);
}

// The wrap runs in the first paint: a piece up to the next blank that fits is measured once,
// not once per character (a 300-character paragraph took some 600 shapings).
TEST(DescriptionWrapTest, WordsThatFitAreMeasuredOnceEach) {
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"word ";  // 200 characters, 40 words, 6 a line
  int measured = 0;
  const auto counting = [&](std::u16string_view piece) {
    ++measured;
    return FixedMeasure(piece);
  };
  const auto lines = WrapDescription(text, Rect{0, 0, 181, 1000}, counting);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(text.substr(lines[0].start, lines[0].end - lines[0].start), u"word word word word word word ");
  // One measurement a word, and a few more where each line breaks.
  EXPECT_LE(measured, 40 + 7 * 4);
}

// The last line takes the rest of the text, but only what a line of its own would hold is drawn:
// whole words, never a word cut at the rectangle's edge.
TEST(DescriptionWrapTest, CachedLastLineIsCutToWhatWrapsOntoIt) {
  test::BoxTextRenderer text;  // 6 px a character, lines 14 px high
  DescriptionWrapCache cache;
  const FontSpec font;
  // 61 px: nine characters a line; 29 px: two lines of 14 with their gap.
  const Rect box{0, 0, 61, 29};
  const std::u16string paragraph = u"aa bb cc dd ee ff gg hh ii jj";
  const auto& lines = cache.Lines(paragraph, box, font, text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(paragraph.substr(lines[1].start, lines[1].end - lines[1].start), u"dd ee ff ");

  // A rest without blanks is cut where it overflows.
  const std::u16string run(30, u'x');
  const auto& run_lines = cache.Lines(run, box, font, text);
  ASSERT_EQ(run_lines.size(), 2u);
  EXPECT_EQ(run_lines[1].end - run_lines[1].start, 9u);
}

TEST(DescriptionWrapTest, CacheWrapsAgainOnlyWhenTheTextTheRectangleOrTheFontChanges) {
  test::BoxTextRenderer text;
  DescriptionWrapCache cache;
  const FontSpec font{u"Face", 12};
  const FontSpec larger{u"Face", 18};
  const Rect box{0, 0, 181, 80};
  const std::u16string first = u"one two three four five six seven eight nine ten";
  const std::u16string second = u"eleven twelve thirteen";
  struct Step {
    const char* what;
    const std::u16string& text;
    Rect rect;
    const FontSpec& font;
    bool measures;
  };
  const Step steps[] = {
      {"first wrap", first, box, font, true},
      {"same inputs again", first, box, font, false},
      {"another text", second, box, font, true},
      {"a narrower rectangle", second, Rect{0, 0, 61, 80}, font, true},
      {"a larger font", second, Rect{0, 0, 61, 80}, larger, true},
      {"back to the first inputs", first, box, font, true},
  };
  for (const Step& step : steps) {
    const int before = text.measures;
    const auto lines = cache.Lines(step.text, step.rect, step.font, text);
    EXPECT_EQ(text.measures > before, step.measures) << step.what;
    EXPECT_EQ(lines, WrapDescription(step.text, step.rect, MeasureWith(text, step.font)))
        << step.what;
  }
}

}  // namespace
}  // namespace qv::ui
