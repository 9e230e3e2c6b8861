// The small result code of CHttp::Get and CHttp::Post. Callers pass it on unchanged (as the state
// code of a progress report, for example), so the numbers are part of the contract.
#pragma once

namespace qv::transfer {

enum class HttpResult : int {
  kSuccess = 0,
  kTimedOut = 1,          // the library's time-out, also a stalled transfer
  kHostNotFound = 2,
  kConnectionFailed = 3,
  kHttpError = 4,         // the library's own HTTP-error code
  kNoBody = 5,            // only for completions delivered through CHttpProxy
  kFailed = 6,            // everything else, an HTTP status of 400 or more, a stopped transfer
};

// Maps the library's result code (and, when `http_status` is not 0, the HTTP status of a
// transfer the library finished) to an HttpResult.
HttpResult HttpResultFromTransfer(int library_code, long http_status);

}  // namespace qv::transfer
