#include "util/text_format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/utf8_text.h"
#include "util/text_conversion.h"

namespace qv::util {

std::string VFormatText(const char* format, va_list args) {
  // Three bytes beyond the designed buffer show whether its cut would split a character; the
  // result is cut after the last whole character that fits the designed buffer.
  char buffer[kFormatBufferSize + 3] = {};
  std::vsnprintf(buffer, sizeof(buffer), format, args);
  return std::string(platform::Utf8Prefix(buffer, kMaxFormattedLength));
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result = VFormatText(format, args);
  va_end(args);
  return result;
}

namespace {

// The first `max_units` units of `text`, one fewer when the cut would split a surrogate pair.
std::u16string_view WidePrefix(std::u16string_view text, size_t max_units) {
  if (text.size() <= max_units) return text;
  const bool splits_pair = max_units > 0 && text[max_units - 1] >= 0xD800 &&
                           text[max_units - 1] <= 0xDBFF && text[max_units] >= 0xDC00 &&
                           text[max_units] <= 0xDFFF;
  return text.substr(0, splits_pair ? max_units - 1 : max_units);
}

// Appends to a wide result that never grows past kMaxFormattedLength units.
class BoundedWideOutput {
 public:
  void Append(std::u16string_view text) {
    if (full_) return;
    const size_t room = kMaxFormattedLength - text_.size();
    text_.append(WidePrefix(text, room));
    if (text.size() > room) full_ = true;
  }
  void AppendAscii(std::string_view text) {
    for (char c : text) {
      if (full_ || text_.size() >= kMaxFormattedLength) return;
      text_.push_back(static_cast<unsigned char>(c));
    }
  }
  void AppendRepeated(char16_t unit, size_t count) {
    if (full_) return;
    const size_t room = kMaxFormattedLength - text_.size();
    text_.append(count < room ? count : room, unit);
  }
  std::u16string Take() { return std::move(text_); }

 private:
  std::u16string text_;
  bool full_ = false;  // a cut happened: nothing after it may fill the unit a split pair left
};

enum class Length { kNone, kChar, kShort, kLong, kLongLong, kSize, kMax, kPtrDiff, kLongDouble };

struct Spec {
  std::string flags;  // any of "-+ #0"
  int width = -1;     // -1: none
  int precision = -1; // -1: none
  Length length = Length::kNone;
  bool wide_length = false;    // 'l' given: %ls / %lc
  bool narrow_length = false;  // 'h' given: %hs / %hc
};

// Pads and appends a string conversion's text, honouring width, precision and '-'.
void AppendPadded(const Spec& spec, std::u16string_view text, BoundedWideOutput& out) {
  if (spec.precision >= 0) text = WidePrefix(text, static_cast<size_t>(spec.precision));
  const size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
  const size_t padding = width > text.size() ? width - text.size() : 0;
  const bool left = spec.flags.find('-') != std::string::npos;
  if (!left) out.AppendRepeated(u' ', padding);
  out.Append(text);
  if (left) out.AppendRepeated(u' ', padding);
}

// snprintf into a string of the exact size the conversion needs.
template <typename Value>
std::string PrintOne(const std::string& narrow_spec, Value value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int size = std::snprintf(nullptr, 0, narrow_spec.c_str(), value);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), narrow_spec.c_str(), value);
#pragma GCC diagnostic pop
  text.pop_back();
  return text;
}

// Formats one numeric conversion with the C library into narrow ASCII text.
std::string FormatNumber(const Spec& spec, char conversion, va_list& args) {
  std::string narrow_spec = "%" + spec.flags;
  if (spec.width >= 0) narrow_spec += std::to_string(spec.width);
  if (spec.precision >= 0) narrow_spec += "." + std::to_string(spec.precision);
  if (conversion == 'p') return PrintOne(narrow_spec + 'p', va_arg(args, void*));
  if (std::strchr("eEfFgGaA", conversion) != nullptr) {
    if (spec.length == Length::kLongDouble) {
      return PrintOne(narrow_spec + 'L' + conversion, va_arg(args, long double));
    }
    return PrintOne(narrow_spec + conversion, va_arg(args, double));
  }
  // Integers are read with their promoted type, narrowed as the length asks, and printed as
  // 64-bit values.
  narrow_spec += "ll";
  narrow_spec += conversion;
  if (conversion == 'd' || conversion == 'i') {
    long long value = 0;
    switch (spec.length) {
      case Length::kChar: value = static_cast<signed char>(va_arg(args, int)); break;
      case Length::kShort: value = static_cast<short>(va_arg(args, int)); break;
      case Length::kLong: value = va_arg(args, long); break;
      case Length::kLongLong: value = va_arg(args, long long); break;
      case Length::kSize: value = va_arg(args, ssize_t); break;
      case Length::kMax: value = va_arg(args, intmax_t); break;
      case Length::kPtrDiff: value = va_arg(args, ptrdiff_t); break;
      default: value = va_arg(args, int); break;
    }
    return PrintOne(narrow_spec, value);
  }
  unsigned long long value = 0;
  switch (spec.length) {
    case Length::kChar: value = static_cast<unsigned char>(va_arg(args, unsigned)); break;
    case Length::kShort: value = static_cast<unsigned short>(va_arg(args, unsigned)); break;
    case Length::kLong: value = va_arg(args, unsigned long); break;
    case Length::kLongLong: value = va_arg(args, unsigned long long); break;
    case Length::kSize: value = va_arg(args, size_t); break;
    case Length::kMax: value = va_arg(args, uintmax_t); break;
    case Length::kPtrDiff: value = static_cast<unsigned long long>(va_arg(args, ptrdiff_t)); break;
    default: value = va_arg(args, unsigned); break;
  }
  return PrintOne(narrow_spec, value);
}

