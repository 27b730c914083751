#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/parsed_entity.h"

namespace blok {

class Journal;

// The block being edited: its entity command lines in order; an entity is addressed by its
// 0-based line index. Loading a block or starting a new one replaces all lines at once; every
// other change goes through the journal, so that it can be undone. Each line's parsed record is
// kept beside it and changes with it, so that nothing needs to read the lines again.
//
// New entities always become line 0, so the lines are kept with free room in front of line 0:
// adding there, and undoing that, moves no other line. A change further in moves the shorter
// side of the drawing. The lines, the records and their boxes stay contiguous and in drawing
// order.
class Drawing {
 public:
  std::span<const std::string> lines() const { return {lines_.data() + front_, size()}; }
  size_t size() const { return lines_.size() - front_; }
  bool empty() const { return size() == 0; }
  const std::string& operator[](size_t index) const { return lines_[front_ + index]; }
  // records()[i] is lines()[i] parsed.
  std::span<const ParsedEntity> records() const { return {records_.data() + front_, size()}; }
  // boxes()[i] is CompactBoxOf(records()[i]): a pass over a large drawing reads these, a small
  // part of the records' memory, and then only the records of the few entities near it.
  std::span<const CompactBox> boxes() const { return {boxes_.data() + front_, size()}; }

  // Grows with every change of the lines: a view of them follows the drawing by it.
  uint64_t revision() const { return revision_; }

  void Load(std::vector<std::string> lines);
  void Clear();

  // The text of the drawing as the lines joined by two-character line breaks counts 5
  // characters or fewer: nothing worth saving.
  bool IsBlank() const;

 private:
  friend class Journal;
  // The journal's only ways in: each keeps the records in step with the lines. A record handed
  // in is its line parsed; the journal keeps the records it takes out, so that undo and redo
  // need not parse again.
  void Insert(size_t index, std::string line, ParsedEntity record);
  // The erased line's record.
  ParsedEntity Erase(size_t index);
  // Many lines at once, in one pass over the drawing however many there are. EraseAll takes
  // out the lines at the distinct indices (of the drawing as it is), appending them and their
  // records in the order given. InsertAll puts lines[k] and records[k] at indices[k] of the
  // drawing as it will be: ascending, as many as there are lines.
  void EraseAll(std::span<const size_t> indices, std::vector<std::string>& lines,
                std::vector<ParsedEntity>& records);
  void InsertAll(std::span<const size_t> indices, std::span<std::string> lines,
                 std::span<ParsedEntity> records);
  // Puts line and record in place of those at index, and hands those back in them.
  void Exchange(size_t index, std::string& line, ParsedEntity& record);
  // The same with a copy of line written in the room of the one at index, which is dropped:
  // undo and redo keep their texts in the journal.
  void Exchange(size_t index, std::string_view line, ParsedEntity& record);

  // Makes room in front of line 0 when there is none, as much as the drawing holds.
  void GrowFront();

  // Slots [0, front_) are spare: empty strings, records of no kind and empty boxes.
  std::vector<std::string> lines_;
  std::vector<ParsedEntity> records_;
  std::vector<CompactBox> boxes_;
  size_t front_ = 0;
  uint64_t revision_ = 0;
};

}  // namespace blok
