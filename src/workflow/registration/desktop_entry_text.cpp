#include "workflow/registration/desktop_entry_text.h"

namespace qv::workflow {
namespace {

// The characters that make an Exec argument need quotes.
constexpr std::string_view kReservedExecCharacters = " \t\n\"'\\><~|&;$*?#()`";
// Inside quotes these are preceded by a backslash.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

void AppendList(std::string& text, std::string_view key, const std::vector<std::string>& items) {
  if (items.empty()) return;
  text.append(key).append("=");
  for (const auto& item : items) text.append(EscapeDesktopValue(item)).append(";");
  text.append("\n");
}

void AppendValue(std::string& text, std::string_view key, std::string_view value) {
  if (value.empty()) return;
  text.append(key).append("=").append(EscapeDesktopValue(value)).append("\n");
}

}  // namespace

std::string QuoteExecArgument(std::string_view argument) {
  const bool quoted =
      argument.empty() || argument.find_first_of(kReservedExecCharacters) != std::string_view::npos;
  std::string out;
  if (quoted) out.push_back('"');
  for (const char c : argument) {
    if (c == '%') {
      out.append("%%");
      continue;
    }
    if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) out.push_back('\\');
    out.push_back(c);
  }
  if (quoted) out.push_back('"');
  return out;
}

std::string EscapeDesktopValue(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\': out.append("\\\\"); break;
      case '\n': out.append("\\n"); break;
      case '\t': out.append("\\t"); break;
      case '\r': out.append("\\r"); break;
      case ' ': out.append(i == 0 ? "\\s" : " "); break;
      default: out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c);
    }
  }
  return out;
}

std::string ExecValue(const std::vector<std::string>& command, std::string_view field_code) {
  std::string line;
  for (const auto& argument : command) {
    if (!line.empty()) line.push_back(' ');
    line.append(QuoteExecArgument(argument));
  }
  if (!field_code.empty()) line.append(" ").append(field_code);
  return EscapeDesktopValue(line);
}

std::string DesktopEntryText(const DesktopEntry& entry) {
  std::string text = "[Desktop Entry]\nType=Application\nVersion=";
  text.append(kDesktopEntryVersion).append("\n");
  AppendValue(text, "Name", entry.name);
  for (const auto& [locale, name] : entry.localized_names) {
    AppendValue(text, "Name[" + locale + "]", name);
  }
  AppendValue(text, "Comment", entry.comment);
  text.append("Exec=").append(ExecValue(entry.command, entry.field_code)).append("\n");
  AppendValue(text, "Path", entry.working_folder);
  AppendValue(text, "Icon", entry.icon);
  AppendList(text, "Categories", entry.categories);
  AppendList(text, "MimeType", entry.mime_types);
  if (entry.startup_notify) text.append("StartupNotify=true\n");
  if (entry.no_display) text.append("NoDisplay=true\n");
  for (const auto& [key, value] : entry.extension_keys) AppendValue(text, key, value);
  std::vector<std::string> action_ids;
  for (const auto& action : entry.actions) action_ids.push_back(action.id);
  AppendList(text, "Actions", action_ids);
  for (const auto& action : entry.actions) {
    text.append("\n[Desktop Action ").append(action.id).append("]\n");
    AppendValue(text, "Name", action.name);
    text.append("Exec=").append(ExecValue(action.command)).append("\n");
  }
  return text;
}

}  // namespace qv::workflow
