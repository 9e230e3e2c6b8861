#include "util/file_name_rules.h"

namespace qv::util {
namespace {

constexpr char16_t kFirstPrintable = 0x20;
constexpr std::u16string_view kForbidden = u"<>:\"/\\|?*";

}  // namespace

bool HasForbiddenFileNameCharacter(std::u16string_view name) {
  for (char16_t c : name) {
    if (c < kFirstPrintable || kForbidden.find(c) != std::u16string_view::npos) return true;
  }
  return false;
}

}  // namespace qv::util
