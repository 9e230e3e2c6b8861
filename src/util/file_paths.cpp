#include "util/file_paths.h"

#include "util/text_conversion.h"
#include "util/text_edit.h"

namespace qv::util {

void NormalizeSeparators(std::u16string& path) {
  ReplaceAll(u"\\", path, u"/");
  // One pass turns "///" into "//" only (the search resumes after each replacement).
  while (path.find(u"//") != std::u16string::npos) ReplaceAll(u"//", path, u"/");
}

std::u16string GetParentFolder(std::u16string_view path) {
  std::u16string normalized(path);
  NormalizeSeparators(normalized);
  const auto slash = normalized.rfind(u'/');
  return slash == std::u16string::npos ? std::u16string() : normalized.substr(0, slash);
}

std::u16string GetFileNameOfPath(std::u16string_view path) {
  std::u16string normalized(path);
  NormalizeSeparators(normalized);
  const auto slash = normalized.rfind(u'/');
  if (slash == std::u16string::npos) return std::u16string(path);
  return normalized.substr(slash + 1);
}

std::u16string GetExtension(std::u16string_view path) {
  const auto dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || dot == 0 || dot + 1 == path.size()) return {};
  const auto separator = path.find_last_of(u"/\\");
  if (separator != std::u16string_view::npos && separator > dot) return {};
  return std::u16string(path.substr(dot + 1));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string joined(folder);
  if (joined.empty() || joined.back() != u'/') joined.push_back(u'/');
  joined.append(name);
  return joined;
}

std::string ToPlatformPath(std::u16string_view path) {
  std::u16string normalized(path);
  NormalizeSeparators(normalized);
  return WideToUtf8(normalized);
}

}  // namespace qv::util
