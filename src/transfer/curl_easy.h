// RAII for libcurl's easy handle and header lists: freed on every path out of a transfer. Only
// made once the library is open (Curl() is not null).
#pragma once

#include "transfer/curl_library.h"

#include <memory>

namespace qv::transfer {

struct CurlEasyCleanup {
  void operator()(CURL* handle) const { Curl()->easy_cleanup(handle); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

struct CurlSlistFree {
  void operator()(curl_slist* list) const { Curl()->slist_free_all(list); }
};

using CurlSlist = std::unique_ptr<curl_slist, CurlSlistFree>;

}  // namespace qv::transfer
