#include "workflow/registration/string_value_writer.h"

#include "util/text_conversion.h"

namespace qv::workflow {

bool WriteStringValue(platform::RegistryKey& key, std::u16string_view name,
                      std::u16string_view text) {
  if (text.size() > kMaxRegistrationTextLength) return false;
  return key.SetStringValue(util::WideToUtf8(name), util::WideToUtf8(text)) ==
         platform::RegistryStatus::kOk;
}

}  // namespace qv::workflow
