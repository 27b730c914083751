#include "editor/editor.h"

#include "editing/transform.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/program_info.h"

namespace blok {
namespace {

// A character the code page cannot hold never enters the drawing or a block's header: it
// would come back from the file as something else.
std::string FitToCodePage(std::string_view text) { return Cp1250ToUtf8(Utf8ToCp1250(text)); }

}  // namespace

// What the command machine reaches of the Editor.
class Editor::Host : public InteractionHost {
 public:
  explicit Host(Editor& editor) : e_(editor) {}

  bool BlockOpen() const override { return e_.tools_enabled_; }
  const Drawing& drawing() const override { return e_.drawing_; }
  void Komunikat(std::string text) override { e_.messages_.Komunikat(std::move(text)); }
  void Redraw() override { e_.view_.Redraw(); }
  const Settings& settings() const override { return e_.preferences_.settings(); }
  const ViewTransform& view() const override { return e_.view_.transform(); }
  Surface& surface() override { return e_.surface_; }
  const StrokeFont* font() const override { return e_.view_.romans_font(); }
  void SetOstatniePolecenie(std::string entry) override {
    e_.preferences_.SetOstatniePolecenie(std::move(entry));
  }
  void EntityPointedAt(int index) override {
    if (e_.pointed_line_ == static_cast<size_t>(index)) return;
    e_.pointed_line_ = static_cast<size_t>(index);
    ++e_.pointed_revision_;
  }
  void SetPickCursor(bool pick) override {
    e_.ui_.SetCursor(pick ? CursorShape::kPick : CursorShape::kCross);
  }
  void SetPrompt(std::string_view caption) override { e_.ui_.SetPrompt(caption); }
  void FocusCommandEntry() override { e_.ui_.FocusCommandEntry(); }
  void ShowRelativePanel(bool visible) override { e_.ui_.ShowRelativePanel(visible); }
  void ShowHelp(const std::vector<std::string>& lines) override { e_.ui_.ShowText(lines); }
  void ShowMessageBox(std::string_view text) override { e_.ui_.ShowMessage(text); }
  Selection& selection() override { return e_.selection_; }
  const ReadingDefaults& reading_defaults() const override { return e_.view_.reading_defaults(); }
  bool ApplyChanges(EditChanges changes) override { return e_.ApplyChanges(std::move(changes)); }
  void OpenEntityEditor(int index) override { e_.OpenEntityEditor(index); }
  void ChangeProperties() override { e_.ChangeProperties(); }

 private:
  Editor& e_;
};

Editor::Editor(ProgramPaths paths, Ui& ui, Surface& surface)
    : ui_(ui),
      surface_(surface),
      messages_(paths.state, ui),
      preferences_(std::move(paths), ui, view_),
      host_(std::make_unique<Host>(*this)),
      machine_(*host_) {}

Editor::~Editor() = default;

Result<void> Editor::Start(std::optional<Error> code_page_problem) {
  if (code_page_problem) {
    ShowError(*code_page_problem);
    return std::unexpected(*code_page_problem);
  }
  if (auto fonts = view_.LoadFonts(preferences_.paths().data); !fonts) {
    ShowError(fonts.error());
    return fonts;
  }
  AnulujPolecenie();
  view_.reading_defaults() = ReadingDefaults{};
  journal_.Clear();
  syntax_checked_ = false;
  preferences_.Read();
  started_ = true;
  if (!recovery_lock_) TakeRecoveryLock();
  OfferRecovery();
  return {};
}

void Editor::Finish(bool keep_unsaved_block) {
  if (!started_) return;
  preferences_.Write();
  if (keep_unsaved_block && unsaved_) {
    // Nobody was asked: the newest state stays in the recovery file for the next start.
    KeepRecoveryFile();
    WaitForRecoveryFile();
    return;
  }
  EndRecovery();
}

bool Editor::CloseQuery() {
  if (!unsaved_) return true;
  switch (ui_.Ask("Dane nie zapisane. Zapisać?")) {
    case Answer::kTak:
      return ZapiszBlokZPytaniem();
    case Answer::kNie:
      return true;
    case Answer::kKasuj:
      break;
  }
  return false;
}

std::string Editor::FileLabel() const { return open_file_ ? open_file_->string() : "NAZWA"; }

std::string Editor::WindowCaption() const { return open_file_ ? open_file_->string() : "..."; }

void Editor::SetBlockName(std::string_view name) { block_name_ = name; }

void Editor::SetUnit(std::string_view unit) { unit_ = FitToCodePage(unit); }

void Editor::DodajObiekt(std::string line) {
  journal_.DodajObiekt(FitToCodePage(line));
  MarkChanged();
}

bool Editor::UsunObiekt(int index) {
  if (!journal_.UsunObiekt(index)) return false;
  MarkChanged();
  return true;
}

bool Editor::ZmienObiekt(int index, std::string line) {
  if (!journal_.ZmienObiekt(index, FitToCodePage(line))) return false;
  MarkChanged();
  return true;
}

bool Editor::ApplyChanges(EditChanges changes) {
  // Part of a selection changed would be a wrong drawing that looks right: all or nothing.
  if (changes.unwritable > 0) {
    messages_.Komunikat("Nic nie zmieniono: po tej zmianie nie da się zapisać obiektów: " +
                        std::to_string(changes.unwritable) +
                        " (za długa linia lub za duże liczby).");
    return false;
  }
  // One command's changes are one step of Cofnij and Naprzód.
  journal_.BeginStep();
  for (EditChange& change : changes) {
    switch (change.kind) {
      case EditChange::Kind::kReplace:
        ZmienObiekt(change.index, std::move(change.line));
        break;
      case EditChange::Kind::kAdd:
        DodajObiekt(std::move(change.line));
        break;
      case EditChange::Kind::kDelete:
        UsunObiekt(change.index);
        break;
    }
  }
  journal_.EndStep();
  return true;
}

void Editor::OpenEntityEditor(int index) {
  if (auto change = entity_editor_.Open(ui_, drawing_.records(), drawing_.lines(), index)) {
    const std::string line = change->line;
    ApplyChanges({*change});
    // The line dialog says what it wrote; the circle and text dialogs say nothing.
    const EntityKind kind = ClassifyLine(line);
    if (kind == EntityKind::kLine || kind == EntityKind::kRectangle) messages_.Komunikat(line);
  }
  view_.Redraw();
}

void Editor::ChangeProperties() {
  if (auto change = entity_editor_.ChangeProperties(ui_)) {
    ApplyChanges(ChangeSelectionProperties(drawing_.records(), selection_, *change));
  }
}

void Editor::BCofnijClick() {
  AnulujPolecenie();
  if (journal_.UndoStep()) MarkChanged();
  view_.Redraw();
}

void Editor::BPrzodClick() {
  AnulujPolecenie();
  if (journal_.RedoStep()) MarkChanged();
  view_.Redraw();
}

void Editor::AnulujPolecenie() {
  // The undo and redo buttons need no refresh: the window reads their state from the journal.
  machine_.AnulujPolecenie();
}

StartPanelText Editor::StartPanel() {
  return {"Wskaż plik do edycji.",
          {std::string(kProgramName) + " " + std::string(kProgramVersion),
           "zespół " + std::string(kProgramName), std::string(kWebHost), std::string(kMailAddress),
           "z dn.  " + std::string(kReleaseDate)}};
}

}  // namespace blok
