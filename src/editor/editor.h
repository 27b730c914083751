#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "document/drawing.h"
#include "document/dxf_import.h"
#include "document/journal.h"
#include "editor/block_browser.h"
#include "editor/block_list.h"
#include "editor/command_history.h"
#include "editor/entity_editor.h"
#include "editor/recent_files.h"
#include "editor/recovery_writer.h"
#include "editor/ui.h"
#include "interaction/command_machine.h"
#include "interaction/settings.h"
#include "model/cp1250.h"
#include "model/entity.h"
#include "model/error.h"
#include "model/syntax_check.h"
#include "view/stroke_font.h"
#include "view/surface.h"
#include "view/view_settings.h"
#include "view/view_transform.h"

namespace blok {

// What the view shows while no block file is open.
struct StartPanelText {
  std::string prompt;              // above the box
  std::vector<std::string> lines;  // inside the box, top to bottom
};

// The keys that E_Polecenie, E_dx and E_dy hand to the Editor.
enum class Key { kF1, kF4, kF8, kEscape };

// The main window's state and behaviour without widgets: the drawing and its journal, the
// message pane, the open block file and block, the recent files, the settings, the running
// command. The window forwards its events here and shows what the accessors say; the Editor
// draws through the Surface, and whatever needs the user goes through Ui.
// Where the program's files are: data holds the stroke fonts (Dane/) and the sample library
// (Bloki/), and may be read-only; state holds what the program writes for itself (the project
// folder and recent files under Dane/, the viewer's text file).
struct ProgramPaths {
  std::filesystem::path data;
  std::filesystem::path state;
};

class Editor {
 public:
  Editor(ProgramPaths paths, Ui& ui, Surface& surface);
  // Everything beside the program, as in the build tree.
  Editor(std::filesystem::path program_dir, Ui& ui, Surface& surface)
      : Editor(ProgramPaths{program_dir, program_dir}, ui, surface) {}
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // --- Start and exit ---

  // Reads the fonts (required: a missing or damaged one is shown and returned, and nothing
  // else starts), then the remembered project directory and recent files. Before all that, a
  // code page that cannot be converted (CodePageProblem) is shown and returned the same way:
  // every file the editor reads and writes would lose its Polish letters.
  Result<void> Start(std::optional<Error> code_page_problem = CodePageProblem());
  // Rewrites the data files; failures are shown. Does nothing after a failed start, so that
  // the remembered files are not lost to an editor that never read them. The recovery file goes,
  // unless the program ends without asking (a signal) with the block unsaved.
  void Finish(bool keep_unsaved_block = false);
  // Whether the window may close; asks when the block has unsaved changes.
  bool CloseQuery();

  // --- Input: every event of the drawing surface, the command entry and the view buttons ---

  // Podglad. Pan and zoom take an event first; what they take does nothing else.
  void MouseDown(MouseButton button, int x, int y);
  void MouseMove(int x, int y);
  // True when a pan or zoom window took the release (then the right button opens no menu).
  bool MouseUp(MouseButton button, int x, int y);
  void DoubleClick(int x, int y);
  // Positive notches zoom in.
  void Wheel(int notches);
  void ZoomIn();
  void ZoomOut();
  void ZoomAll();
  void BeginZoomWindow();
  void BeginPan();

  // Enter in E_Polecenie with the field's text: a text of exactly one blank repeats the last
  // accepted entry.
  void CommandEntered(std::string text);
  // Interprets one entry: typed, or sent by a button, a menu item, F1 or the help label.
  void WykonajPolecenie(std::string entry);
  // The same for a text sent by a control: it starts its command even while a text is awaited.
  void ControlCommand(std::string entry);
  // The Delete key: starts u, or ends the selection of a running u.
  void DeleteKey();
  // F1, F4, F8 and Esc in E_Polecenie, E_dx and E_dy.
  void CommandKey(Key key);
  // Enter in E_dx or E_dy, or B_Wprowadz_dxdy, with the fields' texts and CB_OdlKat.
  void WprowadzDxDy(std::string_view dx, std::string_view dy, bool polar);
  // The pop-up item Rezygnuj1.
  void Rezygnuj();

  // The first show of the window: the view fitted to the paint box and drawn.
  void FirstShow();
  // Draws the full frame into the surface's image when a redraw is due; the window calls it
  // before it paints.
  void PaintPendingFrame();
  bool frame_pending() const { return frame_pending_; }

  // --- Block files and blocks ---

