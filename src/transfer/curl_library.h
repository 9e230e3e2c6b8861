// The functions of the transfer library (libcurl) that the transfers call, reached through one
// table. On Linux the library is opened when the first transfer is prepared instead of by the
// dynamic loader before `main`: it brings some thirty libraries of its own (TLS, HTTP/2, IDN,
// LDAP, SSH, ...) whose loading and relocation would otherwise come before the first frame,
// while no transfer is made until the windows have shown it. Where the library is linked
// statically (Windows) the table holds the linked functions.
//
// Threads: Curl() may be called from any thread; the first call opens the library (once: a
// function-local static), a concurrent one waits for it. The table lives until the process ends.
#pragma once

#include <curl/curl.h>

namespace qv::transfer {

struct CurlLibrary {
  decltype(&curl_global_init) global_init = nullptr;
  decltype(&curl_global_cleanup) global_cleanup = nullptr;
  decltype(&curl_easy_init) easy_init = nullptr;
  decltype(&curl_easy_setopt) easy_setopt = nullptr;
  decltype(&curl_easy_perform) easy_perform = nullptr;
  decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&curl_slist_append) slist_append = nullptr;
  decltype(&curl_slist_free_all) slist_free_all = nullptr;
};

// The process's table; nullptr when the library cannot be opened or lacks one of the functions
// (every transfer then fails at once, as when the library's start fails).
const CurlLibrary* Curl();

}  // namespace qv::transfer
