// A machine for the folder and record steps: a temporary root with its own registry store, the
// installer's folders below it, and two fixed drives there (the home folder as the system drive
// and a second one under "mnt/d/", both with room to spare), wired into `context_`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fake_drive_list.h"
#include "registry_machine.h"
#include "system_path.h"
#include "util/app_folders.h"
#include "util/text_conversion.h"
#include "workflow/tasks/install_context.h"

namespace qv::test {

inline constexpr uint64_t kGiB = 1024ull * 1024 * 1024;

class InstallStepsMachineTest : public RegistryMachineTest {
 protected:
  InstallStepsMachineTest();

  std::string SystemRoot() const { return root_.Path("home/"); }
  std::string DriveD() const { return root_.Path("mnt/d/"); }
  // The installer's local data folder: below the temporary root on Linux, in the prefix's own
  // profile on Windows (the system's known folder).
  std::string LocalData() const;
  std::string ConfigIni() const { return LocalData() + "config.ini"; }
  // Writes `bytes` to the file `relative` ('/'-separated) below LocalData(), making its folders.
  void WriteLocalFile(std::string_view relative, std::string_view bytes) const;
  // The data folder the drive choice gives on this machine.
  std::string ChosenDataFolder() const { return DriveD() + OnThisSystem("QVorvane/"); }

  // Sets the config.ini key dl_path as the file would hold it.
  void RememberDataFolder(std::string_view value) const;
  // Whether the file system under the root keeps the hidden attribute (else it is a no-op).
  bool HiddenIsKept() const;

  static std::u16string W(std::string_view utf8) { return util::Utf8ToWide(utf8); }

  template <size_t N>
  static void SetText(char (&field)[N], std::string_view text) {
    const size_t size = text.size() < N ? text.size() : N - 1;
    std::memcpy(field, text.data(), size);
    field[size] = '\0';
  }
  // A record for the game `game_id` as the package answer would fill it.
  void SetGame(std::string_view game_id, std::string_view game_name);

  util::AppFolders folders_;
  FakeDriveList drives_;
  workflow::InstallContext context_;
};

}  // namespace qv::test
