#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/recovery_file.h"
#include "editor/drawing_view.h"
#include "editor/edited_block.h"
#include "editor/library.h"
#include "editor/messages.h"
#include "editor/preferences.h"
#include "editor/recovery.h"
#include "editor/ui.h"
#include "interaction/command_machine.h"
#include "model/cp1250.h"
#include "model/error.h"
#include "view/surface.h"

namespace blok {

// What the view shows while no block file is open.
struct StartPanelText {
  std::string prompt;              // above the box
  std::vector<std::string> lines;  // inside the box, top to bottom
};

// The keys that E_Polecenie, E_dx and E_dy hand to the Editor.
enum class Key { kF1, kF4, kF8, kEscape };

// The main window's state and behaviour without widgets, in parts: the block being edited,
// the open library, the recovery file, the message pane, the preferences and the view. The
// Editor routes the input and the running command, and does what spans parts: the start and
// the end, and the questions asked before another file or block replaces an unsaved one. The
// window forwards its events here and each panel follows the part it shows; the Editor draws
// through the Surface, and whatever needs the user goes through Ui.
class Editor {
 public:
  Editor(ProgramPaths paths, Ui& ui, Surface& surface);
  // Everything beside the program, as in the build tree.
  Editor(std::filesystem::path program_dir, Ui& ui, Surface& surface)
      : Editor(ProgramPaths{program_dir, program_dir}, ui, surface) {}
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // --- The parts ---

  EditedBlock& block() { return block_; }
  Library& library() { return library_; }
  Recovery& recovery() { return recovery_; }
  Messages& messages() { return messages_; }
  Preferences& preferences() { return preferences_; }
  DrawingView& view() { return view_; }
  // The running command and its step.
  const CommandMachine& machine() const { return machine_; }

  // --- Start and exit ---

  // Reads the fonts (required: a missing or damaged one is shown and returned, and nothing
  // else starts), then the remembered project directory and recent files. Before all that, a
  // code page that cannot be converted (CodePageProblem) is shown and returned the same way:
  // every file the editor reads and writes would lose its Polish letters.
  Result<void> Start(std::optional<Error> code_page_problem = CodePageProblem());
  // The unsaved blocks that killed editors left behind, offered back: once a run, after a
  // start that succeeded. The window asks once it is on screen, not over an empty desktop.
  void OfferRecovery();
  // Rewrites the data files; failures are shown. Does nothing after a failed start, so that
  // the remembered files are not lost to an editor that never read them. The recovery file goes,
  // unless the program ends without asking (a signal) with the block unsaved.
  void Finish(bool keep_unsaved_block = false);
  // Whether the window may close; asks when the block has unsaved changes.
  bool CloseQuery();

  // --- Another file or block: the unsaved block is asked about first ---

  void NowyPlikBlokow();
  void OtworzPlikBlokow();
  void OtworzOstatniPlik(const std::string& path);
  // The library (and, when named, its block) given to the program when it starts, or dropped
  // on the window: opened as a recent file is, the path made absolute for the recent list.
  void OpenGivenFile(const std::string& path, const std::string& block_name = {});
  void WczytajWybranyBlok();
  void NowyBlok();

  // --- Input: every event of the drawing surface and the command entry ---

  // Podglad. Pan and zoom take an event first; what they take does nothing else. adding: Shift
  // is held, so that a selection gesture adds to the selection.
  void MouseDown(MouseButton button, int x, int y, bool adding = false);
  void MouseMove(int x, int y);
  // True when a pan or zoom window took the release (then the right button opens no menu).
  bool MouseUp(MouseButton button, int x, int y, bool adding = false);
  void DoubleClick(int x, int y);
  // A row of Lista bloków dropped on Podglad: that block inserted at the pixel, snapped as a
  // click is, at scale 1 and unturned.
  void DropBlock(const std::string& name, int x, int y);
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
  // Draws the full frame into the surface's image when a redraw is due; the window calls it
  // before it paints.
  void PaintPendingFrame();
  // The start panel is drawn while no file is open.
  bool ShowsStartPanel() const { return !block_.tools_enabled(); }

 private:
  enum class BadNameText { kExclamation, kOne };

  // Resets the running interactive command.
  void AnulujPolecenie();
  // The unsaved-changes question before another file is opened: true to go on.
  bool AskBeforeFileChange(BadNameText bad_name_text);
  // The file becomes the open one with these names listed; drawing, name and journal empty.
  void OpenFile(const std::filesystem::path& file, std::vector<std::string> names);
  // A block of the open library as its file holds it now, to load or to insert; nothing, with
  // the reason shown, when it cannot be read or is no longer there.
  std::optional<EntitySource> ReadBlock(const std::string& name);
  // The block a recovery file kept, in its library, unsaved.
  void RestoreBlock(const RecoverySnapshot& snapshot);
  void ShowError(const Error& error) { ui_.ShowMessage(error.message); }

  Ui& ui_;
  Surface& surface_;
  bool started_ = false;
  bool recovery_offered_ = false;

  Messages messages_;
  // The block and the view refer to each other: neither uses the other while it is made.
  EditedBlock block_;
  DrawingView view_;
  Preferences preferences_;
  Library library_;
  Recovery recovery_;

  class Host;
  std::unique_ptr<Host> host_;
  CommandMachine machine_;
};

// The start panel's prompt and the product's lines.
StartPanelText StartPanel();

}  // namespace blok
