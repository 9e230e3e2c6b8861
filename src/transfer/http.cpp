#include "transfer/http.h"

#include <cctype>
#include <string_view>
#include <type_traits>

#include "qv/deployment_settings.h"
#include "transfer/curl_easy.h"
#include "transfer/curl_library.h"
#include "transfer/http_proxy.h"

namespace qv::transfer {

const char kUserAgent[] =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/59.0.3071.109 Safari/537.36"
    " qvorvane/1.0"
    " QtWebEngine";

namespace {

static_assert(std::is_same_v<curl_off_t, int64_t>, "progress hook signature");

constexpr char kAllowedProtocols[] = "http,https";
constexpr long kVerifyHostName = 2;  // the library's "check the name" value

// Collects the first failing option, so a long list of settings reads as one block.
class OptionSetter {
 public:
  OptionSetter(const CurlLibrary& curl, CURL* handle) : curl_(curl), handle_(handle) {}

  template <typename Value>
  OptionSetter& Set(CURLoption option, Value value) {
    if (result_ == CURLE_OK) result_ = curl_.easy_setopt(handle_, option, value);
    return *this;
  }
  CURLcode result() const { return result_; }

 private:
  const CurlLibrary& curl_;
  CURL* handle_;
  CURLcode result_ = CURLE_OK;
};

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

// One header line of an answer into `head`; a status line starts a new answer (a redirect's
// or an interim answer's headers are not the final answer's).
void ReadHeaderLine(std::string_view line, ResponseHead& head) {
  line = Trimmed(line);
  if (line.starts_with("HTTP/")) {
    head = ResponseHead();
    const size_t space = line.find(' ');
    long status = 0;
    for (size_t i = space == std::string_view::npos ? line.size() : space + 1;
         i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
      status = status * 10 + (line[i] - '0');
    }
    head.status = status;
    return;
  }
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view name = Trimmed(line.substr(0, colon));
  const std::string value(Trimmed(line.substr(colon + 1)));
  if (SameNameIgnoringCase(name, "Accept-Ranges")) head.accept_ranges = value;
  if (SameNameIgnoringCase(name, "ETag")) head.etag = value;
  if (SameNameIgnoringCase(name, "Last-Modified")) head.last_modified = value;
  if (SameNameIgnoringCase(name, "Content-Range")) head.content_range = value;
  if (SameNameIgnoringCase(name, "Content-Length")) head.content_length = value;
}

}  // namespace

CHttp::CHttp(Delegate* delegate, const TransferLimits& limits)
    : delegate_(delegate),
      limits_(limits),
      ca_bundle_(settings::kCaBundle),
      body_(limits.memory_body_ceiling) {
  CHttpProxy::Instance();  // the library's global state exists before any handle
}

CHttp::~CHttp() { CHttpProxy::Instance().Deregister(this); }

HttpResult CHttp::Get(const std::string& url, std::string& response, const std::string& file_path) {
  if (!Begin(url)) return HttpResult::kFailed;
  file_path_ = file_path;
  long http_status = 0;
  const int code = Perform(Operation::kGet, http_status);
  // A file whose last bytes could not be flushed (a full disk shows up here) is not a download.
  const bool file_complete = !file_.is_open() || file_.Close();
  const bool body_complete = !body_.truncated() && !file_failed_ && file_complete;
  End(response);
  if (no_first_byte_) return HttpResult::kTimedOut;
  const HttpResult result = HttpResultFromTransfer(code, http_status);
  return result == HttpResult::kSuccess && !body_complete ? HttpResult::kFailed : result;
}

HttpResult CHttp::Get(const std::string& url, const std::vector<std::string>& request_headers,
                      BodySink& sink, ResponseHead& head) {
  if (!Begin(url)) return HttpResult::kFailed;
  request_headers_ = request_headers;
  sink_ = &sink;
  long http_status = 0;
  const int code = Perform(Operation::kGet, http_status);
  const bool refused = sink_refused_;
  head = head_;
  sink_ = nullptr;
  request_headers_.clear();
  std::string unused;
  End(unused);
  if (no_first_byte_) return HttpResult::kTimedOut;
  const HttpResult result = HttpResultFromTransfer(code, http_status);
  return result == HttpResult::kSuccess && refused ? HttpResult::kFailed : result;
}

HttpResult CHttp::Post(const std::string& url, std::string& response, const std::string& body) {
  if (!Begin(url)) return HttpResult::kFailed;
  post_body_ = body;
  long http_status = 0;
  const int code = Perform(Operation::kPost, http_status);
  const bool body_complete = !body_.truncated();
  End(response);
  const HttpResult result = HttpResultFromTransfer(code, 0);
  return result == HttpResult::kSuccess && !body_complete ? HttpResult::kFailed : result;
}

int CHttp::Probe(const std::string& url) {
  url_ = url;
  long http_status = 0;
  return Perform(Operation::kProbe, http_status);
}

bool CHttp::Begin(const std::string& url) {
  if (url.empty() || busy_) return false;
  busy_ = true;
  body_.Clear();
  file_.Close();
  file_failed_ = false;
  sink_refused_ = false;
  head_ = ResponseHead();
  url_ = url;
  file_path_.clear();
  return true;
}

void CHttp::End(std::string& response) {
  if (!body_.bytes().empty()) response.assign(body_.bytes());
  busy_ = false;
}

int CHttp::Perform(Operation operation, long& http_status) {
  operation_ = operation;
  started_ = std::chrono::steady_clock::now();
  no_first_byte_ = false;
  if (!CHttpProxy::Instance().library_ready()) return CURLE_FAILED_INIT;
  if (Cancelled()) return CURLE_ABORTED_BY_CALLBACK;
  const CurlLibrary& curl = *Curl();  // open: the proxy's start succeeded
  const CurlEasy handle(curl.easy_init());
  if (!handle) return CURLE_FAILED_INIT;

  OptionSetter options(curl, handle.get());
  options.Set(CURLOPT_URL, url_.c_str())
      .Set(CURLOPT_PROTOCOLS_STR, kAllowedProtocols)
      .Set(CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols)
      .Set(CURLOPT_FOLLOWLOCATION, 1L)
      .Set(CURLOPT_MAXREDIRS, kMaxRedirects)
      .Set(CURLOPT_NOSIGNAL, 1L);
  // The progress hook carries the stop request to every operation; only Get reports progress.
  if (operation == Operation::kGet || cancel_ != nullptr) {
    options.Set(CURLOPT_NOPROGRESS, 0L)
        .Set(CURLOPT_XFERINFOFUNCTION, &CHttp::OnProgress)
        .Set(CURLOPT_XFERINFODATA, this);
  }
  switch (operation) {
    case Operation::kGet:
      options.Set(CURLOPT_HTTPGET, 1L)
          .Set(CURLOPT_SSL_VERIFYPEER, 1L)
          .Set(CURLOPT_SSL_VERIFYHOST, kVerifyHostName)
          .Set(CURLOPT_LOW_SPEED_LIMIT, limits_.stall_bytes_per_second)
          .Set(CURLOPT_LOW_SPEED_TIME, limits_.stall_seconds)
          .Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connect_timeout_ms))
          .Set(CURLOPT_WRITEFUNCTION, &CHttp::OnBody)
          .Set(CURLOPT_WRITEDATA, this)
          .Set(CURLOPT_USERAGENT, kUserAgent);
      if (!ca_bundle_.empty()) options.Set(CURLOPT_CAINFO, ca_bundle_.c_str());
      if (sink_ != nullptr) {
        options.Set(CURLOPT_HEADERFUNCTION, &CHttp::OnHeader).Set(CURLOPT_HEADERDATA, this);
      }
      break;
    case Operation::kPost:
      options.Set(CURLOPT_POST, 1L)
          .Set(CURLOPT_POSTFIELDS, post_body_.c_str())
          .Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post_body_.size()))
          .Set(CURLOPT_SSL_VERIFYPEER, 0L)
          .Set(CURLOPT_SSL_VERIFYHOST, 0L)
          .Set(CURLOPT_WRITEFUNCTION, &CHttp::OnBody)
          .Set(CURLOPT_WRITEDATA, this)
          .Set(CURLOPT_USERAGENT, kUserAgent);
      break;
    case Operation::kProbe:
      options.Set(CURLOPT_HTTPGET, 1L)
          .Set(CURLOPT_SSL_VERIFYPEER, 0L)
          .Set(CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.probe_timeout_ms))
          .Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.probe_connect_timeout_ms))
          .Set(CURLOPT_WRITEFUNCTION, &CHttp::DiscardBody)
          .Set(CURLOPT_WRITEDATA, this);
      break;
  }
  CurlSlist header_list;
  for (const std::string& header : request_headers_) {
    curl_slist* longer = curl.slist_append(header_list.get(), header.c_str());
    if (longer == nullptr) return CURLE_OUT_OF_MEMORY;
    header_list.release();
    header_list.reset(longer);
  }
  if (header_list) options.Set(CURLOPT_HTTPHEADER, header_list.get());
  if (options.result() != CURLE_OK) return options.result();

  const CURLcode code = curl.easy_perform(handle.get());
  if (code == CURLE_OK) curl.easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &http_status);
  return code;
}

