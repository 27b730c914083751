#pragma once

// What the tests of picking, snapping, previews and the editing operations share: a small
// view, the records of a few lines, and the changes an operation returns applied as the editor
// applies them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/drawing.h"
#include "document/journal.h"
#include "editing/edit_change.h"
#include "model/parsed_entity.h"
#include "view/view_transform.h"

namespace blok::testing {

// A 200x200 view with the origin at pixel (100, 100).
inline ViewTransform MakeView(double scale) {
  ViewTransform view;
  view.SetViewSize(200, 200);
  view.SetScale(scale);
  return view;
}

// 100 pixels a unit: (x, y) is at (100 + 100x, 100 - 100y); a thickness t is a pen of
// trunc(10 t) pixels.
inline ViewTransform HundredPixelView() { return MakeView(10); }

inline std::vector<ParsedEntity> Parse(const std::vector<std::string>& lines) {
  std::vector<ParsedEntity> records;
  for (const std::string& line : lines) records.push_back(ParseEntity(line));
  return records;
}

// The lines a selection holds, of the drawing it was made over, in drawing order.
template <class Lines>
std::vector<std::string> SelectedLines(const Selection& s, const Lines& lines) {
  std::vector<std::string> out;
  for (std::size_t i = 0; out.size() < s.count && i < s.flags.size() && i < lines.size(); ++i) {
    if (s.flags[i] != 0) out.emplace_back(lines[i]);
  }
  return out;
}

// The changes in the journal's words, so that a failure reads as what would be recorded.
inline std::vector<std::string> Described(const EditChanges& changes) {
  std::vector<std::string> out;
  for (const EditChange& c : changes) {
    switch (c.kind) {
      case EditChange::Kind::kReplace:
        out.push_back("zmien " + std::to_string(c.index) + " " + c.line);
        break;
      case EditChange::Kind::kAdd:
        out.push_back("dodaj " + c.line);
        break;
      case EditChange::Kind::kDelete:
        out.push_back("usun " + std::to_string(c.index));
        break;
    }
  }
  return out;
}

// What the editor does with the changes: each through the journal, in order.
inline void Apply(Journal& journal, const EditChanges& changes) {
  for (const EditChange& c : changes) {
    switch (c.kind) {
      case EditChange::Kind::kReplace:
        ASSERT_TRUE(journal.ZmienObiekt(c.index, c.line));
        break;
      case EditChange::Kind::kAdd:
        journal.DodajObiekt(c.line);
        break;
      case EditChange::Kind::kDelete:
        ASSERT_TRUE(journal.UsunObiekt(c.index));
        break;
    }
  }
}

inline std::vector<std::string> DrawingLines(const Drawing& drawing) {
  return {drawing.lines().begin(), drawing.lines().end()};
}

inline std::vector<std::string> JournalLines(const Journal& journal) { return journal.lines(); }

}  // namespace blok::testing
