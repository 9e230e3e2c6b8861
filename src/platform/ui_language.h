// The user's interface language, as the language id (LANGID) of the original platform. On
// Windows the system gives it (GetUserDefaultUILanguage); on Linux it is read from the locale:
//
// The locale name comes from the first non-empty of LC_ALL, LC_MESSAGES and LANG (the order in
// which the C library itself chooses the language of messages) and is read as
// language[_TERRITORY][.codeset][@modifier]. It maps to the id that platform gives that
// language in that territory (es_ES -> 0x0C0A, zh_SG -> 0x1004); a territory it has no id for
// gives the language's default sub-language (for Chinese the neutral, simplified 0x0004). "C",
// "POSIX", an unset locale and a language the platform has no id for give English (0x0409).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::platform {

inline constexpr uint16_t kLangIdEnglishUnitedStates = 0x0409;

// The locale name that decides the language of messages ("" when none is set; on Windows the
// user's locale name, "de-DE").
std::string UserMessagesLocale();

// The language id a locale name stands for (above).
uint16_t LanguageIdForLocale(std::string_view locale);

// GetUserDefaultUILanguage (on Linux LanguageIdForLocale(UserMessagesLocale())).
uint16_t UserDefaultUILanguage();

}  // namespace qv::platform
