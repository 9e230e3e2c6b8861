// Base64 encoding of the featured game's name for the client's launch line.
//
// The client decodes the name from a fixed 128-byte buffer, so the encoder writes into one: the
// caller hands over a zero-filled buffer of kBase64OutputSize bytes and gets standard RFC 4648
// text with "=" padding, a CR LF after every 72 characters when more text follows, and a zero
// terminator. Input that would not fit the buffer is refused (false) and nothing is written.
// Stateless; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::workflow {

inline constexpr size_t kBase64OutputSize = 128;
inline constexpr size_t kBase64LineLength = 72;

class CBase64Coding {
 public:
  virtual ~CBase64Coding() = default;

  // Encodes `length` bytes of `input` into `output` (kBase64OutputSize bytes). False when the
  // encoded text with its line breaks and terminator would not fit.
  virtual bool Base64Encode(const uint8_t* input, size_t length, char* output);
};

// Characters the encoder writes for `length` input bytes, line breaks included, terminator not.
size_t Base64EncodedLength(size_t length);

}  // namespace qv::workflow
