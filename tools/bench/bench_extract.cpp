// Unpacks one archive with ExtractArchive, as the installer unpacks its packages.
// Usage: qv-bench-extract ARCHIVE FOLDER. Exit code 0 when every entry was unpacked.
#include <cstdio>

#include "util/unzipper.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ARCHIVE FOLDER\n", argv[0]);
    return 64;
  }
  return qv::util::ExtractArchive(argv[1], argv[2]) ? 0 : 1;
}
