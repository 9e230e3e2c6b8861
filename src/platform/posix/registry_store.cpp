#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/posix/folder_creation.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/registry_file_format.h"
#include "platform/registry_key_path.h"
#include "platform/utf8_text.h"

namespace qv::platform {
namespace {

constexpr std::string_view kCurrentUserRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kLocalMachineRootName = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kClassesRootPath = "Software\\Classes";
constexpr std::string_view kDamagedSuffix = ".damaged-";
constexpr int kMaxDamagedCopies = 1000;
constexpr mode_t kUserFolderMode = 0700;
constexpr mode_t kMachineFolderMode = 0755;
constexpr size_t kUtf16UnitBytes = 2;
constexpr size_t kDwordBytes = 4;

std::string_view RootName(bool machine_wide) {
  return machine_wide ? kLocalMachineRootName : kCurrentUserRootName;
}

std::string FolderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? "." : file.substr(0, slash);
}

// Renames a damaged file to the first free "<file>.damaged-<n>", never replacing an earlier copy.
bool KeepDamagedFileAside(const std::string& file) {
  for (int n = 1; n <= kMaxDamagedCopies; ++n) {
    const std::string aside = file + std::string(kDamagedSuffix) + std::to_string(n);
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot refuse replacement by itself; the registry lock is held, so
    // testing first is safe from our own writers.
    if (::access(aside.c_str(), F_OK) == 0) continue;
    return ::rename(file.c_str(), aside.c_str()) == 0;
  }
  return false;
}

size_t StoredSize(const RegistryValueData& value) {
  return value.type == RegistryValueType::kDword ? kDwordBytes
                                                 : (Utf16Length(value.text) + 1) * kUtf16UnitBytes;
}

}  // namespace

struct RegistryStore::Target {
  bool machine_wide = false;
  std::string path;
};

RegistryLocations DefaultRegistryLocations() {
  return {RoamingAppDataFolder() + "/qvorvane-registry/HKEY_CURRENT_USER.reg",
          MachineRoot() + "/registry/HKEY_LOCAL_MACHINE.reg"};
}

bool ProcessIsAdministrator() { return ::geteuid() == 0; }

RegistryStore::RegistryStore() : RegistryStore(DefaultRegistryLocations, ProcessIsAdministrator) {}

RegistryStore::RegistryStore(LocationsSource locations, AdministratorCheck is_administrator)
    : locations_(std::move(locations)), is_administrator_(std::move(is_administrator)) {}

RegistryStatus RegistryStore::Resolve(RegistryRoot root, std::string_view path, Target& out) const {
  std::optional<std::string> normalized = NormalizeKeyPath(path);
  if (!normalized) return RegistryStatus::kInvalidName;
  out.machine_wide = root == RegistryRoot::kLocalMachine;
  out.path = std::move(*normalized);
  if (root == RegistryRoot::kClassesRoot) {
    out.path = std::string(kClassesRootPath) + (out.path.empty() ? "" : "\\") + out.path;
  }
  return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::CheckWriteRights(bool machine_wide) const {
  return machine_wide && !is_administrator_() ? RegistryStatus::kAccessDenied : RegistryStatus::kOk;
}

RegistryStatus RegistryStore::Load(bool machine_wide, RegistryHive& out) const {
  const RegistryLocations locations = locations_();
  const std::string& file =
      machine_wide ? locations.local_machine_file : locations.current_user_file;
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string text;
    const std::error_code error = ReadWholeFile(file, text);
    if (error == std::errc::no_such_file_or_directory) {
      out = RegistryHive();
      return RegistryStatus::kOk;
    }
    if (error) return RegistryStatus::kStoreFailed;
    if (ParseRegistryFile(text, RootName(machine_wide), out)) return RegistryStatus::kOk;
    // Damaged: set it aside under the lock (unless another process has repaired it meanwhile),
    // then read once more.
    if (attempt == 0 && CheckWriteRights(machine_wide) == RegistryStatus::kOk) {
      Modify(machine_wide, [](RegistryHive&, bool&) { return RegistryStatus::kOk; });
    } else {
      break;
    }
  }
  out = RegistryHive();  // a damaged root this process may not repair reads as empty
  return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::Modify(
    bool machine_wide,
    const std::function<RegistryStatus(RegistryHive&, bool& changed)>& change) const {
  if (const RegistryStatus rights = CheckWriteRights(machine_wide); rights != RegistryStatus::kOk) {
    return rights;
  }
  const RegistryLocations locations = locations_();
  const std::string& file =
      machine_wide ? locations.local_machine_file : locations.current_user_file;
  if (!EnsureFolder(FolderOf(file), machine_wide ? kMachineFolderMode : kUserFolderMode)) {
    return RegistryStatus::kStoreFailed;
  }
  RegistryStatus status = RegistryStatus::kOk;
  const std::error_code error = UpdateFileAtomically(
      file, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        RegistryHive hive;
        if (current && !ParseRegistryFile(*current, RootName(machine_wide), hive)) {
          if (!KeepDamagedFileAside(file)) {
            status = RegistryStatus::kStoreFailed;  // never write over what could not be kept
            return std::nullopt;
          }
          hive = RegistryHive();
        }
        bool changed = false;
        status = change(hive, changed);
        if (status != RegistryStatus::kOk || !changed) return std::nullopt;
        return SerializeRegistryFile(hive, RootName(machine_wide));
      });
  return error ? RegistryStatus::kStoreFailed : status;
}

