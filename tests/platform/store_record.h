// The self-checking record that the killed-writer test writes: one line naming its generation,
// then a body whose every byte depends on that generation, to exactly the size asked. A mix of
// two generations or a cut record does not pass IsWholeStoreRecord.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace qv::test {

inline std::string StoreRecord(int generation, size_t size) {
  std::string record = "generation " + std::to_string(generation) + "\n";
  for (size_t i = record.size(); i < size; ++i) {
    record += static_cast<char>('a' + (static_cast<size_t>(generation) + i) % 26);
  }
  return record;
}

// The generation of a whole record of `size` bytes, or nullopt.
inline std::optional<int> WholeStoreRecordGeneration(std::string_view bytes, size_t size) {
  constexpr std::string_view kPrefix = "generation ";
  if (bytes.size() != size || bytes.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  const int generation = std::atoi(std::string(bytes.substr(kPrefix.size(), 12)).c_str());
  if (StoreRecord(generation, size) != bytes) return std::nullopt;
  return generation;
}

}  // namespace qv::test
