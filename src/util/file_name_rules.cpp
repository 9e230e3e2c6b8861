#include "util/file_name_rules.h"

namespace qv::util {
namespace {

constexpr char16_t kFirstPrintable = 0x20;

bool IsControl(char16_t c) { return c < kFirstPrintable || c == 0x7F; }

}  // namespace

bool IsPlainNameComponent(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  for (char16_t c : name) {
    if (c == u'/' || c == u'\\' || IsControl(c)) return false;
  }
  return true;
}

bool HasForbiddenFileNameCharacter(std::u16string_view name) {
  constexpr std::u16string_view kForbidden = u"<>:\"/\\|?*";
  for (char16_t c : name) {
    if (c < kFirstPrintable || kForbidden.find(c) != std::u16string_view::npos) return true;
  }
  return false;
}

}  // namespace qv::util
