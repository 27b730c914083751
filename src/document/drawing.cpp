#include "document/drawing.h"

#include "model/cp1250.h"

namespace blok {

void Drawing::Load(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  records_.clear();
  records_.reserve(lines_.size());
  for (const std::string& line : lines_) records_.push_back(ParseEntity(line));
}

void Drawing::Clear() {
  lines_.clear();
  records_.clear();
}

void Drawing::Insert(size_t index, std::string line) {
  records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), ParseEntity(line));
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

void Drawing::Erase(size_t index) {
  records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Drawing::Replace(size_t index, std::string line) {
  records_[index] = ParseEntity(line);
  lines_[index] = std::move(line);
}

bool Drawing::IsBlank() const {
  size_t length = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) length += 2;
    length += CharacterCount(lines_[i]);  // characters of the file, not bytes of UTF-8
    if (length > 5) return false;
  }
  return true;
}

}  // namespace blok
