// The registry: on Windows the system's own (the Reg* functions on HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, paths used exactly as written, no view flag added);
// on Linux a file-backed stand-in with the same model and calls.
//
// Where the Linux stand-in keeps its roots:
//   kCurrentUser   $XDG_CONFIG_HOME/qvorvane-registry/HKEY_CURRENT_USER.reg
//   kClassesRoot   HKEY_CURRENT_USER\Software\Classes (where a per-user install's writes land)
//   kLocalMachine  <machine root>/registry/HKEY_LOCAL_MACHINE.reg; readable by everyone,
//                  writable only with administrator rights (effective uid 0)
// (file format: registry_file_format.h). Every change is a read-modify-write of the whole file
// under its lock with an atomic replacement (atomic_file.h), so concurrent writers of any
// process never lose each other's values and a crash never leaves half a file. A file that does
// not parse is renamed to "<file>.damaged-<n>" and the root starts empty. The locations and the
// rights check a RegistryStore is made with matter only there.
//
// Key paths are '\'-separated below the root ("Software\\qvorvane\\main"); a trailing '\' is
// ignored, an empty component, a component longer than kMaxKeyNameLength or one holding a line
// break or NUL is refused (kInvalidName), on both systems. Key and value names match without
// regard to case. The empty value name is the key's default value. Texts are UTF-8; sizes are
// counted as the system stores strings: UTF-16 with the terminating NUL.
//
// Threads: RegistryStore is immutable after construction and may be used from any thread.
// A RegistryKey belongs to one thread at a time; it holds no OS resource, only what it names
// (each call opens the system's key for its duration).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/registry_hive.h"

namespace qv::platform {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine };

enum class RegistryStatus {
  kOk,
  kNotFound,      // no such key or value (also: the key was deleted after it was opened)
  kAccessDenied,  // a right the handle was not opened with, or a machine-wide change without
                  // administrator rights, or deleting a root
  kMoreData,      // the value does not fit in the size allowed
  kHasSubKeys,    // a key with sub-keys is not deleted
  kInvalidName,
  kStoreFailed,  // the file could not be read or written
};

// Rights a key is opened with, after the original's access mask. kView64 is accepted and
// changes nothing: there is only one view here.
namespace key_access {
inline constexpr uint32_t kQueryValue = 0x1;
inline constexpr uint32_t kSetValue = 0x2;
inline constexpr uint32_t kCreateSubKey = 0x4;
inline constexpr uint32_t kRead = kQueryValue;
inline constexpr uint32_t kAll = kQueryValue | kSetValue | kCreateSubKey;
inline constexpr uint32_t kView64 = 0x100;
}  // namespace key_access

inline constexpr size_t kMaxKeyNameLength = 255;  // UTF-16 units per key name component

struct RegistryValue {
  RegistryValueType type = RegistryValueType::kString;
  std::string text;          // kString
  uint32_t number = 0;       // kDword
  size_t size_in_bytes = 0;  // as stored by the original: strings in UTF-16 with the NUL
};

struct RegistryLocations {
  std::string current_user_file;
  std::string local_machine_file;
};

// The files named by the known folders at the moment of the call.
RegistryLocations DefaultRegistryLocations();
// True when the process runs with an effective uid of 0.
bool ProcessIsAdministrator();

class RegistryStore;

// An open key: the counterpart of an HKEY. Closing (or destroying) it only forgets the key. It
// refers to the store that opened it, which must outlive it (the program's store lives until
// exit).
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(RegistryKey&&) noexcept = default;
  RegistryKey& operator=(RegistryKey&&) noexcept = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool IsOpen() const { return store_ != nullptr; }
  void Close() { store_ = nullptr; }

  // RegQueryValueEx: the value's type and data when its stored size is at most `max_bytes`;
  // kMoreData (with out.size_in_bytes set to the size needed) when it is larger.
  RegistryStatus QueryValue(std::string_view name, size_t max_bytes, RegistryValue& out) const;
  // RegSetValueEx with a string: stores `text` up to its first NUL.
  RegistryStatus SetStringValue(std::string_view name, std::string_view text);
  // RegDeleteValue.
  RegistryStatus DeleteValue(std::string_view name);

 private:
  friend class RegistryStore;
  const RegistryStore* store_ = nullptr;
  // The root and the path below it as the system's side keeps them (on Linux the classes root
  // is the current user's "Software\Classes", so such keys carry that prefix).
  RegistryRoot root_ = RegistryRoot::kCurrentUser;
  std::string path_;
  uint32_t access_ = 0;
};

class RegistryStore {
 public:
  using LocationsSource = std::function<RegistryLocations()>;
  using AdministratorCheck = std::function<bool()>;

  // The production store: DefaultRegistryLocations() and ProcessIsAdministrator().
  RegistryStore();
  // A store with other files or another rights check (a test's "normal user" while it runs as
  // root, for example).
  RegistryStore(LocationsSource locations, AdministratorCheck is_administrator);

  // RegCreateKeyEx: opens the key, creating it and its missing ancestors first.
  RegistryStatus CreateKey(RegistryRoot root, std::string_view path, uint32_t access,
                           RegistryKey& out) const;
  // RegOpenKeyEx: opens an existing key.
  RegistryStatus OpenKey(RegistryRoot root, std::string_view path, uint32_t access,
                         RegistryKey& out) const;
  // RegDeleteKeyEx: deletes a key that has no sub-keys, with its values.
  RegistryStatus DeleteKey(RegistryRoot root, std::string_view path) const;

 private:
  friend class RegistryKey;
  struct Target;  // a resolved file and key path

  RegistryStatus Resolve(RegistryRoot root, std::string_view path, Target& out) const;
  RegistryStatus CheckWriteRights(bool machine_wide) const;
  RegistryStatus Load(bool machine_wide, RegistryHive& out) const;
  RegistryStatus Modify(
      bool machine_wide,
      const std::function<RegistryStatus(RegistryHive&, bool& changed)>& change) const;
  RegistryStatus Open(RegistryRoot root, std::string_view path, uint32_t access, bool create,
                      RegistryKey& out) const;

  LocationsSource locations_;
  AdministratorCheck is_administrator_;
};

// The store every part of the program uses: the production store unless a test installed
// another with ScopedRegistryOverride.
const RegistryStore& CurrentRegistry();

// Installs `store` as CurrentRegistry() for the lifetime of this object. Create and destroy it on
// the test's main thread while no other thread uses the registry.
class ScopedRegistryOverride {
 public:
  explicit ScopedRegistryOverride(const RegistryStore& store);
  ~ScopedRegistryOverride();
  ScopedRegistryOverride(const ScopedRegistryOverride&) = delete;
  ScopedRegistryOverride& operator=(const ScopedRegistryOverride&) = delete;

 private:
  const RegistryStore* previous_;
};

}  // namespace qv::platform
