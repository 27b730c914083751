#pragma once

// Names for the cases of a parametrised test that read in a listing and stay the same from
// build to build: how the case prints (its PrintTo), with letters and digits kept, "-" as "m",
// "." as "p" and anything else as one "_".
#include <gtest/gtest.h>

#include <string>

namespace blok::testing {

inline std::string CaseName(const std::string& printed) {
  std::string name;
  for (const char c : printed) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      name += c;
    } else if (c == '-') {
      name += 'm';
    } else if (c == '.') {
      name += 'p';
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name.empty() ? "Case" : name;
}

struct PrintedName {
  template <typename Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    return CaseName(::testing::PrintToString(info.param));
  }
};

}  // namespace blok::testing
