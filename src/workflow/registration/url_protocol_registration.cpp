#include "workflow/registration/url_protocol_registration.h"

#include <string>

#include "platform/registry.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/registration/registration_keys.h"
#include "workflow/registration/string_value_writer.h"

namespace qv::workflow {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryStatus;

// An existing default value is looked at through a buffer of this many bytes; a larger one
// counts as missing.
constexpr size_t kExistingValueMaxBytes = 1024;
constexpr std::u16string_view kIconIndexSuffix = u",-0";

bool CreateProtocolKey(std::string_view path, RegistryKey& key) {
  return platform::CurrentRegistry().CreateKey(RegistryRoot::kClassesRoot, path,
                                               platform::key_access::kAll,
                                               key) == RegistryStatus::kOk;
}

// The key's default value when it has one that fits the look-up buffer.
bool ReadDefaultValue(const RegistryKey& key, std::string& out) {
  platform::RegistryValue value;
  if (key.QueryValue("", kExistingValueMaxBytes, value) != RegistryStatus::kOk) return false;
  out = value.text;
  return true;
}

}  // namespace

void RegisterUrlProtocol(util::AppFolders& folders) {
  const std::u16string client = folders.PlatformFolder() + std::u16string(util::kClientExecutable);

  RegistryKey protocol;
  if (CreateProtocolKey(kProtocolKey, protocol)) {
    WriteStringValue(protocol, u"", util::Utf8ToWide(kProtocolDescription));
    WriteStringValue(protocol, util::Utf8ToWide(kProtocolMarkerValue), u"");
  }

  RegistryKey icon;
  std::string existing;
  if (CreateProtocolKey(kProtocolIconKey, icon) && !ReadDefaultValue(icon, existing)) {
    WriteStringValue(icon, u"", client + std::u16string(kIconIndexSuffix));
  }

  RegistryKey command;
  if (CreateProtocolKey(kProtocolCommandKey, command) &&
      (!ReadDefaultValue(command, existing) ||
       existing.find(util::WideToUtf8(client)) == std::string::npos)) {
    WriteStringValue(command, u"", u"\"" + client + u"\"  \"%1\"");
  }
}

}  // namespace qv::workflow
