#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>

#include "document/drawing.h"

namespace blok {

// The undo journal: the one door through which commands change the drawing. Every change is
// recorded as five text lines at the top of the journal, newest first:
//   "dodaj" / added line / "" / "" / "---"
//   "usun"  / index / deleted line / "" / "---"
//   "zmien" / index / new line / old line / "---"
// The position counts the journal lines of undone records (at the top), in steps of 5.
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

  bool CanUndo() const { return position_ != static_cast<int32_t>(lines_.size()); }
  bool CanRedo() const { return position_ != 0; }
  int32_t position() const { return position_; }
  const std::deque<std::string>& lines() const { return lines_; }

 private:
  // aside is the record of the entity the change took out of the drawing, if any.
  void Record(const char* kind, std::string second, std::string third, std::string fourth,
              ParsedEntity aside);
  const std::string& LineAt(int32_t index) const;
  // The drawing index stored in a record, when it addresses a line of the drawing (or, with
  // allow_end, the place just after the last line).
  bool IndexAt(int32_t journal_line, bool allow_end, size_t& index) const;
  bool NumberAt(int32_t journal_line, size_t& index) const;
  // A run of at least two deletes of the step at the position undone or redone in one pass;
  // false, with nothing done, when there is none.
  bool UndoDeletes(uint32_t step);
  bool RedoDeletes(uint32_t step);

  Drawing& drawing_;
  std::deque<std::string> lines_;
  // One for each record, newest first: the parsed record of the line that the record's change,
  // as it stands done or undone, keeps out of the drawing (none for an add that is done).
  std::deque<ParsedEntity> aside_;
  // The step of each record, newest first.
  std::deque<uint32_t> steps_;
  uint32_t next_step_ = 1;
  uint32_t open_step_ = 0;
  int32_t position_ = 0;
};

}  // namespace blok
