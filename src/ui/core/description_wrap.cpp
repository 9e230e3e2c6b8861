#include "ui/core/description_wrap.h"

namespace qv::ui {
namespace {

constexpr char16_t kBlank = u' ';

}  // namespace

std::vector<DescriptionLine> WrapDescription(std::u16string_view text, const Rect& rect,
                                             const MeasureText& measure) {
  std::vector<DescriptionLine> lines;
  const size_t length = text.size();
  if (length == 0) return lines;
  const int fits_below = rect.width - 1;  // a piece fits when narrower than this
  const int bottom = rect.Bottom();
  int y = rect.top;
  size_t start = 0;
  size_t end = 1;
  // The text from the line's start to the next blank, measured once for every line end inside it.
  size_t word_start = std::u16string_view::npos;
  size_t word_stop = std::u16string_view::npos;
  Size word_size;
  for (;;) {
    const std::u16string_view line = text.substr(start, end - start);
    const size_t blank = text.find(kBlank, end);
    const size_t word_end = blank == std::u16string_view::npos ? length : blank;
    if (start != word_start || word_end != word_stop) {
      word_size = measure(text.substr(start, word_end - start));
      word_start = start;
      word_stop = word_end;
    }
    // Text only grows wider as it grows: a line that ends inside a piece that fits fits too, so
    // only the lines near a break are measured one character at a time.
    const bool inside_fitting_word = end <= word_end && word_size.width < fits_below;
    const Size line_size = inside_fitting_word ? word_size : measure(line);
    const int height = line_size.height;
    if (y + height > bottom) {
      if (lines.empty()) return lines;
      lines.back().end = length;
      return lines;
    }
    const bool line_fits = line_size.width < fits_below;
    const bool word_fits = word_size.width < fits_below;
    // Within the line's first run without blanks a word that can never fit is broken by
    // characters instead of one character per line.
    const bool first_run = line.find(kBlank) == std::u16string_view::npos;
    if (line_fits && end < length && (word_fits || first_run)) {
      ++end;
      continue;
    }
    size_t line_end = end;
    // The character that made the line too wide starts the next one, unless it is a blank (a
    // trailing blank may overhang) or the only character.
    if (!line_fits && end - start > 1 && text[end - 1] != kBlank) line_end = end - 1;
    lines.push_back({start, line_end, height});
    y += height + 1;
    start = line_end;
    if (start >= length) return lines;
    end = start + 1;
  }
}

MeasureText MeasureWith(TextRenderer& renderer, const FontSpec& font) {
  return [&renderer, font](std::u16string_view piece) { return renderer.Measure(font, piece); };
}

const std::vector<DescriptionLine>& DescriptionWrapCache::Lines(std::u16string_view text,
                                                                 const Rect& rect,
                                                                 const FontSpec& font,
                                                                 TextRenderer& renderer) {
  if (valid_ && text == text_ && rect == rect_ && font == font_) return lines_;
  const MeasureText measure = MeasureWith(renderer, font);
  lines_ = WrapDescription(text, rect, measure);
  if (!lines_.empty() && lines_.back().end == text.size()) {
    // The last line holds the rest of the text: only what wraps onto its first line shows, as a
    // line of its own would wrap it (a rectangle of two lines' height keeps the wrap short).
    DescriptionLine& last = lines_.back();
    const std::u16string_view rest = text.substr(last.start);
    const std::vector<DescriptionLine> first =
        WrapDescription(rest, Rect{0, 0, rect.width, 2 * last.height + 1}, measure);
    if (first.size() > 1) last.end = last.start + first.front().end;
  }
  text_ = text;
  rect_ = rect;
  font_ = font;
  valid_ = true;
  return lines_;
}

void DrawDescription(Surface& layer, TextRenderer& renderer, std::u16string_view text,
                     const Rect& rect, const FontSpec& font, Color color,
                     DescriptionWrapCache& wrap) {
  int offset = 0;
  for (const DescriptionLine& line : wrap.Lines(text, rect, font, renderer)) {
    const Rect line_rect{rect.left, rect.top + offset, rect.width, line.height};
    renderer.DrawLine(layer, font, color, line_rect, text.substr(line.start, line.end - line.start),
                      true);
    offset += line.height + 1;
  }
}

}  // namespace qv::ui
