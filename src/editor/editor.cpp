#include "editor/editor.h"

#include "document/text_file.h"
#include "editing/transform.h"
#include "editor/data_files.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/program_info.h"

namespace blok {
namespace {

constexpr std::string_view kRomansFontFile = "Dane/Romans100.Lzs";
constexpr std::string_view kGreeksFontFile = "Dane/Greeks100.Lzs";
constexpr std::string_view kViewerFile = "Tabela.txt";
constexpr std::string_view kViewerFileProblem =
    "Wystąpił problem z dostępem do pliku. Sprawdź czy ścieżka do katalogu roboczego (menu "
    "Pliki\\Ustawienia Programu) jest prawidłowa!";

}  // namespace

// What the command machine reaches of the Editor.
class Editor::Host : public InteractionHost {
 public:
  explicit Host(Editor& editor) : e_(editor) {}

  Scene scene() override {
    return {e_.drawing_,          e_.view_,     *e_.romans_font_,
            e_.reading_defaults_, e_.settings_, e_.selection_};
  }
  bool BlockOpen() const override { return e_.tools_enabled_; }
  Selection& selection() override { return e_.selection_; }
  bool ApplyChanges(EditChanges changes) override { return e_.ApplyChanges(std::move(changes)); }
  void Komunikat(std::string text) override { e_.Komunikat(std::move(text)); }
  void SetOstatniePolecenie(std::string entry) override {
    e_.ostatnie_polecenie_ = std::move(entry);
  }
  void Redraw() override { e_.Redraw(); }
  Surface& surface() override { return e_.surface_; }
  void OpenEntityEditor(int index) override { e_.OpenEntityEditor(index); }
  void ChangeProperties() override { e_.ChangeProperties(); }
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

