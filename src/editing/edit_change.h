#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/parsed_entity.h"

namespace blok {

// One change of the drawing as an operation returns it. The Editor applies a list of them in
// order through the journal, so an index is the line's index when its change is applied (an
// add goes to line 0 and moves every later index down by one).
struct EditChange {
  enum class Kind { kReplace, kAdd, kDelete };
  Kind kind = Kind::kReplace;
  int index = -1;    // replace, delete
  std::string line;  // replace, add
  // ParseEntity(line), where the operation that wrote the line made it too: the journal and a
  // preview take it instead of reading the line again.
  std::optional<ParsedEntity> record = std::nullopt;
  // The record is the line's: equal lines are equal changes.
  bool operator==(const EditChange& other) const {
    return kind == other.kind && index == other.index && line == other.line;
  }
};
// The changes of one operation in order, and how many selected shapes it could not rewrite (a
// result too large to write, or a line that would not read back as written). The Editor applies
// none of an operation that left some out, so that a move never moves part of a selection.
struct EditChanges : std::vector<EditChange> {
  using std::vector<EditChange>::vector;
  size_t unwritable = 0;
};

// The window that a stretch was selected with, in world units: its points strictly inside move.
struct StretchWindow {
  double left = 0, right = 0, bottom = 0, top = 0;
};

// The selection: a flag for every line of the drawing and how many lines were selected (the
// hidden list RE_Pomoc, whose lines are the selected lines of the drawing in drawing order: a
// selection is made just before it is used, so they are read from the drawing itself), with the
// window of the last selection gesture, normalised and held in single precision (stretch reads
// it). A count of 0 is an empty selection whatever the flags say.
struct Selection {
  std::vector<std::uint8_t> flags;
  std::size_t count = 0;
  StretchWindow window;

  bool empty() const { return count == 0; }
};

}  // namespace blok
