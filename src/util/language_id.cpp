#include "util/language_id.h"

#include <mutex>

namespace qv::util {
namespace {

std::mutex& LanguageIdLock() {
  static std::mutex lock;
  return lock;
}

std::string& LanguageIdValue() {
  static std::string value;
  return value;
}

}  // namespace

std::string CurrentLanguageId() {
  std::lock_guard<std::mutex> guard(LanguageIdLock());
  return LanguageIdValue();
}

void SetCurrentLanguageId(std::string_view id) {
  std::lock_guard<std::mutex> guard(LanguageIdLock());
  LanguageIdValue().assign(id);
}

}  // namespace qv::util
