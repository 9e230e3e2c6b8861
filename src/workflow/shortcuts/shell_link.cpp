#include "workflow/shortcuts/shell_link.h"

#include <array>
#include <limits>

#include "platform/atomic_file.h"
#include "platform/executable_path.h"
#include "platform/shell_link.h"
#include "util/file_name_rules.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"
#include "workflow/shortcuts/little_endian.h"

namespace qv::workflow {
namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// The shell-link class id 00021401-0000-0000-C000-000000000046 in its stored byte order.
constexpr std::array<uint8_t, 16> kShellLinkClassId = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Link flags.
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasName = 0x04;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kHasIconLocation = 0x40;
constexpr uint32_t kIsUnicode = 0x80;

// LinkInfo with the optional UTF-16 offsets, so that a path outside ASCII survives whole.
constexpr uint32_t kLinkInfoHeaderSizeWithUnicode = 0x24;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kVolumeIdHeaderSize = 0x10;
constexpr uint32_t kDriveFixed = 3;

constexpr std::u16string_view kLinkExtension = u"lnk";

void AppendWideNul(std::string& out, std::u16string_view text) {
  for (char16_t c : text) AppendU16(out, c);
  AppendU16(out, 0);
}

void AppendNarrowNul(std::string& out, std::string_view text) {
  out.append(text);
  AppendU8(out, 0);
}

// The LinkInfo block: a fixed local volume with an empty label and the target as local base
// path, with an empty common path suffix.
std::string LinkInfo(const std::u16string& target) {
  std::string volume;
  AppendU32(volume, 0);  // size, set below
  AppendU32(volume, kDriveFixed);
  AppendU32(volume, 0);  // serial number
  AppendU32(volume, kVolumeIdHeaderSize);
  AppendNarrowNul(volume, "");
  PutU32(volume, 0, static_cast<uint32_t>(volume.size()));

  std::string base_ansi;
  AppendNarrowNul(base_ansi, util::WideToAnsi(target));
  std::string base_wide;
  AppendWideNul(base_wide, target);

  const uint32_t volume_offset = kLinkInfoHeaderSizeWithUnicode;
  const uint32_t base_offset = volume_offset + static_cast<uint32_t>(volume.size());
  const uint32_t suffix_offset = base_offset + static_cast<uint32_t>(base_ansi.size());
  const uint32_t base_wide_offset = suffix_offset + 1;
  const uint32_t suffix_wide_offset = base_wide_offset + static_cast<uint32_t>(base_wide.size());
  const uint32_t total = suffix_wide_offset + 2;

  std::string info;
  AppendU32(info, total);
  AppendU32(info, kLinkInfoHeaderSizeWithUnicode);
  AppendU32(info, kVolumeIdAndLocalBasePath);
  AppendU32(info, volume_offset);
  AppendU32(info, base_offset);
  AppendU32(info, 0);  // no network location
  AppendU32(info, suffix_offset);
  AppendU32(info, base_wide_offset);
  AppendU32(info, suffix_wide_offset);
  info += volume;
  info += base_ansi;
  AppendNarrowNul(info, "");
  info += base_wide;
  AppendWideNul(info, u"");
  return info;
}

bool HasText(const std::optional<std::u16string>& text) { return text && !text->empty(); }

// The shortcut file's name: the given one, or the target's name with its last three characters
// replaced by "lnk". Empty when there is none.
std::u16string LinkFileName(const ShellLinkDescription& description, const std::u16string& target) {
  if (description.link_name) return *description.link_name;
  const size_t separator = target.find_last_of(u"/\\");
  if (separator == std::u16string::npos) return {};
  std::u16string name = target.substr(separator + 1);
  if (name.size() < kLinkExtension.size()) return {};
  name.replace(name.size() - kLinkExtension.size(), kLinkExtension.size(), kLinkExtension);
  return name;
}

}  // namespace

std::optional<std::string> SerializeShellLink(const ShellLinkDescription& description,
                                              const std::u16string& target) {
  // StringData in the order the format fixes.
  const std::array<std::pair<const std::optional<std::u16string>*, uint32_t>, 4> strings = {{
      {&description.description, kHasName},
      {&description.working_directory, kHasWorkingDir},
      {&description.arguments, kHasArguments},
      {&description.icon, kHasIconLocation},
  }};

  uint32_t flags = kHasLinkInfo | kIsUnicode;
  std::string string_data;
  for (const auto& [text, flag] : strings) {
    if (!HasText(*text)) continue;
    if ((*text)->size() > std::numeric_limits<uint16_t>::max()) return std::nullopt;
    flags |= flag;
    AppendU16(string_data, static_cast<uint16_t>((*text)->size()));
    for (char16_t c : **text) AppendU16(string_data, c);
  }

  std::string out;
  AppendU32(out, kHeaderSize);
  for (uint8_t b : kShellLinkClassId) AppendU8(out, b);
  AppendU32(out, flags);
  // Target attributes, times and size stay zero: the format allows it, and the target need not
  // exist yet when its shortcut is made.
  AppendU32(out, 0);
  out.append(3 * 8, '\0');
  AppendU32(out, 0);
  AppendU32(out, 0);  // icon index
  AppendU32(out, static_cast<uint32_t>(description.show_command));
  AppendU16(out, 0);            // hot key
  out.append(2 + 4 + 4, '\0');  // reserved

  out += LinkInfo(target);
  out += string_data;
  AppendU32(out, 0);  // terminal block: no extra data
  return out;
}

bool CreateShellLink(const ShellLinkDescription& description) {
  // An empty folder would put the file wherever the process happens to run.
  if (!description.folder || description.folder->empty()) return false;
  const std::u16string target =
      description.target ? *description.target : util::Utf8ToWide(platform::ExecutablePath());
  const std::u16string name = LinkFileName(description, target);
  if (name.empty() || util::HasForbiddenFileNameCharacter(name)) return false;
  const std::string path = util::ToPlatformPath(*description.folder + name);
  // Where the system has a shell-link object, it writes the file; elsewhere we do.
  const platform::ShellLinkFields fields{target,
                                         description.arguments,
                                         description.icon,
                                         description.working_directory,
                                         description.description,
                                         description.show_command};
  if (const std::optional<bool> saved = platform::SaveShellLinkThroughSystem(path, fields)) {
    return *saved;
  }
  const std::optional<std::string> bytes = SerializeShellLink(description, target);
  if (!bytes) return false;
  return !platform::WriteFileAtomically(path, *bytes);
}

}  // namespace qv::workflow
