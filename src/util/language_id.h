// The language id of the interface language (for example "en-us"), as the web service receives
// it with the package query.
//
// Process-wide: empty until the start-up's language choice sets it, then read by the installing
// task. Thread-safe: set on the UI thread, read on worker threads.
#pragma once

#include <string>
#include <string_view>

namespace qv::util {

std::string CurrentLanguageId();
void SetCurrentLanguageId(std::string_view id);

}  // namespace qv::util
