#include "workflow/registration/auto_start_registration.h"

#include <algorithm>
#include <string>

#include "platform/private_profile.h"
#include "platform/registry.h"
#include "util/file_paths.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "workflow/registration/string_value_writer.h"

namespace qv::workflow {
namespace {

constexpr std::string_view kClientConfigSection = "General";
constexpr std::string_view kAutoStartupDefault = "1";
// The value is read through a buffer of 15 characters and its NUL.
constexpr size_t kAutoStartupBufferUnits = 16;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool AutoStartupIsOn(std::string_view text) {
  size_t at = text.find_first_not_of(" \t\r\n\v\f");
  if (at == std::string_view::npos) return true;
  if (text[at] == '+' || text[at] == '-') ++at;
  const size_t digits_end = std::find_if_not(text.begin() + at, text.end(), IsDigit) - text.begin();
  const std::string_view digits = text.substr(at, digits_end - at);
  if (digits.empty()) return true;
  return digits.find_first_not_of('0') != std::string_view::npos;
}

bool RegisterAutoStart(std::u16string_view arguments, util::AppFolders& folders) {
  const std::string config =
      util::ToPlatformPath(util::JoinPath(folders.RoamingDataFolder(), util::kClientConfigRecord));
  std::string auto_startup;
  platform::GetPrivateProfileString(
      kClientConfigSection, util::WideToUtf8(util::kClientAutoStartupKey), kAutoStartupDefault,
      auto_startup, kAutoStartupBufferUnits, config);
  if (!AutoStartupIsOn(auto_startup)) return false;

  platform::RegistryKey run;
  if (platform::CurrentRegistry().CreateKey(platform::RegistryRoot::kCurrentUser, kRunKey,
                                            platform::key_access::kAll,
                                            run) == platform::RegistryStatus::kOk) {
    const std::u16string client =
        folders.PlatformFolder() + std::u16string(kAutoStartClientExecutable);
    WriteStringValue(run, util::Utf8ToWide(kAutoStartValue),
                     u"\"" + client + u"\"  " + std::u16string(arguments));
  }
  return true;
}

}  // namespace qv::workflow
