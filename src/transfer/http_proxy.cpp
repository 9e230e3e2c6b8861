#include "transfer/http_proxy.h"

#include "transfer/curl_library.h"

namespace qv::transfer {

CHttpProxy& CHttpProxy::Instance() {
  static CHttpProxy* const instance = new CHttpProxy();
  return *instance;
}

CHttpProxy::CHttpProxy()
    : library_ready_(Curl() != nullptr && Curl()->global_init(CURL_GLOBAL_ALL) == CURLE_OK) {}

CHttpProxy::~CHttpProxy() {
  if (library_ready_) Curl()->global_cleanup();
}

void CHttpProxy::Register(const CHttp* request, CompletionDelegate* delegate) {
  std::lock_guard lock(mutex_);
  completions_[request] = delegate;
}

void CHttpProxy::Deregister(const CHttp* request) {
  std::lock_guard lock(mutex_);
  completions_.erase(request);
}

bool CHttpProxy::IsRegistered(const CHttp* request) const {
  std::lock_guard lock(mutex_);
  return completions_.count(request) != 0;
}

}  // namespace qv::transfer
