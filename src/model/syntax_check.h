#pragma once

#include <string>
#include <vector>

namespace blok {

enum class LineStatus { kEntity, kComment, kInvalid };

struct CheckedLine {
  std::string text;  // the line with its start tidied (TrimLineStart)
  LineStatus status;
};

// Goes once over the drawing: tidies the start of every line and says whether a reader accepts
// it, whether it is a comment ("//"), or neither. Tail fields do not count: the tail never makes
// a record invalid. The window colours the lines by status and replaces them by text.
std::vector<CheckedLine> CheckSyntax(const std::vector<std::string>& lines);

}  // namespace blok
