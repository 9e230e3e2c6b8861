// A shared library of the system opened while the program runs, rather than by the dynamic
// loader before `main`: what only some runs need (the transfer library and the dozens of
// libraries it brings) is then loaded when first used, off the start-up path.
//
// Ownership: the library stays loaded while the object lives; its functions must not be called
// after that. Find may be called from any thread.
#pragma once

#include <memory>
#include <string>

namespace qv::platform {

class SharedLibrary {
 public:
  // The library `file_name` (a name the system's library search finds, or a path), with every
  // library it needs; nullptr when it cannot be loaded, with the system's reason in `error`.
  static std::unique_ptr<SharedLibrary> Open(const std::string& file_name, std::string& error);

  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // The address of the function `name`; nullptr when the library has none of that name.
  void* Find(const char* name) const;

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}

  void* const handle_;
};

}  // namespace qv::platform
