// The file list a game package carries, and the check of the package's programs against it.
//
// The list is "<game id>.xml" in the game files folder:
//   <root><items><item path="bin/game.exe" md5="<32 lower-case hex digits>"/>...</items></root>
// Paths are UTF-8, relative to the game files folder, with '/' or '\' between components. Other
// elements and attributes are ignored; a missing attribute reads as empty text.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "workflow/tasks/install_context.h"

namespace qv::workflow {

// Path -> expected digest, ordered by the bytes of the path.
using FileList = std::map<std::string, std::string>;

// Fills `files` from the list at `path` (the file read as raw bytes): the first entry of a path
// wins. A missing or unparsable file gives an empty map. Returns the number of entries.
size_t ReadFileList(std::u16string_view path, FileList& files);

// Whether every listed program or library (an extension containing "exe" or "dll", matched with
// letter case, so "EXE" is not checked) in the game files folder of the record's game has its
// listed digest; false at the first that differs or cannot be read. Other entries are not looked
// at, so an empty or missing list passes. False when the game id is not a plain file-name
// component: there are no game files to check then.
bool VerifyPackageFiles(const InstallContext& context);

}  // namespace qv::workflow
