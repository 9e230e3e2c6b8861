// The client id: a text that stays the same for this user on this machine across runs, made
// once from the processor and network-adapter texts and kept in the registry and in the
// installer's config.ini.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

#include "platform/system_info.h"

namespace qv::util {

// Where the id is kept.
inline constexpr const char* kClientIdRegistryKey = "Software\\qvorvane\\main";
inline constexpr const char* kClientIdValueName = "client_id";
inline constexpr const char* kClientIdIniSection = "General";
inline constexpr const char* kClientIdIniKey = "client_id";
inline constexpr const char16_t* kConfigIniName = u"config.ini";  // in the local data folder
// The id is read into buffers of this many UTF-16 units; the registry read allows this many
// bytes.
inline constexpr size_t kClientIdBufferUnits = 260;
inline constexpr size_t kClientIdRegistryMaxBytes = 260;

// The machine texts and the caches made from them. Thread-safe: the caches are filled once under
// a lock, so no thread reads a half-written one. The program uses ProcessClientIdentity(); tests
// make their own with a fake adapter folder.
class ClientIdentity {
 public:
  explicit ClientIdentity(std::string net_class_folder = platform::kSysClassNetFolder);
  ClientIdentity(const ClientIdentity&) = delete;
  ClientIdentity& operator=(const ClientIdentity&) = delete;

  // The processor signature (platform::CpuSignature).
  std::string CpuSignature() const;

  // Fills the MAC cache with the first Ethernet adapter's address ("%02X:..." text); false when
  // there is none (the cache stays empty).
  bool MacAddress();
  std::string MacText() const;

  // MD5 of the processor text followed by the MAC text, 32 lower-case hexadecimal characters;
  // made once, then cached.
  std::string GenerateClientId();

  // GetClientId with the installer's config.ini at `config_ini_path` (the local data folder's
  // "config.ini"): the id from the current user's registry, else from the ini file, else
  // generated; written to the ini file every time and to the registry when it was not there.
  // Puts the id into `out` and returns its length.
  size_t GetClientIdWithConfig(const std::u16string& config_ini_path, std::u16string& out);
// GetClientId: GetClientIdWithConfig with the local data folder's "config.ini".
size_t GetClientId(std::u16string& out);

 private:
  const std::string net_class_folder_;
  mutable std::mutex mutex_;
  std::string mac_text_;      // guarded by mutex_
  std::string generated_id_;  // guarded by mutex_
};

// The one identity of the process, made on first use and never destroyed (worker threads may
// ask for it until the process ends).
ClientIdentity& ProcessClientIdentity();

// The design's calls, on ProcessClientIdentity() (and the process's folders).
std::string CpuSignature();
bool MacAddress();
std::string GenerateClientId();
size_t GetClientIdWithConfig(const std::u16string& config_ini_path, std::u16string& out);
// GetClientId: GetClientIdWithConfig with the local data folder's "config.ini".
size_t GetClientId(std::u16string& out);

}  // namespace qv::util
