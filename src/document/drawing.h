#pragma once

#include <string>
#include <vector>

namespace blok {

class Journal;

// The block being edited: its entity command lines in order; an entity is addressed by its
// 0-based line index. Loading a block or starting a new one replaces all lines at once; every
// other change goes through the journal, so that it can be undone.
class Drawing {
 public:
  const std::vector<std::string>& lines() const { return lines_; }
  size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const std::string& operator[](size_t index) const { return lines_[index]; }

  void Load(std::vector<std::string> lines) { lines_ = std::move(lines); }
  void Clear() { lines_.clear(); }

  // The text of the drawing as the lines joined by two-character line breaks counts 5
  // characters or fewer: nothing worth saving.
  bool IsBlank() const;

 private:
  friend class Journal;
  std::vector<std::string> lines_;
};

}  // namespace blok
