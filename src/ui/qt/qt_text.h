// Wide text (UTF-16) to and from Qt's strings; both are UTF-16, so nothing is converted.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qv::ui {

inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToWide(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

}  // namespace qv::ui
