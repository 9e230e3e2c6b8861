// MD5 digests (RFC 1321): checking downloaded packages against announced digests and deriving
// the client id from machine data. Every caller compares or sends the 32-character lower-case
// hexadecimal form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv::util {

inline constexpr size_t kMd5DigestSize = 16;
inline constexpr size_t kMd5HexSize = 33;  // 32 hexadecimal digits and the terminating zero

struct Md5Context {
  uint32_t state[4];   // the four chaining values, in order
  uint32_t count[2];   // message length in bits, low word first
  uint8_t buffer[64];  // the partial input block
};

void Md5Init(Md5Context& context);
void Md5Update(Md5Context& context, const void* bytes, size_t length);
// Appends the message tail, writes the digest, then clears the whole context.
void Md5Final(Md5Context& context, uint8_t digest[kMd5DigestSize]);

// Formats each digest byte with "%02x" in order, followed by a zero byte.
void Md5Hex(const uint8_t digest[kMd5DigestSize], char out[kMd5HexSize]);

// Digest of a file read in 1024-byte pieces; `path` is narrow text in the ANSI code page.
// Returns false (and leaves `digest` alone) when the file cannot be opened or a read fails.
bool Md5File(uint8_t digest[kMd5DigestSize], const std::string& path);

// True only when the file can be read and the hexadecimal form of its digest equals `expected`
// byte for byte (same length, same bytes: an upper-case digest does not match).
bool Md5Matches(std::string_view expected, std::u16string_view path);

// Hexadecimal digest of a text's bytes (without any terminating zero).
std::string Md5HexOfText(std::string_view text);

}  // namespace qv::util