  void NowyPlikBlokow();
  void OtworzPlikBlokow();
  void OtworzOstatniPlik(const std::string& path);
  // The library (and, when named, its block) given to the program when it starts, or dropped
  // on the window: opened as a recent file is, the path made absolute for the recent list.
  void OpenGivenFile(const std::string& path, const std::string& block_name = {});
  // The library as a whole, on the block selected in the list: M_UsunBlok (after a question),
  // M_ZmienNazweBloku, M_DuplikujBlok (the new name asked for), M_KopiujDoBiblioteki (another
  // library chosen; the overwrite question for a name it has), M_Duplikaty (the report in the
  // viewer). The list and its pictures follow the file.
  void UsunBlok();
  void ZmienNazweBloku();
  void DuplikujBlok();
  void KopiujDoBiblioteki();
  void PokazDuplikaty();
  // M_WstawDXF: a DXF drawing's model space added to the drawing at (0,0), in the block's unit,
  // as one step of Cofnij; the view then shows everything.
  void WstawZDxf();
  // M_ImportujDXF: the blocks a DXF drawing offers (its model space first, then its block
  // definitions), those the user ticks saved into the open library at once, all or none.
  void ImportujDxf();
  void WczytajWybranyBlok();
  void NowyBlok();
  // The save button: checks the name and content, asks before overwriting. True when the
  // block went into the file.
  bool ZapiszBlokZPytaniem();
  // The silent save before work is lost: replaces a block of the same name without asking.
  bool ZapiszBlokBezPytania();
  void UstawNarzedzia(bool enabled);
  void DodajDoOstatnich(const std::string& path);

  // Hidden label L_NazwaPliku: "NAZWA" until a file is open, then its path.
  std::string FileLabel() const;
  // "..." until a file is open, then its path.
  std::string WindowCaption() const;
  const std::optional<std::filesystem::path>& open_file() const { return open_file_; }
  const std::string& block_name() const { return block_name_; }
  // E_NazwaBloku, kept as typed: a name the block file cannot hold is refused when the block is
  // saved, with the reason. Not a change of the block.
  void SetBlockName(std::string_view name);
  const std::string& unit() const { return unit_; }
  // CB_Jednostka; typed text is kept as typed (but for characters the file cannot hold).
  void SetUnit(std::string_view unit);
  const BlockList& block_list() const { return block_list_; }
  // Grows whenever the list's names change, so the window rebuilds it only then.
  uint64_t block_list_revision() const { return block_list_revision_; }
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
  // Grows whenever a load or a save selects the block's row: the window scrolls to it then, and
  // not at every sync, where it would undo the user's scrolling.
  uint64_t block_reveal_revision() const { return block_reveal_revision_; }
  // The open file's blocks as loading would find them, once read; what the editor writes is
  // laid over them as it is written.
  const LibraryContents& library() const { return library_; }
  // Grows whenever another file opens: the window reads its blocks for that revision.
  uint64_t library_revision() const { return library_revision_; }
  // The blocks read from the file of that revision (WczytajWszystkieBloki); a read for a file
  // no longer open is ignored.
  void SetLibraryContents(uint64_t revision, LibraryContents::ReadBlocks blocks);
  // L_Zmiana: the block has changes not yet saved.
  bool unsaved() const { return unsaved_; }
  // Whether the drawing tools and block controls are usable: a file has been open.
  bool tools_enabled() const { return tools_enabled_; }
  const RecentFiles& recent_files() const { return recent_files_; }
  // What was typed into E_Polecenie, for Up and Down; kept between runs.
  CommandHistory& history() { return history_; }
  // The open dialog's initial directory.
  const std::filesystem::path& initial_directory() const { return initial_directory_; }

  // --- The drawing: every change goes through the journal and marks the block unsaved ---

  const Drawing& drawing() const { return drawing_; }
  const Journal& journal() const { return journal_; }
  void DodajObiekt(std::string line);
  bool UsunObiekt(int index);
  bool ZmienObiekt(int index, std::string line);
  void BCofnijClick();
  void BPrzodClick();
  bool undo_enabled() const { return journal_.CanUndo(); }  // BCofnij
  bool redo_enabled() const { return journal_.CanRedo(); }  // BPrzod
  // Resets the running interactive command.
  void AnulujPolecenie();
  // The running command and its step.
  const Wskaz& wskaz() const { return machine_.wskaz(); }
  // The selection list RE_Pomoc with the per-line flags.
  const Selection& selection() const { return selection_; }
  // Applies an operation's changes through the journal, in order, as one step of Cofnij. An
  // operation that left out shapes it could not write is not applied: false, and the message.
  bool ApplyChanges(EditChanges changes);
  // The entity's dialog, filled from its line; confirmed, the line is rewritten (or added).
  void OpenEntityEditor(int index);
  // "Zmiana cech" for the selection.
  void ChangeProperties();
  const CommandMachine& machine() const { return machine_; }

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
  uint64_t pointed_revision() const { return pointed_revision_; }

