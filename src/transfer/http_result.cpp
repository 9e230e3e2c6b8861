#include "transfer/http_result.h"

#include <curl/curl.h>

namespace qv::transfer {
namespace {

constexpr long kFirstErrorStatus = 400;

}  // namespace

HttpResult HttpResultFromTransfer(int library_code, long http_status) {
  switch (library_code) {
    case CURLE_OK:
      return http_status >= kFirstErrorStatus ? HttpResult::kFailed : HttpResult::kSuccess;
    case CURLE_OPERATION_TIMEDOUT:
      return HttpResult::kTimedOut;
    case CURLE_COULDNT_RESOLVE_HOST:
      return HttpResult::kHostNotFound;
    case CURLE_COULDNT_CONNECT:
      return HttpResult::kConnectionFailed;
    case CURLE_HTTP_RETURNED_ERROR:
      return HttpResult::kHttpError;
    default:
      return HttpResult::kFailed;
  }
}

}  // namespace qv::transfer
