// Appending little-endian integers to a byte buffer, for the binary files the installer writes
// (shell links, icon files).
#pragma once

#include <cstdint>
#include <string>

namespace qv::workflow {

inline void AppendU8(std::string& out, uint8_t value) { out.push_back(static_cast<char>(value)); }

inline void AppendU16(std::string& out, uint16_t value) {
  AppendU8(out, static_cast<uint8_t>(value & 0xFF));
  AppendU8(out, static_cast<uint8_t>(value >> 8));
}

inline void AppendU32(std::string& out, uint32_t value) {
  AppendU16(out, static_cast<uint16_t>(value & 0xFFFF));
  AppendU16(out, static_cast<uint16_t>(value >> 16));
}

// Overwrites four bytes at `offset` (which must lie inside `out`), for sizes known only later.
inline void PutU32(std::string& out, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace qv::workflow
