#include "statistics_log.h"

#include <fstream>
#include <stdexcept>

#include "line_text.h"

namespace qv::demo {

StatisticsLog::StatisticsLog(std::string path) : path_(std::move(path)) {
  std::ofstream file(path_, std::ios::app);
  if (!file) throw std::runtime_error("cannot open the statistics log " + path_);
}

bool StatisticsLog::Append(const std::string& body) {
  const std::string line = LineText(body) + '\n';
  std::lock_guard lock(mutex_);
  std::ofstream file(path_, std::ios::app | std::ios::binary);
  file << line;
  file.flush();
  return static_cast<bool>(file);
}

}  // namespace qv::demo