  // --- Messages and the text viewer ---

  // RE_Polecenia, newest first.
  const std::vector<std::string>& messages() const { return messages_; }
  // Messages inserted at the top since the pane was last emptied, and how often it was
  // emptied: the window inserts only what is new.
  uint64_t messages_added() const { return messages_added_; }
  uint64_t messages_cleared() const { return messages_cleared_; }
  void Komunikat(std::string text);
  // The message pane's lines, top to bottom, in the text viewer.
  void ShowMessagesInViewer();
  // "Kopiuj do schowka": the lines, one a line, on the clipboard.
  void KopiujDoSchowka(const std::vector<std::string>& lines);
  // "Pokaż tekst w notatniku": the lines into Tabela.txt in the program directory, opened by
  // the shell. True when done (the viewer closes); false after the failure was shown.
  bool PokazTekstWNotatniku(const std::vector<std::string>& lines);

  // The remembered last command entry, repeated by the space bar.
  const std::optional<std::string>& ostatnie_polecenie() const { return ostatnie_polecenie_; }
  void SetOstatniePolecenie(std::string entry) { ostatnie_polecenie_ = std::move(entry); }

  // --- Settings ---

  const Settings& settings() const { return settings_; }
  void SetOrtho(bool on) { settings_.ortho = on; }
  void SetGridSnap(bool on);
  void SetDrawGrid(bool on);
  void SetSnap(Snap snap, bool on);
  void SetGridStepText(std::string_view text);
  void SetGridSizeText(std::string_view text);
  // A text that is no thickness is refused with a message; the old one stays.
  bool SetThicknessText(std::string_view text);
  // A text that is not a number is shown as an error and the old value stays. False then.
  bool SetTextHeightText(std::string_view text);
  bool SetTextWidthText(std::string_view text);
  void SetColour(Colour colour) { settings_.colour = colour; }
  // The colour dialog preset to the current colour; cancelling changes nothing.
  void ChooseColour();
  void SetBasePoint(bool on);
  void SetOverwriteWithoutAsking(bool on) { settings_.overwrite_without_asking = on; }

  // --- What a full redraw needs ---

  // A full redraw is due: previews are wiped now, the frame is drawn before the next paint.
  void Redraw();
  ViewSettings view_settings() const;
  ViewTransform& view() { return view_; }
  ReadingDefaults& reading_defaults() { return reading_defaults_; }
  // Loaded by Start.
  const StrokeFont* romans_font() const { return romans_font_.get(); }
  const StrokeFont* greeks_font() const { return greeks_font_.get(); }
  // The start panel is drawn while no file is open.
  bool ShowsStartPanel() const { return !tools_enabled_; }
  static StartPanelText StartPanel();

  const ProgramPaths& paths() const { return paths_; }

  // --- The recovery file: an unsaved block outlives a killed editor ---

  // The window calls this about once a second: an unsaved block that changed since the last
  // call goes to the recovery file, written on a thread of its own. True when it added a
  // message (a write that failed).
  bool KeepRecoveryFile();
  // What the recovery file is written from, taken at once on the caller's thread.
  RecoverySnapshot TakeRecoverySnapshot() const;
  // Returns when the recovery file holds the last snapshot handed over.
  void WaitForRecoveryFile();
  // This run's recovery file beside its lock file in <state>/Odzysk; empty before Start, and
  // when no lock could be made there (then nothing is kept).
  const std::filesystem::path& recovery_file() const { return recovery_file_; }

 private:
  enum class BadNameText { kExclamation, kOne };

