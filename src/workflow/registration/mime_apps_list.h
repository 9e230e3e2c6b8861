// Changes to a mimeapps.list file (the Shared MIME database's association file): the default
// application of one MIME type, set or taken back, with every other line kept as it was.
// Pure functions on the file's text; any thread.
#pragma once

#include <string>
#include <string_view>

namespace qv::workflow {

inline constexpr std::string_view kDefaultApplicationsGroup = "[Default Applications]";

// `text` with `mime_type`'s default in "[Default Applications]" set to `desktop_id` alone: the
// first line of that key in the group is replaced, later lines of the same key are dropped, a
// missing key is added at the end of the group and a missing group at the end of the file.
// Every other line stays byte for byte, line ends included.
std::string SetDefaultApplication(std::string_view text, std::string_view mime_type,
                                  std::string_view desktop_id);

// `text` with `desktop_id` taken out of `mime_type`'s default in "[Default Applications]"; the
// line goes when nothing else is named on it. Every other line stays byte for byte.
std::string RemoveDefaultApplication(std::string_view text, std::string_view mime_type,
                                     std::string_view desktop_id);

}  // namespace qv::workflow
