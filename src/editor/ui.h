#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/entity_clipboard.h"
#include "interaction/entity_dialogs.h"
#include "model/entity.h"

namespace blok {

// The three buttons of the question dialog. Closing it any other way counts as kKasuj.
enum class Answer { kTak, kNie, kKasuj };

// A question of the question dialog: its text, the captions of its buttons (an empty caption
// hides that button) and the answer Enter gives, set afresh each time it is shown: the one that
// loses nothing.
struct Question {
  std::string text;
  Answer safe = Answer::kKasuj;
  std::string tak = "Tak";
  std::string nie = "Nie";
  std::string kasuj = "Kasuj";
};

struct FileFilter {
  std::string name;     // "Pliki bloków"
  std::string pattern;  // "*.blk"
};

// What a file dialog shows and where it starts.
struct FileDialog {
  std::string title;
  std::vector<FileFilter> filters;
  std::string default_extension;            // without the dot: "blk"
  std::filesystem::path initial_directory;  // empty: the platform's choice
};

// The cursor shapes of the drawing surface Podglad; kPick is "WSKAZANIE", shown while a command
// waits for an object.
enum class CursorShape { kCross, kDrag, kHand, kPick };

// What the editor asks of the window system. The dialogs are modal: they return when the user
// has answered. Implemented by a Qt class of its own; tests answer from a script.
class Ui {
 public:
  virtual ~Ui() = default;

  // The question dialog.
  virtual Answer Ask(const Question& question) = 0;
  // With "Tak", "Nie" and "Kasuj"; Enter answers safe.
  Answer Ask(std::string_view text, Answer safe = Answer::kKasuj) {
    return Ask(Question{.text = std::string(text), .safe = safe});
  }
  // A message box with OK.
  virtual void ShowMessage(std::string_view text) = 0;
  // The chosen file, or nothing when the dialog was cancelled.
  virtual std::optional<std::filesystem::path> OpenFileDialog(const FileDialog& dialog) = 0;
  virtual std::optional<std::filesystem::path> SaveFileDialog(const FileDialog& dialog) = 0;
  // Several files chosen at once, in the dialog's order; none when it was cancelled.
  virtual std::vector<std::filesystem::path> OpenFilesDialog(const FileDialog& dialog) = 0;
  // A folder (the dialog's title and initial directory), or nothing when cancelled.
  virtual std::optional<std::filesystem::path> ChooseFolder(const FileDialog& dialog) = 0;
  // A long work's progress over the window with its "Anuluj", shown until the object goes
  // (nothing: none is shown, and the work goes on to its end).
  class Progress {
   public:
    virtual ~Progress() = default;
    // Before step index of count, named item; false when the user has asked to stop.
    virtual bool Step(size_t index, size_t count, std::string_view item) = 0;
  };
  virtual std::unique_ptr<Progress> ShowProgress(std::string_view text) = 0;
  // The blocks a DXF drawing offers, for the user to tick those to import: each comes ticked
  // unless its name is taken; replace says whether taken names are replaced. False: cancelled.
  struct OfferedBlock {
    std::string name;
    std::vector<std::string> lines;  // for its picture
    bool exists = false;             // the library holds a block of the name
    bool take = true;
  };
  virtual bool ChooseBlocks(std::vector<OfferedBlock>& blocks, bool& replace) = 0;
  // The same offer for the one block to insert into the block being edited: the index of the
  // one chosen; nothing when cancelled.
  virtual std::optional<size_t> ChooseBlockToInsert(const std::vector<OfferedBlock>& blocks) = 0;
  // A line of text asked for (a block's new name), preset to initial; nothing when cancelled.
  virtual std::optional<std::string> AskText(std::string_view title, std::string_view label,
                                             std::string_view initial) = 0;
  // The colour dialog preset to initial; nothing when cancelled.
  virtual std::optional<Colour> ChooseColour(Colour initial) = 0;
  // The text viewer, showing these lines top to bottom.
  virtual void ShowText(const std::vector<std::string>& lines) = 0;
  // The system shell's "open" action for a file; false when it could not be started.
  virtual bool OpenWithShell(const std::filesystem::path& file) = 0;
  virtual void CopyToClipboard(std::string_view text) = 0;
  // Entities copied for pasting: the system clipboard holds both forms at once, the plain
  // entity lines for any program and our own form (application/x-blokedit-entities), which
  // also carries the unit.
  virtual void PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) = 0;
  virtual ClipboardContents ReadClipboard() = 0;
  // A full redraw of the drawing surface is due: the window asks the Editor to draw the frame
  // (Editor::PaintPendingFrame) before it next paints. Several requests make one frame.
  virtual void Redraw() = 0;

  // --- What interaction needs of the window ---

  virtual void SetCursor(CursorShape shape) = 0;
  // The caption of L_Polecenie.
  virtual void SetPrompt(std::string_view caption) = 0;
  // The keys go back to E_Polecenie (but not from a field the user is typing into).
  virtual void FocusCommandEntry() = 0;
  // Panel_dxdy, the relative-coordinate panel.
  virtual void ShowRelativePanel(bool visible) = 0;
  // Panel 0 of StatusBar1: the cursor's world coordinates.
  virtual void SetStatusText(std::string_view text) = 0;

  // --- The entity dialogs and "Zmiana cech" ---
  // Each shows its form modally over the model and leaves the fields in it as the user left
  // them. The apply button ("Wprowadź", "Wykonaj") runs the model's Apply: a refusal shows its
  // message and keeps the form open. True when the form closed on an apply that succeeded (the
  // model's result holds what it made); false for "Powrót", "Rezygnuj" or closing the form.

  virtual bool EditLine(LineDialogModel& model) = 0;                // LinieEdycja
  virtual bool EditCircle(CircleDialogModel& model) = 0;            // OkragEdycja
  virtual bool EditText(TextDialogModel& model) = 0;                // TekstyEdycja
  virtual bool ChangeProperties(PropertiesDialogModel& model) = 0;  // EdycjaCech
};

}  // namespace blok
