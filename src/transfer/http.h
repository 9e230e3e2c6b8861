// CHttp: one synchronous HTTP(S) request (a GET to memory or to a file, a form POST, or a
// connectivity probe) over libcurl, answering with a small result code.
//
// Ownership and thread: a caller makes a fresh CHttp on its own (worker) thread for each attempt,
// runs one operation on it, and destroys it there; the object is never shared between threads.
// The operation blocks that thread for the whole transfer. The delegate and the cancel signal are
// borrowed and must outlive the object; the delegate is called on the transferring thread.
//
// Trust: Get verifies the server's certificate and host name against the system store, or the
// build's CA bundle (qv::settings::kCaBundle) when one is set. Post verifies neither and Probe
// only the host name, as their callers (statistics reports, the connectivity probe) expect.
// Every operation accepts only http and https, for the address and for each redirect, and
// follows at most kMaxRedirects redirects.
//
// Stopping: when the cancel signal is raised the running transfer is abandoned at once and the
// operation returns HttpResult::kFailed (Probe: the library's "aborted" code); a stop is not a
// time-out, so retry policies do not mistake it for a slow network.
#pragma once

#include <cstdint>
#include <chrono>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "transfer/http_result.h"
#include "transfer/memory_body.h"
#include "util/output_file.h"

namespace qv::transfer {

// "Mozilla/5.0 ..." + " qvorvane/1.0" + " QtWebEngine": the agent of Get and Post.
extern const char kUserAgent[];

inline constexpr long kMaxRedirects = 50;
inline constexpr int64_t kProbeTimeoutMs = 10'000;
// A Get slower than this many bytes per second for this many seconds has stalled.
inline constexpr long kStallBytesPerSecond = 1;
inline constexpr long kStallSeconds = 60;
// A Get whose connection (TCP and TLS) is not made within this time, or that has received no
// byte of its body this long after it began, has stalled as well.
inline constexpr int64_t kConnectTimeoutMs = 30'000;
inline constexpr int64_t kFirstByteTimeoutMs = 60'000;

// Limits of a CHttp's operations. The defaults are the product's; tests shorten them.
struct TransferLimits {
  int64_t probe_timeout_ms = kProbeTimeoutMs;
  int64_t probe_connect_timeout_ms = kProbeTimeoutMs;
  long stall_bytes_per_second = kStallBytesPerSecond;
  long stall_seconds = kStallSeconds;
  int64_t connect_timeout_ms = kConnectTimeoutMs;
  int64_t first_byte_timeout_ms = kFirstByteTimeoutMs;
  uint32_t memory_body_ceiling = MemoryBody::kDefaultCeiling;
};

// What the last answer of a GET said about itself (after redirects: the final answer's).
struct ResponseHead {
  long status = 0;            // 0 until a status line arrived
  std::string accept_ranges;  // the header values as sent, empty when absent
  std::string etag;
  std::string last_modified;
  std::string content_range;
  std::string content_length;
};

// Receives the body of a GET piece by piece, with the head of the answer it belongs to.
class BodySink {
 public:
  virtual ~BodySink() = default;
  // False ends the transfer, which then fails.
  virtual bool Write(const ResponseHead& head, const char* bytes, size_t size) = 0;
};

class CHttp {
 public:
  class Delegate {
   public:
    virtual ~Delegate() = default;
    // During a Get: the expected body size (0 while unknown) and the bytes received so far.
    virtual void OnTransferProgress(const std::string& url, double total, double now) = 0;
  };

  explicit CHttp(Delegate* delegate = nullptr, const TransferLimits& limits = TransferLimits());
  ~CHttp();
  CHttp(const CHttp&) = delete;
  CHttp& operator=(const CHttp&) = delete;

  // Raising `signal` aborts a running operation (see above). Null: the transfer cannot be stopped.
  void SetCancelSignal(const platform::StopSignal* signal) { cancel_ = signal; }
  // The CA file Get verifies against; empty means the system store. Defaults to the build's.
  void SetCaBundle(std::string path) { ca_bundle_ = std::move(path); }

  // GET `url`. With an empty `file_path` the body is collected in memory and, when any arrived,
  // copied into `response`; otherwise it goes to `file_path`, created on the first body bytes
  // (so an empty body creates no file) and always closed before Get returns. An HTTP status of
  // 400 or more is kFailed (the error page may already be in the file).
  HttpResult Get(const std::string& url, std::string& response, const std::string& file_path);
  // GET `url` with `request_headers` ("Name: value" each) added, handing every body piece of
  // every answer to `sink` (an error page too: the sink sees its status). Results as the Get
  // above; `head` receives the last answer's head, also when no body arrived.
  HttpResult Get(const std::string& url, const std::vector<std::string>& request_headers,
                 BodySink& sink, ResponseHead& head);
  // POST `body` as a form to `url`; the answer is copied into `response` like Get's. Any HTTP
  // status counts as success.
  HttpResult Post(const std::string& url, std::string& response, const std::string& body);
  // A bare GET with ten-second limits; the body is discarded. Returns the library's own code.
  int Probe(const std::string& url);

  bool busy() const { return busy_; }

 private:
  enum class Operation { kGet, kPost, kProbe };

  static size_t OnBody(char* bytes, size_t size, size_t count, void* request);
  static size_t OnHeader(char* bytes, size_t size, size_t count, void* request);
  static size_t DiscardBody(char* bytes, size_t size, size_t count, void* request);
  static int OnProgress(void* request, int64_t download_total, int64_t download_now,
                        int64_t upload_total, int64_t upload_now);

  size_t StoreBody(const char* bytes, size_t size);
  // Runs one transfer with the options of `operation`; returns the library's code and, when the
  // transfer finished, the HTTP status.
  int Perform(Operation operation, long& http_status);
  bool Begin(const std::string& url);
  void End(std::string& response);
  bool Cancelled() const { return cancel_ != nullptr && cancel_->IsRaised(); }

  Delegate* const delegate_;
  const TransferLimits limits_;
  const platform::StopSignal* cancel_ = nullptr;
  std::string ca_bundle_;

  bool busy_ = false;
  Operation operation_ = Operation::kGet;
  std::string url_;
  std::string post_body_;
  std::string file_path_;
  std::vector<std::string> request_headers_;
  BodySink* sink_ = nullptr;
  bool sink_refused_ = false;
  ResponseHead head_;
  util::OutputFile file_;
  bool file_failed_ = false;
  MemoryBody body_;
  std::chrono::steady_clock::time_point started_;  // when the running transfer began
  bool no_first_byte_ = false;  // the running Get was ended for receiving nothing in time
};

}  // namespace qv::transfer
