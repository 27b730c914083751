#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace blok {

// The core's UTF-8 strings to Qt's and back.
inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string S(const QString& s) { return s.toStdString(); }

}  // namespace blok
