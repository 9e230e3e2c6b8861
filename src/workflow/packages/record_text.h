// The text of one of InstallRecord's fixed-size fields.
//
// The fields are zero-terminated by construction; the read stops at the field's end all the same,
// so a record copied in from elsewhere can never lead a reader past its field.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "util/text_conversion.h"

namespace qv::workflow {

template <size_t N>
std::string_view RecordText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

// The field's text widened from the ANSI code page, as records and paths take it.
template <size_t N>
std::u16string WideRecordText(const char (&field)[N]) {
  return util::AnsiToWide(RecordText(field));
}

}  // namespace qv::workflow
