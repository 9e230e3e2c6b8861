// The user's interface language on Linux: the locale the C library takes messages from.
#include "platform/ui_language.h"

#include <cstdlib>

namespace qv::platform {

std::string UserMessagesLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return {};
}

uint16_t UserDefaultUILanguage() { return LanguageIdForLocale(UserMessagesLocale()); }

}  // namespace qv::platform
