// The self-checking record that the killed-writer test writes: one line naming its generation,
// then a body of one letter chosen by the generation, to exactly the size asked. A cut record or
// a mix of two generations is not whole. Cheap to make, so that a writer spends its time in the
// write itself, where a kill must find it.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace qv::test {

inline std::string StoreRecord(int generation, size_t size) {
  std::string record = "generation " + std::to_string(generation) + "\n";
  record.resize(size, static_cast<char>('a' + generation % 26));
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
