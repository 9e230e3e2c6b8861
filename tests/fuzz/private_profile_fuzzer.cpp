// The private-profile (ini) calls on a file made of the fuzzer's bytes: a read of one key with a
// chosen buffer size, then a write of that key.
//
// Beyond "no crash": a read copies a whole-character prefix of the value within the buffer; a
// refused write leaves the file as it was; an accepted write reads back as the value (cut at its
// first NUL, line breaks as blanks, without surrounding blanks and one pair of enclosing quotes)
// and changes nothing outside the one line of the key.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/private_profile.h"
#include "platform/utf8_text.h"
#include "temp_root_folder.h"

namespace {

constexpr size_t kWholeValueUnits = 1 << 20;
constexpr std::string_view kDefault = "default-value";

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What a read gives after `value` was written.
std::string ReadBack(std::string_view value) {
  std::string line(value.substr(0, value.find('\0')));
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::string_view read = TrimBlanks(line);
  if (read.size() >= 2 && (read.front() == '"' || read.front() == '\'') &&
      read.back() == read.front()) {
    read = read.substr(1, read.size() - 2);
  }
  return std::string(read);
}

// Whether `after` is `before` with the bytes of at most one line replaced.
bool ChangesOneLineAtMost(const std::string& before, const std::string& after) {
  size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string_view removed =
      std::string_view(before).substr(prefix, before.size() - prefix - suffix);
  return removed.find('\n') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qv::test::TempRoot root;
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(64);
  const std::string key = input.ConsumeRandomLengthString(64);
  const std::string value = input.ConsumeRandomLengthString(256);
  const size_t buffer_size = input.ConsumeIntegralInRange<size_t>(0, 300);
  const std::string before = input.ConsumeRemainingBytesAsString();
  const std::string file = root.WriteFile("profile.ini", before);

  std::string whole;
  qv::platform::GetPrivateProfileString(section, key, kDefault, whole, kWholeValueUnits, file);
  std::string cut;
  const size_t units =
      qv::platform::GetPrivateProfileString(section, key, kDefault, cut, buffer_size, file);
  QV_FUZZ_CHECK(units == qv::platform::Utf16Length(cut));
  QV_FUZZ_CHECK(buffer_size == 0 ? cut.empty() : units <= buffer_size - 1);
  QV_FUZZ_CHECK(cut == qv::platform::Utf16Prefix(whole, buffer_size == 0 ? 0 : buffer_size - 1));
  qv::platform::GetPrivateProfileInt(section, key, -1, file);

  const bool written = qv::platform::WritePrivateProfileString(section, key, value, file);
  const std::optional<std::string> after = qv::test::ReadFileBytes(file);
  QV_FUZZ_CHECK(after.has_value());
  if (!written) {
    QV_FUZZ_CHECK(*after == before);
    return 0;
  }
  QV_FUZZ_CHECK(ChangesOneLineAtMost(before, *after));
  std::string read;
  qv::platform::GetPrivateProfileString(section, key, kDefault, read, kWholeValueUnits, file);
  QV_FUZZ_CHECK(read == ReadBack(value));
  return 0;
}