// Reads a decimal count or '*' (taken from the arguments) at `p`; nullopt when neither is there.
std::optional<int> ReadCount(const char16_t*& p, va_list& args) {
  if (*p == u'*') {
    ++p;
    return va_arg(args, int);
  }
  if (*p < u'0' || *p > u'9') return std::nullopt;
  int value = 0;
  while (*p >= u'0' && *p <= u'9') {
    if (value < 100000) value = value * 10 + (*p - u'0');  // larger counts only mean "very wide"
    ++p;
  }
  return value;
}

}  // namespace

std::u16string VFormatWideText(const char16_t* format, va_list args_in) {
  BoundedWideOutput out;
  if (format == nullptr) return out.Take();
  va_list args;
  va_copy(args, args_in);
  const char16_t* p = format;
  while (*p) {
    if (*p != u'%') {
      const char16_t* start = p;
      while (*p && *p != u'%') ++p;
      out.Append(std::u16string_view(start, static_cast<size_t>(p - start)));
      continue;
    }
    const char16_t* directive_start = p++;
    Spec spec;
    while (*p && std::u16string_view(u"-+ #0").find(*p) != std::u16string_view::npos) {
      spec.flags += static_cast<char>(*p++);
    }
    if (const auto width = ReadCount(p, args)) {
      if (*width < 0) spec.flags += '-';  // a negative '*' width means left-justified
      spec.width = *width < 0 ? -*width : *width;
    }
    if (*p == u'.') {
      ++p;
      const auto precision = ReadCount(p, args);
      spec.precision = !precision ? 0 : (*precision < 0 ? -1 : *precision);  // "%.f" is ".0"
    }
    switch (*p) {
      case u'h':
        ++p;
        spec.narrow_length = true;
        spec.length = Length::kShort;
        if (*p == u'h') { ++p; spec.length = Length::kChar; }
        break;
      case u'l':
        ++p;
        spec.wide_length = true;
        spec.length = Length::kLong;
        if (*p == u'l') { ++p; spec.length = Length::kLongLong; }
        break;
      case u'z': ++p; spec.length = Length::kSize; break;
      case u'j': ++p; spec.length = Length::kMax; break;
      case u't': ++p; spec.length = Length::kPtrDiff; break;
      case u'L': ++p; spec.length = Length::kLongDouble; break;
      default: break;
    }
    const char16_t conversion = *p;
    if (conversion == 0) {
      out.Append(std::u16string_view(directive_start, static_cast<size_t>(p - directive_start)));
      break;
    }
    ++p;
    switch (conversion) {
      case u'%':
        out.Append(u"%");
        break;
      case u's':
      case u'S': {
        const bool wide = spec.wide_length || (conversion == u's' && !spec.narrow_length);
        if (wide) {
          const auto* text = va_arg(args, const char16_t*);
          AppendPadded(spec, text ? std::u16string_view(text) : std::u16string_view(u"(null)"), out);
        } else {
          const auto* text = va_arg(args, const char*);
          AppendPadded(spec, text ? AnsiToWide(text) : std::u16string(u"(null)"), out);
        }
        break;
      }
      case u'c':
      case u'C': {
        const bool wide = spec.wide_length || (conversion == u'c' && !spec.narrow_length);
        const int value = va_arg(args, int);
        const char16_t unit = wide ? static_cast<char16_t>(value)
                                   : static_cast<char16_t>(static_cast<unsigned char>(value));
        Spec char_spec = spec;
        char_spec.precision = -1;
        AppendPadded(char_spec, std::u16string_view(&unit, 1), out);
        break;
      }
      case u'n':
        (void)va_arg(args, void*);  // writing through an argument pointer is never done
        break;
      case u'd': case u'i': case u'u': case u'o': case u'x': case u'X': case u'p':
      case u'e': case u'E': case u'f': case u'F': case u'g': case u'G': case u'a': case u'A':
        out.AppendAscii(FormatNumber(spec, static_cast<char>(conversion), args));
        break;
      default:
        out.Append(std::u16string_view(directive_start, static_cast<size_t>(p - directive_start)));
        break;
    }
  }
  va_end(args);
  return out.Take();
}

std::u16string FormatWideText(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::u16string result = VFormatWideText(format, args);
  va_end(args);
  return result;
}

}  // namespace qv::util
