// The start-up's choice of the interface language, and the process's language table.
//
// SelectLanguage reads the last choice from the installer's config.ini ("General" /
// "last_lang_name"); when there is none it takes the system's language and records it there (a
// value that is present is never changed). A remembered code that is exactly one of the short
// codes loads that language's table and publishes its language id (util/language_id.h), even when
// the table itself cannot be loaded; any other value loads nothing and leaves the id empty.
//
// Threads: SelectLanguage runs once on the UI thread before any window or worker exists.
// Translate and SystemLanguageCode may be called from any thread (the process's table is guarded
// by its own lock and Translate answers a copy).
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "util/language_table.h"

namespace qv::util {

inline constexpr const char* kLanguageIniSection = "General";
inline constexpr const char* kLastLangNameIniKey = "last_lang_name";
// The remembered code is read into a buffer of this many UTF-16 units.
inline constexpr size_t kLastLangNameBufferUnits = 128;

// What a choice works with. The program uses DefaultLanguageSelection(); tests give their own.
struct LanguageSelection {
  std::string config_ini;   // UTF-8 path of the installer's config.ini
  std::string system_code;  // the system language's short code (SystemLanguageCode)
  std::function<std::span<const unsigned char>(int)> find_resource;  // resource id -> bytes
};

// The local data folder's config.ini, SystemLanguageCode() and the program's resources.
LanguageSelection DefaultLanguageSelection();

// Chooses the language into `table` as described above; true when a table was loaded and parsed.
bool SelectLanguage(LanguageTable& table, const LanguageSelection& selection);

// The program's choice: SelectLanguage(ProcessLanguageTable, DefaultLanguageSelection()).
bool SelectLanguage();

// The process's table: the key's text in the chosen language (LanguageTable::Translate).
std::u16string Translate(std::string_view key);

// The short code of the user's interface language (platform::UserDefaultUILanguage through
// LanguageCodeForLangId), computed once per process.
std::string SystemLanguageCode();

}  // namespace qv::util
