#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/ui.h"

namespace blok::testing {

// A Ui that answers from a script and records everything it was asked to show. A question or
// dialog without a scripted answer is a test failure, and so is a scripted answer left unused
// when the ScriptedUi is destroyed: a test states every question it expects.
class ScriptedUi : public Ui {
 public:
  enum class DialogKind { kOpen, kSave, kFolder };
  struct DialogShown {
    DialogKind kind;
    FileDialog dialog;
  };

  ~ScriptedUi() override;

  // --- The script ---
  std::deque<Answer> answers;
  std::deque<std::optional<std::filesystem::path>> open_paths;  // nothing: cancelled
  std::deque<std::optional<std::filesystem::path>> save_paths;
  // The dialog of several files: a list each; without one it answers from open_paths, a
  // single file or none.
  std::deque<std::vector<std::filesystem::path>> open_path_lists;
  std::deque<std::optional<std::filesystem::path>> folders;  // nothing: cancelled
  // The progress's Anuluj, pressed before the step of this index.
  std::optional<size_t> stop_progress_at;
  std::deque<std::optional<Colour>> colours;
  std::deque<std::optional<std::string>> texts;  // nothing: cancelled
  // The import dialog: edits the offer as the user would; false cancels.
  std::deque<std::function<bool(std::vector<OfferedBlock>&, bool&)>> block_choices;
  bool shell_open_succeeds = true;
  // The entity dialogs and "Zmiana cech": each answer edits the model as the user would and
  // returns true for the apply button, false for the way out. An apply the model refuses keeps
  // the dialog open (its message box is recorded) for the next answer.
  template <typename Model>
  using DialogAnswer = std::function<bool(Model&)>;
  std::deque<DialogAnswer<LineDialogModel>> line_answers;
  std::deque<DialogAnswer<CircleDialogModel>> circle_answers;
  std::deque<DialogAnswer<TextDialogModel>> text_answers;
  std::deque<DialogAnswer<PropertiesDialogModel>> properties_answers;

  // --- What was shown ---
  std::vector<std::string> questions;
  std::vector<Question> asked;  // each question with its buttons and its safe answer
  std::vector<std::string> message_boxes;
  std::vector<DialogShown> dialogs;
  std::vector<std::string> progress_steps;              // "TEXT: INDEX/COUNT ITEM", each step told
  std::vector<Colour> colour_dialogs;                   // the preset colour of each
  std::vector<std::string> text_questions;              // the label of each text asked for
  std::vector<std::vector<OfferedBlock>> block_offers;  // each import dialog's offer
  std::vector<std::vector<std::string>> viewer_texts;
  std::vector<std::filesystem::path> shell_opens;
  std::vector<std::string> clipboard;
  // The system clipboard as PutEntitiesOnClipboard left it, or as a test sets it.
  ClipboardContents clipboard_contents;
  int redraws = 0;
  std::vector<CursorShape> cursors;
  std::string prompt = "Polecenie:";  // L_Polecenie as last set
  int command_entry_focus = 0;        // how often the keys were sent back to E_Polecenie
  bool relative_panel = false;        // Panel_dxdy
  std::string status_text;
  // Each entity dialog and "Zmiana cech" as it opened.
  std::vector<LineDialogModel> line_dialogs;
  std::vector<CircleDialogModel> circle_dialogs;
  std::vector<TextDialogModel> text_dialogs;
  std::vector<PropertiesDialogModel> properties_dialogs;

  // Answers: the apply button as the fields stand, and the way out.
  template <typename Model>
  static DialogAnswer<Model> Confirm() {
    return [](Model&) { return true; };
  }
  template <typename Model>
  static DialogAnswer<Model> Cancel() {
    return [](Model&) { return false; };
  }

  // Forgets what was shown (the script stays).
  void ClearRecords();

  using Ui::Ask;
  Answer Ask(const Question& question) override;
  void ShowMessage(std::string_view text) override;
  std::optional<std::filesystem::path> OpenFileDialog(const FileDialog& dialog) override;
  std::optional<std::filesystem::path> SaveFileDialog(const FileDialog& dialog) override;
  std::vector<std::filesystem::path> OpenFilesDialog(const FileDialog& dialog) override;
  std::optional<std::filesystem::path> ChooseFolder(const FileDialog& dialog) override;
  std::unique_ptr<Progress> ShowProgress(std::string_view text) override;
  std::optional<Colour> ChooseColour(Colour initial) override;
  std::optional<std::string> AskText(std::string_view title, std::string_view label,
                                     std::string_view initial) override;
  bool ChooseBlocks(std::vector<OfferedBlock>& blocks, bool& replace) override;
  // Scripted as the import's dialog is (block_choices), recorded in block_offers: the first
  // row ticked is the one chosen, none ticked is a cancel.
  std::optional<size_t> ChooseBlockToInsert(const std::vector<OfferedBlock>& blocks) override;
  void ShowText(const std::vector<std::string>& lines) override;
  bool OpenWithShell(const std::filesystem::path& file) override;
  void CopyToClipboard(std::string_view text) override;
  void PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) override {
    clipboard_contents = {std::string(entities), std::string(plain_text)};
  }
  ClipboardContents ReadClipboard() override { return clipboard_contents; }
  void Redraw() override { ++redraws; }
  void SetCursor(CursorShape shape) override { cursors.push_back(shape); }
  void SetPrompt(std::string_view caption) override { prompt = caption; }
  void FocusCommandEntry() override { ++command_entry_focus; }
  void ShowRelativePanel(bool visible) override { relative_panel = visible; }
  void SetStatusText(std::string_view text) override { status_text = text; }
  bool EditLine(LineDialogModel& model) override;
  bool EditCircle(CircleDialogModel& model) override;
  bool EditText(TextDialogModel& model) override;
  bool ChangeProperties(PropertiesDialogModel& model) override;
  // The cursor last set; the cross before any.
  CursorShape cursor() const { return cursors.empty() ? CursorShape::kCross : cursors.back(); }
};

}  // namespace blok::testing
