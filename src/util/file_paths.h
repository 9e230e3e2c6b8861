// Path text: separators, parent folder, file name and extension. Pure functions on wide text.
//
// The separator is '/'; a '\' written the original platform's way is turned into '/' by
// NormalizeSeparators, which every operation that hands a path to the file system applies first.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

// Turns every '\' into '/' and collapses every run of '/' into one (so a leading "//" becomes
// "/" as well).
void NormalizeSeparators(std::u16string& path);

// The normalised path up to its last '/' (a path ending in '/' gives itself without it); empty
// when there is no '/'.
std::u16string GetParentFolder(std::u16string_view path);

// The text after the last '/' of the normalised path; the input unchanged when it has no '/';
// empty when it ends in '/'.
std::u16string GetFileNameOfPath(std::u16string_view path);

// The text after the last dot, without normalising; empty when there is no dot, the dot is the
// first character or the last, or a '/' or '\' follows it.
std::u16string GetExtension(std::u16string_view path);

// `folder` + '/' + `name`, without doubling a '/' that `folder` already ends in.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// The UTF-8 form of a normalised copy of `path`, as the platform layer takes it.
std::string ToPlatformPath(std::u16string_view path);

}  // namespace qv::util
