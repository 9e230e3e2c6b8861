#include "transfer/curl_library.h"

namespace qv::transfer {

const CurlLibrary* Curl() {
  static const CurlLibrary linked{&curl_global_init,  &curl_global_cleanup, &curl_easy_init,
                                  &curl_easy_setopt,  &curl_easy_perform,   &curl_easy_getinfo,
                                  &curl_easy_cleanup, &curl_slist_append,   &curl_slist_free_all};
  return &linked;
}

}  // namespace qv::transfer
