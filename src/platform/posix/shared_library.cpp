#include "platform/shared_library.h"

#include <dlfcn.h>

namespace qv::platform {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& file_name,
                                                   std::string& error) {
  // Every symbol is bound now, so a missing one fails here and not inside a later call; the
  // library's names stay out of the program's global scope.
  void* handle = dlopen(file_name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "cannot load " + file_name;
    return nullptr;
  }
  error.clear();
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { dlclose(handle_); }

void* SharedLibrary::Find(const char* name) const { return dlsym(handle_, name); }

}  // namespace qv::platform
