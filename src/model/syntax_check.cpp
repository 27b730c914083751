#include "model/syntax_check.h"

#include "model/command_text.h"
#include "model/entity_reader.h"

namespace blok {

std::vector<CheckedLine> CheckSyntax(const std::vector<std::string>& lines) {
  std::vector<CheckedLine> checked;
  checked.reserve(lines.size());
  const ReadingDefaults defaults;  // validity does not depend on the defaults
  for (const std::string& line : lines) {
    std::string text = TrimLineStart(line);
    LineStatus status = LineStatus::kInvalid;
    if (IsValid(ReadEntity(text, defaults))) {
      status = LineStatus::kEntity;
    } else if (text.starts_with("//")) {
      status = LineStatus::kComment;
    }
    checked.push_back({std::move(text), status});
  }
  return checked;
}

}  // namespace blok
