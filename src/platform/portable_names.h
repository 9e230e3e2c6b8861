// Names that mean one plain entry on every system the program runs on: the guards that keep a
// path inside its folder (tree removal here; archive entries, game ids and legacy folders above)
// accept a component only when Windows, too, would take it as a plain name in that folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// False for an empty name, "." and "..", a name holding a separator ('/' or '\'), a colon (a
// drive, "C:relative", or an alternate data stream), a character Windows forbids in names
// (< > " | ? * and U+0000 to U+001F), a name ending in a dot or a blank (Windows drops them,
// so "a." names "a"), and the device names CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9, in any
// letter case, with or without an extension or trailing blanks before it ("nul.txt", "COM1 .x").
bool IsPlainComponent(std::string_view name);

// Whether the target system takes `name` as one plain entry of its folder: on Windows
// IsPlainComponent; on Linux any name but "", "." and "..", without '/' or NUL (the other names
// are ordinary there, and the guards keep accepting them).
bool IsPlainComponentOnThisSystem(std::string_view name);

// The components of a relative path (split at the system's separators, kPathSeparators), or an
// empty list when one of them is no plain component on this system (an empty one included).
std::vector<std::string> PlainComponents(std::string_view relative);

}  // namespace qv::platform
