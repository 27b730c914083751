#include "editor/editor.h"

#include "model/program_info.h"

namespace blok {

// What the command machine reaches of the Editor.
class Editor::Host : public InteractionHost {
 public:
  explicit Host(Editor& editor) : e_(editor) {}

  Scene scene() override {
    return {e_.block_.drawing(),         e_.view_.transform(),       *e_.view_.romans_font(),
            e_.view_.reading_defaults(), e_.preferences_.settings(), e_.block_.selection()};
  }
  bool BlockOpen() const override { return e_.block_.tools_enabled(); }
  Selection& selection() override { return e_.block_.selection(); }
  bool ApplyChanges(EditChanges changes) override {
    return e_.block_.ApplyChanges(std::move(changes));
  }
  void Komunikat(std::string text) override { e_.messages_.Komunikat(std::move(text)); }
  void SetOstatniePolecenie(std::string entry) override {
    e_.preferences_.SetOstatniePolecenie(std::move(entry));
  }
  void Redraw() override { e_.view_.Redraw(); }
  Surface& surface() override { return e_.surface_; }
  void OpenEntityEditor(int index) override { e_.block_.OpenEntityEditor(index); }
  void ChangeProperties() override { e_.block_.ChangeProperties(); }
  void EntityPointedAt(int index) override { e_.block_.PointAt(static_cast<size_t>(index)); }
  void SetPickCursor(bool pick) override {
    e_.ui_.SetCursor(pick ? CursorShape::kPick : CursorShape::kCross);
  }
  void SetPrompt(std::string_view caption) override { e_.ui_.SetPrompt(caption); }
  void FocusCommandEntry() override { e_.ui_.FocusCommandEntry(); }
  void ShowRelativePanel(bool visible) override { e_.ui_.ShowRelativePanel(visible); }
  void ShowHelp(const std::vector<std::string>& lines) override { e_.ui_.ShowText(lines); }
  void ShowMessageBox(std::string_view text) override { e_.ui_.ShowMessage(text); }

  std::vector<std::string> BlockNames() override { return e_.library_.block_list().names(); }
  std::string SelectedBlockName() override { return e_.library_.block_list().SelectedName(); }
  std::optional<EntitySource> BlockToInsert(const std::string& name) override {
    return e_.ReadBlock(name);
  }
  std::string BlockUnit() override { return e_.block_.unit(); }
  void PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) override {
    e_.ui_.PutEntitiesOnClipboard(plain_text, entities);
  }
  ClipboardContents ReadClipboard() override { return e_.ui_.ReadClipboard(); }

 private:
  Editor& e_;
};

Editor::Editor(ProgramPaths paths, Ui& ui, Surface& surface)
    : ui_(ui),
      surface_(surface),
      messages_(paths.state, ui),
      block_(ui, messages_, view_, [this] { AnulujPolecenie(); }),
      view_(ui, surface, block_.drawing()),
      preferences_(paths, ui, view_),
      library_(ui, block_, messages_, preferences_, view_, [this] { AnulujPolecenie(); }),
      recovery_(paths.state, ui, messages_, block_, library_),
      host_(std::make_unique<Host>(*this)),
      machine_(*host_) {
  // A block as saved or empty leaves nothing to recover.
  block_.OnMarkedUnchanged([this] { recovery_.DropRecoveryFile(); });
}

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
  block_.ClearJournal();
  preferences_.Read();
  started_ = true;
  recovery_.Begin();
  return {};
}

void Editor::OfferRecovery() {
  if (!started_ || recovery_offered_) return;
  recovery_offered_ = true;
  recovery_.OfferRecovery([this](const RecoverySnapshot& snapshot) { RestoreBlock(snapshot); });
}

void Editor::Finish(bool keep_unsaved_block) {
  if (!started_) return;
  preferences_.Write();
  if (keep_unsaved_block && block_.unsaved()) {
    // Nobody was asked: the newest state stays in the recovery file for the next start.
    recovery_.KeepRecoveryFile();
    recovery_.WaitForRecoveryFile();
    return;
  }
  recovery_.EndRecovery();
}

bool Editor::CloseQuery() {
  if (!block_.unsaved()) return true;
  switch (ui_.Ask("Dane nie zapisane. Zapisać?", Answer::kTak)) {
    case Answer::kTak:
      return library_.ZapiszBlokZPytaniem();
    case Answer::kNie:
      return true;
    case Answer::kKasuj:
      break;
  }
  return false;
}

void Editor::AnulujPolecenie() {
  // The undo and redo buttons need no refresh: the window reads their state from the journal.
  machine_.AnulujPolecenie();
}

StartPanelText StartPanel() {
  return {"Wskaż plik do edycji.",
          {std::string(kProgramName) + " " + std::string(kProgramVersion),
           "zespół " + std::string(kProgramName), std::string(kWebHost), std::string(kMailAddress),
           "z dn.  " + std::string(kReleaseDate)}};
}

}  // namespace blok
