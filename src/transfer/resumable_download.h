// One attempt at downloading a URL into its partial file, continuing what an earlier attempt or
// an earlier run left there when the server allows it.
//
// Continuing: an attempt whose file and record (partial_download_record.h) are usable asks for
// "Range: bytes=N-" with "If-Range: <validator>". A 206 whose Content-Range runs from N to the
// recorded total's last byte (with the same validator, when the answer names one) appends; a 200
// writes the file anew from its first byte (the server ignored the range, or the content
// changed). An inconsistent 206 or a 416 removes the partial file and the same attempt fetches
// the whole file with a plain GET. A file without a usable record is never continued.
//
// Keeping: while an answer that allows resuming (Accept-Ranges: bytes, a strong ETag or else a
// Last-Modified date, a known size) is written, the record is renewed every kRecordEveryBytes
// after the file's bytes reached the disk, and once more when the attempt fails; a run that is
// killed or powered off therefore loses at most the bytes since the last renewal. An attempt
// that fails on an answer that cannot be resumed removes its file, so a failure leaves at most
// the one partial file of the URL. A complete download loses its record: the file is the
// caller's, to use and delete.
//
// Thread: blocks the calling thread for the transfer; the setup's delegate and stop signal are
// borrowed for the call and used on that thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "transfer/http.h"
#include "transfer/http_result.h"

namespace qv::transfer {

inline constexpr uint64_t kRecordEveryBytes = uint64_t{8} << 20;

struct DownloadSetup {
  // Progress of the whole file: bytes continued from an earlier attempt count as received.
  CHttp::Delegate* progress = nullptr;
  TransferLimits limits;
  const platform::StopSignal* cancel = nullptr;
  std::optional<std::string> ca_bundle;  // nullopt: the build's
};

// What an attempt cost on the wire, for benchmarks and tests.
struct DownloadTraffic {
  uint64_t body_bytes = 0;  // body bytes received, every answer counted
  int requests = 0;
  int continued = 0;        // answers that appended to a partial file
};

// One attempt at `url` into `path` (PartialDownloadPath of the URL). The result is CHttp::Get's;
// kSuccess only when the file holds the whole announced size.
HttpResult DownloadResumably(const std::string& url, const std::string& path,
                             const DownloadSetup& setup, DownloadTraffic* traffic = nullptr);

}  // namespace qv::transfer
