#include "util/file_paths.h"

#include <algorithm>

#include "platform/path_syntax.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

bool IsSeparator(char16_t unit) { return unit == u'/' || unit == u'\\'; }

// Whether the system takes `unit` for a separator ('/' on Linux; '\' and '/' on Windows).
bool SeparatesOnThisSystem(char16_t unit) {
  return IsSeparator(unit) &&
         platform::kPathSeparators.find(static_cast<char>(unit)) != std::string_view::npos;
}

}  // namespace

char16_t SystemSeparator() { return static_cast<char16_t>(platform::kPathSeparator); }

void NormalizeSeparators(std::u16string& path) {
  const char16_t separator = SystemSeparator();
  std::u16string normalized;
  normalized.reserve(path.size());
  for (const char16_t unit : path) {
    if (!IsSeparator(unit)) {
      normalized.push_back(unit);
    } else if (normalized.empty() || normalized.back() != separator) {
      normalized.push_back(separator);
    }
  }
  path = std::move(normalized);
}

std::u16string SystemPath(std::u16string_view fixed) {
  std::u16string path(fixed);
  std::replace(path.begin(), path.end(), u'/', SystemSeparator());
  return path;
}

std::u16string AsFolderPath(std::u16string_view folder) {
  std::u16string path(folder);
  if (path.empty() || !SeparatesOnThisSystem(path.back())) path.push_back(SystemSeparator());
  return path;
}

std::u16string GetParentFolder(std::u16string_view path) {
  std::u16string normalized(path);
  NormalizeSeparators(normalized);
  const auto separator = normalized.rfind(SystemSeparator());
  return separator == std::u16string::npos ? std::u16string() : normalized.substr(0, separator);
}

std::u16string GetFileNameOfPath(std::u16string_view path) {
  std::u16string normalized(path);
  NormalizeSeparators(normalized);
  const auto separator = normalized.rfind(SystemSeparator());
  if (separator == std::u16string::npos) return std::u16string(path);
  return normalized.substr(separator + 1);
}

std::u16string GetExtension(std::u16string_view path) {
  const auto dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || dot == 0 || dot + 1 == path.size()) return {};
  const auto separator = path.find_last_of(u"/\\");
  if (separator != std::u16string_view::npos && separator > dot) return {};
  return std::u16string(path.substr(dot + 1));
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  return AsFolderPath(folder).append(name);
}

std::string ToPlatformPath(std::u16string_view path) {
  std::u16string normalized(path);
  NormalizeSeparators(normalized);
  return WideToUtf8(normalized);
}

}  // namespace qv::util
