// Prints the MD5 digest of one file computed by Md5File, as the installer checks a package.
// Usage: qv-bench-md5 FILE
#include <cstdio>

#include "util/md5.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 64;
  }
  uint8_t digest[qv::util::kMd5DigestSize];
  if (!qv::util::Md5File(digest, argv[1])) return 1;
  char hex[qv::util::kMd5HexSize];
  qv::util::Md5Hex(digest, hex);
  std::printf("%s  %s\n", hex, argv[1]);
  return 0;
}
