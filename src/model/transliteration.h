#pragma once

#include <string>
#include <string_view>

namespace blok {

// Text from another program in letters code page 1250 holds, still in UTF-8: each character
// the code page lacks is written in Latin letters ("Дата" is "Data", "ø" is "o"), or as "?"
// where there are none (an emoji). Every character the code page holds stays as it is, so
// Polish letters are never touched. changed, when given, says whether any was replaced.
std::string ToCodePageLetters(std::string_view utf8, bool* changed = nullptr);

}  // namespace blok
