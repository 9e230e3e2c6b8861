#include "workflow/registration/mime_apps_list.h"

#include <functional>
#include <optional>
#include <vector>

namespace qv::workflow {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const size_t begin = text.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

// The line without its end ("\n" or "\r\n").
std::string_view Content(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const size_t length = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return lines;
}

bool IsGroupHeader(std::string_view line) {
  const std::string_view content = Trimmed(Content(line));
  return !content.empty() && content.front() == '[';
}

// The key of a "key=value" line, or nullopt for blank lines and comments.
std::optional<std::string_view> KeyOf(std::string_view line) {
  const std::string_view content = Content(line);
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos || Trimmed(content).starts_with('#')) return std::nullopt;
  return Trimmed(content.substr(0, equals));
}

// Goes through the lines of the default-applications group that set `mime_type`: `edit` returns
// the line to keep in its place (or nullopt to drop it), given the line and whether it is the
// first such line. Returns the text and whether the group and a line of the key were found.
struct Edited {
  std::string text;
  bool group_found = false;
  bool key_found = false;
  size_t group_end = std::string::npos;  // offset in `text` after the group's last key line
};

using LineEdit = std::function<std::optional<std::string>(std::string_view line, bool first)>;

Edited EditKeyLines(std::string_view text, std::string_view mime_type, const LineEdit& edit) {
  Edited result;
  bool in_group = false;
  for (const std::string_view line : SplitLines(text)) {
    if (IsGroupHeader(line)) {
      in_group = Trimmed(Content(line)) == kDefaultApplicationsGroup;
      result.text.append(line);
      if (in_group && !result.group_found) {
        result.group_found = true;
        result.group_end = result.text.size();
      }
      continue;
    }
    const auto key = KeyOf(line);
    if (in_group && key && *key == mime_type) {
      const auto kept = edit(line, !result.key_found);
      result.key_found = true;
      if (kept) result.text.append(*kept);
    } else {
      result.text.append(line);
    }
    if (in_group && key && result.group_end != std::string::npos &&
        result.text.size() > result.group_end) {
      result.group_end = result.text.size();
    }
  }
  return result;
}

// The line end a new line takes: the file's own ("\r\n" when its first line has one).
std::string_view LineEnd(std::string_view text) {
  const size_t end = text.find('\n');
  return end != std::string_view::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}

}  // namespace

std::string SetDefaultApplication(std::string_view text, std::string_view mime_type,
                                  std::string_view desktop_id) {
  const std::string_view eol = LineEnd(text);
  const std::string line = std::string(mime_type) + "=" + std::string(desktop_id) + ";";
  Edited edited = EditKeyLines(text, mime_type, [&](std::string_view old_line, bool first)
                                                    -> std::optional<std::string> {
    if (!first) return std::nullopt;
    const bool has_end = !old_line.empty() && old_line.back() == '\n';
    return line + std::string(has_end ? eol : "");
  });
  if (edited.key_found) return edited.text;
  std::string& out = edited.text;
  if (edited.group_found) {
    // After the group's last key line; a last line without its end gets one first.
    std::string insert = line + std::string(eol);
    if (edited.group_end > 0 && out[edited.group_end - 1] != '\n') insert.insert(0, eol);
    out.insert(edited.group_end, insert);
    return out;
  }
  if (!out.empty() && out.back() != '\n') out.append(eol);
  if (!out.empty()) out.append(eol);
  out.append(kDefaultApplicationsGroup).append(eol).append(line).append(eol);
  return out;
}

std::string RemoveDefaultApplication(std::string_view text, std::string_view mime_type,
                                     std::string_view desktop_id) {
  return EditKeyLines(text, mime_type, [&](std::string_view old_line, bool)
                                           -> std::optional<std::string> {
           const std::string_view content = Content(old_line);
           const std::string_view ending = old_line.substr(content.size());
           const size_t equals = content.find('=');
           std::string kept;
           bool ours = false;
           std::string_view ids = content.substr(equals + 1);
           while (!ids.empty()) {
             const size_t end = ids.find(';');
             const std::string_view id = ids.substr(0, end);
             if (Trimmed(id) == desktop_id) {
               ours = true;
             } else if (!Trimmed(id).empty()) {
               kept.append(id).append(";");
             }
             if (end == std::string_view::npos) break;
             ids.remove_prefix(end + 1);
           }
           if (!ours) return std::string(old_line);
           if (kept.empty()) return std::nullopt;
           return std::string(content.substr(0, equals + 1)) + kept + std::string(ending);
         })
      .text;
}

}  // namespace qv::workflow
