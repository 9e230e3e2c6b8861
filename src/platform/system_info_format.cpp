// The texts of the machine facts (system_info.h), formatted alike on every system.
#include <cstdio>

#include "platform/system_info.h"

namespace qv::platform {
namespace {

constexpr size_t kMacAddressTextLength = 17;  // "AA:BB:CC:DD:EE:FF"
constexpr size_t kCpuRegistersTextLength = 16;

}  // namespace

std::string FormatCpuRegisters(uint32_t first, uint32_t second) {
  char text[kCpuRegistersTextLength + 1];
  std::snprintf(text, sizeof(text), "%08X%08X", first, second);
  return text;
}

std::string FormatMacAddress(const MacAddress& address) {
  char text[kMacAddressTextLength + 1];
  std::snprintf(text, sizeof(text), "%02X:%02X:%02X:%02X:%02X:%02X", address[0], address[1],
                address[2], address[3], address[4], address[5]);
  return text;
}

}  // namespace qv::platform
