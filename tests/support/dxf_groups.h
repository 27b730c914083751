#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace blok::testing {

// DXF group text: "code\nvalue\n" for each pair.
inline std::string DxfGroups(std::initializer_list<std::pair<int, std::string_view>> groups) {
  std::string out;
  for (const auto& [code, value] : groups) {
    out += std::to_string(code) + "\n" + std::string(value) + "\n";
  }
  return out;
}

}  // namespace blok::testing
