// Listing the files and sub-folders of a folder tree with wildcard patterns ("*", "*.*", "*.ini").
//
// Entries are listed as folder + '/' + name in the spelling given for the folder. A symbolic link
// is never taken for a folder (it is listed as a file, and never walked into), so a walk stays
// inside the tree it was given. Thread-safe; each call works on its own lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::util {

// Replaces `out` with the entries of `folder` matching `pattern` that are not folders. True when
// any was found.
bool ListFiles(std::u16string_view folder, std::u16string_view pattern,
               std::vector<std::u16string>& out);

// Appends every folder below `root` whose name matches `pattern`, breadth first (a parent always
// before its children). A folder that cannot be read is passed over. True when `out` is not
// empty afterwards.
bool ListSubfolders(std::u16string_view root, std::u16string_view pattern,
                    std::vector<std::u16string>& out);

// Replaces `out` with the files matching `file_pattern` in the folders below `root` matching
// `folder_pattern` (in ListSubfolders order), then those of `root` itself. True when any.
bool ListFilesRecursive(std::u16string_view root, std::vector<std::u16string>& out,
                        std::u16string_view folder_pattern, std::u16string_view file_pattern);

}  // namespace qv::util
