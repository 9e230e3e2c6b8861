// In-place edits of wide text shared by the path and record code.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

// Replaces every occurrence of `pattern` in `text`, left to right. The search resumes just after
// each inserted replacement, so replacements are never searched again: with pattern "aa" and
// replacement "a", "aaa" becomes "aa" in one call. An empty pattern changes nothing.
void ReplaceAll(std::u16string_view pattern, std::u16string& text, std::u16string_view replacement);

// Removes the white space (IsWideSpace) at the start or at the end of `text`.
void TrimLeft(std::u16string& text);
void TrimRight(std::u16string& text);

// The wide white-space test of the original runtime: the Unicode White_Space characters
// (tab to carriage return, blank, U+0085, no-break space, the typographic spaces, the line and
// paragraph separators and the ideographic space). Independent of the process locale.
bool IsWideSpace(char16_t unit);

}  // namespace qv::util
