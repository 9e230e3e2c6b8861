// The parts of the atomically replaced records (atomic_file.h) that every system shares: the
// names of the side files and the read-modify-write under the lock.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"
#include "platform/atomic_file_steps.h"
#include "platform/path_syntax.h"

namespace qv::platform {
namespace {

// The longest name every supported file system takes (bytes of UTF-8 here, UTF-16 units on
// Windows, which are never more).
constexpr size_t kMaxNameBytes = 255;
// A name that does not fit with its side-file prefix and suffix keeps this many leading bytes,
// followed by '~' and 16 hexadecimal digits of its hash.
constexpr size_t kShortenedNameBytes = 200;
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;
constexpr size_t kHashDigits = 16;

// FNV-1a, 64 bits: a stable hash that every build and every process computes alike.
uint64_t StableHash(std::string_view text) {
  uint64_t hash = kFnvOffsetBasis;
  for (const char c : text) {
    hash ^= static_cast<uint8_t>(c);
    hash *= kFnvPrime;
  }
  return hash;
}

std::string SidePath(const std::string& path, std::string_view suffix) {
  const size_t separator = path.find_last_of(kPathSeparators);
  const std::string folder =
      separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  if (1 + name.size() + suffix.size() > kMaxNameBytes) {
    char hash[kHashDigits + 1];
    std::snprintf(hash, sizeof(hash), "%016llx", static_cast<unsigned long long>(StableHash(name)));
    name = name.substr(0, kShortenedNameBytes) + "~" + hash;
  }
  return folder + "." + name + std::string(suffix);
}

}  // namespace

std::error_code ReadUpdateReplace(const std::string& path, const FileUpdate& update) {
  std::optional<std::string> current;
  std::string bytes;
  const std::error_code read_error = ReadWholeFile(path, bytes);
  if (!read_error) {
    current = std::move(bytes);
  } else if (read_error != std::errc::no_such_file_or_directory) {
    return read_error;
  }

  const std::optional<std::string> replacement = update(current);
  if (!replacement) return {};
  return ReplaceWithTempFile(path, *replacement);
}

std::string AtomicFileLockPath(const std::string& path) { return SidePath(path, kLockSuffix); }

std::string AtomicFileTempPath(const std::string& path) { return SidePath(path, kTempSuffix); }

}  // namespace qv::platform
