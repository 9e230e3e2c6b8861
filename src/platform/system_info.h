// Facts about the machine that identify it to the platform's services (on Windows the
// system's own queries: the processor identification instruction, GetAdaptersInfo,
// GetNativeSystemInfo, GetVersionExW; on Linux the kernel's).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qv::platform {

// Where the kernel lists the network interfaces on Linux (Windows asks GetAdaptersInfo and
// ignores the folder).
inline constexpr const char* kSysClassNetFolder = "/sys/class/net";

// The processor identification of leaf 1: its EDX (feature flags) then its EAX (signature)
// formatted with "%08X%08X", 16 upper-case hexadecimal digits. On a processor without that
// instruction the hardware capability words of the auxiliary vector stand in, in the same form.
std::string CpuSignature();

using MacAddress = std::array<uint8_t, 6>;

// The address of the first Ethernet interface with a six-byte address, or nullopt when there is
// none. On Linux: type 1, in interface-index order below `net_class_folder` (a /sys/class/net
// tree: one folder per interface with the files "type", "ifindex" and "address"). On Windows:
// type MIB_IF_TYPE_ETHERNET in GetAdaptersInfo's order (a first buffer of one entry, 648 bytes,
// then one of the size the system asks for).
std::optional<MacAddress> FirstEthernetAddress(const std::string& net_class_folder);

// "%02X:%02X:%02X:%02X:%02X:%02X".
std::string FormatMacAddress(const MacAddress& address);

// 64 or 32: the bitness of the machine (the kernel's architecture), not of this program.
int MachineBitness();

// The operating system's name as the kernel gives it ("Linux"), without blanks; "Windows" there.
std::string OperatingSystemName();

// The version of Windows as GetVersionExW reports it: with the extended structure, else with
// the plain one. nullopt on another system, or when both calls fail.
struct WindowsVersion {
  uint32_t platform_id = 0;  // VER_PLATFORM_WIN32_NT is 2
  uint32_t major = 0;
  uint32_t minor = 0;
  uint8_t product_type = 0;  // VER_NT_SERVER is 3; 0 when only the plain call worked
  bool extended = false;     // the extended call worked
};
std::optional<WindowsVersion> RunningWindowsVersion();

// "%08X%08X" of the two register values: 16 upper-case hexadecimal digits.
std::string FormatCpuRegisters(uint32_t first, uint32_t second);

}  // namespace qv::platform
