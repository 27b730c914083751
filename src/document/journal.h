#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/drawing.h"

namespace blok {

// The undo journal: the one door through which commands change the drawing. Every change is
// recorded; as text (lines()) a record is five lines at the top of the journal, newest first:
//   "dodaj" / added line / "" / "" / "---"
//   "usun"  / index / deleted line / "" / "---"
//   "zmien" / index / new line / old line / "---"
// The position counts the journal lines of undone records (at the top), in steps of 5.
// The records themselves are kept as their fields, oldest first, so that a change adds one
// record and writes no number as text.
class Journal {
 public:
  explicit Journal(Drawing& drawing) : drawing_(drawing) {}

  // Adds an entity as line 0 of the drawing.
  void DodajObiekt(std::string line);
  // Deletes the entity at index; false (nothing recorded) for an index outside the drawing.
  bool UsunObiekt(int index);
  // Deletes the entities at the indices in turn, each as UsunObiekt would (recorded the same),
  // up to the first outside the drawing; how many were deleted. Descending indices, as a
  // selection is deleted, go in one pass over the drawing, and so does the undo or redo of
  // such a run in one step.
  size_t UsunObiekty(std::span<const int> indices);
  // Replaces the entity at index; false (nothing recorded) for an index outside the drawing.
  bool ZmienObiekt(int index, std::string line);
  // The same with the line's record, ParseEntity(line), from whoever wrote the line.
  void DodajObiekt(std::string line, ParsedEntity record);
  bool ZmienObiekt(int index, std::string line, ParsedEntity record);

  // Step back or forth one record; false when there is none to step over.
  bool Undo();
  bool Redo();

  // The records made between BeginStep and EndStep form one step, what one Cofnij takes back; a
  // record made outside them is a step of its own.
  void BeginStep() { open_step_ = next_step_++; }
  void EndStep() { open_step_ = 0; }
  // Step back or forth over every record of one step; false when there is none.
  bool UndoStep();
  bool RedoStep();

  // No records, position 0.
  void Clear();

  bool CanUndo() const { return undone_ != records_.size(); }
  bool CanRedo() const { return undone_ != 0; }
  int32_t position() const { return static_cast<int32_t>(undone_ * kRecordLines); }
  size_t record_count() const { return records_.size(); }
  // The journal as text, kRecordLines a record, newest first.
  static constexpr size_t kRecordLines = 5;
  std::vector<std::string> lines() const;

 private:
  enum class Kind : uint8_t { kAdd, kDelete, kChange };
  struct Record {
    Kind kind;
    uint32_t step;
    size_t index;          // delete, change
    std::string line;      // the added, deleted or new line
    std::string old_line;  // change: the line it replaced
    // The parsed record of the line that the change, as it stands done or undone, keeps out of
    // the drawing (none for an add that is done).
    ParsedEntity aside;
  };

  // A new record at the top; the undone ones go, since they can no longer be redone.
  void Add(Kind kind, size_t index, std::string line, std::string old_line, ParsedEntity aside);
  // The record the next Undo takes back, and the one the next Redo does again.
  Record& ToUndo() { return records_[records_.size() - 1 - undone_]; }
  Record& ToRedo() { return records_[records_.size() - undone_]; }
  // Whether index addresses a line of the drawing (or, with allow_end, the place just after
  // the last line).
  bool InDrawing(size_t index, bool allow_end) const {
    return index < drawing_.size() || (allow_end && index == drawing_.size());
  }
  // A run of at least two deletes of the step at the position undone or redone in one pass;
  // false, with nothing done, when there is none.
  bool UndoDeletes(uint32_t step);
  bool RedoDeletes(uint32_t step);

  Drawing& drawing_;
  // Oldest first; the last undone_ of them are undone.
  std::vector<Record> records_;
  size_t undone_ = 0;
  uint32_t next_step_ = 1;
  uint32_t open_step_ = 0;
};

}  // namespace blok
