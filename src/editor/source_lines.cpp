// The block's lines as they will be saved, beside the drawing: the syntax check with its
// colours, rows edited through the journal, and the link between a row and its entity.

#include <algorithm>

#include "editor/edited_block.h"
#include "interaction/entity_writers.h"
#include "model/command_text.h"
#include "model/cp1250.h"
#include "model/entity_writer.h"
#include "view/previews.h"

namespace blok {

namespace {

// A row's text as a line of the block: one line, nothing of a line break left in it.
std::string OneLine(std::string_view text) {
  std::string line(text);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

}  // namespace

void EditedBlock::SprawdzSkladnie() {
  if (!tools_enabled_) return;
  cancel_command_();
  const std::vector<std::string> lines(drawing_.lines().begin(), drawing_.lines().end());
  const std::vector<CheckedLine> checked = CheckSyntax(lines);
  // Only the lines whose start was tidied change, all of them as one step of Cofnij.
  journal_.BeginStep();
  for (size_t i = 0; i < checked.size(); ++i) {
    if (checked[i].text != lines[i]) journal_.ZmienObiekt(static_cast<int>(i), checked[i].text);
  }
  journal_.EndStep();
  // Checked is changed, even where no line's text changed.
  syntax_checked_ = true;
  Notify(BlockChange::kLines);
  MarkChanged();
  view_.Redraw();
}

LineStatus EditedBlock::SourceLineStatus(size_t index) const {
  if (index >= drawing_.size()) return LineStatus::kInvalid;
  // The record is the line read as the check reads it: its validity is the check's.
  if (drawing_.records()[index].valid()) return LineStatus::kEntity;
  // A comment as the check tidies it: "/ / uwaga" is one too.
  return TrimLineStart(drawing_[index]).starts_with("//") ? LineStatus::kComment
                                                          : LineStatus::kInvalid;
}

size_t EditedBlock::FaultyLineCount() const {
  size_t count = 0;
  for (size_t i = 0; i < drawing_.size(); ++i) {
    if (SourceLineStatus(i) == LineStatus::kInvalid) ++count;
  }
  return count;
}

bool EditedBlock::SourceLineFits(const std::string& line) {
  // What the code page cannot hold would be saved as "?".
  if (const auto problem = TypedTextProblem(line)) {
    ui_.ShowMessage(*problem);
    return false;
  }
  const size_t length = CharacterCount(line);
  if (length <= kLongestEntityLine) return true;
  ui_.ShowMessage("Linia ma " + std::to_string(length) +
                  " znaków, a linia bloku może mieć najwyżej 255.");
  return false;
}

bool EditedBlock::EditSourceLine(size_t index, std::string_view text) {
  if (!tools_enabled_ || index >= drawing_.size()) return false;
  std::string line = OneLine(text);
  if (line == drawing_[index]) return false;
  // The drawing's indices change under a running command: it ends first.
  cancel_command_();
  if (line.find_first_not_of(" \t") == std::string::npos) {
    UsunObiekt(static_cast<int>(index));
  } else {
    if (!SourceLineFits(line)) return false;
    ZmienObiekt(static_cast<int>(index), std::move(line));
  }
  view_.Redraw();
  return true;
}

bool EditedBlock::AddSourceLine(std::string_view text) {
  if (!tools_enabled_) return false;
  std::string line = OneLine(text);
  if (line.find_first_not_of(" \t") == std::string::npos || !SourceLineFits(line)) return false;
  cancel_command_();
  DodajObiekt(std::move(line));
  view_.Redraw();
  return true;
}

void EditedBlock::ShowSourceLine(size_t index) {
  // The drawing's next highlight of any entity is shown in the rows again.
  pointed_line_.reset();
  if (index >= drawing_.size() || view_.romans_font() == nullptr) return;
  const CompactBox box = drawing_.boxes()[index];
  if (!(box.left <= box.right && box.bottom <= box.top)) {
    view_.surface().RestoreView();  // nothing to show: a comment or a faulty line
    return;
  }
  const double left = view_.transform().ScreenToWorldX(0),
               right = view_.transform().ScreenToWorldX(view_.surface().width());
  const double top = view_.transform().ScreenToWorldY(0),
               bottom = view_.transform().ScreenToWorldY(view_.surface().height());
  const bool seen = box.right >= std::min(left, right) && box.left <= std::max(left, right) &&
                    box.top >= std::min(top, bottom) && box.bottom <= std::max(top, bottom);
  if (seen) {
    view_.surface().RestoreView();
  } else {
    // Off the screen: the view moves to it at the same scale.
    view_.transform().SetCentre((double{box.left} + box.right) / 2,
                                (double{box.bottom} + box.top) / 2);
    view_.Redraw();
  }
  // On the overlay: a frame still to be drawn goes beneath it.
  HighlightEntity(view_.surface().OverlayCanvas(), view_.transform(), *view_.romans_font(),
                  drawing_.records()[index], view_.reading_defaults());
}

}  // namespace blok
