#include "transfer/resumable_download.h"

#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/atomic_file.h"
#include "transfer/partial_download_files.h"
#include "transfer/partial_download_record.h"
#include "util/output_file.h"
#include "util/whole_decimal.h"

namespace qv::transfer {
namespace {

constexpr long kStatusOk = 200;
constexpr long kStatusPartialContent = 206;
constexpr long kStatusRangeNotSatisfiable = 416;

struct ContentRange {
  uint64_t first = 0;
  uint64_t last = 0;
  uint64_t total = 0;
};

// "bytes FIRST-LAST/TOTAL"; an unknown total ("*") is no usable range.
std::optional<ContentRange> ParseContentRange(std::string_view text) {
  constexpr std::string_view kUnit = "bytes ";
  if (!text.starts_with(kUnit)) return std::nullopt;
  text.remove_prefix(kUnit.size());
  const size_t dash = text.find('-');
  const size_t slash = text.find('/');
  if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash) {
    return std::nullopt;
  }
  const auto first = util::WholeDecimal(text.substr(0, dash));
  const auto last = util::WholeDecimal(text.substr(dash + 1, slash - dash - 1));
  const auto total = util::WholeDecimal(text.substr(slash + 1));
  if (!first || !last || !total || *first > *last || *last >= *total) return std::nullopt;
  return ContentRange{*first, *last, *total};
}

bool AcceptsByteRanges(const ResponseHead& head) {
  std::string value;
  for (const char c : head.accept_ranges) {
    value.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return value == "bytes";
}

// A weak ETag cannot stand in If-Range; the date is the next best validator.
std::string ResumeValidator(const ResponseHead& head) {
  if (!head.etag.empty() && !head.etag.starts_with("W/")) return head.etag;
  return head.last_modified;
}

std::optional<PartialRecord> UsableRecord(const std::string& url, const std::string& path) {
  std::string text;
  if (platform::ReadWholeFile(PartialRecordPath(path), text)) return std::nullopt;
  std::optional<PartialRecord> record = ParsePartialRecord(text);
  if (!record || record->url != url) return std::nullopt;
  std::error_code error;
  const uint64_t size = std::filesystem::file_size(path, error);
  if (error || size < record->bytes) return std::nullopt;
  return record;
}

bool StoreRecord(const std::string& path, const PartialRecord& record) {
  const std::string text = FormatPartialRecord(record);
  return !text.empty() && !platform::WriteFileAtomically(PartialRecordPath(path), text);
}

// Writes one answer's body into the partial file and keeps its record.
class PartialFileSink final : public BodySink {
 public:
  PartialFileSink(const std::string& url, const std::string& path,
                  const std::optional<PartialRecord>& resume, DownloadTraffic& traffic)
      : url_(url), path_(path), resume_(resume), traffic_(traffic) {}

  bool Write(const ResponseHead& head, const char* bytes, size_t size) override {
    traffic_.body_bytes += size;
    if (state_ == State::kUndecided) Decide(head);
    switch (state_) {
      case State::kIgnoring:
        return true;
      case State::kRestart:
      case State::kBroken:
        return false;
      case State::kUndecided:
      case State::kWriting:
        break;
    }
    if (!file_.Write(bytes, size)) {
      state_ = State::kBroken;
      return false;
    }
    written_ += size;
    if (record_.total > 0 && written_ - last_record_ >= kRecordEveryBytes && !KeepRecord()) {
      state_ = State::kBroken;
      return false;
    }
    return true;
  }

  // The offset of the answer being written: progress counts the bytes before it as received.
  uint64_t offset() const { return offset_; }
  bool restart_needed() const { return state_ == State::kRestart; }

  // Closes the file after the transfer ended with `result` and settles file and record.
  HttpResult Finish(HttpResult result) {
    if (state_ == State::kRestart) return HttpResult::kFailed;
    if (state_ != State::kWriting && state_ != State::kBroken) {
      // An answer without a body never completes a partial file.
      if (result == HttpResult::kSuccess && resume_) {
        DeletePartialDownload(path_);
        return HttpResult::kFailed;
      }
      // Nothing was written: what an earlier attempt left is as good as it was.
      return result;
    }
    const uint64_t size = offset_ + written_;
    if (result == HttpResult::kSuccess && state_ == State::kWriting) {
      const bool whole = record_.total == 0 || size == record_.total;
      const bool closed = file_.Close();
      DeletePartialRecord(path_);
      if (closed && whole) return HttpResult::kSuccess;
      DeletePartialDownload(path_);
      return HttpResult::kFailed;
    }
    const bool kept = state_ == State::kWriting && record_.total > 0 && size > 0 &&
                      written_ > 0 && file_.Sync() && file_.Close() && KeepRecordAt(size);
    if (!kept) {
      file_.Close();
      DeletePartialDownload(path_);
    }
    return result == HttpResult::kSuccess ? HttpResult::kFailed : result;
  }

 private:
  enum class State { kUndecided, kWriting, kIgnoring, kRestart, kBroken };

  void Decide(const ResponseHead& head) {
    if (head.status == kStatusPartialContent) {
      const auto range = ParseContentRange(head.content_range);
      const std::string validator = ResumeValidator(head);
      const bool consistent = resume_ && range && range->first == resume_->bytes &&
                              range->total == resume_->total && range->last + 1 == range->total &&
                              (validator.empty() || validator == resume_->validator);
      if (!consistent) {
        state_ = State::kRestart;
        return;
      }
      if (!file_.OpenToContinue(path_, resume_->bytes)) {
        state_ = State::kBroken;
        return;
      }
      offset_ = resume_->bytes;
      last_record_ = 0;
      record_ = *resume_;
      ++traffic_.continued;
      state_ = State::kWriting;
      return;
    }
    if (head.status != kStatusOk) {
      state_ = State::kIgnoring;  // an error page is no part of the file
      return;
    }
    // A new file, never one found at the path: the name is known in advance, and a link
    // planted there in a shared temporary folder must not be written through.
    DeletePartialDownload(path_);
    if (!file_.Open(path_, util::OutputFile::Mode::kCreateNew)) {
      state_ = State::kBroken;
      return;
    }
    offset_ = 0;
    const std::string validator = ResumeValidator(head);
    const auto total = util::WholeDecimal(head.content_length);
    if (AcceptsByteRanges(head) && !validator.empty() && total && *total > 0) {
      record_ = PartialRecord{url_, validator, 0, *total};
    }
    state_ = State::kWriting;
  }

  // The file's bytes reach the disk before the record that counts them.
  bool KeepRecord() {
    if (!file_.Sync()) return false;
    last_record_ = written_;
    KeepRecordAt(offset_ + written_);
    return true;
  }

  bool KeepRecordAt(uint64_t size) {
    PartialRecord record = record_;
    record.bytes = size;
    return StoreRecord(path_, record);
  }

  const std::string& url_;
  const std::string& path_;
  const std::optional<PartialRecord>& resume_;
  DownloadTraffic& traffic_;
  State state_ = State::kUndecided;
  util::OutputFile file_;
  PartialRecord record_;  // total 0: this answer cannot be resumed
  uint64_t offset_ = 0;
  uint64_t written_ = 0;
  uint64_t last_record_ = 0;
};

// Reports the whole file's progress for a transfer that continues at an offset.
class WholeFileProgress final : public CHttp::Delegate {
 public:
  WholeFileProgress(CHttp::Delegate* target, const PartialFileSink& sink)
      : target_(target), sink_(sink) {}

  void OnTransferProgress(const std::string& url, double total, double now) override {
    if (target_ == nullptr) return;
    const auto offset = static_cast<double>(sink_.offset());
    if (offset > 0 && total > 0) {
      target_->OnTransferProgress(url, total + offset, now + offset);
    } else {
      target_->OnTransferProgress(url, total, now);
    }
  }

 private:
  CHttp::Delegate* const target_;
  const PartialFileSink& sink_;
};

// One request; `restart` tells that the partial file must go and a plain GET follow.
HttpResult Transfer(const std::string& url, const std::string& path,
                    const std::optional<PartialRecord>& resume, const DownloadSetup& setup,
                    DownloadTraffic& traffic, bool& restart) {
  PartialFileSink sink(url, path, resume, traffic);
  WholeFileProgress progress(setup.progress, sink);
  CHttp http(&progress, setup.limits);
  http.SetCancelSignal(setup.cancel);
  if (setup.ca_bundle) http.SetCaBundle(*setup.ca_bundle);
  std::vector<std::string> headers;
  if (resume) {
    headers = {"Range: bytes=" + std::to_string(resume->bytes) + "-",
               "If-Range: " + resume->validator};
  }
  ResponseHead head;
  ++traffic.requests;
  const HttpResult result = http.Get(url, headers, sink, head);
  restart = sink.restart_needed() || (resume && head.status == kStatusRangeNotSatisfiable);
  return sink.Finish(result);
}

}  // namespace

HttpResult DownloadResumably(const std::string& url, const std::string& path,
                             const DownloadSetup& setup, DownloadTraffic* traffic) {
  DownloadTraffic unused;
  DownloadTraffic& counted = traffic != nullptr ? *traffic : unused;
  std::optional<PartialRecord> resume = UsableRecord(url, path);
  if (!resume) DeletePartialDownload(path);  // nothing there can be continued
  bool restart = false;
  HttpResult result = Transfer(url, path, resume, setup, counted, restart);
  const bool stopped = setup.cancel != nullptr && setup.cancel->IsRaised();
  if (restart && !stopped) {
    DeletePartialDownload(path);
    resume.reset();
    result = Transfer(url, path, resume, setup, counted, restart);
  }
  return result;
}

}  // namespace qv::transfer
