// Bounded printf-style formatting.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace qv::util {

// Largest result of the two formatters, in bytes or UTF-16 units; longer output is cut there
// silently (the formatters work in a fixed buffer of kFormatBufferSize with its terminating zero).
inline constexpr size_t kFormatBufferSize = 4096;
inline constexpr size_t kMaxFormattedLength = kFormatBufferSize - 1;

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string VFormatText(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

// The wide formatter follows the original platform's wide printf: in a wide format, %s and %c
// take wide arguments (const char16_t*, char16_t), %S and %C narrow ones (const char*, char,
// converted from the ANSI code page); %ls/%lc are always wide and %hs/%hc always narrow. A null
// string argument prints "(null)". Width and precision of strings count UTF-16 units. Numeric
// conversions (d i u o x X e E f F g G a A p) and flags behave as in printf; %n is not supported
// and prints nothing; an unknown conversion is copied as it stands.
std::u16string FormatWideText(const char16_t* format, ...);
std::u16string VFormatWideText(const char16_t* format, va_list args);

}  // namespace qv::util
