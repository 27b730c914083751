#include "editor/edited_block.h"

#include <algorithm>
#include <chrono>

#include "document/library_rules.h"
#include "editing/transform.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"

namespace blok {
namespace {

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

EditedBlock::EditedBlock(Ui& ui, Messages& messages, DrawingView& view,
                         std::function<void()> cancel_command)
    : ui_(ui), messages_(messages), view_(view), cancel_command_(std::move(cancel_command)) {}

void EditedBlock::SetBlockName(std::string_view name) {
  if (block_name_ == name) return;
  block_name_ = name;
  Notify(BlockChange::kName);
}

void EditedBlock::SetUnit(std::string_view unit) {
  std::string fitted = FitToCodePage(unit).text;
  if (unit_ == fitted) return;
  unit_ = std::move(fitted);
  Notify(BlockChange::kUnit);
}

void EditedBlock::UstawNarzedzia(bool enabled) {
  if (tools_enabled_ == enabled) return;
  tools_enabled_ = enabled;
  Notify(BlockChange::kTools);
}

void EditedBlock::MarkChanged() {
  unsaved_ = true;
  ++changes_.count;
  changes_.at = Now();
  Notify(BlockChange::kMark);
}

void EditedBlock::MarkUnchanged() {
  unsaved_ = false;
  if (marked_unchanged_) marked_unchanged_();
  Notify(BlockChange::kMark);
}

void EditedBlock::NotifyAll() const {
  for (const BlockChange change :
       {BlockChange::kName, BlockChange::kUnit, BlockChange::kLines, BlockChange::kMark}) {
    Notify(change);
  }
}

bool EditedBlock::HasSaveableBlock() const {
  return !BlockNameTooShort(block_name_) && !drawing_.IsBlank();
}

void EditedBlock::Clear() {
  block_name_.clear();
  drawing_.Clear();
  journal_.Clear();
  syntax_checked_ = false;
  NotifyAll();
}

void EditedBlock::ClearJournal() {
  journal_.Clear();
  syntax_checked_ = false;
  Notify(BlockChange::kLines);
}

void EditedBlock::Load(std::string name, std::string unit, std::vector<std::string> lines) {
  drawing_.Load(std::move(lines));
  block_name_ = std::move(name);
  unit_ = std::move(unit);
  journal_.Clear();
  syntax_checked_ = false;
  NotifyAll();
}

void EditedBlock::Restore(const RecoverySnapshot& snapshot) {
  drawing_.Load(snapshot.lines);
  journal_.Clear();
  syntax_checked_ = false;
  block_name_ = snapshot.block_name;
  unit_ = FitToCodePage(snapshot.unit).text;
  MarkChanged();
  changes_.at = snapshot.changed_at;
  NotifyAll();
}

void EditedBlock::DodajObiekt(std::string line) {
  Apply({EditChange::Kind::kAdd, -1, std::move(line)});
}

bool EditedBlock::UsunObiekt(int index) { return Apply({EditChange::Kind::kDelete, index, {}}); }

bool EditedBlock::ZmienObiekt(int index, std::string line) {
  return Apply({EditChange::Kind::kReplace, index, std::move(line)});
}

bool EditedBlock::Apply(EditChange change) {
  // A character the code page lacks never enters the drawing. Lines of ASCII alone hold none,
  // and a line fitted anew no longer says what its record does.
  if (!std::ranges::all_of(change.line, [](char c) { return (c & 0x80) == 0; })) {
    std::string fitted = FitToCodePage(change.line).text;
    if (fitted != change.line) change.record.reset();
    change.line = std::move(fitted);
  }
  bool applied = true;
  switch (change.kind) {
    case EditChange::Kind::kReplace:
      applied = change.record ? journal_.ZmienObiekt(change.index, std::move(change.line),
                                                     std::move(*change.record))
                              : journal_.ZmienObiekt(change.index, std::move(change.line));
      break;
    case EditChange::Kind::kAdd:
      if (change.record) {
        journal_.DodajObiekt(std::move(change.line), std::move(*change.record));
      } else {
        journal_.DodajObiekt(std::move(change.line));
      }
      break;
    case EditChange::Kind::kDelete:
      applied = journal_.UsunObiekt(change.index);
      break;
  }
  if (!applied) return false;
  Notify(BlockChange::kLines);
  MarkChanged();
  return true;
}

bool EditedBlock::ApplyChanges(EditChanges changes) {
  // Part of a selection changed would be a wrong drawing that looks right: all or nothing.
  if (changes.unwritable > 0) {
    messages_.Komunikat("Nic nie zmieniono: po tej zmianie nie da się zapisać obiektów: " +
                        std::to_string(changes.unwritable) +
                        " (za długa linia lub za duże liczby).");
    return false;
  }
  // One command's changes are one step of Cofnij and Naprzód, and one change told.
  journal_.BeginStep();
  quiet_ = true;
  for (size_t k = 0; k < changes.size();) {
    // A run of deletes, as a selection is deleted, goes to the journal whole: one pass over
    // the drawing, not one for each entity.
    std::vector<int> deletes;
    while (k < changes.size() && changes[k].kind == EditChange::Kind::kDelete) {
      deletes.push_back(changes[k++].index);
    }
    if (deletes.size() > 1) {
      if (journal_.UsunObiekty(deletes) > 0) MarkChanged();
    } else if (!deletes.empty()) {
      UsunObiekt(deletes.front());
    } else {
      Apply(std::move(changes[k++]));
    }
  }
  journal_.EndStep();
  quiet_ = false;
  if (!changes.empty()) {
    Notify(BlockChange::kLines);
    Notify(BlockChange::kMark);
  }
  return true;
}

void EditedBlock::OpenEntityEditor(int index) {
  if (auto change = entity_editor_.Open(ui_, drawing_.records(), drawing_.lines(), index)) {
    const std::string line = change->line;
    ApplyChanges({*change});
    // The line dialog says what it wrote; the circle and text dialogs say nothing.
    const EntityKind kind = ClassifyLine(line);
    if (kind == EntityKind::kLine || kind == EntityKind::kRectangle) messages_.Komunikat(line);
  }
  view_.Redraw();
}

void EditedBlock::ChangeProperties() {
  if (auto change = entity_editor_.ChangeProperties(ui_)) {
    ApplyChanges(ChangeSelectionProperties(drawing_.records(), selection_, *change));
  }
}

void EditedBlock::BCofnijClick() {
  cancel_command_();
  if (journal_.UndoStep()) {
    Notify(BlockChange::kLines);
    MarkChanged();
  }
  view_.Redraw();
}

void EditedBlock::BPrzodClick() {
  cancel_command_();
  if (journal_.RedoStep()) {
    Notify(BlockChange::kLines);
    MarkChanged();
  }
  view_.Redraw();
}

void EditedBlock::PointAt(size_t index) {
  if (pointed_line_ == index) return;
  pointed_line_ = index;
  Notify(BlockChange::kPointed);
}

}  // namespace blok
