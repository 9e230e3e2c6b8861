#include "ui/win32/dib_section.h"

namespace qv::ui::win32 {

DibSection::DibSection(Size size) : size_(size) {
  if (size.width <= 0 || size.height <= 0) return;
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;  // negative: rows top-down, as the Surface's
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr || bits == nullptr) return;
  previous_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<uint32_t*>(bits);  // zero-initialised by the system
}

DibSection::~DibSection() {
  if (previous_ != nullptr) SelectObject(dc_, previous_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
}

}  // namespace qv::ui::win32