RegistryStatus RegistryStore::Open(RegistryRoot root, std::string_view path, uint32_t access,
                                   bool create, RegistryKey& out) const {
  out.Close();
  Target target;
  if (const RegistryStatus status = Resolve(root, path, target); status != RegistryStatus::kOk) {
    return status;
  }
  const bool wants_write = (access & (key_access::kSetValue | key_access::kCreateSubKey)) != 0;
  if (wants_write) {
    if (const RegistryStatus rights = CheckWriteRights(target.machine_wide);
        rights != RegistryStatus::kOk) {
      return rights;
    }
  }
  RegistryHive hive;
  if (const RegistryStatus status = Load(target.machine_wide, hive);
      status != RegistryStatus::kOk) {
    return status;
  }
  if (!hive.FindKey(target.path) && !target.path.empty()) {
    if (!create) return RegistryStatus::kNotFound;
    const RegistryStatus status =
        Modify(target.machine_wide, [&](RegistryHive& current, bool& changed) {
          changed = current.FindKey(target.path) == nullptr;
          current.EnsureKey(target.path);
          return RegistryStatus::kOk;
        });
    if (status != RegistryStatus::kOk) return status;
  }
  out.store_ = this;
  out.root_ = target.machine_wide ? RegistryRoot::kLocalMachine : RegistryRoot::kCurrentUser;
  out.path_ = std::move(target.path);
  out.access_ = access;
  return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::DeleteKey(RegistryRoot root, std::string_view path) const {
  Target target;
  if (const RegistryStatus status = Resolve(root, path, target); status != RegistryStatus::kOk) {
    return status;
  }
  if (NormalizeKeyPath(path)->empty()) return RegistryStatus::kAccessDenied;  // a root stays
  return Modify(target.machine_wide, [&](RegistryHive& hive, bool& changed) {
    if (!hive.FindKey(target.path)) return RegistryStatus::kNotFound;
    if (hive.HasSubKeys(target.path)) return RegistryStatus::kHasSubKeys;
    changed = hive.RemoveKey(target.path);
    return RegistryStatus::kOk;
  });
}

RegistryStatus RegistryKey::QueryValue(std::string_view name, size_t max_bytes,
                                       RegistryValue& out) const {
  if (!store_) return RegistryStatus::kNotFound;
  if ((access_ & key_access::kQueryValue) == 0) return RegistryStatus::kAccessDenied;
  RegistryHive hive;
  if (const RegistryStatus status = store_->Load(root_ == RegistryRoot::kLocalMachine, hive);
      status != RegistryStatus::kOk) {
    return status;
  }
  const RegistryKeyData* key = hive.FindKey(path_);
  if (!key && !path_.empty()) return RegistryStatus::kNotFound;
  const RegistryValueData* value = key ? key->FindValue(name) : nullptr;
  if (!value) return RegistryStatus::kNotFound;
  out = RegistryValue();
  out.size_in_bytes = StoredSize(*value);
  if (out.size_in_bytes > max_bytes) return RegistryStatus::kMoreData;
  out.type = value->type;
  out.text = value->text;
  out.number = value->number;
  return RegistryStatus::kOk;
}

RegistryStatus RegistryKey::SetStringValue(std::string_view name, std::string_view text) {
  if (!store_) return RegistryStatus::kNotFound;
  if ((access_ & key_access::kSetValue) == 0) return RegistryStatus::kAccessDenied;
  if (name.find('\0') != std::string_view::npos) return RegistryStatus::kInvalidName;
  RegistryValueData value;
  value.name = std::string(name);
  value.text = std::string(text.substr(0, text.find('\0')));
  return store_->Modify(root_ == RegistryRoot::kLocalMachine, [&](RegistryHive& hive, bool& changed) {
    if (!hive.FindKey(path_) && !path_.empty()) return RegistryStatus::kNotFound;
    changed = hive.EnsureKey(path_).SetValue(value);
    return RegistryStatus::kOk;
  });
}

RegistryStatus RegistryKey::DeleteValue(std::string_view name) {
  if (!store_) return RegistryStatus::kNotFound;
  if ((access_ & key_access::kSetValue) == 0) return RegistryStatus::kAccessDenied;
  return store_->Modify(root_ == RegistryRoot::kLocalMachine, [&](RegistryHive& hive, bool& changed) {
    RegistryKeyData* key = hive.FindKey(path_);
    changed = key && key->DeleteValue(name);
    return changed ? RegistryStatus::kOk : RegistryStatus::kNotFound;
  });
}

}  // namespace qv::platform
