#include "ui/description_wrap.h"

#include <gtest/gtest.h>

#include <QFont>
#include <string>
#include <vector>

#include "ui/client_layout.h"
#include "util/default_descriptions.h"
#include "util/text_conversion.h"

namespace qv::ui {
namespace {

// Every character 6 px wide, every line 16 px high.
QSize FixedMeasure(std::u16string_view piece) {
  return QSize(6 * static_cast<int>(piece.size()), 16);
}

// 61 px wide (a piece fits below 60 px: nine characters) and room for three lines of 16 px
// with their 1-px gaps.
const QRect kBox(0, 0, 61, 50);

std::vector<std::u16string> Wrapped(std::u16string_view text, const QRect& box = kBox) {
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
  EXPECT_TRUE(Wrapped(u"one two", QRect(0, 0, 61, 15)).empty());
  EXPECT_EQ(Wrapped(u"one two", QRect(0, 0, 61, 16)).size(), 1u);
}

TEST(DescriptionWrapTest, LinesStartAtTheRectanglesTopEachBelowTheOtherWithAGap) {
  // Three lines from y 265 with 1-px gaps end at 265 + 3 * 16 + 2 = 315; a fourth (ending at
  // 332) fits below 340, a fifth would not.
  const auto lines = WrapDescription(std::u16string(60, u'x'), QRect(0, 265, 61, 75), FixedMeasure);
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
  const auto lines = WrapDescription(text, QRect(0, 0, 181, 1000), counting);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(text.substr(lines[0].start, lines[0].end - lines[0].start), u"word word word word word word ");
  // One measurement a word, and a few more where each line breaks.
  EXPECT_LE(measured, 40 + 7 * 4);
}

TEST(DescriptionWrapTest, ShippedParagraphsMeasuredWithTheDescriptionFontFitTheirLines) {
  QFont font(QStringLiteral("Microsoft YaHei"));
  font.setPixelSize(kDescriptionFontPixels);
  const auto measure = MeasureWith(font);
  const QRect box = DescriptionRect();
  const std::u16string texts[] = {
      util::Utf8ToWide(util::kGameDescription),
      util::Utf8ToWide(util::kPlatformDescription),
      // A paragraph without blanks, as in the Chinese tables.
      std::u16string(60, u'\u6e38'),
  };
  for (const std::u16string& text : texts) {
    const auto lines = WrapDescription(text, box, measure);
    ASSERT_GE(lines.size(), 2u);
    std::u16string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::u16string_view piece =
          std::u16string_view(text).substr(lines[i].start, lines[i].end - lines[i].start);
      joined += piece;
      if (i + 1 < lines.size()) {
        // A line may overhang by the blank that ends it.
        const std::u16string_view visible = piece.substr(0, piece.find_last_not_of(u' ') + 1);
        EXPECT_LT(measure(visible).width(), box.width() - 1) << i;
        EXPECT_GT(piece.size(), 1u) << "more than one character a line";
      }
    }
    EXPECT_EQ(joined, text) << "the lines hold the whole text in order";
  }
}

TEST(DescriptionWrapTest, CacheWrapsAgainWhenTheTextTheRectangleOrTheFontChanges) {
  QFont font(QStringLiteral("Microsoft YaHei"));
  font.setPixelSize(kDescriptionFontPixels);
  QFont larger = font;
  larger.setPixelSize(kDescriptionFontPixels + 6);
  const QRect box = DescriptionRect();
  const QRect narrower(box.topLeft(), QSize(box.width() / 2, box.height()));
  const std::u16string game = util::Utf8ToWide(util::kGameDescription);
  const std::u16string platform = util::Utf8ToWide(util::kPlatformDescription);

  struct Step {
    const char* what;
    const std::u16string& text;
    QRect rect;
    const QFont& font;
  };
  const Step steps[] = {
      {"first wrap", game, box, font},
      {"same inputs again", game, box, font},
      {"another text", platform, box, font},
      {"a narrower rectangle", platform, narrower, font},
      {"a larger font", platform, narrower, larger},
      {"back to the first inputs", game, box, font},
  };
  DescriptionWrapCache cache;
  for (const Step& step : steps) {
    EXPECT_EQ(cache.Lines(step.text, step.rect, step.font),
              WrapDescription(step.text, step.rect, MeasureWith(step.font)))
        << step.what;
  }
}

}  // namespace
}  // namespace qv::ui
