// The registry on Windows: the system's own, through the Reg* functions. A RegistryKey keeps
// the root, the path and the rights it was opened with, and opens the system key for each call,
// so a key deleted after it was opened reads as missing, as on the Linux side.
#include "platform/win32/windows_api.h"
#include <shlobj.h>

#include <vector>

#include "platform/registry.h"
#include "platform/registry_key_path.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

constexpr size_t kUtf16UnitBytes = 2;
constexpr size_t kDwordBytes = 4;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kCurrentUser:
      break;
  }
  return HKEY_CURRENT_USER;
}

RegistryStatus StatusOf(LONG error) {
  switch (error) {
    case ERROR_SUCCESS:
      return RegistryStatus::kOk;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_KEY_DELETED:
      return RegistryStatus::kNotFound;
    case ERROR_ACCESS_DENIED:
      return RegistryStatus::kAccessDenied;
    case ERROR_MORE_DATA:
      return RegistryStatus::kMoreData;
    case ERROR_INVALID_PARAMETER:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
      return RegistryStatus::kInvalidName;
    default:
      return RegistryStatus::kStoreFailed;
  }
}

// An open system key, closed when it goes.
class SystemKey {
 public:
  SystemKey() = default;
  ~SystemKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  SystemKey(const SystemKey&) = delete;
  SystemKey& operator=(const SystemKey&) = delete;

  HKEY get() const { return key_; }
  HKEY* receive() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// The key's rights as the system names them: the bits of key_access are the system's own.
REGSAM SystemRights(uint32_t access) { return static_cast<REGSAM>(access); }

LONG OpenSystemKey(RegistryRoot root, const std::string& path, uint32_t access, SystemKey& out) {
  return RegOpenKeyExW(RootKey(root), win32::Wide(path).c_str(), 0, SystemRights(access), out.receive());
}

// The text of REG_SZ data: up to the first NUL, or all of it when the writer stored none.
std::string TextOfStringData(const std::vector<BYTE>& data, DWORD size) {
  std::wstring text(size / kUtf16UnitBytes, L'\0');
  if (!text.empty()) memcpy(text.data(), data.data(), text.size() * kUtf16UnitBytes);
  return win32::Utf8(std::wstring_view(text.c_str()));
}

}  // namespace

RegistryLocations DefaultRegistryLocations() { return {}; }  // the system keeps its own

bool ProcessIsAdministrator() { return IsUserAnAdmin() != FALSE; }

RegistryStore::RegistryStore() : RegistryStore(DefaultRegistryLocations, ProcessIsAdministrator) {}

RegistryStore::RegistryStore(LocationsSource locations, AdministratorCheck is_administrator)
    : locations_(std::move(locations)), is_administrator_(std::move(is_administrator)) {}

RegistryStatus RegistryStore::Open(RegistryRoot root, std::string_view path, uint32_t access,
                                   bool create, RegistryKey& out) const {
  out.Close();
  std::optional<std::string> normalized = NormalizeKeyPath(path);
  if (!normalized) return RegistryStatus::kInvalidName;
  SystemKey key;
  const LONG error =
      create ? RegCreateKeyExW(RootKey(root), win32::Wide(*normalized).c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, SystemRights(access), nullptr,
                               key.receive(), nullptr)
             : RegOpenKeyExW(RootKey(root), win32::Wide(*normalized).c_str(), 0,
                             SystemRights(access), key.receive());
  if (error != ERROR_SUCCESS) return StatusOf(error);
  out.store_ = this;
  out.root_ = root;
  out.path_ = std::move(*normalized);
  out.access_ = access;
  return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::DeleteKey(RegistryRoot root, std::string_view path) const {
  const std::optional<std::string> normalized = NormalizeKeyPath(path);
  if (!normalized) return RegistryStatus::kInvalidName;
  if (normalized->empty()) return RegistryStatus::kAccessDenied;  // a root stays
  {
    // The system refuses a key with sub-keys as a denied access; say what it is.
    SystemKey key;
    if (const LONG error = OpenSystemKey(root, *normalized, KEY_QUERY_VALUE, key);
        error != ERROR_SUCCESS) {
      return StatusOf(error);
    }
    DWORD sub_keys = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        sub_keys > 0) {
      return RegistryStatus::kHasSubKeys;
    }
  }
  return StatusOf(RegDeleteKeyW(RootKey(root), win32::Wide(*normalized).c_str()));
}

RegistryStatus RegistryKey::QueryValue(std::string_view name, size_t max_bytes,
                                       RegistryValue& out) const {
  if (!store_) return RegistryStatus::kNotFound;
  if ((access_ & key_access::kQueryValue) == 0) return RegistryStatus::kAccessDenied;
  SystemKey key;
  if (const LONG error = OpenSystemKey(root_, path_, access_, key); error != ERROR_SUCCESS) {
    return StatusOf(error);
  }
  const std::wstring value_name = win32::Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  LONG error = RegQueryValueExW(key.get(), value_name.c_str(), nullptr, &type, nullptr, &size);
  if (error != ERROR_SUCCESS) return StatusOf(error);
  out = RegistryValue();
  out.size_in_bytes = size;
  if (size > max_bytes) return RegistryStatus::kMoreData;
  std::vector<BYTE> data(size + kUtf16UnitBytes, 0);
  error = RegQueryValueExW(key.get(), value_name.c_str(), nullptr, &type, data.data(), &size);
  if (error != ERROR_SUCCESS) return StatusOf(error);
  out.size_in_bytes = size;
  if (type == REG_DWORD && size == kDwordBytes) {
    out.type = RegistryValueType::kDword;
    memcpy(&out.number, data.data(), kDwordBytes);
  } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
    out.type = RegistryValueType::kString;
    out.text = TextOfStringData(data, size);
  } else {
    return RegistryStatus::kNotFound;  // a type the program never stores or reads
  }
  return RegistryStatus::kOk;
}

RegistryStatus RegistryKey::SetStringValue(std::string_view name, std::string_view text) {
  if (!store_) return RegistryStatus::kNotFound;
  if ((access_ & key_access::kSetValue) == 0) return RegistryStatus::kAccessDenied;
  if (name.find('\0') != std::string_view::npos) return RegistryStatus::kInvalidName;
  SystemKey key;
  if (const LONG error = OpenSystemKey(root_, path_, access_, key); error != ERROR_SUCCESS) {
    return StatusOf(error);
  }
  // REG_SZ with its terminating NUL counted in the size.
  const std::wstring data = win32::Wide(text.substr(0, text.find('\0')));
  const DWORD size = static_cast<DWORD>((data.size() + 1) * kUtf16UnitBytes);
  return StatusOf(RegSetValueExW(key.get(), win32::Wide(name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()), size));
}

RegistryStatus RegistryKey::DeleteValue(std::string_view name) {
  if (!store_) return RegistryStatus::kNotFound;
  if ((access_ & key_access::kSetValue) == 0) return RegistryStatus::kAccessDenied;
  SystemKey key;
  if (const LONG error = OpenSystemKey(root_, path_, access_, key); error != ERROR_SUCCESS) {
    return StatusOf(error);
  }
  return StatusOf(RegDeleteValueW(key.get(), win32::Wide(name).c_str()));
}

}  // namespace qv::platform
