#include "workflow/shortcuts/shortcut_icon.h"

#include "platform/atomic_file.h"
#include "platform/path_resolution.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "workflow/shortcuts/b_icon.h"
#include "workflow/shortcuts/icon_handle.h"
#include "workflow/shortcuts/png_decoder.h"

namespace qv::workflow {
namespace {

constexpr std::u16string_view kPngExtension = u".png";
constexpr std::u16string_view kIconExtension = u".ico";

}  // namespace

bool ConvertPngToIcon(const std::u16string& png_path, const std::u16string& icon_path) {
  // The picture is found in any letter case, as every existing file is.
  const std::optional<std::string> resolved =
      platform::ResolveExistingPath(util::ToPlatformPath(png_path));
  if (!resolved) return false;
  std::string bytes;
  if (platform::ReadWholeFile(*resolved, bytes)) return false;
  RgbaImage picture;
  if (DecodePng(bytes, picture) != PngDecodeStatus::kOk) return false;
  CBIcon icon;
  return icon.LoadFromIconHandle(MakeIconHandle(picture)) && icon.WriteIconFile(icon_path);
}

std::u16string MakeIconFromPng(const std::u16string& png_path) {
  if (!util::IsFile(png_path)) return {};
  const size_t extension = png_path.rfind(kPngExtension);
  if (extension == std::u16string::npos) return png_path;
  std::u16string icon_path = png_path;
  icon_path.replace(extension, kPngExtension.size(), kIconExtension);
  if (util::IsFile(icon_path)) return icon_path;
  ConvertPngToIcon(png_path, icon_path);
  return icon_path;
}

}  // namespace qv::workflow
