#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "document/dxf_import.h"
#include "editor/block_browser.h"
#include "editor/block_list.h"
#include "editor/drawing_view.h"
#include "editor/edited_block.h"
#include "editor/messages.h"
#include "editor/preferences.h"
#include "editor/ui.h"

namespace blok {

// The open block library: its file, the list of its blocks with the filter and the selection,
// what its blocks look like (and which draw the same), and the work on it as a whole: saving
// the block being edited into it, deleting, renaming, duplicating and copying blocks, the
// duplicates report, DXF brought in.
// What changed in the library, as the block panel follows it.
enum class LibraryChange {
  kFile,   // another file (or the file made again): its blocks are to be read
  kNames,  // the list's names or the filter: the rows are shown anew
  kRow,    // a load or a save selected its block's row: it is brought into view, and not at
           // every change, where that would undo the user's scrolling
  kTwins,  // the blocks that draw the same are known anew: their marks are shown anew
};

// For the file dialogs of block files: block_files names the first filter.
std::vector<FileFilter> BlockFileFilters(std::string block_files);
bool FileExists(const std::filesystem::path& file);

class Library {
 public:
  // cancel_command ends the running command before the drawing or the file changes.
  Library(Ui& ui, EditedBlock& block, Messages& messages, Preferences& preferences,
          DrawingView& view, std::function<void()> cancel_command);

  const std::optional<std::filesystem::path>& open_file() const { return open_file_; }
  // Hidden label L_NazwaPliku: "NAZWA" until a file is open, then its path.
  std::string FileLabel() const;
  // "..." until a file is open, then its path.
  std::string WindowCaption() const;
  // The file becomes the open one with these names listed, its whole list showing.
  void Open(const std::filesystem::path& file, std::vector<std::string> names);

  // --- The block list LB_NazwaBlokuCzytaj ---

  const BlockList& block_list() const { return block_list_; }
  void SelectBlock(std::optional<size_t> index) { block_list_.Select(index); }
  // E_FiltrBlokow: the list shows only the names that hold the text, ignoring case and Polish
  // letters. A selected entry the filter hides is no longer selected.
  void SetBlockFilter(std::string_view text);
  const BlockFilter& block_filter() const { return block_filter_; }
  // The entries of block_list() the list shows: row i is entry block_rows()[i].
  const std::vector<size_t>& block_rows() const { return block_filter_.rows(); }
  // A row of the list as shown (nothing or a row past the end selects nothing).
  void SelectBlockRow(std::optional<size_t> row);
  // Every row selected in the list, the current one among them or not: M_KopiujDoBiblioteki
  // copies all of their blocks; the rest work on the current row alone. A load or a save that
  // selects its block's row, and another filter, leave that row alone selected.
  void SelectBlockRows(const std::vector<size_t>& rows);
  std::optional<size_t> selected_block_row() const;
  // A load or a save of the block: its row is selected, a filter that hides it giving way,
  // unless the user picked another row since the last load or save.
  void ShowBlockRow(const std::string& name);

  // --- What the blocks look like ---

  // The open file's blocks as loading would find them, once read; what the editor writes is
  // laid over them as it is written.
  const LibraryContents& contents() const { return contents_; }
  // Grows whenever another file opens: the window's read of its blocks is for that revision.
  uint64_t library_revision() const { return library_revision_; }
  // The blocks read from the file of that revision (WczytajWszystkieBloki); a read for a file
  // no longer open is ignored.
  void SetLibraryContents(uint64_t revision, LibraryContents::ReadBlocks blocks);

  // --- The block being edited into the file ---

  // The save button: checks the name and content, asks before overwriting. True when the
  // block went into the file.
  bool ZapiszBlokZPytaniem();
  // The silent save before work is lost: replaces a block of the same name without asking.
  bool ZapiszBlokBezPytania();

  // --- The library as a whole ---

  // On the block selected in the list: M_UsunBlok (after a question), M_ZmienNazweBloku,
  // M_DuplikujBlok (the new name asked for), M_KopiujDoBiblioteki (another library chosen; the
  // overwrite question for a name it has), M_Duplikaty (the report in the viewer). The list
  // and its pictures follow the file.
  void UsunBlok();
  void ZmienNazweBloku();
  void DuplikujBlok();
  void KopiujDoBiblioteki();
  void PokazDuplikaty();
  // M_WstawDXF: a DXF drawing's model space, or the block definition the user chooses when it
  // has any (each at its base point), added to the drawing at (0,0), in the block's unit, as
  // one step of Cofnij; the view then shows everything.
  void WstawZDxf();
  // M_ImportujDXF: the blocks a DXF drawing offers (its model space first, then its block
  // definitions), those the user ticks saved into the open library at once, all or none.
  // With several files chosen, as M_ImportujFolderDXF does with a folder: every DXF file's
  // model space a block named after its file, read with a progress that can stop it (the
  // library left as it was), saved at once; names the library holds are asked about; then a
  // summary.
  void ImportujDxf();
  void ImportujFolderDxf();

  // Told of the changes the block panel follows: another file, new rows, a row brought forward.
  void SetListener(std::function<void(LibraryChange)> listener) { listener_ = std::move(listener); }

 private:
  // Replaces or appends the block in the open file; a failure is shown and the mark stays.
  bool WriteBlock(bool cut_at_255);
  BlockToSave BlockOfDrawing(bool cut_at_255) const;
  // The block went into the file: the browser shows it as written and the block is as saved.
  // A file made again (it had gone since it was opened) holds that block alone.
  void BlockSaved(const BlockToSave& block, bool file_made_again);
  // A save made the open library again after it had gone: it holds that block alone.
  void LibraryMadeAgain();
  // The name in the block list, added when it is not there yet.
  void ListBlock(const std::string& name);
  // The names or the filter changed: the rows follow.
  void BlockListChanged();
  // The selected block of the open library, or nothing with a message saying what is missing.
  std::optional<std::string> ChosenBlock();
  // The list read again after the library changed, with this name selected.
  void LibraryChanged(const std::string& select);
  // How a DXF drawing is read here: its texts sized by the stroke font.
  DxfImportOptions DxfOptions(const std::filesystem::path& file) const;
  // What of a DXF drawing M_WstawDXF inserts: the block the user ticks when it has block
  // definitions, else its model space (also when its definitions cannot be read: the model
  // space's read then says what is wrong). Nothing: cancelled, or nothing ticked.
  std::optional<DxfImportOptions> InsertedPart(const std::filesystem::path& file);
  void ImportDxfBatch(const std::vector<std::filesystem::path>& inputs);
  void ShowError(const Error& error) { ui_.ShowMessage(error.message); }
  void Notify(LibraryChange change);

  Ui& ui_;
  EditedBlock& block_;
  Messages& messages_;
  Preferences& preferences_;
  DrawingView& view_;
  std::function<void()> cancel_command_;

  std::optional<std::filesystem::path> open_file_;
  BlockList block_list_;
  BlockFilter block_filter_;
  std::string shown_block_;  // whose row the last load or save selected
  LibraryContents contents_;
  uint64_t library_revision_ = 0;
  std::function<void(LibraryChange)> listener_;
};

}  // namespace blok