  // The unsaved-changes question before another file is opened: true to go on.
  bool AskBeforeFileChange(BadNameText bad_name_text);
  // Whether the block may be saved at all: a name of 3 characters and a drawing.
  bool HasSaveableBlock() const;
  // Replaces or appends the block in the open file; a failure is shown and the mark stays.
  bool WriteBlock(bool cut_at_255);
  BlockToSave BlockOfDrawing(bool cut_at_255) const;
  // The file becomes the open one with these names listed; drawing, name and journal empty.
  void OpenFile(const std::filesystem::path& file, std::vector<std::string> names);
  // Empties the drawing and the journal; the mark is for the caller to set.
  void EmptyBlock();
  void MarkChanged();
  // The block is as saved or empty: nothing of it needs recovering.
  void MarkUnchanged();
  // Removes the recovery file, the block's mark as it stands.
  void DropRecoveryFile();
  // A lock of this run's own in the recovery folder, and a writer for its recovery file.
  void TakeRecoveryLock();
  // Offers the recovery files that editors no longer running left behind, newest first.
  void OfferRecovery();
  void RestoreBlock(const RecoverySnapshot& snapshot);
  // The clean end: the recovery file and the lock go.
  void EndRecovery();
  void ClearMessages();
  void ApplyViewResponse(const ViewResponse& response);
  // The names or the filter changed: the rows follow.
  void BlockListChanged();
  // Another file: its whole list shows, and nothing of the last file's block is remembered.
  void ResetBlockBrowser();
  // A load or a save of the block: its row is selected, a filter that hides it giving way,
  // unless the user picked another row since the last load or save.
  void ShowBlockRow(const std::string& name);
  // The selected block of the open library, or nothing with a message saying what is missing.
  std::optional<std::string> ChosenBlock();
  // The list read again after the library changed, with this name selected.
  void LibraryChanged(const std::string& select);
  // How a DXF drawing is read here: its texts sized by the stroke font.
  DxfImportOptions DxfOptions(const std::filesystem::path& file) const;
  // The block went into the file: the browser shows it as written.
  void BlockWritten(const BlockToSave& block) { library_.Put(WrittenBlock(block)); }
  // A save made the open library again after it had gone: it holds that block alone.
  void LibraryMadeAgain();
  // The name in the block list, added when it is not there yet.
  void ListBlock(const std::string& name);
  void ShowError(const Error& error) { ui_.ShowMessage(error.message); }
  // A row's text fits a line of the block file; if not, says so.
  bool SourceLineFits(const std::string& line);

  ProgramPaths paths_;
  Ui& ui_;
  Surface& surface_;
  bool started_ = false;
  bool frame_pending_ = false;

  Drawing drawing_;
  Journal journal_{drawing_};
  Selection selection_;
  EntityEditor entity_editor_;
  std::vector<std::string> messages_;
  uint64_t messages_added_ = 0;
  uint64_t messages_cleared_ = 0;
  std::optional<std::string> ostatnie_polecenie_;

  std::optional<std::filesystem::path> open_file_;
  std::string block_name_;
  std::string unit_ = "m";
  BlockList block_list_;
  uint64_t block_list_revision_ = 0;
  BlockFilter block_filter_;
  std::string shown_block_;  // whose row the last load or save selected
  uint64_t block_reveal_revision_ = 0;
  LibraryContents library_;
  uint64_t library_revision_ = 0;
  bool unsaved_ = false;
  bool syntax_checked_ = false;
  std::optional<size_t> pointed_line_;
  uint64_t pointed_revision_ = 0;
  bool tools_enabled_ = false;
  RecentFiles recent_files_;
  CommandHistory history_;
  std::filesystem::path initial_directory_;
  // Remembered at exit: the directory of the file last confirmed in the open dialog, else the
  // one the run started with.
  std::string chosen_directory_;

  Settings settings_;
  ViewTransform view_;
  ReadingDefaults reading_defaults_;
  std::unique_ptr<StrokeFont> romans_font_;
  std::unique_ptr<StrokeFont> greeks_font_;

  uint64_t change_count_ = 0;
  int64_t last_change_ = 0;  // seconds since the epoch
  std::optional<HeldLock> recovery_lock_;
  std::filesystem::path recovery_file_;
  std::optional<Error> recovery_problem_;  // why no lock could be made, until shown
  // What the last snapshot handed to the writer was of; kept_ while its file exists.
  bool recovery_kept_ = false;
  uint64_t recovery_count_ = 0;
  std::string recovery_name_;
  std::string recovery_unit_;
  bool recovery_failure_shown_ = false;
  // After the lock: it finishes its write before the lock goes.
  std::unique_ptr<RecoveryWriter> recovery_writer_;

  class Host;
  std::unique_ptr<Host> host_;
  CommandMachine machine_;
};

}  // namespace blok
