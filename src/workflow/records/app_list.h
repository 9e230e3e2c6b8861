// The app list, list.dat in the download folder: which game packages the platform client finds
// on this machine, where they came from and in which state they are.
//
//   <?xml version="1.0"?>
//   <app_list>
//   	<item game_id="..." game_name="..." md5="..." saved_bytes="0" total_bytes="0"
//   	      net_path="<package URL>" local_path="<kept copy>" game_type="..." state="9"
//   	      version="<game_ver>" ver_code="<ver_air>" />
//   </app_list>
//
// The platform client creates the file; the installer only updates it.
#pragma once

#include <string_view>

#include "workflow/tasks/install_context.h"

namespace qv::workflow {

// Updates the record's game in list.dat; `local_path` is the kept package copy (UTF-8).
// - No list.dat: nothing is done.
// - A file that is empty or not well-formed XML is replaced by an app list holding this game.
// - A document without an "app_list" root is left untouched.
// - The first item whose game_id equals the record's (byte for byte) gets the new md5,
//   net_path, local_path, game_type, state, version and ver_code, each only where the item has
//   that attribute; its other attributes stay. Without such an item a new one is appended with
//   every attribute above.
// The file is replaced whole (serialised in memory, then written atomically), so a write that
// cannot complete leaves the previous list as it was. Returns whether the file was written.
bool UpdateAppList(std::string_view local_path, const InstallContext& context);

}  // namespace qv::workflow
