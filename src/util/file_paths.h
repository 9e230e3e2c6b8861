// Path text: separators, parent folder, file name and extension. Pure functions on wide text.
//
// Paths are written with the system's separator (kSeparator: '/' on Linux, '\' on Windows). The
// fixed sub-paths of the program are written with '/' in the source and take the system's
// separator through SystemPath; a path written the other system's way is turned into the
// system's by NormalizeSeparators, which every operation that hands a path to the file system
// applies first.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

// The separator the system writes (platform/path_syntax.h).
char16_t SystemSeparator();

// Turns every '\' and '/' into the system's separator and collapses every run of separators
// into one (so a leading "//" becomes one separator as well).
void NormalizeSeparators(std::u16string& path);

// A fixed sub-path written with '/' ("Qvorvane/app/"), with the system's separator instead.
std::u16string SystemPath(std::u16string_view fixed);

// `folder` with a separator at its end: the system's, added when it ends in none the system takes
// (on Windows a final '/' is kept as it is).
std::u16string AsFolderPath(std::u16string_view folder);

// The normalised path up to its last separator (a path ending in one gives itself without it);
// empty when there is no separator.
std::u16string GetParentFolder(std::u16string_view path);

// The text after the last separator of the normalised path; the input unchanged when it has
// none; empty when it ends in one.
std::u16string GetFileNameOfPath(std::u16string_view path);

// The text after the last dot, without normalising; empty when there is no dot, the dot is the
// first character or the last, or a '/' or '\' follows it.
std::u16string GetExtension(std::u16string_view path);

// `folder` + the separator + `name`, without doubling a separator `folder` already ends in
// (AsFolderPath).
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// The UTF-8 form of a normalised copy of `path`, as the platform layer takes it.
std::string ToPlatformPath(std::u16string_view path);

}  // namespace qv::util
