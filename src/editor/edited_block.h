#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/drawing.h"
#include "document/journal.h"
#include "document/recovery_file.h"
#include "editing/edit_change.h"
#include "editor/drawing_view.h"
#include "editor/entity_editor.h"
#include "editor/messages.h"
#include "editor/ui.h"
#include "model/syntax_check.h"

namespace blok {

// How often the block changed in this run and when it last did: what its recovery file was
// taken of.
struct BlockChanges {
  uint64_t count = 0;  // grows with every change
  int64_t at = 0;      // the last one, seconds since the epoch
};

// What of the block changed, as the window's controls follow it.
enum class BlockChange {
  kName,     // E_NazwaBloku
  kUnit,     // CB_Jednostka
  kTools,    // whether the drawing tools and the block controls are usable
  kMark,     // L_Zmiana: changes not yet saved, or none
  kLines,    // the drawing's lines, their check colours, the journal's Cofnij and Naprzód
  kPointed,  // another entity pointed at in the drawing: its source row follows
};

// The block being edited: its drawing and journal, the selection, its name and unit, the mark
// of changes not yet saved, and its lines as the source view shows them. Every change of the
// drawing goes through the journal and marks the block unsaved.
class EditedBlock {
 public:
  // cancel_command ends the running command: its picks are indices into the drawing.
  EditedBlock(Ui& ui, Messages& messages, DrawingView& view, std::function<void()> cancel_command);

  const Drawing& drawing() const { return drawing_; }
  const Journal& journal() const { return journal_; }
  // The selection list RE_Pomoc with the per-line flags.
  const Selection& selection() const { return selection_; }
  Selection& selection() { return selection_; }
  const std::string& block_name() const { return block_name_; }
  // E_NazwaBloku, kept as typed: a name the block file cannot hold is refused when the block is
  // saved, with the reason. Not a change of the block.
  void SetBlockName(std::string_view name);
  const std::string& unit() const { return unit_; }
  // CB_Jednostka; typed text is kept as typed (but for characters the file cannot hold).
  void SetUnit(std::string_view unit);
  // Whether the drawing tools and block controls are usable: a file has been open.
  bool tools_enabled() const { return tools_enabled_; }
  void UstawNarzedzia(bool enabled);

  // --- The unsaved mark ---

  // L_Zmiana: the block has changes not yet saved.
  bool unsaved() const { return unsaved_; }
  const BlockChanges& changes() const { return changes_; }
  void MarkChanged();
  // The block is as saved or empty: nothing of it needs recovering (the hook is told).
  void MarkUnchanged();
  void OnMarkedUnchanged(std::function<void()> hook) { marked_unchanged_ = std::move(hook); }
  // Whether the block may be saved at all: a name long enough and a drawing.
  bool HasSaveableBlock() const;

  // --- Another block: the mark is for the caller to set ---

  // No name, no drawing, no journal.
  void Clear();
  // The journal and the check's colours go; the drawing stays.
  void ClearJournal();
  // The block as the file holds it, with an empty journal.
  void Load(std::string name, std::string unit, std::vector<std::string> lines);
  // The block as the recovery file kept it: unsaved, changed when it was.
  void Restore(const RecoverySnapshot& snapshot);

  // --- Changes ---

  void DodajObiekt(std::string line);
  bool UsunObiekt(int index);
  bool ZmienObiekt(int index, std::string line);
  // Applies an operation's changes through the journal, in order, as one step of Cofnij. An
  // operation that left out shapes it could not write is not applied: false, and the message.
  bool ApplyChanges(EditChanges changes);
  // The entity's dialog, filled from its line; confirmed, the line is rewritten (or added).
  void OpenEntityEditor(int index);
  // "Zmiana cech" for the selection.
  void ChangeProperties();
  // BCofnij and BPrzod.
  void BCofnijClick();
  void BPrzodClick();

  // --- The block's lines beside the drawing (the source view) ---

  // B_SprawdzSkladnia: the start of every line tidied (the lines that change as one step of
  // Cofnij), the block marked changed, and the lines' colours shown from now on.
  void SprawdzSkladnie();
  // The colours show after a check, until another block is loaded or started.
  bool syntax_checked() const { return syntax_checked_; }
  // What the check says of line index: an entity, a comment or a faulty line.
  LineStatus SourceLineStatus(size_t index) const;
  // The lines neither entities nor comments: red after a check.
  size_t FaultyLineCount() const;
  // A row edited: an empty text deletes the line, another replaces it, through the journal.
  // True when the drawing changed; a line too long for the file is refused with a message.
  bool EditSourceLine(size_t index, std::string_view text);
  // A new row: the text becomes line 0, as every new entity does.
  bool AddSourceLine(std::string_view text);
  // A row chosen: its entity highlighted in the drawing, the view moved to it (at the same
  // scale) when it is off the screen.
  void ShowSourceLine(size_t index);
  // The entity the drawing last highlighted under the cursor, or picked or selected by a
  // click; the count grows each time, so that the view follows only then.
  std::optional<size_t> pointed_line() const { return pointed_line_; }
  // Another entity pointed at: the rows follow.
  void PointAt(size_t index);

  // Told of every change the window shows, as it happens (nullptr: nobody is told).
  void OnChanged(std::function<void(BlockChange)> listener) { changed_ = std::move(listener); }

 private:
  // A row's text fits a line of the block file; if not, says so.
  bool SourceLineFits(const std::string& line);
  // One change through the journal, its line fitted to the code page; false when none was made.
  bool Apply(EditChange change);
  void Notify(BlockChange change) const {
    if (changed_ && !quiet_) changed_(change);
  }
  // Another block or the same one read anew: everything it shows changed.
  void NotifyAll() const;

  Ui& ui_;
  Messages& messages_;
  DrawingView& view_;
  std::function<void()> cancel_command_;
  std::function<void()> marked_unchanged_;

  Drawing drawing_;
  Journal journal_{drawing_};
  Selection selection_;
  EntityEditor entity_editor_;
  std::string block_name_;
  std::string unit_ = "m";
  bool unsaved_ = false;
  BlockChanges changes_;
  bool syntax_checked_ = false;
  std::optional<size_t> pointed_line_;
  std::function<void(BlockChange)> changed_;
  bool quiet_ = false;  // within the changes of one step: told once at its end
  bool tools_enabled_ = false;
};

}  // namespace blok
