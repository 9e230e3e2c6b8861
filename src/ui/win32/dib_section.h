// DibSection: a 32-bit top-down DIB section selected into a memory device context of its own,
// so that GDI can draw into it and its pixels can be read and written in the Surface's layout
// (one uint32_t 0xAARRGGBB per pixel, rows top-down without padding). Starts with every byte 0.
//
// Threads: the thread that made it (the UI thread of the window that draws).
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdint>

#include "ui/core/geometry.h"

namespace qv::ui::win32 {

class DibSection {
 public:
  // Null (valid() false) when the size is not positive or GDI refuses the bitmap.
  explicit DibSection(Size size);
  ~DibSection();
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  bool valid() const { return pixels_ != nullptr; }
  HDC dc() const { return dc_; }
  Size size() const { return size_; }
  uint32_t* Row(int y) { return pixels_ + static_cast<size_t>(y) * size_.width; }
  // GDI's queued drawing is finished before the pixels are read.
  void Flush() const { GdiFlush(); }

 private:
  Size size_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* pixels_ = nullptr;
};

}  // namespace qv::ui::win32
