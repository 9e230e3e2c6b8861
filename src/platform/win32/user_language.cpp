// The user's interface language on Windows: the system's own setting.
#include "platform/ui_language.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace qv::platform {

// The user's locale name as the system gives it ("de-DE"); "" when it has none.
std::string UserMessagesLocale() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const int length = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  return length > 1 ? win32::Utf8(std::wstring_view(name, static_cast<size_t>(length - 1))) : "";
}

uint16_t UserDefaultUILanguage() { return GetUserDefaultUILanguage(); }

}  // namespace qv::platform
