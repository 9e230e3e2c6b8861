#include "controller/progress_status.h"

#include <algorithm>

namespace qv::controller {

void ProgressStatus::Update(std::u16string_view new_key, int new_state_code, int new_percent) {
  if (key != new_key) key = new_key;
  state_code = new_state_code;
  if (new_percent != last_reported) {
    last_reported = new_percent;
    const int cap = new_key == kStatusCompleted ? kProgressFull : kProgressCap;
    percent = std::min(new_percent, cap);
  }
}

}  // namespace qv::controller
