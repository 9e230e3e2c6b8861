#include "util/md5.h"

#include <cstring>
#include <memory>
#include <optional>

#include "platform/path_resolution.h"
#include "platform/read_only_file.h"
#include "util/file_paths.h"

namespace qv::util {
namespace {

// Bytes read per call, straight into the chunk the digest takes; the file is never held in
// memory (reads of 1,024 bytes cost a call for every KiB, 5 % of the digest's time).
constexpr size_t kFileReadSize = 64 * 1024;

inline uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline uint32_t LoadLittleEndian(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void StoreLittleEndian(uint32_t value, uint8_t* p) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

#define QV_MD5_STEP(f, a, b, c, d, x, s, t) \
  a += f(b, c, d) + (x) + (t);              \
  a = RotateLeft(a, s) + b;

inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return y ^ (z & (x ^ y)); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

void Transform(uint32_t state[4], const uint8_t block[64]) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLittleEndian(block + 4 * i);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

  QV_MD5_STEP(F, a, b, c, d, x[0], 7, 0xd76aa478)
  QV_MD5_STEP(F, d, a, b, c, x[1], 12, 0xe8c7b756)
  QV_MD5_STEP(F, c, d, a, b, x[2], 17, 0x242070db)
  QV_MD5_STEP(F, b, c, d, a, x[3], 22, 0xc1bdceee)
  QV_MD5_STEP(F, a, b, c, d, x[4], 7, 0xf57c0faf)
  QV_MD5_STEP(F, d, a, b, c, x[5], 12, 0x4787c62a)
  QV_MD5_STEP(F, c, d, a, b, x[6], 17, 0xa8304613)
  QV_MD5_STEP(F, b, c, d, a, x[7], 22, 0xfd469501)
  QV_MD5_STEP(F, a, b, c, d, x[8], 7, 0x698098d8)
  QV_MD5_STEP(F, d, a, b, c, x[9], 12, 0x8b44f7af)
  QV_MD5_STEP(F, c, d, a, b, x[10], 17, 0xffff5bb1)
  QV_MD5_STEP(F, b, c, d, a, x[11], 22, 0x895cd7be)
  QV_MD5_STEP(F, a, b, c, d, x[12], 7, 0x6b901122)
  QV_MD5_STEP(F, d, a, b, c, x[13], 12, 0xfd987193)
  QV_MD5_STEP(F, c, d, a, b, x[14], 17, 0xa679438e)
  QV_MD5_STEP(F, b, c, d, a, x[15], 22, 0x49b40821)

  QV_MD5_STEP(G, a, b, c, d, x[1], 5, 0xf61e2562)
  QV_MD5_STEP(G, d, a, b, c, x[6], 9, 0xc040b340)
  QV_MD5_STEP(G, c, d, a, b, x[11], 14, 0x265e5a51)
  QV_MD5_STEP(G, b, c, d, a, x[0], 20, 0xe9b6c7aa)
  QV_MD5_STEP(G, a, b, c, d, x[5], 5, 0xd62f105d)
  QV_MD5_STEP(G, d, a, b, c, x[10], 9, 0x02441453)
  QV_MD5_STEP(G, c, d, a, b, x[15], 14, 0xd8a1e681)
  QV_MD5_STEP(G, b, c, d, a, x[4], 20, 0xe7d3fbc8)
  QV_MD5_STEP(G, a, b, c, d, x[9], 5, 0x21e1cde6)
  QV_MD5_STEP(G, d, a, b, c, x[14], 9, 0xc33707d6)
  QV_MD5_STEP(G, c, d, a, b, x[3], 14, 0xf4d50d87)
  QV_MD5_STEP(G, b, c, d, a, x[8], 20, 0x455a14ed)
  QV_MD5_STEP(G, a, b, c, d, x[13], 5, 0xa9e3e905)
  QV_MD5_STEP(G, d, a, b, c, x[2], 9, 0xfcefa3f8)
  QV_MD5_STEP(G, c, d, a, b, x[7], 14, 0x676f02d9)
  QV_MD5_STEP(G, b, c, d, a, x[12], 20, 0x8d2a4c8a)

  QV_MD5_STEP(H, a, b, c, d, x[5], 4, 0xfffa3942)
  QV_MD5_STEP(H, d, a, b, c, x[8], 11, 0x8771f681)
  QV_MD5_STEP(H, c, d, a, b, x[11], 16, 0x6d9d6122)
  QV_MD5_STEP(H, b, c, d, a, x[14], 23, 0xfde5380c)
  QV_MD5_STEP(H, a, b, c, d, x[1], 4, 0xa4beea44)
  QV_MD5_STEP(H, d, a, b, c, x[4], 11, 0x4bdecfa9)
  QV_MD5_STEP(H, c, d, a, b, x[7], 16, 0xf6bb4b60)
  QV_MD5_STEP(H, b, c, d, a, x[10], 23, 0xbebfbc70)
  QV_MD5_STEP(H, a, b, c, d, x[13], 4, 0x289b7ec6)
  QV_MD5_STEP(H, d, a, b, c, x[0], 11, 0xeaa127fa)
  QV_MD5_STEP(H, c, d, a, b, x[3], 16, 0xd4ef3085)
  QV_MD5_STEP(H, b, c, d, a, x[6], 23, 0x04881d05)
  QV_MD5_STEP(H, a, b, c, d, x[9], 4, 0xd9d4d039)
  QV_MD5_STEP(H, d, a, b, c, x[12], 11, 0xe6db99e5)
  QV_MD5_STEP(H, c, d, a, b, x[15], 16, 0x1fa27cf8)
  QV_MD5_STEP(H, b, c, d, a, x[2], 23, 0xc4ac5665)

  QV_MD5_STEP(I, a, b, c, d, x[0], 6, 0xf4292244)
  QV_MD5_STEP(I, d, a, b, c, x[7], 10, 0x432aff97)
  QV_MD5_STEP(I, c, d, a, b, x[14], 15, 0xab9423a7)
  QV_MD5_STEP(I, b, c, d, a, x[5], 21, 0xfc93a039)
  QV_MD5_STEP(I, a, b, c, d, x[12], 6, 0x655b59c3)
  QV_MD5_STEP(I, d, a, b, c, x[3], 10, 0x8f0ccc92)
  QV_MD5_STEP(I, c, d, a, b, x[10], 15, 0xffeff47d)
  QV_MD5_STEP(I, b, c, d, a, x[1], 21, 0x85845dd1)
  QV_MD5_STEP(I, a, b, c, d, x[8], 6, 0x6fa87e4f)
  QV_MD5_STEP(I, d, a, b, c, x[15], 10, 0xfe2ce6e0)
  QV_MD5_STEP(I, c, d, a, b, x[6], 15, 0xa3014314)
  QV_MD5_STEP(I, b, c, d, a, x[13], 21, 0x4e0811a1)
  QV_MD5_STEP(I, a, b, c, d, x[4], 6, 0xf7537e82)
  QV_MD5_STEP(I, d, a, b, c, x[11], 10, 0xbd3af235)
  QV_MD5_STEP(I, c, d, a, b, x[2], 15, 0x2ad7d2bb)
  QV_MD5_STEP(I, b, c, d, a, x[9], 21, 0xeb86d391)

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

#undef QV_MD5_STEP

}  // namespace

void Md5Init(Md5Context& context) {
  context.state[0] = 0x67452301;
  context.state[1] = 0xefcdab89;
  context.state[2] = 0x98badcfe;
  context.state[3] = 0x10325476;
  context.count[0] = context.count[1] = 0;
}

void Md5Update(Md5Context& context, const void* bytes, size_t length) {
  const auto* input = static_cast<const uint8_t*>(bytes);
  size_t used = (context.count[0] >> 3) & 0x3F;

  const uint64_t bits = (static_cast<uint64_t>(context.count[1]) << 32 | context.count[0]) +
                        (static_cast<uint64_t>(length) << 3);
  context.count[0] = static_cast<uint32_t>(bits);
  context.count[1] = static_cast<uint32_t>(bits >> 32);

  if (used != 0) {
    const size_t room = 64 - used;
    if (length < room) {
      std::memcpy(context.buffer + used, input, length);
      return;
    }
    std::memcpy(context.buffer + used, input, room);
    Transform(context.state, context.buffer);
    input += room;
    length -= room;
  }
  for (; length >= 64; input += 64, length -= 64) Transform(context.state, input);
  if (length > 0) std::memcpy(context.buffer, input, length);
}

void Md5Final(Md5Context& context, uint8_t digest[kMd5DigestSize]) {
  uint8_t bit_count[8];
  StoreLittleEndian(context.count[0], bit_count);
  StoreLittleEndian(context.count[1], bit_count + 4);

  // A single 1 bit, zeros up to 56 bytes modulo 64, then the 64-bit bit count.
  static constexpr uint8_t kPadding[64] = {0x80};
  const size_t used = (context.count[0] >> 3) & 0x3F;
  const size_t padding_length = used < 56 ? 56 - used : 120 - used;
  Md5Update(context, kPadding, padding_length);
  Md5Update(context, bit_count, sizeof(bit_count));

  for (int i = 0; i < 4; ++i) StoreLittleEndian(context.state[i], digest + 4 * i);
  std::memset(&context, 0, sizeof(context));
}

void Md5Hex(const uint8_t digest[kMd5DigestSize], char out[kMd5HexSize]) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < kMd5DigestSize; ++i) {
    out[2 * i] = kDigits[digest[i] >> 4];
    out[2 * i + 1] = kDigits[digest[i] & 0x0F];
  }
  out[2 * kMd5DigestSize] = '\0';
}

