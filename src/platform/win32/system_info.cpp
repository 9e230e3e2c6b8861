// Facts about the machine on Windows, from the system's own queries.
#include "platform/system_info.h"

#include "platform/win32/windows_api.h"

#include <cpuid.h>
#include <iphlpapi.h>

#include <cstring>
#include <vector>

namespace qv::platform {
namespace {

constexpr unsigned kCpuidSignatureLeaf = 1;
constexpr ULONG kOneAdapterEntryBytes = 648;
constexpr UINT kMacAddressBytes = 6;

}  // namespace

std::string CpuSignature() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(kCpuidSignatureLeaf, &eax, &ebx, &ecx, &edx) == 0) eax = edx = 0;
  return FormatCpuRegisters(edx, eax);
}

std::optional<MacAddress> FirstEthernetAddress(const std::string& /*net_class_folder*/) {
  ULONG size = kOneAdapterEntryBytes;
  std::vector<BYTE> buffer(size);
  if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) ==
      ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
  }
  if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) != NO_ERROR) {
    return std::nullopt;
  }
  for (const IP_ADAPTER_INFO* adapter = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
       adapter != nullptr; adapter = adapter->Next) {
    if (adapter->Type != MIB_IF_TYPE_ETHERNET || adapter->AddressLength != kMacAddressBytes) {
      continue;
    }
    MacAddress address{};
    std::memcpy(address.data(), adapter->Address, address.size());
    return address;
  }
  return std::nullopt;
}

int MachineBitness() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                 info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64
             ? 64
             : 32;
}

std::string OperatingSystemName() { return "Windows"; }

std::optional<WindowsVersion> RunningWindowsVersion() {
  WindowsVersion version;
  OSVERSIONINFOEXW extended{};
  extended.dwOSVersionInfoSize = sizeof extended;
  // The deprecated call is the one whose answer the statistics expect: without a compatibility
  // manifest every system after NT 6.1 reports 6.2.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
    version.extended = true;
    version.product_type = extended.wProductType;
  } else {
    OSVERSIONINFOW plain{};
    plain.dwOSVersionInfoSize = sizeof plain;
    if (!GetVersionExW(&plain)) return std::nullopt;
    std::memcpy(&extended, &plain, sizeof plain);
  }
#pragma GCC diagnostic pop
  version.platform_id = extended.dwPlatformId;
  version.major = extended.dwMajorVersion;
  version.minor = extended.dwMinorVersion;
  return version;
}

}  // namespace qv::platform
