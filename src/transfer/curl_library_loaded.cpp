#include <type_traits>

#include "transfer/curl_library_loader.h"

namespace qv::transfer {

const char kCurlLibraryFileName[] = QV_CURL_LIBRARY_FILE_NAME;

std::unique_ptr<LoadedCurlLibrary> LoadCurlLibrary(const std::string& file_name,
                                                   std::string& error) {
  auto loaded = std::make_unique<LoadedCurlLibrary>();
  loaded->library = platform::SharedLibrary::Open(file_name, error);
  if (!loaded->library) return nullptr;

  bool complete = true;
  const auto take = [&](auto& slot, const char* name) {
    void* const address = loaded->library->Find(name);
    if (address == nullptr) {
      if (complete) error = file_name + " has no function " + name;
      complete = false;
      return;
    }
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
  };
  CurlLibrary& functions = loaded->functions;
  take(functions.global_init, "curl_global_init");
  take(functions.global_cleanup, "curl_global_cleanup");
  take(functions.easy_init, "curl_easy_init");
  take(functions.easy_setopt, "curl_easy_setopt");
  take(functions.easy_perform, "curl_easy_perform");
  take(functions.easy_getinfo, "curl_easy_getinfo");
  take(functions.easy_cleanup, "curl_easy_cleanup");
  take(functions.slist_append, "curl_slist_append");
  take(functions.slist_free_all, "curl_slist_free_all");
  if (!complete) return nullptr;
  return loaded;
}

const CurlLibrary* Curl() {
  // Kept until the process ends: a transfer still running at exit must not find it unloaded.
  static const LoadedCurlLibrary* const loaded = [] {
    std::string error;
    return LoadCurlLibrary(kCurlLibraryFileName, error).release();
  }();
  return loaded != nullptr ? &loaded->functions : nullptr;
}

}  // namespace qv::transfer
