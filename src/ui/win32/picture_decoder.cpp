// DecodePicture on Windows: the GDI+ flat interface decodes the bytes (PNG, JPEG and whatever
// else GDI+ reads) from a memory stream, and writes the pixels as 32-bit premultiplied ARGB
// straight into the surface: the pixel layout GDI+ names PixelFormat32bppPARGB is the Surface's.
// GDI+ must have been started (GdiplusSession); without it every picture decodes to null.
#include "ui/core/picture_decoder.h"

#include "ui/win32/gdiplus_api.h"

#include <shlwapi.h>

#include <climits>
#include <memory>

namespace qv::ui {
namespace {

struct StreamReleaser {
  void operator()(IStream* stream) const { stream->Release(); }
};
struct BitmapDisposer {
  void operator()(Gdiplus::GpBitmap* bitmap) const { Gdiplus::DllExports::GdipDisposeImage(bitmap); }
};

}  // namespace

Surface DecodePicture(std::span<const std::byte> bytes) {
  using namespace Gdiplus::DllExports;
  if (bytes.empty() || bytes.size() > UINT_MAX) return Surface();
  // The stream holds a copy of the bytes, which GDI+ may read until the bitmap goes.
  const std::unique_ptr<IStream, StreamReleaser> stream(SHCreateMemStream(
      reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return Surface();
  Gdiplus::GpBitmap* created = nullptr;
  if (GdipCreateBitmapFromStream(stream.get(), &created) != Gdiplus::Ok || created == nullptr) {
    return Surface();
  }
  const std::unique_ptr<Gdiplus::GpBitmap, BitmapDisposer> bitmap(created);
  UINT width = 0;
  UINT height = 0;
  if (GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
      GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok ||
      width == 0 || height == 0 || width > Surface::kMaxSide || height > Surface::kMaxSide) {
    return Surface();  // checked before any pixel is decoded
  }
  Surface surface(static_cast<int>(width), static_cast<int>(height));
  if (surface.IsNull()) return Surface();
  // The pixels go into the surface's own rows (a user buffer), converted by GDI+ on the way.
  Gdiplus::BitmapData data{};
  data.Width = width;
  data.Height = height;
  data.Stride = static_cast<INT>(width * 4);
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = surface.Pixels();
  const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  if (GdipBitmapLockBits(bitmap.get(), &all,
                         Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
    return Surface();  // damaged picture data
  }
  if (GdipBitmapUnlockBits(bitmap.get(), &data) != Gdiplus::Ok) return Surface();
  return surface;
}

}  // namespace qv::ui
