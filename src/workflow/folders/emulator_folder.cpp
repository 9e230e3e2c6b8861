#include "workflow/folders/emulator_folder.h"

#include <array>
#include <string_view>

#include "platform/registry.h"
#include "util/registry_text.h"
#include "util/text_edit.h"

namespace qv::workflow {
namespace {

constexpr std::string_view kEmulatorKey = "Software\\Wow6432Node\\BlueStacks_tolvik";
constexpr std::u16string_view kInstallDirValue = u"InstallDir";
// The variant's programs live in this sub-path of its folder. It is taken out exactly (letter
// case counts), in our separator and in the one the variant's own installer may have written.
constexpr std::array<std::u16string_view, 2> kProgramSubPaths = {
    u"BlueStacks_tolvik/ProgramFiles/", u"BlueStacks_tolvik\\ProgramFiles\\"};

}  // namespace

std::u16string FindEmulatorFolder() {
  platform::RegistryKey key;
  if (platform::CurrentRegistry().OpenKey(
          platform::RegistryRoot::kLocalMachine, kEmulatorKey,
          platform::key_access::kRead | platform::key_access::kView64,
          key) != platform::RegistryStatus::kOk) {
    return {};
  }
  std::u16string folder;
  if (!util::ReadRegistryText(key, kInstallDirValue, folder)) return {};
  for (const std::u16string_view sub_path : kProgramSubPaths) {
    util::ReplaceAll(sub_path, folder, u"");
  }
  return folder;
}

}  // namespace qv::workflow
