#include "util/system_description.h"

#include "platform/system_info.h"
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

int OsFlag() { return 0; }

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
  return WithSuffix(AnsiToWide(platform::OperatingSystemName()), Bitness());
}

}  // namespace qv::util
