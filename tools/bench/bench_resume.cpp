// A platform archive whose connection drops three times (at 30, 60 and 90 % of the file) before
// a fourth attempt gets the rest, downloaded twice over loopback: as the installer did before
// downloads were continued (every attempt a plain GET into a new file) and as it does now
// (DownloadResumably). Prints one Markdown row per way: body bytes the server sent, their ratio
// to the archive's size, wall time, attempts.
//
// Usage: qv-bench-resume WORK_FOLDER [MIB [BYTES_PER_SECOND]]   (defaults 300 MiB, unthrottled)
// The waits between attempts are the installer's 20 ms. Exit code 0 when both ways ended with
// the server's exact bytes.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "common/loopback_server.h"
#include "common/ranged_file.h"
#include "transfer/http.h"
#include "transfer/partial_download_files.h"
#include "transfer/resumable_download.h"

namespace {

using qv::tools::LoopbackServer;
using qv::tools::RangedFile;
using qv::tools::RangedPacing;
using qv::transfer::HttpResult;

constexpr int kAttemptBudget = 50;
constexpr auto kRetryPause = std::chrono::milliseconds(20);
constexpr double kDrops[] = {0.3, 0.6, 0.9};
constexpr size_t kBlockSize = 1 << 20;

// The archive: one mebibyte of noise repeated, so that serving costs no more than copying.
const std::string& Block() {
  static const std::string block = [] {
    std::string bytes(kBlockSize, '\0');
    uint32_t state = 2463534242u;
    for (char& c : bytes) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      c = static_cast<char>(state);
    }
    return bytes;
  }();
  return block;
}

std::string ArchiveBytes(uint64_t offset, size_t size) {
  std::string bytes;
  bytes.reserve(size);
  while (bytes.size() < size) {
    const size_t at = (offset + bytes.size()) % kBlockSize;
    bytes.append(Block(), at, std::min(size - bytes.size(), kBlockSize - at));
  }
  return bytes;
}

bool HoldsTheArchive(const std::string& path, uint64_t size) {
  std::ifstream file(path, std::ios::binary);
  std::string piece(kBlockSize, '\0');
  uint64_t offset = 0;
  while (file.read(piece.data(), static_cast<std::streamsize>(piece.size())) || file.gcount() > 0) {
    const auto got = static_cast<size_t>(file.gcount());
    if (piece.compare(0, got, ArchiveBytes(offset, got)) != 0) return false;
    offset += got;
  }
  return offset == size;
}

struct Outcome {
  uint64_t served = 0;
  double seconds = 0;
  int attempts = 0;
  bool exact = false;
};

// `attempt` makes one attempt into the folder and gives its result and the finished file's path.
template <typename Attempt>
Outcome Measure(LoopbackServer& server, const std::string& path, uint64_t size,
                uint64_t bytes_per_second, std::atomic<uint64_t>& served, Attempt attempt) {
  std::vector<RangedPacing> pacing;
  for (const double drop : kDrops) {
    pacing.push_back(RangedPacing{static_cast<uint64_t>(drop * static_cast<double>(size)),
                                  bytes_per_second, false});
  }
  pacing.push_back(RangedPacing{std::nullopt, bytes_per_second, false});
  qv::tools::ServeRanged(
      server, path,
      RangedFile{size,
                 [&served](uint64_t offset, size_t piece) {
                   served += piece;
                   return ArchiveBytes(offset, piece);
                 },
                 "\"bench\"", "", true},
      pacing);
  served = 0;
  Outcome outcome;
  const auto start = std::chrono::steady_clock::now();
  std::string file;
  while (outcome.attempts < kAttemptBudget) {
    ++outcome.attempts;
    if (attempt(outcome.attempts, file) == HttpResult::kSuccess) break;
    std::this_thread::sleep_for(kRetryPause);
  }
  outcome.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  outcome.served = served;
  outcome.exact = HoldsTheArchive(file, size);
  return outcome;
}

void Row(const char* way, const Outcome& outcome, uint64_t size) {
  std::printf("| %s | %.1f MiB | %.2f | %.2f s | %d |%s\n", way,
              static_cast<double>(outcome.served) / (1 << 20),
              static_cast<double>(outcome.served) / static_cast<double>(size), outcome.seconds,
              outcome.attempts, outcome.exact ? "" : " (file differs!)");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s WORK_FOLDER [MIB [BYTES_PER_SECOND]]\n", argv[0]);
    return 64;
  }
  const std::string work = std::string(argv[1]) + "/";
  const uint64_t size = (argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 300) << 20;
  const uint64_t rate = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
  std::filesystem::create_directories(work);
  auto server = LoopbackServer::StartHttp();
  server->SetRecording(false);
  std::atomic<uint64_t> served{0};

  const Outcome before = Measure(
      *server, "/before.zip", size, rate, served, [&](int attempt, std::string& file) {
        file = work + "qvorinstall_" + std::to_string(attempt) + ".tmp";
        std::string unused;
        return qv::transfer::CHttp().Get(server->Url("/before.zip"), unused, file);
      });
  for (int attempt = 1; attempt <= before.attempts; ++attempt) {
    std::filesystem::remove(work + "qvorinstall_" + std::to_string(attempt) + ".tmp");
  }

  const std::string url = server->Url("/now.zip");
  const std::string partial = qv::transfer::PartialDownloadPath(work, url);
  qv::transfer::DeletePartialDownload(partial);
  const Outcome now = Measure(*server, "/now.zip", size, rate, served,
                              [&](int, std::string& file) {
                                file = partial;
                                return qv::transfer::DownloadResumably(url, partial, {});
                              });
  qv::transfer::DeletePartialDownload(partial);

  std::printf("| %.0f MiB archive, drops at 30/60/90 %% | body bytes served | times the archive "
              "| time | attempts |\n|---|---|---|---|---|\n",
              static_cast<double>(size) / (1 << 20));
  Row("every attempt from the first byte (before)", before, size);
  Row("continued with Range/If-Range (now)", now, size);
  return before.exact && now.exact ? 0 : 1;
}
