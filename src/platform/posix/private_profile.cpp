#include "platform/private_profile.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/path_resolution.h"
#include "platform/private_profile_entry.h"
#include "platform/utf8_text.h"

namespace qv::platform {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char kCommentMark = ';';

// One line of the file as it is understood.
struct ProfileLine {
  enum class Kind { kOther, kSection, kKey };
  Kind kind = Kind::kOther;
  size_t begin = 0;        // offset of the line's first byte
  size_t content_end = 0;  // offset just before the line end ("\n" or "\r\n"), if any
  size_t end = 0;          // offset after the line end
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // kKey: the text after '=', trimmed
};

std::vector<ProfileLine> SplitLines(std::string_view text) {
  std::vector<ProfileLine> lines;
  size_t at = text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark
                  ? kUtf8ByteOrderMark.size()
                  : 0;
  while (at < text.size()) {
    ProfileLine line;
    line.begin = at;
    const size_t newline = text.find('\n', at);
    line.end = newline == std::string_view::npos ? text.size() : newline + 1;
    line.content_end = newline == std::string_view::npos ? text.size() : newline;
    if (line.content_end > line.begin && text[line.content_end - 1] == '\r') --line.content_end;
    const std::string_view content =
        TrimProfileBlanks(text.substr(line.begin, line.content_end - line.begin));
    at = line.end;
    if (content.empty() || content.front() == kCommentMark) {
      // kOther
    } else if (content.front() == '[') {
      const size_t close = content.find(']');
      if (close != std::string_view::npos) {
        line.kind = ProfileLine::Kind::kSection;
        line.name = TrimProfileBlanks(content.substr(1, close - 1));
      }
    } else if (const size_t equals = content.find('='); equals != std::string_view::npos) {
      line.kind = ProfileLine::Kind::kKey;
      line.name = TrimProfileBlanks(content.substr(0, equals));
      line.value = TrimProfileBlanks(content.substr(equals + 1));
    }
    lines.push_back(line);
  }
  return lines;
}

// Where a key is, or would go, in a file.
struct KeyPlace {
  std::optional<size_t> section;  // index of the section line
  std::optional<size_t> key;      // index of the key line
  size_t last_in_section = 0;     // index of the section's last non-blank line
};

KeyPlace FindKey(const std::vector<ProfileLine>& lines, std::string_view text,
                 std::string_view section, std::string_view key) {
  KeyPlace place;
  for (size_t i = 0; i < lines.size(); ++i) {
    const ProfileLine& line = lines[i];
    if (line.kind == ProfileLine::Kind::kSection) {
      if (place.section) break;  // the first matching section is the one used
      if (NamesMatchIgnoringCase(line.name, section)) {
        place.section = i;
        place.last_in_section = i;
      }
      continue;
    }
    if (!place.section) continue;
    if (!TrimProfileBlanks(text.substr(line.begin, line.content_end - line.begin)).empty()) {
      place.last_in_section = i;
    }
    if (line.kind == ProfileLine::Kind::kKey && NamesMatchIgnoringCase(line.name, key)) {
      place.key = i;
      break;
    }
  }
  return place;
}

std::string_view WithoutEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The key's value as read, or nullopt when the file, section or key is missing.
std::optional<std::string> ReadValue(std::string_view section, std::string_view key,
                                     const std::string& file) {
  std::string text;
  if (ReadWholeFile(file, text)) return std::nullopt;
  const std::vector<ProfileLine> lines = SplitLines(text);
  const KeyPlace place = FindKey(lines, text, TrimProfileBlanks(section), TrimProfileBlanks(key));
  if (!place.key) return std::nullopt;
  return std::string(WithoutEnclosingQuotes(lines[*place.key].value));
}

std::string ApplyWrite(const std::string& text, std::string_view section, std::string_view key,
                       const std::string& value) {
  const std::vector<ProfileLine> lines = SplitLines(text);
  const bool crlf = !lines.empty() && lines.front().content_end + 2 == lines.front().end;
  const std::string line_end = crlf ? "\r\n" : "\n";
  const KeyPlace place = FindKey(lines, text, section, key);

  if (place.key) {
    const ProfileLine& line = lines[*place.key];
    return text.substr(0, line.begin) + std::string(line.name) + "=" + value +
           text.substr(line.content_end);
  }
  const std::string key_line = std::string(key) + "=" + value + line_end;
  if (place.section) {
    const ProfileLine& last = lines[place.last_in_section];
    // Only a line feed ends a line: a last line that ends in a bare carriage return still needs
    // one, or the new key would join it and never be found.
    const bool has_line_end = text[last.end - 1] == '\n';
    return text.substr(0, last.end) + (has_line_end ? "" : line_end) + key_line +
           text.substr(last.end);
  }
  const bool needs_line_end = !text.empty() && text.back() != '\n';
  return text + (needs_line_end ? line_end : "") + "[" + std::string(section) + "]" + line_end +
         key_line;
}

}  // namespace

size_t GetPrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view default_value, std::string& out, size_t buffer_size,
                               const std::string& file) {
  const std::optional<std::string> value = ReadValue(section, key, file);
  std::string_view chosen = value ? std::string_view(*value) : default_value;
  if (!value) chosen = chosen.substr(0, chosen.find_last_not_of(' ') + 1);
  out = buffer_size == 0 ? std::string() : std::string(Utf16Prefix(chosen, buffer_size - 1));
  return Utf16Length(out);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         const std::string& file) {
  const std::optional<std::string> value = ReadValue(section, key, file);
  if (!value || value->empty()) return default_value;
  std::string_view digits = *value;
  bool negative = false;
  if (digits.front() == '-' || digits.front() == '+') {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  // The original also reads the C form of a hexadecimal number ("0x1F").
  const bool hexadecimal = digits.size() > 2 && digits[0] == '0' && (digits[1] | 0x20) == 'x';
  if (hexadecimal) digits.remove_prefix(2);
  const uint32_t base = hexadecimal ? 16 : 10;
  uint32_t number = 0;  // the original accumulates in 32 unsigned bits and wraps
  for (const char c : digits) {
    const char lower = static_cast<char>(c | 0x20);
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (hexadecimal && lower >= 'a' && lower <= 'f') {
      digit = static_cast<uint32_t>(lower - 'a' + 10);
    } else {
      break;
    }
    number = number * base + digit;
  }
  if (negative) number = 0u - number;
  return static_cast<int>(number);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& file) {
  const std::optional<ProfileEntry> entry = PrepareProfileEntry(section, key, value);
  if (!entry) return false;
  const std::error_code error = UpdateFileAtomically(
      file, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        const std::string text = current.value_or(std::string());
        std::string updated = ApplyWrite(text, entry->section, entry->key, entry->value);
        if (current && updated == text) return std::nullopt;  // already so: leave the file alone
        return updated;
      });
  return !error;
}

}  // namespace qv::platform
