// Emptying a folder tree: its files, then its empty sub-folders.
//
// Both stay inside `root`: every removal walks down from `root` without following symbolic links
// (platform/tree_removal.h), so a link in the tree is removed itself and what it points to is
// never touched. Failures are passed over. Thread-safe.
#pragma once

#include <string_view>

namespace qv::util {

// Deletes every file below `root` (all folders, "*.*" files); the folders stay.
void DeleteFilesRecursive(std::u16string_view root);

// Removes the sub-folders of `root` that are empty, children before parents; a folder that still
// holds something stays, and `root` itself always stays.
void RemoveSubfolders(std::u16string_view root);

}  // namespace qv::util
