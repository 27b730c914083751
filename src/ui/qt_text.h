#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>

namespace blok {

// The core's UTF-8 strings to Qt's and back.
inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string S(const QString& s) { return s.toStdString(); }

// One text of each item of a core table (text: a member or a function of an item), in order,
// as a list box shows them.
template <typename Table, typename Text>
QStringList QTexts(const Table& table, Text text) {
  QStringList list;
  for (const auto& item : table) list << Q(std::invoke(text, item));
  return list;
}

}  // namespace blok
