#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "editing/canonical.h"
#include "model/parsed_entity.h"

// The walk the selection operations share: the selected lines from the last one up, each with
// the colour and thickness in force at its line.

namespace blok {

// The colour and thickness in force at a line, kept while walking the drawing from its last line
// up: each command passed is nearer to the lines above it than those passed before.
class DefaultsBelow {
 public:
  void Pass(const ParsedEntity& entity) {
    if (const auto* c = std::get_if<ColourRecord>(&entity.record); c && c->valid) {
      defaults_.colour = c->colour;
    } else if (const auto* t = std::get_if<ThicknessRecord>(&entity.record); t && t->valid) {
      defaults_.thickness = t->thickness;
    }
  }
  const ReadingDefaults& defaults() const { return defaults_; }

 private:
  ReadingDefaults defaults_;
};

// Calls visit(index, entity) for the selected lines from the last one up, at most count of them,
// each entity resolved with the colour and thickness in force at its line. One pass: a large
// selection in a large drawing costs no more than the drawing's length.
template <class Visit>
void ForSelectedFromLast(std::span<const ParsedEntity> records, std::span<const std::uint8_t> flags,
                         size_t count, Visit visit) {
  DefaultsBelow below;
  size_t next = std::min(flags.size(), records.size());
  for (; count > 0; --count) {
    while (next > 0 && !flags[next - 1]) below.Pass(records[--next]);
    if (next == 0) return;
    const size_t index = --next;
    visit(index, Resolved(records[index], below.defaults()));
    // A selected colour or thickness command is not rewritten, so it still rules above it.
    below.Pass(records[index]);
  }
}

}  // namespace blok
