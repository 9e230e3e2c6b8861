#include "platform/registry_file_format.h"

#include <cstdio>
#include <optional>

#include "platform/path_resolution.h"

namespace qv::platform {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr size_t kMaxDwordDigits = 8;
constexpr char kCommentMark = ';';
constexpr char kDefaultValueMark = '@';

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '\\': quoted += "\\\\"; break;
      case '"': quoted += "\\\""; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      default: quoted += c;
    }
  }
  return quoted + '"';
}

// Reads a quoted text starting at line[at] == '"'; moves `at` past the closing quote.
std::optional<std::string> Unquote(std::string_view line, size_t& at) {
  if (at >= line.size() || line[at] != '"') return std::nullopt;
  std::string text;
  for (++at; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') {
      ++at;
      return text;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++at == line.size()) return std::nullopt;
    switch (line[at]) {
      case '\\': text += '\\'; break;
      case '"': text += '"'; break;
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      default: return std::nullopt;
    }
  }
  return std::nullopt;  // no closing quote
}

std::optional<uint32_t> ParseDword(std::string_view digits) {
  if (digits.empty() || digits.size() > kMaxDwordDigits) return std::nullopt;
  uint32_t value = 0;
  for (const char c : digits) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return value;
}

std::optional<RegistryValueData> ParseValueLine(std::string_view line) {
  RegistryValueData value;
  size_t at = 0;
  if (line[0] == kDefaultValueMark) {
    at = 1;
  } else {
    std::optional<std::string> name = Unquote(line, at);
    if (!name) return std::nullopt;
    value.name = std::move(*name);
  }
  if (at >= line.size() || line[at] != '=') return std::nullopt;
  ++at;
  if (at < line.size() && line[at] == '"') {
    std::optional<std::string> text = Unquote(line, at);
    if (!text || at != line.size()) return std::nullopt;
    value.type = RegistryValueType::kString;
    value.text = std::move(*text);
    return value;
  }
  const std::string_view rest = line.substr(at);
  if (!NamesMatchIgnoringCase(rest.substr(0, kDwordPrefix.size()), kDwordPrefix)) {
    return std::nullopt;
  }
  const std::optional<uint32_t> number = ParseDword(rest.substr(kDwordPrefix.size()));
  if (!number) return std::nullopt;
  value.type = RegistryValueType::kDword;
  value.number = *number;
  return value;
}

// The key path below the root from "[ROOT]" or "[ROOT\path]"; nullopt for another root or an
// empty key name.
std::optional<std::string> ParseSectionLine(std::string_view line, std::string_view root_name) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  const std::string_view full = line.substr(1, line.size() - 2);
  const size_t separator = full.find('\\');
  const std::string_view root = full.substr(0, separator);
  if (!NamesMatchIgnoringCase(root, root_name)) return std::nullopt;
  if (separator == std::string_view::npos) return std::string();
  const std::string_view path = full.substr(separator + 1);
  if (path.empty() || path.front() == '\\' || path.back() == '\\' ||
      path.find("\\\\") != std::string_view::npos) {
    return std::nullopt;
  }
  return std::string(path);
}

}  // namespace

bool ParseRegistryFile(std::string_view text, std::string_view root_name, RegistryHive& out) {
  out = RegistryHive();
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  bool header_seen = false;
  RegistryKeyData* key = nullptr;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == kCommentMark) continue;
    if (!header_seen) {
      if (line != kRegistryFileHeader) return false;
      header_seen = true;
      continue;
    }
    if (line.front() == '[') {
      const std::optional<std::string> path = ParseSectionLine(line, root_name);
      if (!path) return false;
      key = &out.EnsureKey(*path);
      continue;
    }
    const std::optional<RegistryValueData> value = ParseValueLine(line);
    if (!value || !key) return false;
    key->SetValue(*value);
  }
  return true;
}

std::string SerializeRegistryFile(const RegistryHive& hive, std::string_view root_name) {
  std::string text = std::string(kRegistryFileHeader) + "\n\n";
  for (const RegistryKeyData& key : hive.keys()) {
    if (key.path.empty() && key.values.empty()) continue;  // the root exists without a section
    text += "[" + std::string(root_name) + (key.path.empty() ? "" : "\\") + key.path + "]\n";
    for (const RegistryValueData& value : key.values) {
      text += value.name.empty() ? std::string(1, kDefaultValueMark) : Quote(value.name);
      text += '=';
      if (value.type == RegistryValueType::kDword) {
        char digits[kMaxDwordDigits + 1];
        std::snprintf(digits, sizeof(digits), "%08x", value.number);
        text += std::string(kDwordPrefix) + digits;
      } else {
        text += Quote(value.text);
      }
      text += '\n';
    }
    text += '\n';
  }
  return text;
}

}  // namespace qv::platform
