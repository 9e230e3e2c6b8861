// The description measured with the program's fonts through Qt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/core/client_layout.h"
#include "ui/core/description_wrap.h"
#include "ui/qt/qt_text_renderer.h"
#include "util/default_descriptions.h"
#include "util/text_conversion.h"

namespace qv::ui {
namespace {

TEST(DescriptionWrapTest, ShippedParagraphsMeasuredWithTheDescriptionFontFitTheirLines) {
  QtTextRenderer renderer;
  const FontSpec font{kClientFontFace, kDescriptionFontPixels};
  const auto measure = MeasureWith(renderer, font);
  const Rect box = DescriptionRect();
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
        EXPECT_LT(measure(visible).width, box.width - 1) << i;
        EXPECT_GT(piece.size(), 1u) << "more than one character a line";
      }
    }
    EXPECT_EQ(joined, text) << "the lines hold the whole text in order";
  }
}

TEST(DescriptionWrapTest, CacheWrapsAgainWhenTheTextTheRectangleOrTheFontChanges) {
  QtTextRenderer text;
  const FontSpec font{kClientFontFace, kDescriptionFontPixels};
  const FontSpec larger{kClientFontFace, kDescriptionFontPixels + 6};
  const Rect box = DescriptionRect();
  const Rect narrower{box.left, box.top, box.width / 2, box.height};
  const std::u16string game = util::Utf8ToWide(util::kGameDescription);
  const std::u16string platform = util::Utf8ToWide(util::kPlatformDescription);

  struct Step {
    const char* what;
    const std::u16string& text;
    Rect rect;
    const FontSpec& font;
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
    const auto lines = cache.Lines(step.text, step.rect, step.font, text);
    const auto fresh = WrapDescription(step.text, step.rect, MeasureWith(text, step.font));
    ASSERT_EQ(lines.size(), fresh.size()) << step.what;
    // The last line is cut to what wraps onto it; the others are the plain wrap's.
    for (size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], fresh[i]) << step.what;
    EXPECT_EQ(lines.back().start, fresh.back().start) << step.what;
  }
}

}  // namespace
}  // namespace qv::ui
