// Shortcut files on Windows: the shell's own shell-link object writes them.
#include "platform/shell_link.h"

#include "platform/win32/windows_api.h"

#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include "platform/win32/com_scope.h"
#include "platform/win32/wide_text.h"

namespace qv::platform {
namespace {

// A COM interface pointer released when it goes.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  void** receive() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

const wchar_t* WideOrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

std::optional<std::wstring> Wide(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  return std::wstring(text->begin(), text->end());
}

}  // namespace

std::optional<bool> SaveShellLinkThroughSystem(const std::string& path,
                                               const ShellLinkFields& fields) {
  const win32::ComScope com;
  ComPointer<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.receive()))) {
    return false;
  }
  const std::wstring target(fields.target.begin(), fields.target.end());
  const auto arguments = Wide(fields.arguments);
  const auto icon = Wide(fields.icon);
  const auto working_directory = Wide(fields.working_directory);
  const auto description = Wide(fields.description);
  if (FAILED(link->SetPath(target.c_str())) ||
      (arguments && FAILED(link->SetArguments(WideOrNull(arguments)))) ||
      (icon && FAILED(link->SetIconLocation(WideOrNull(icon), 0))) ||
      (working_directory && FAILED(link->SetWorkingDirectory(WideOrNull(working_directory)))) ||
      (description && FAILED(link->SetDescription(WideOrNull(description)))) ||
      FAILED(link->SetShowCmd(fields.show_command))) {
    return false;
  }
  ComPointer<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) return false;
  return SUCCEEDED(file->Save(win32::Wide(path).c_str(), TRUE));
}

}  // namespace qv::platform
