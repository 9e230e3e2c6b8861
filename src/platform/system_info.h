// Facts about the machine that identify it to the platform's services.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qv::platform {

// Where the kernel lists the network interfaces.
inline constexpr const char* kSysClassNetFolder = "/sys/class/net";

// The processor identification of leaf 1: its EDX (feature flags) then its EAX (signature)
// formatted with "%08X%08X", 16 upper-case hexadecimal digits. On a processor without that
// instruction the hardware capability words of the auxiliary vector stand in, in the same form.
std::string CpuSignature();

using MacAddress = std::array<uint8_t, 6>;

// The address of the first Ethernet interface (type 1) in interface-index order below
// `net_class_folder` (a /sys/class/net tree: one folder per interface with the files "type",
// "ifindex" and "address"), or nullopt when there is none with a six-byte address.
std::optional<MacAddress> FirstEthernetAddress(const std::string& net_class_folder);

// "%02X:%02X:%02X:%02X:%02X:%02X".
std::string FormatMacAddress(const MacAddress& address);

// 64 or 32: the bitness of the machine (the kernel's architecture), not of this program.
int MachineBitness();

// The operating system's name as the kernel gives it ("Linux"), without blanks.
std::string OperatingSystemName();

}  // namespace qv::platform
