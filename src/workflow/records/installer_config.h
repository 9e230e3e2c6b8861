// The installer's own settings file, config.ini in the local data folder, and the keys it holds.
//
// | key            | holds                                  | read into (UTF-16 units) |
// | client_id      | the client identity (util/client_identity.h) | 260               |
// | os_ver         | the system description sent with statistics  | never read        |
// | game_from      | the game source sent with statistics         | never read        |
// | dl_path        | the remembered data folder                   | PATH_MAX          |
// | last_lang_name | the last chosen interface language           | 128               |
//
// Every value is text (numbers as decimal text). The same section name heads the records the
// installer writes for the platform client (local_records.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/path_limits.h"
#include "util/app_folders.h"
#include "util/client_identity.h"

namespace qv::workflow {

inline constexpr std::string_view kRecordSection = util::kClientIdIniSection;  // "General"

inline constexpr std::string_view kClientIdKey = util::kClientIdIniKey;
inline constexpr std::string_view kOsVerKey = "os_ver";
inline constexpr std::string_view kGameFromKey = "game_from";
inline constexpr std::string_view kDlPathKey = "dl_path";
inline constexpr std::string_view kLastLangNameKey = "last_lang_name";

// A remembered folder is a path of this system: its whole length is kept, however long the home.
inline constexpr size_t kDlPathBufferUnits = platform::kMaxPathLength + 1;
inline constexpr size_t kLastLangNameBufferUnits = 128;

// The UTF-8 path of config.ini in the local data folder of `folders`.
std::string InstallerConfigPath(util::AppFolders& folders);

}  // namespace qv::workflow
