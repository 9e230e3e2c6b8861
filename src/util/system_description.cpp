#include "util/system_description.h"

#include <optional>

#include "util/text_conversion.h"

namespace qv::util {
namespace {

constexpr std::u16string_view kOsFlagNames[kOsFlagCount] = {
    u"2000", u"2000Server", u"XP", u"2003", u"Vista", u"2008", u"Win7", u"Win8", u"Win10"};

std::u16string WithSuffix(std::u16string name, std::u16string_view suffix) {
  if (!suffix.empty()) name += u"_" + std::u16string(suffix);
  return name;
}

}  // namespace

int OsFlagOf(const platform::WindowsVersion& version) {
  constexpr uint32_t kPlatformNt = 2;
  constexpr uint8_t kProductServer = 3;
  if (version.platform_id != kPlatformNt) return 0;
  const bool server = version.extended && version.product_type == kProductServer;
  if (version.major == 5) {
    switch (version.minor) {
      case 0: return server ? 2 : 1;
      case 1: return 4;
      case 2: return 8;
      default: return 0;
    }
  }
  if (version.major == 6) {
    if (version.minor == 0) return server ? 32 : 16;
    if (version.minor == 1) return 64;
    return 256;
  }
  return 0;
}

int OsFlag() {
  const std::optional<platform::WindowsVersion> version = platform::RunningWindowsVersion();
  return version ? OsFlagOf(*version) : 0;
}

std::u16string OsName(int flags, std::u16string_view suffix) {
  std::u16string name;
  for (int bit = 0; bit < kOsFlagCount; ++bit) {
    if ((flags & (1 << bit)) == 0) continue;
    if (!name.empty()) name += u"/";
    name += kOsFlagNames[bit];
  }
  return WithSuffix(std::move(name), suffix);
}

std::u16string Bitness() { return platform::MachineBitness() == 64 ? u"64" : u"32"; }

std::u16string SystemDescription() {
  if (platform::RunningWindowsVersion()) return OsName(OsFlag(), Bitness());
  return WithSuffix(AnsiToWide(platform::OperatingSystemName()), Bitness());
}

}  // namespace qv::util
