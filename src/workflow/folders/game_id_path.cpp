#include "workflow/folders/game_id_path.h"

#include <algorithm>

#include "platform/portable_names.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

bool IsControlCharacter(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7f && unit <= 0x9f);
}

}  // namespace

bool IsPlainFileNameComponent(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  return std::none_of(name.begin(), name.end(),
                      [](char16_t unit) {
                        return unit == u'/' || unit == u'\\' || IsControlCharacter(unit);
                      }) &&
         platform::IsPlainComponentOnThisSystem(util::WideToUtf8(name));
}

}  // namespace qv::workflow
