// Plain geometry and colour of the windows' drawing, in physical pixels: what the window layouts,
// the surfaces and both window backends (Qt, Win32) share without a toolkit's types.
//
// A Rect is left/top plus width/height; its right and bottom edges are excluded (Right() and
// Bottom() are the first column and row outside it). Value types; any thread.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace qv::ui {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  // The rectangle from (left, top) to (right, bottom), right and bottom excluded.
  static constexpr Rect FromEdges(int left, int top, int right, int bottom) {
    return Rect{left, top, right - left, bottom - top};
  }
  constexpr int Right() const { return left + width; }
  constexpr int Bottom() const { return top + height; }
  constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
  constexpr Point TopLeft() const { return Point{left, top}; }
  constexpr Size GetSize() const { return Size{width, height}; }
  constexpr bool Contains(Point point) const {
    return point.x >= left && point.x < Right() && point.y >= top && point.y < Bottom();
  }
  constexpr Rect Translated(int dx, int dy) const { return Rect{left + dx, top + dy, width, height}; }
  // The common part; an empty rectangle (at 0, 0) when they do not overlap.
  constexpr Rect Intersected(const Rect& other) const {
    const int l = std::max(left, other.left);
    const int t = std::max(top, other.top);
    const int r = std::min(Right(), other.Right());
    const int b = std::min(Bottom(), other.Bottom());
    return r > l && b > t ? FromEdges(l, t, r, b) : Rect{};
  }
  bool operator==(const Rect&) const = default;
};

// An opaque colour.
struct Color {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

// A set of pixels as rectangles: bands top to bottom, each band's rectangles left to right, none
// overlapping (the form both X11 input shapes and Win32 regions take).
struct Region {
  std::vector<Rect> rects;

  bool Contains(Point point) const {
    return std::any_of(rects.begin(), rects.end(),
                       [point](const Rect& rect) { return rect.Contains(point); });
  }
  bool IsEmpty() const { return rects.empty(); }
  bool operator==(const Region&) const = default;
};

}  // namespace qv::ui
