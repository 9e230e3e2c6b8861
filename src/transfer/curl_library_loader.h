// Opening the transfer library at run time (Linux; see curl_library.h): the library file built
// against, and a loader that takes every function of the table or none.
//
// Ownership: the functions of a LoadedCurlLibrary may be called while it lives.
#pragma once

#include <memory>
#include <string>

#include "platform/shared_library.h"
#include "transfer/curl_library.h"

namespace qv::transfer {

// The library's file name (its soname) found when the program was built.
extern const char kCurlLibraryFileName[];

struct LoadedCurlLibrary {
  std::unique_ptr<platform::SharedLibrary> library;
  CurlLibrary functions;
};

// The library `file_name` with every function of the table; nullptr, with the reason in `error`,
// when it cannot be opened or lacks any of them (a partial table is never handed out).
std::unique_ptr<LoadedCurlLibrary> LoadCurlLibrary(const std::string& file_name,
                                                   std::string& error);

}  // namespace qv::transfer
