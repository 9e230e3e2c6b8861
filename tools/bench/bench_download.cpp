// Downloads one URL to a file with CHttp::Get, as the installer downloads its packages.
// Usage: qv-bench-download URL FILE. Exit code 0 on success, else the HttpResult.
#include <cstdio>
#include <string>

#include "transfer/http.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s URL FILE\n", argv[0]);
    return 64;
  }
  std::string response;
  const auto result = qv::transfer::CHttp().Get(argv[1], response, argv[2]);
  if (result != qv::transfer::HttpResult::kSuccess) {
    // A failed run says why; the benchmark script prints it.
    constexpr const char* kNames[] = {"success",   "timed out", "host not found",
                                      "connection failed", "HTTP error", "no body", "failed"};
    const int code = static_cast<int>(result);
    std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1],
                 code >= 0 && code < 7 ? kNames[code] : "unknown result");
  }
  return static_cast<int>(result);
}
