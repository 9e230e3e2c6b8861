// Whether a text from the package answer may become one component of a path.
//
// The game id names a folder below the data folder and part of a file name in the download
// folder. An id such as "..", "a/b" or one holding a line break would lead those writes out of
// the folders they belong in (or into names no tool can show), so the steps that would build a
// path from such an id are skipped.
#pragma once

#include <string_view>

namespace qv::workflow {

// True for a non-empty name that is neither "." nor "..", and holds no '/', no '\' and no
// control character (C0, DEL or C1); on Windows also only a name that is a plain entry there
// (platform::IsPlainComponent: no device name, stream, trailing dot or blank).
bool IsPlainFileNameComponent(std::u16string_view name);

}  // namespace qv::workflow
