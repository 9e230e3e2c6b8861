// The English status keys the installing task reports; the progress window translates them, so
// the texts are part of the contract with the language tables.
#pragma once

#include <string_view>

namespace qv::workflow {

inline constexpr std::u16string_view kStatusDownloading = u"Downloading...";
inline constexpr std::u16string_view kStatusExtracting = u"Extracting...";
inline constexpr std::u16string_view kStatusInstalling = u"Installing...";
inline constexpr std::u16string_view kStatusFailed = u"Failed...";
inline constexpr std::u16string_view kStatusCompleted = u"Installation completed.";

}  // namespace qv::workflow
