// The progress window's status fields: the status key shown, the state code and the percentage
// the bar shows. The bar stays at most at kProgressCap until the run reports completion, so it
// never shows a full bar for a run that can still fail.
//
// Not thread-safe by itself: the progress window owns one and guards it with its lock (written by
// the installing worker through UpdateStatus, read by the UI thread when it paints).
#pragma once

#include <string>
#include <string_view>

namespace qv::controller {

inline constexpr std::u16string_view kStatusCompleted = u"Installation completed.";
inline constexpr int kProgressCap = 98;
inline constexpr int kProgressFull = 100;

struct ProgressStatus {
  std::u16string key;
  int state_code = 0;
  int percent = 0;        // as shown
  int last_reported = 0;  // as last given, to tell a new percentage from a repeated one

  // Takes a report: the key when it changed, the state code, and the percentage capped at
  // kProgressCap (kProgressFull for the completion key) when it differs from the last one given.
  void Update(std::u16string_view new_key, int new_state_code, int new_percent);
};

}  // namespace qv::controller
