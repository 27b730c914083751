#pragma once

#include <string>
#include <vector>

#include "model/parsed_entity.h"

namespace blok {

class Journal;

// The block being edited: its entity command lines in order; an entity is addressed by its
// 0-based line index. Loading a block or starting a new one replaces all lines at once; every
// other change goes through the journal, so that it can be undone. Each line's parsed record is
// kept beside it and changes with it, so that nothing needs to read the lines again.
class Drawing {
 public:
  const std::vector<std::string>& lines() const { return lines_; }
  size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const std::string& operator[](size_t index) const { return lines_[index]; }
  // records()[i] is lines()[i] parsed.
  const std::vector<ParsedEntity>& records() const { return records_; }

  void Load(std::vector<std::string> lines);
  void Clear();

  // The text of the drawing as the lines joined by two-character line breaks counts 5
  // characters or fewer: nothing worth saving.
  bool IsBlank() const;

 private:
  friend class Journal;
  // The journal's only ways in: each keeps the records in step with the lines.
  void Insert(size_t index, std::string line);
  void Erase(size_t index);
  void Replace(size_t index, std::string line);

  std::vector<std::string> lines_;
  std::vector<ParsedEntity> records_;
};

}  // namespace blok
