// File names that match without regard to letter case, as the installer's logic expects.
//
// The installer names one file in several spellings ("QVorvane.exe", "qvorvane.exe"). Windows
// file systems match names so themselves (there both resolutions give the path as it is); on
// Linux every file operation resolves its path here first: the exact path when it
// exists; otherwise, component by component, a missing component is replaced by the entry of its
// folder whose name matches it without regard to case. Paths are UTF-8 (bytes that are not UTF-8
// compare exactly). Thread-safe: nothing is cached.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::platform {

// True when the two names are equal after simple upper-casing of every character (Unicode case
// mapping of the C.UTF-8 locale, fixed; not the process locale).
bool NamesMatchIgnoringCase(std::string_view a, std::string_view b);

// The spelling on disk of an existing entry named by `path`, or nullopt when some component has
// no match. The last component is not followed if it is a symbolic link. Runs of '/' are kept as
// one; a trailing '/' is kept.
std::optional<std::string> ResolveExistingPath(const std::string& path);

// The path at which a new entry named `path` (and the folders missing on its way) is to be made:
// every component that exists in some spelling takes that entry's spelling, at every level;
// from the first component that has no match on, the rest stays as given. So an installation
// that finds "QVORVANE/" goes on inside it instead of starting a "Qvorvane/" beside it.
std::string ResolvePathForCreation(const std::string& path);

}  // namespace qv::platform
