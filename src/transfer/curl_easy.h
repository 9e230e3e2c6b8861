// RAII for libcurl's easy handle: cleaned up on every path out of a transfer.
#pragma once

#include <curl/curl.h>

#include <memory>

namespace qv::transfer {

struct CurlEasyCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;

}  // namespace qv::transfer
