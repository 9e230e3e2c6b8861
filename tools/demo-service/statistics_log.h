// The statistics service's record: every report body the installer posts, one line each, in the
// order they arrived. A body's own line breaks and backslashes are escaped (line_text.h), so one
// report never spans two lines.
//
// Thread model: one object for the service's life; Append is called from the server's worker
// threads and serialised by the object's mutex.
#pragma once

#include <mutex>
#include <string>

namespace qv::demo {

class StatisticsLog {
 public:
  // The file is created (empty) when missing, kept and appended to when it exists. Throws
  // std::runtime_error when it cannot be opened.
  explicit StatisticsLog(std::string path);

  // Appends the body as one line and flushes it; false when the write failed.
  bool Append(const std::string& body);

 private:
  const std::string path_;
  std::mutex mutex_;  // serialises the appends
};

}  // namespace qv::demo