 private:
  Editor& e_;
};

Editor::Editor(ProgramPaths paths, Ui& ui, Surface& surface)
    : paths_(std::move(paths)),
      ui_(ui),
      surface_(surface),
      initial_directory_(paths_.data / "Bloki/"),
      host_(std::make_unique<Host>(*this)),
      machine_(*host_) {}

Editor::~Editor() = default;

Result<void> Editor::Start(std::optional<Error> code_page_problem) {
  if (code_page_problem) {
    ShowError(*code_page_problem);
    return std::unexpected(*code_page_problem);
  }
  for (auto [file, font] :
       {std::pair{kRomansFontFile, &romans_font_}, std::pair{kGreeksFontFile, &greeks_font_}}) {
    auto loaded = LoadStrokeFont(paths_.data / file);
    if (!loaded) {
      ShowError(loaded.error());
      return std::unexpected(loaded.error());
    }
    *font = std::make_unique<StrokeFont>(*loaded);
  }
  AnulujPolecenie();
  settings_ = Settings{};
  reading_defaults_ = ReadingDefaults{};
  journal_.Clear();
  syntax_checked_ = false;

  // A data file that cannot be read is reported; the defaults stand and the program runs.
  initial_directory_ = paths_.data / "Bloki/";
  auto directory = ReadProjectDirectory(paths_.state / kProjectDirectoryFile);
  if (!directory) {
    ShowError(directory.error());
  } else if (*directory) {
    initial_directory_ = **directory;
  }
  // A run that never confirms the open dialog keeps the directory it was given.
  chosen_directory_ = initial_directory_.string();
  auto recent = ReadRecentPaths(paths_.state / kRecentFilesFile);
  if (!recent) {
    ShowError(recent.error());
  } else {
    for (const std::string& path : *recent) DodajDoOstatnich(path);
  }
  // The history is a convenience: a run without it is no reason for a message.
  if (auto history = ReadCommandHistory(paths_.state / kCommandHistoryFile)) {
    history_.Assign(*history);
  }
  ostatnie_polecenie_.reset();
  started_ = true;
  if (!recovery_lock_) TakeRecoveryLock();
  OfferRecovery();
  return {};
}

void Editor::Finish(bool keep_unsaved_block) {
  if (!started_) return;
  if (auto written = WriteProjectDirectory(paths_.state / kProjectDirectoryFile, chosen_directory_);
      !written) {
    ShowError(written.error());
  }
  if (auto written =
          WriteRecentPaths(paths_.state / kRecentFilesFile, recent_files_.PathsOldestFirst());
      !written) {
    ShowError(written.error());
  }
  (void)WriteCommandHistory(paths_.state / kCommandHistoryFile, history_.entries());
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

void Editor::SetUnit(std::string_view unit) { unit_ = FitToCodePage(unit).text; }

void Editor::DodajObiekt(std::string line) {
  journal_.DodajObiekt(FitToCodePage(line).text);
  MarkChanged();
}

bool Editor::UsunObiekt(int index) {
  if (!journal_.UsunObiekt(index)) return false;
  MarkChanged();
  return true;
}

bool Editor::ZmienObiekt(int index, std::string line) {
  if (!journal_.ZmienObiekt(index, FitToCodePage(line).text)) return false;
  MarkChanged();
  return true;
}

bool Editor::ApplyChanges(EditChanges changes) {
  // Part of a selection changed would be a wrong drawing that looks right: all or nothing.
  if (changes.unwritable > 0) {
    Komunikat("Nic nie zmieniono: po tej zmianie nie da się zapisać obiektów: " +
              std::to_string(changes.unwritable) + " (za długa linia lub za duże liczby).");
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
    if (kind == EntityKind::kLine || kind == EntityKind::kRectangle) Komunikat(line);
  }
  Redraw();
}

void Editor::ChangeProperties() {
  if (auto change = entity_editor_.ChangeProperties(ui_)) {
    ApplyChanges(ChangeSelectionProperties(drawing_.records(), selection_, *change));
  }
}

void Editor::BCofnijClick() {
  AnulujPolecenie();
  if (journal_.UndoStep()) MarkChanged();
  Redraw();
}

void Editor::BPrzodClick() {
  AnulujPolecenie();
  if (journal_.RedoStep()) MarkChanged();
  Redraw();
}

void Editor::AnulujPolecenie() {
  // The undo and redo buttons need no refresh: the window reads their state from the journal.
  machine_.AnulujPolecenie();
}

void Editor::Komunikat(std::string text) {
  messages_.insert(messages_.begin(), std::move(text));
  ++messages_added_;
}

void Editor::ClearMessages() {
  messages_.clear();
  messages_added_ = 0;
  ++messages_cleared_;
}

void Editor::Redraw() {
  surface_.RestoreView();
  frame_pending_ = true;
  ui_.Redraw();
  ui_.FocusCommandEntry();
}

void Editor::ShowMessagesInViewer() { ui_.ShowText(messages_); }

void Editor::KopiujDoSchowka(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  ui_.CopyToClipboard(text);
}

bool Editor::PokazTekstWNotatniku(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) AppendTextLine(bytes, line);
  const std::filesystem::path file = paths_.state / kViewerFile;
  if (!ReplaceFileContents(file, bytes) || !ui_.OpenWithShell(file)) {
    ui_.ShowMessage(kViewerFileProblem);
    return false;
  }
  return true;
}

void Editor::SetGridSnap(bool on) {
  settings_.grid_snap = on;
  Redraw();
}

void Editor::SetDrawGrid(bool on) {
  settings_.draw_grid = on;
  Redraw();
}

void Editor::SetSnap(Snap snap, bool on) {
  switch (snap) {
    case Snap::kEnd:
      settings_.snap_end = on;
      break;
    case Snap::kMiddle:
      settings_.snap_middle = on;
      break;
    case Snap::kIntersection:
      settings_.snap_intersection = on;
      break;
    case Snap::kCentre:
      settings_.snap_centre = on;
      break;
  }
}

void Editor::SetGridStepText(std::string_view text) {
  settings_.grid_step_text = text;
  settings_.grid_step = GridStepFromText(text);
  Redraw();
}

void Editor::SetGridSizeText(std::string_view text) {
  settings_.grid_size_text = text;
  Redraw();
}

namespace {

// The box keeps what was typed; the value changes only to a number.
bool SetTextSize(Ui& ui, std::string_view text, std::string& box_text, float& value) {
  box_text = text;
  const std::optional<float> size = TextSizeFromText(text);
  if (!size) {
    ui.ShowMessage("\"" + std::string(text) + "\" nie jest poprawną liczbą.");
    return false;
  }
  value = *size;
  return true;
}

}  // namespace

bool Editor::SetThicknessText(std::string_view text) {
  // Every new entity's line carries this text: one that is no thickness would not read back.
  const std::optional<float> thickness = TextSizeFromText(text);
  if (!thickness || *thickness < 0) {
    ui_.ShowMessage("\"" + std::string(text) + "\" nie jest poprawną liczbą.");
    return false;
  }
  settings_.thickness_text = text;
  return true;
}

bool Editor::SetTextHeightText(std::string_view text) {
  return SetTextSize(ui_, text, settings_.text_height_text, settings_.text_height);
}

bool Editor::SetTextWidthText(std::string_view text) {
  return SetTextSize(ui_, text, settings_.text_width_text, settings_.text_width);
}

void Editor::ChooseColour() {
  if (const std::optional<Colour> colour = ui_.ChooseColour(settings_.colour)) {
    settings_.colour = *colour;
  }
}

void Editor::SetBasePoint(bool on) { settings_.base_point = on; }

ViewSettings Editor::view_settings() const {
  ViewSettings view;
  view.grid_snap = settings_.grid_snap;
  view.draw_grid = settings_.draw_grid;
  view.base_point = settings_.base_point;
  view.grid_size_text = settings_.grid_size_text;
  view.grid_step = settings_.grid_step;
  return view;
}

StartPanelText Editor::StartPanel() {
  return {"Wskaż plik do edycji.",
          {std::string(kProgramName) + " " + std::string(kProgramVersion),
           "zespół " + std::string(kProgramName), std::string(kWebHost), std::string(kMailAddress),
           "z dn.  " + std::string(kReleaseDate)}};
}

}  // namespace blok
