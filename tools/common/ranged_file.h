// A file served as a download server serves it: "Accept-Ranges: bytes", a validator (ETag and/or
// Last-Modified), and a "Range: bytes=N-" (or "N-M") request answered with 206 and its
// Content-Range when any If-Range names the current validator, with 200 and the whole file when
// it does not, with 416 when N lies past the end. A file served without ranges answers every
// request with 200 and says nothing about ranges.
//
// The answer's body can be paced and cut (the connection closed once the body reached an offset
// of the whole file), so tests and the demo service can drop a transfer part-way.
//
// Thread: AnswerRanged runs on a server worker thread; ServeRanged registers a handler whose
// answer counter is thread-safe.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/loopback_server.h"

namespace qv::tools {

struct RangedFile {
  uint64_t size = 0;
  LoopbackServer::BodySource source = LoopbackServer::PatternBytes;
  std::string etag;           // sent when not empty
  std::string last_modified;  // sent when not empty
  bool accepts_ranges = true;
};

// How one answer is sent: `cut_at` is an offset of the whole file; `cut_half_way` closes the
// connection once half of this answer's body went out (a continued answer is cut too).
struct RangedPacing {
  std::optional<uint64_t> cut_at;
  uint64_t bytes_per_second = 0;
  bool cut_half_way = false;
};

void AnswerRanged(const LoopbackServer& server, const httplib::Request& request,
                  httplib::Response& response, const RangedFile& file, RangedPacing pacing = {});

// A 206 with `content_range` sent as given and `size` bytes of `source` from offset 0, whatever
// the request asked: a server whose partial answers cannot be trusted.
void AnswerUntrustworthyPartial(const LoopbackServer& server, const httplib::Request& request,
                                httplib::Response& response, const std::string& content_range,
                                uint64_t size, LoopbackServer::BodySource source);

// Serves `file` at `path`; the i-th answer (from 0) is paced by `pacing_by_answer[i]`, later
// answers are sent whole.
void ServeRanged(LoopbackServer& server, const std::string& path, RangedFile file,
                 std::vector<RangedPacing> pacing_by_answer = {});

}  // namespace qv::tools
