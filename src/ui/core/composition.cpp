#include "ui/core/composition.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace qv::ui {
namespace {

// Fixed-point positions: 16 bits of fraction.
constexpr int64_t kOne = 1 << 16;

uint32_t AddColour(uint32_t source, uint32_t target) {
  const auto add = [](uint32_t s, uint32_t t) { return std::min<uint32_t>(255, s + t); };
  return PremultipliedPixel(0, add(PixelRed(source), PixelRed(target)),
                            add(PixelGreen(source), PixelGreen(target)),
                            add(PixelBlue(source), PixelBlue(target)));
}

// The four pixels around a sample mixed by the fractions fx, fy (0 to 255 each).
uint32_t Mix(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx, uint32_t fy) {
  const uint32_t w00 = (256 - fx) * (256 - fy);
  const uint32_t w10 = fx * (256 - fy);
  const uint32_t w01 = (256 - fx) * fy;
  const uint32_t w11 = fx * fy;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t sum = ((p00 >> shift) & 0xFF) * w00 + ((p10 >> shift) & 0xFF) * w10 +
                         ((p01 >> shift) & 0xFF) * w01 + ((p11 >> shift) & 0xFF) * w11;
    out |= ((sum + (1u << 15)) >> 16) << shift;
  }
  return out;
}

// Where target column or row `i` (0-based inside a span of `to_span`) samples a source span of
// `from_span` starting at `from_start`: the fixed-point source position of the pixel centre.
int64_t SamplePosition(int i, int from_start, int from_span, int to_span) {
  const int64_t centre = ((2 * static_cast<int64_t>(i) + 1) * from_span * kOne) / (2 * to_span);
  return static_cast<int64_t>(from_start) * kOne + centre - kOne / 2;
}

void DrawUnscaled(Surface& target, const Surface& picture, const Rect& to, const Rect& from) {
  const Rect clipped = to.Intersected(target.Bounds());
  if (clipped.IsEmpty()) return;
  const int dx = from.left - to.left;
  const int dy = from.top - to.top;
  for (int y = clipped.top; y < clipped.Bottom(); ++y) {
    const uint32_t* source = picture.Row(y + dy) + dx;
    uint32_t* row = target.Row(y);
    for (int x = clipped.left; x < clipped.Right(); ++x) {
      const uint32_t pixel = source[x];
      if (pixel == 0) continue;
      row[x] = PixelAlpha(pixel) == 255 ? pixel : SourceOver(pixel, row[x]);
    }
  }
}

}  // namespace

uint32_t SourceOver(uint32_t source, uint32_t target) {
  const uint32_t rest = 255 - PixelAlpha(source);
  if (rest == 0) return source;
  const auto channel = [rest](uint32_t s, uint32_t t) {
    return std::min<uint32_t>(255, s + (t * rest + 127) / 255);
  };
  return PremultipliedPixel(channel(PixelAlpha(source), PixelAlpha(target)),
                            channel(PixelRed(source), PixelRed(target)),
                            channel(PixelGreen(source), PixelGreen(target)),
                            channel(PixelBlue(source), PixelBlue(target)));
}

void DrawPicture(Surface& target, const Surface& picture, const Rect& to, const Rect& from_in) {
  if (target.IsNull() || picture.IsNull() || to.IsEmpty()) return;
  const Rect from = from_in.Intersected(picture.Bounds());
  if (from.IsEmpty()) return;
  if (from.width == to.width && from.height == to.height) {
    DrawUnscaled(target, picture, to, from);
    return;
  }
  const Rect clipped = to.Intersected(target.Bounds());
  if (clipped.IsEmpty()) return;

  // Per column: the two source columns and the fraction between them (likewise per row).
  struct Tap {
    int first;
    int second;
    uint32_t fraction;
  };
  const auto taps = [](int start, int count, int to_start, int to_span, int from_start,
                       int from_span) {
    std::vector<Tap> out;
    out.reserve(static_cast<size_t>(count));
    const int64_t lowest = static_cast<int64_t>(from_start) * kOne;
    const int64_t highest = static_cast<int64_t>(from_start + from_span - 1) * kOne;
    for (int i = start; i < start + count; ++i) {
      const int64_t position =
          std::clamp(SamplePosition(i - to_start, from_start, from_span, to_span), lowest,
                     highest);
      const int first = static_cast<int>(position / kOne);
      const int second = std::min(first + 1, from_start + from_span - 1);
      out.push_back(Tap{first, second, static_cast<uint32_t>((position % kOne) >> 8)});
    }
    return out;
  };
  const std::vector<Tap> columns =
      taps(clipped.left, clipped.width, to.left, to.width, from.left, from.width);
  const std::vector<Tap> rows =
      taps(clipped.top, clipped.height, to.top, to.height, from.top, from.height);

  for (int j = 0; j < clipped.height; ++j) {
    const Tap& row_tap = rows[static_cast<size_t>(j)];
    const uint32_t* upper = picture.Row(row_tap.first);
    const uint32_t* lower = picture.Row(row_tap.second);
    uint32_t* out = target.Row(clipped.top + j);
    for (int i = 0; i < clipped.width; ++i) {
      const Tap& column = columns[static_cast<size_t>(i)];
      const uint32_t pixel = Mix(upper[column.first], upper[column.second], lower[column.first],
                                 lower[column.second], column.fraction, row_tap.fraction);
      if (pixel == 0) continue;
      uint32_t& to_pixel = out[clipped.left + i];
      to_pixel = PixelAlpha(pixel) == 255 ? pixel : SourceOver(pixel, to_pixel);
    }
  }
}

void DrawPicture(Surface& target, const Surface& picture, const Rect& to) {
  DrawPicture(target, picture, to, picture.Bounds());
}

void DrawPictureAt(Surface& target, const Surface& picture, Point at) {
  DrawPicture(target, picture, Rect{at.x, at.y, picture.width(), picture.height()},
              picture.Bounds());
}

void MergeTextLayer(Surface& surface, const Surface& layer) {
  if (surface.GetSize() != layer.GetSize() || surface.IsNull()) return;
  for (int y = 0; y < surface.height(); ++y) {
    const uint32_t* from = layer.Row(y);
    uint32_t* to = surface.Row(y);
    for (int x = 0; x < surface.width(); ++x) {
      if (from[x] == 0) continue;
      to[x] = PixelAlpha(to[x]) == 0 ? AddColour(from[x], to[x]) : SourceOver(from[x], to[x]);
    }
  }
}

Region OpaqueRegion(const Surface& surface) {
  Region region;
  std::vector<std::pair<int, int>> band_runs;
  std::vector<std::pair<int, int>> runs;
  int band_top = 0;
  const auto close_band = [&](int bottom) {
    for (const auto& [left, right] : band_runs) {
      region.rects.push_back(Rect::FromEdges(left, band_top, right, bottom));
    }
  };
  for (int y = 0; y < surface.height(); ++y) {
    runs.clear();
    const uint32_t* row = surface.Row(y);
    int x = 0;
    while (x < surface.width()) {
      while (x < surface.width() && PixelAlpha(row[x]) == 0) ++x;
      const int left = x;
      while (x < surface.width() && PixelAlpha(row[x]) != 0) ++x;
      if (x > left) runs.emplace_back(left, x);
    }
    if (runs != band_runs) {
      close_band(y);
      band_runs = runs;
      band_top = y;
    }
  }
  close_band(surface.height());
  return region;
}

}  // namespace qv::ui
