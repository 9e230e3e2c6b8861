// The install context the list targets work on: the installer's folders below a temporary root
// made once per fuzzing process, the home folder as the only (fixed) drive, and a record for
// the game "1001" whose texts need escaping in XML.
//
// Ownership: one per process, made on first use on the fuzzing thread and kept to the end.
#pragma once

#include <cstring>
#include <string>

#include "fake_drive_list.h"
#include "temp_root_folder.h"
#include "util/app_folders.h"
#include "workflow/tasks/install_context.h"

namespace qv::fuzz {

struct FuzzInstallMachine {
  FuzzInstallMachine() {
    drives.system_root = root.home() + "/";
    drives.roots = {{drives.system_root, platform::DriveKind::kFixed}};
    drives.free_bytes = {{drives.system_root, uint64_t{1} << 40}};
    context.machine = {&folders, &drives};
    SetText(context.record.game.game_id, "1001");
    SetText(context.record.game.game_name, "Game & \"Co\" <1>");
    SetText(context.record.md5, "0123456789abcdef0123456789abcdef");
    SetText(context.record.url_air, "https://cdn.example/p/1001.zip?a=1&b=2");
    SetText(context.record.game_ver, "1.0.2");
    context.record.g_type = 2;
    context.record.ver_air = 17;
  }

  template <size_t kSize>
  static void SetText(char (&field)[kSize], const char* text) {
    std::strncpy(field, text, kSize - 1);
  }

  test::TempRoot root;
  util::AppFolders folders;
  test::FakeDriveList drives;
  workflow::InstallContext context;
};

inline FuzzInstallMachine& Machine() {
  static FuzzInstallMachine machine;
  return machine;
}

}  // namespace qv::fuzz
