#pragma once

#include <string>
#include <string_view>

namespace blok {

// Text primitives of the entity command language. A blank is the space character only.

// s without any blank.
std::string StripAllBlanks(std::string_view s);

// s without its leading blanks, and then without the blanks right after its first character:
// "   O (1,2,3)" becomes "O(1,2,3)".
std::string TrimLineStart(std::string_view s);

// s without the blanks outside quotes; each "'" switches between outside and inside.
std::string StripBlanksOutsideQuotes(std::string_view s);

}  // namespace blok
