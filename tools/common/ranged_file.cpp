#include "common/ranged_file.h"

#include <atomic>
#include <memory>
#include <string_view>
#include <utility>

#include "util/whole_decimal.h"

namespace qv::tools {
namespace {

struct ByteRange {
  uint64_t first = 0;
  std::optional<uint64_t> last;
};

// "bytes=N-" or "bytes=N-M"; anything else is answered as if there were no range.
std::optional<ByteRange> ParseRange(std::string_view text) {
  constexpr std::string_view kUnit = "bytes=";
  if (!text.starts_with(kUnit)) return std::nullopt;
  text.remove_prefix(kUnit.size());
  const size_t dash = text.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  const auto first = util::WholeDecimal(text.substr(0, dash));
  if (!first) return std::nullopt;
  if (dash + 1 == text.size()) return ByteRange{*first, std::nullopt};
  const auto last = util::WholeDecimal(text.substr(dash + 1));
  if (!last || *last < *first) return std::nullopt;
  return ByteRange{*first, *last};
}

bool IfRangeHolds(const httplib::Request& request, const RangedFile& file) {
  if (!request.has_header("If-Range")) return true;
  const std::string validator = request.get_header_value("If-Range");
  return (!file.etag.empty() && validator == file.etag && !file.etag.starts_with("W/")) ||
         (!file.last_modified.empty() && validator == file.last_modified);
}

// The answer is made by the caller; the library's own range handling would cut it a second time.
void TurnOffLibraryRanges(const httplib::Request& request) {
  const_cast<httplib::Request&>(request).ranges.clear();
}

}  // namespace

void AnswerRanged(const LoopbackServer& server, const httplib::Request& request,
                  httplib::Response& response, const RangedFile& file, RangedPacing pacing) {
  TurnOffLibraryRanges(request);
  if (!file.etag.empty()) response.set_header("ETag", file.etag);
  if (!file.last_modified.empty()) response.set_header("Last-Modified", file.last_modified);
  uint64_t first = 0;
  uint64_t size = file.size;
  std::optional<ByteRange> range;
  if (file.accepts_ranges) {
    response.set_header("Accept-Ranges", "bytes");
    if (request.has_header("Range") && IfRangeHolds(request, file)) {
      range = ParseRange(request.get_header_value("Range"));
    }
  }
  if (range) {
    if (range->first >= file.size) {
      response.status = 416;
      response.set_header("Content-Range", "bytes */" + std::to_string(file.size));
      return;
    }
    const uint64_t last = std::min(range->last.value_or(file.size - 1), file.size - 1);
    first = range->first;
    size = last - first + 1;
    response.status = 206;
    response.set_header("Content-Range", "bytes " + std::to_string(first) + "-" +
                                             std::to_string(last) + "/" +
                                             std::to_string(file.size));
  } else {
    response.status = 200;
  }
  BodyPacing body_pacing{pacing.bytes_per_second, std::nullopt};
  if (pacing.cut_at) body_pacing.cut_after = *pacing.cut_at > first ? *pacing.cut_at - first : 0;
  if (pacing.cut_half_way) body_pacing.cut_after = size / 2;
  server.SendBody(
      response, size,
      [source = file.source, first](uint64_t offset, size_t piece) {
        return source(first + offset, piece);
      },
      body_pacing);
}

void AnswerUntrustworthyPartial(const LoopbackServer& server, const httplib::Request& request,
                                httplib::Response& response, const std::string& content_range,
                                uint64_t size, LoopbackServer::BodySource source) {
  TurnOffLibraryRanges(request);
  response.status = 206;
  response.set_header("Content-Range", content_range);
  server.SendBody(response, size, std::move(source), BodyPacing{});
}

void ServeRanged(LoopbackServer& server, const std::string& path, RangedFile file,
                 std::vector<RangedPacing> pacing_by_answer) {
  auto answers = std::make_shared<std::atomic<size_t>>(0);
  server.Handle(path, [&server, file = std::move(file), pacing = std::move(pacing_by_answer),
                       answers](const httplib::Request& request, httplib::Response& response) {
    const size_t answer = answers->fetch_add(1);
    AnswerRanged(server, request, response, file,
                 answer < pacing.size() ? pacing[answer] : RangedPacing{});
  });
}

}  // namespace qv::tools
