#include "support/scripted_ui.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace blok::testing {
namespace {

// The next scripted answer, or fallback (a cancel) with a failure naming what was asked.
template <typename T>
T Next(std::deque<T>& script, T fallback, std::string_view what) {
  if (script.empty()) {
    ADD_FAILURE() << "ScriptedUi: no scripted answer for " << what;
    return fallback;
  }
  T answer = std::move(script.front());
  script.pop_front();
  return answer;
}

// A modal form: answers until one closes it; a refused apply shows its message and stays open.
template <typename Model>
bool RunDialog(std::deque<std::function<bool(Model&)>>& script, Model& model,
               std::vector<Model>& shown, std::vector<std::string>& message_boxes,
               std::string_view name) {
  shown.push_back(model);
  for (;;) {
    auto answer = Next(script, std::function<bool(Model&)>([](Model&) { return false; }), name);
    if (!answer(model)) return false;
    auto applied = model.Apply();
    if (applied) return true;
    if (!applied.error().empty()) message_boxes.push_back(applied.error());
  }
}

}  // namespace

ScriptedUi::~ScriptedUi() {
  EXPECT_TRUE(answers.empty()) << answers.size() << " scripted answers to questions never asked";
  EXPECT_TRUE(open_paths.empty()) << open_paths.size() << " open dialogs never shown";
  EXPECT_TRUE(save_paths.empty()) << save_paths.size() << " save dialogs never shown";
  EXPECT_TRUE(open_path_lists.empty())
      << open_path_lists.size() << " file-list dialogs never shown";
  EXPECT_TRUE(folders.empty()) << folders.size() << " folder dialogs never shown";
  EXPECT_TRUE(colours.empty()) << colours.size() << " colour dialogs never shown";
  EXPECT_TRUE(line_answers.empty()) << line_answers.size() << " LinieEdycja answers unused";
  EXPECT_TRUE(circle_answers.empty()) << circle_answers.size() << " OkragEdycja answers unused";
  EXPECT_TRUE(text_answers.empty()) << text_answers.size() << " TekstyEdycja answers unused";
  EXPECT_TRUE(properties_answers.empty())
      << properties_answers.size() << " EdycjaCech answers unused";
}

void ScriptedUi::ClearRecords() {
  questions.clear();
  message_boxes.clear();
  dialogs.clear();
  progress_steps.clear();
  colour_dialogs.clear();
  viewer_texts.clear();
  shell_opens.clear();
  clipboard.clear();
  redraws = 0;
  cursors.clear();
  asked.clear();
  command_entry_focus = 0;
  line_dialogs.clear();
  circle_dialogs.clear();
  text_dialogs.clear();
  properties_dialogs.clear();
}

Answer ScriptedUi::Ask(const Question& question) {
  questions.push_back(question.text);
  asked.push_back(question);
  return Next(answers, Answer::kKasuj, "the question \"" + question.text + "\"");
}

void ScriptedUi::ShowMessage(std::string_view text) { message_boxes.emplace_back(text); }

std::optional<std::filesystem::path> ScriptedUi::OpenFileDialog(const FileDialog& dialog) {
  dialogs.push_back({DialogKind::kOpen, dialog});
  return Next(open_paths, std::optional<std::filesystem::path>(),
              "the open dialog \"" + dialog.title + "\"");
}

std::optional<std::filesystem::path> ScriptedUi::SaveFileDialog(const FileDialog& dialog) {
  dialogs.push_back({DialogKind::kSave, dialog});
  return Next(save_paths, std::optional<std::filesystem::path>(),
              "the save dialog \"" + dialog.title + "\"");
}

std::vector<std::filesystem::path> ScriptedUi::OpenFilesDialog(const FileDialog& dialog) {
  if (open_path_lists.empty()) {
    const auto one = OpenFileDialog(dialog);
    return one ? std::vector{*one} : std::vector<std::filesystem::path>{};
  }
  dialogs.push_back({DialogKind::kOpen, dialog});
  auto files = std::move(open_path_lists.front());
  open_path_lists.pop_front();
  return files;
}

std::optional<std::filesystem::path> ScriptedUi::ChooseFolder(const FileDialog& dialog) {
  dialogs.push_back({DialogKind::kFolder, dialog});
  return Next(folders, std::optional<std::filesystem::path>(),
              "the folder dialog \"" + dialog.title + "\"");
}

std::unique_ptr<Ui::Progress> ScriptedUi::ShowProgress(std::string_view text) {
  class Scripted : public Progress {
   public:
    Scripted(ScriptedUi& ui, std::string_view text) : ui_(ui), text_(text) {}
    bool Step(size_t index, size_t count, std::string_view item) override {
      ui_.progress_steps.push_back(text_ + ": " + std::to_string(index) + "/" +
                                   std::to_string(count) + " " + std::string(item));
      return !ui_.stop_progress_at || index < *ui_.stop_progress_at;
    }

   private:
    ScriptedUi& ui_;
    std::string text_;
  };
  return std::make_unique<Scripted>(*this, text);
}

std::optional<Colour> ScriptedUi::ChooseColour(Colour initial) {
  colour_dialogs.push_back(initial);
  return Next(colours, std::optional<Colour>(), "the colour dialog");
}

std::optional<std::string> ScriptedUi::AskText(std::string_view, std::string_view label,
                                               std::string_view) {
  text_questions.emplace_back(label);
  return Next(texts, std::optional<std::string>(),
              "the text question \"" + std::string(label) + "\"");
}

bool ScriptedUi::ChooseBlocks(std::vector<OfferedBlock>& blocks, bool& replace) {
  block_offers.push_back(blocks);
  const auto answer = Next(block_choices, std::function<bool(std::vector<OfferedBlock>&, bool&)>(),
                           "the import dialog");
  return answer && answer(blocks, replace);
}

std::optional<size_t> ScriptedUi::ChooseBlockToInsert(const std::vector<OfferedBlock>& blocks) {
  std::vector<OfferedBlock> ticked = blocks;
  bool replace = false;
  if (!ChooseBlocks(ticked, replace)) return std::nullopt;
  const auto chosen = std::ranges::find_if(ticked, &OfferedBlock::take);
  if (chosen == ticked.end()) return std::nullopt;
  return static_cast<size_t>(chosen - ticked.begin());
}

void ScriptedUi::ShowText(const std::vector<std::string>& lines) { viewer_texts.push_back(lines); }

bool ScriptedUi::OpenWithShell(const std::filesystem::path& file) {
  shell_opens.push_back(file);
  return shell_open_succeeds;
}

void ScriptedUi::CopyToClipboard(std::string_view text) { clipboard.emplace_back(text); }

bool ScriptedUi::EditLine(LineDialogModel& model) {
  return RunDialog(line_answers, model, line_dialogs, message_boxes, "the dialog LinieEdycja");
}

bool ScriptedUi::EditCircle(CircleDialogModel& model) {
  return RunDialog(circle_answers, model, circle_dialogs, message_boxes, "the dialog OkragEdycja");
}

bool ScriptedUi::EditText(TextDialogModel& model) {
  return RunDialog(text_answers, model, text_dialogs, message_boxes, "the dialog TekstyEdycja");
}

bool ScriptedUi::ChangeProperties(PropertiesDialogModel& model) {
  return RunDialog(properties_answers, model, properties_dialogs, message_boxes,
                   "the dialog EdycjaCech");
}

}  // namespace blok::testing