bool Md5File(uint8_t digest[kMd5DigestSize], const std::string& path) {
  // Through the platform, so that a path beyond ASCII opens on Windows too (the C library would
  // read it in the ANSI code page there); a folder is no regular file and is refused.
  const std::optional<platform::ReadOnlyFile> file = platform::ReadOnlyFile::Open(path);
  if (!file) return false;

  Md5Context context;
  Md5Init(context);
  const auto chunk = std::make_unique_for_overwrite<char[]>(kFileReadSize);
  uint64_t offset = 0;
  for (;;) {
    const int64_t read = file->ReadAt(offset, chunk.get(), kFileReadSize);
    // A read error leaves a digest of part of the data: report it like a file that cannot be
    // read rather than hand out a wrong digest.
    if (read < 0) return false;
    if (read == 0) break;
    Md5Update(context, chunk.get(), static_cast<size_t>(read));
    offset += static_cast<uint64_t>(read);
  }
  Md5Final(context, digest);
  return true;
}

bool Md5Matches(std::string_view expected, std::u16string_view path) {
  uint8_t digest[kMd5DigestSize];
  // The file is found as every other file operation finds an existing one: separators
  // normalised, letter case matched when the exact name is missing.
  const std::string name = ToPlatformPath(path);
  if (!Md5File(digest, platform::ResolveExistingPath(name).value_or(name))) return false;
  char hex[kMd5HexSize];
  Md5Hex(digest, hex);
  return expected == std::string_view(hex, kMd5HexSize - 1);
}

std::string Md5HexOfText(std::string_view text) {
  Md5Context context;
  Md5Init(context);
  Md5Update(context, text.data(), text.size());
  uint8_t digest[kMd5DigestSize];
  Md5Final(context, digest);
  char hex[kMd5HexSize];
  Md5Hex(digest, hex);
  return hex;
}

}  // namespace qv::util
