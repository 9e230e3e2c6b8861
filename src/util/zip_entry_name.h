// Turning a name stored in a zip archive into a path below the extraction folder.
//
// An archive is untrusted input: a stored name must never reach a file outside the folder it is
// unpacked into. Both "/" and "\" separate components (archives made on either system use
// either), and the result uses the system's separator (platform::kPathSeparator).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::util {

// The stored name as a relative path with the system's separators, or nullopt when it is unsafe:
// empty, absolute ("/x", "\x", "//server/x"), starting with a drive prefix ("C:x", "c:\x"),
// holding a ".." component anywhere, or holding a NUL byte; on Windows also a component that is
// no plain entry there (platform::IsPlainComponent: a device name, a stream, a trailing dot or
// blank). A trailing separator is kept (folder entries, and entries that merely look like
// folders, keep their shape).
std::optional<std::string> SafeEntryPath(std::string_view stored_name);

// `folder` and `relative` joined with one separator (none added when `folder` already ends in
// one).
std::string JoinEntryTarget(std::string_view folder, std::string_view relative);

}  // namespace qv::util
