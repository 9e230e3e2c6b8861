#include "platform/system_info.h"

#include <dirent.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

#include "platform/posix/os_handles.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#else
#include <sys/auxv.h>
#endif

namespace qv::platform {
namespace {

constexpr unsigned kCpuidSignatureLeaf = 1;
constexpr long kEthernetInterfaceType = 1;    // ARPHRD_ETHER
constexpr size_t kMacAddressTextLength = 17;  // "aa:bb:cc:dd:ee:ff"

// The first line of a small sysfs file, or empty.
std::string ReadFirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::optional<long> ReadNumber(const std::string& path) {
  const std::string text = ReadFirstLine(path);
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || (*end != '\0' && *end != '\n')) return std::nullopt;
  return value;
}

std::optional<MacAddress> ParseMacAddress(std::string_view text) {
  if (text.size() != kMacAddressTextLength) return std::nullopt;
  MacAddress address{};
  for (size_t i = 0; i < address.size(); ++i) {
    const std::string_view part = text.substr(i * 3, 2);
    if (i + 1 < address.size() && text[i * 3 + 2] != ':') return std::nullopt;
    unsigned value = 0;
    for (const char c : part) {
      const int digit = (c >= '0' && c <= '9')   ? c - '0'
                        : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                        : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    address[i] = static_cast<uint8_t>(value);
  }
  return address;
}

}  // namespace

std::string CpuSignature() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(kCpuidSignatureLeaf, &eax, &ebx, &ecx, &edx) == 0) eax = ebx = ecx = edx = 0;
  return FormatCpuRegisters(edx, eax);
#else
  return FormatCpuRegisters(static_cast<uint32_t>(getauxval(AT_HWCAP)),
                         static_cast<uint32_t>(getauxval(AT_HWCAP2)));
#endif
}

std::optional<MacAddress> FirstEthernetAddress(const std::string& net_class_folder) {
  DirHandle dir(::opendir(net_class_folder.c_str()));
  if (!dir) return std::nullopt;
  struct Candidate {
    long index;
    MacAddress address;
  };
  std::vector<Candidate> candidates;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string folder = net_class_folder + "/" + name;
    if (ReadNumber(folder + "/type") != kEthernetInterfaceType) continue;
    const std::optional<long> index = ReadNumber(folder + "/ifindex");
    const std::optional<MacAddress> address = ParseMacAddress(ReadFirstLine(folder + "/address"));
    if (index && address) candidates.push_back({*index, *address});
  }
  if (candidates.empty()) return std::nullopt;
  return std::min_element(candidates.begin(), candidates.end(),
                          [](const Candidate& a, const Candidate& b) { return a.index < b.index; })
      ->address;
}

int MachineBitness() {
  utsname names{};
  if (::uname(&names) != 0) return static_cast<int>(sizeof(void*) * 8);
  const std::string_view machine = names.machine;
  constexpr std::string_view kSixtyFourBitMarks[] = {"64", "s390x"};
  for (const std::string_view mark : kSixtyFourBitMarks) {
    if (machine.find(mark) != std::string_view::npos) return 64;  // x86_64, aarch64, ppc64le, ...
  }
  return 32;
}

std::string OperatingSystemName() {
  utsname names{};
  std::string name = ::uname(&names) == 0 ? names.sysname : "Linux";
  name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
  return name;
}

std::optional<WindowsVersion> RunningWindowsVersion() { return std::nullopt; }

}  // namespace qv::platform