size_t CHttp::OnBody(char* bytes, size_t size, size_t count, void* request) {
  if (request == nullptr) return 0;
  return static_cast<CHttp*>(request)->StoreBody(bytes, size * count);
}

size_t CHttp::OnHeader(char* bytes, size_t size, size_t count, void* request) {
  if (request == nullptr) return 0;
  ReadHeaderLine(std::string_view(bytes, size * count), static_cast<CHttp*>(request)->head_);
  return size * count;
}

size_t CHttp::DiscardBody(char*, size_t size, size_t count, void* request) {
  if (request != nullptr && static_cast<CHttp*>(request)->Cancelled()) return 0;
  return size * count;
}

size_t CHttp::StoreBody(const char* bytes, size_t size) {
  if (Cancelled()) return 0;  // the library ends the transfer at once
  if (sink_ != nullptr) {
    if (sink_->Write(head_, bytes, size)) return size;
    sink_refused_ = true;
    return 0;
  }
  if (file_path_.empty()) {
    // A body past the ceiling fails the transfer; fetching the rest would be wasted.
    return body_.Append(bytes, size) ? size : 0;
  }
  if (!file_.is_open() && !file_.Open(file_path_, util::OutputFile::Mode::kCreateOrTruncate)) {
    file_failed_ = true;
    return 0;
  }
  if (!file_.Write(bytes, size)) {
    file_failed_ = true;
    return 0;
  }
  return size;
}

int CHttp::OnProgress(void* request, int64_t download_total, int64_t download_now, int64_t,
                      int64_t) {
  auto* self = static_cast<CHttp*>(request);
  if (self->Cancelled()) return 1;  // aborts the transfer
  // The library's speed check starts only once the answer is awaited; a server that takes the
  // request and never answers is a stall from the request's start. Measured on the real clock,
  // as the library's own limits are: a test's virtual time says nothing about a transfer.
  if (self->operation_ == Operation::kGet && download_now == 0 &&
      std::chrono::steady_clock::now() - self->started_ >=
          std::chrono::milliseconds(self->limits_.first_byte_timeout_ms)) {
    self->no_first_byte_ = true;
    return 1;
  }
  if (self->operation_ == Operation::kGet && self->delegate_ != nullptr) {
    self->delegate_->OnTransferProgress(self->url_, static_cast<double>(download_total),
                                        static_cast<double>(download_now));
  }
  return 0;
}

}  // namespace qv::transfer
