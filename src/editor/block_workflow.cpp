// The editor's work with block files: opening and creating them, loading, starting and saving
// blocks, and the questions asked before work could be lost.

#include <algorithm>
#include <system_error>

#include "document/block_file.h"
#include "document/duplicates.h"
#include "document/text_file.h"
#include "editor/editor.h"
#include "model/cp1250.h"

namespace blok {
namespace {

constexpr size_t kShortestBlockName = 3;
constexpr std::string_view kUnsavedQuestion = "Dane niezapisane. Nadpisać?";
constexpr std::string_view kBlockExistsQuestion = "Taki blok już istnieje! Nadpisać?";
constexpr std::string_view kBadNameExclamation =
    "Nazwa i grupa musi składać się z min 3 liter! Kasuje polecenie!";
constexpr std::string_view kBadNameOne =
    "Nazwa i grupa musi składać się z min 3 liter! Kasuje polecenie1";

std::vector<FileFilter> BlockFileFilters(std::string block_files) {
  return {
      {std::move(block_files), "*.blk"}, {"Pliki tekstowe", "*.txt"}, {"Wszystkie pliki", "*.*"}};
}

bool FileExists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
}

}  // namespace

bool Editor::AskBeforeFileChange(BadNameText bad_name_text) {
  if (!unsaved_) return true;
  const Answer answer =
      settings_.overwrite_without_asking ? Answer::kTak : ui_.Ask(kUnsavedQuestion);
  if (answer == Answer::kNie) return true;
  if (answer == Answer::kKasuj) return false;
  if (!HasSaveableBlock()) {
    ui_.ShowMessage(bad_name_text == BadNameText::kOne ? kBadNameOne : kBadNameExclamation);
    return false;
  }
  // A save that failed has been shown; going on would lose the block.
  return ZapiszBlokBezPytania();
}

bool Editor::HasSaveableBlock() const {
  return CharacterCount(block_name_) >= kShortestBlockName && !drawing_.IsBlank();
}

BlockToSave Editor::BlockOfDrawing(bool cut_at_255) const {
  return {block_name_, unit_,
          std::vector<std::string>(drawing_.lines().begin(), drawing_.lines().end()), cut_at_255,
          SaveTime::Now()};
}

bool Editor::WriteBlock(bool cut_at_255) {
  if (!open_file_) {
    ui_.ShowMessage("Nie otwarto pliku z blokami: blok nie został zapisany.");
    return false;
  }
  // One replacement of the file: the older block of the name goes, the new one is appended;
  // a library gone since it was opened is made again.
  const BlockToSave block = BlockOfDrawing(cut_at_255);
  const bool vanished = !FileExists(*open_file_);
  if (auto written = ZapiszBlok(*open_file_, block, nullptr); !written) {
    ShowError(written.error());
    return false;
  }
  if (vanished) {
    LibraryMadeAgain();
    ListBlock(block.name);  // the one block of the new file
  }
  BlockWritten(block);
  MarkUnchanged();
  return true;
}

void Editor::LibraryMadeAgain() {
  // The old blocks went with the old file: the list offers none of them any more.
  block_list_.Assign({});
  library_.Reset();
  ++library_revision_;
  BlockListChanged();
}

void Editor::ListBlock(const std::string& name) {
  if (block_list_.Contains(name)) return;
  block_list_.Add(name);
  BlockListChanged();
}

void Editor::EmptyBlock() {
  drawing_.Clear();
  journal_.Clear();
  syntax_checked_ = false;
}

void Editor::OpenFile(const std::filesystem::path& file, std::vector<std::string> names) {
  open_file_ = file;
  block_list_.Assign(std::move(names));
  ResetBlockBrowser();
  BlockListChanged();
  library_.Reset();
  ++library_revision_;
  DodajDoOstatnich(file.string());
  block_name_.clear();
  EmptyBlock();
  UstawNarzedzia(true);
  ClearMessages();
  MarkUnchanged();
}

void Editor::NowyPlikBlokow() {
  AnulujPolecenie();
  if (!AskBeforeFileChange(BadNameText::kExclamation)) return;
  const std::optional<std::filesystem::path> file = ui_.SaveFileDialog(
      {"Zapisz plik", BlockFileFilters("Pliki Blokow"), "blk", initial_directory_});
  if (!file) return;
  // The file is listed or created before anything is given up, so that a file that cannot be
  // read or made leaves the editor as it was.
  const bool existed = FileExists(*file);
  std::vector<std::string> names;
  if (existed) {
    auto listed = CzytajListeBlokow(*file);
    if (!listed) return ShowError(listed.error());
    names = std::move(*listed);
  } else if (auto created = ReplaceFileContents(*file, ""); !created) {
    return ShowError(created.error());
  }
  OpenFile(*file, std::move(names));
  ostatnie_polecenie_.reset();
  Komunikat((existed ? "Otwieram istniejący plik " : "Tworzę nowy plik ") + file->string());
  Redraw();
}

void Editor::OtworzPlikBlokow() {
  AnulujPolecenie();
  if (!AskBeforeFileChange(BadNameText::kOne)) return;
  const std::optional<std::filesystem::path> file = ui_.OpenFileDialog(
      {"Bloki VERADO", BlockFileFilters("Pliki bloków"), "blk", initial_directory_});
  if (!file) return;
  chosen_directory_ = (file->parent_path() / "").string();
  if (!FileExists(*file)) return ui_.ShowMessage("Taki plik nie istnieje!");
  auto names = CzytajListeBlokow(*file);
  if (!names) return ShowError(names.error());
  OpenFile(*file, std::move(*names));
  Komunikat("Wczytano plik z blokami " + file->string());
  ostatnie_polecenie_.reset();
  Redraw();
}

void Editor::OtworzOstatniPlik(const std::string& path) {
  AnulujPolecenie();
  if (!AskBeforeFileChange(BadNameText::kExclamation)) return;
  if (!FileExists(path)) return ui_.ShowMessage(" Plik nie istnieje! ");
  auto names = CzytajListeBlokow(path);
  if (!names) return ShowError(names.error());
  OpenFile(path, std::move(*names));
  Komunikat("Wczytano plik z blokami " + path);
  Redraw();
  Redraw();
}

void Editor::OpenGivenFile(const std::string& path, const std::string& block_name) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::filesystem::path file = error ? std::filesystem::path(path) : absolute;
  OtworzOstatniPlik(file.lexically_normal().string());
  if (block_name.empty() || !open_file_ || *open_file_ != file.lexically_normal()) return;
  const auto& names = block_list_.names();
  const auto found = std::find(names.begin(), names.end(), block_name);
  if (found == names.end()) {
    return ui_.ShowMessage("W pliku " + open_file_->string() + " nie ma bloku " + block_name + ".");
  }
  block_list_.Select(static_cast<size_t>(found - names.begin()));
  WczytajWybranyBlok();
}

void Editor::WczytajWybranyBlok() {
  Answer answer = Answer::kNie;
  if (!drawing_.IsBlank() && unsaved_) {
    answer = settings_.overwrite_without_asking ? Answer::kTak : ui_.Ask(kUnsavedQuestion);
    if (answer == Answer::kTak) {
      // A block without a name is no block: it could never be loaded again.
      if (!HasSaveableBlock()) {
        ui_.ShowMessage(kBadNameExclamation);
        return Redraw();
      }
      if (!ZapiszBlokBezPytania()) return Redraw();
    }
  }
  const std::string name = block_list_.SelectedName();
  if (open_file_ && CharacterCount(name) >= kShortestBlockName && answer != Answer::kKasuj) {
    auto loaded = WczytajBlok(*open_file_, name);
    if (!loaded) {
      ShowError(loaded.error());
    } else if (!*loaded) {
      // Changed behind our back: saying "loaded" would hide the unsaved mark of a drawing that
      // is still the old one.
      ui_.ShowMessage("W pliku " + open_file_->string() + " nie ma bloku " + name + ".");
    } else {
      // The command's selection and picked objects are indices into the old drawing.
      AnulujPolecenie();
      drawing_.Load(std::move((*loaded)->lines));
      block_name_ = std::move((*loaded)->name);
      unit_ = std::move((*loaded)->unit);
      ClearMessages();
      Komunikat("Wczytano blok " + name);
      ostatnie_polecenie_.reset();
      journal_.Clear();
      MarkUnchanged();
      syntax_checked_ = false;
      ShowBlockRow(name);
    }
  }
  Redraw();
}

void Editor::NowyBlok() {
  if (!drawing_.IsBlank() && unsaved_) {
    switch (ui_.Ask(kUnsavedQuestion)) {
      case Answer::kTak:
        if (!HasSaveableBlock()) return ui_.ShowMessage(kBadNameExclamation);
        if (!ZapiszBlokBezPytania()) return;
        break;
      case Answer::kNie:
        break;
      case Answer::kKasuj:
        return;
    }
  }
  ClearMessages();
  Komunikat("Nowy blok.");
  ostatnie_polecenie_.reset();
  AnulujPolecenie();
  block_name_.clear();
  EmptyBlock();
  MarkUnchanged();
  Redraw();
}

bool Editor::ZapiszBlokZPytaniem() {
  if (CharacterCount(block_name_) < kShortestBlockName) {
    Komunikat("NAZWA musi zawierać min 3 znaki!");
    return false;
  }
  if (drawing_.IsBlank()) {
    Komunikat("Blok nie zawiera obiektów!");
    return false;
  }
  // The reader skips such lines: the file keeps them, the drawing that uses it does not.
  if (const size_t faulty = FaultyLineCount();
      faulty > 0 && ui_.Ask("Blok zawiera " + std::to_string(faulty) +
                            " błędnych linii. Zapisać?") != Answer::kTak) {
    return false;
  }
  if (!open_file_) return WriteBlock(true);  // shows why nothing can be saved
  // One pass over the library, under its lock: whether the name is there is learnt while the
  // new file is written, and the question is asked before it replaces the old one.
  const BlockToSave block = BlockOfDrawing(true);
  const bool vanished = !FileExists(*open_file_);
  const auto saved = ZapiszBlok(*open_file_, block, [this] {
    return settings_.overwrite_without_asking || ui_.Ask(kBlockExistsQuestion) == Answer::kTak;
  });
  if (!saved) {
    ShowError(saved.error());
    return false;
  }
  if (saved->written) {
    if (vanished) LibraryMadeAgain();
    BlockWritten(block);
    MarkUnchanged();
    Komunikat((saved->replaced ? "Nadpisano blok: " : "Zapisano blok: ") + block_name_);
  }
  ListBlock(block_name_);
  if (saved->written) ShowBlockRow(block_name_);
  return saved->written;
}

bool Editor::ZapiszBlokBezPytania() { return WriteBlock(false); }

void Editor::BlockListChanged() {
  block_filter_.SetNames(block_list_.names());
  ++block_list_revision_;
}

void Editor::SetBlockFilter(std::string_view text) {
  if (text == block_filter_.text()) return;
  block_filter_.SetText(text);
  if (const auto selected = block_list_.selected(); selected && !block_filter_.RowOf(*selected)) {
    block_list_.Select(std::nullopt);
  }
  // The list is shown anew, with the current row alone selected.
  block_list_.Choose({});
  ++block_list_revision_;
}

void Editor::SelectBlockRow(std::optional<size_t> row) {
  const auto& rows = block_filter_.rows();
  block_list_.Select(row && *row < rows.size() ? std::optional(rows[*row]) : std::nullopt);
}

void Editor::SelectBlockRows(const std::vector<size_t>& rows) {
  std::vector<size_t> entries;
  for (const size_t row : rows) {
    if (row < block_filter_.rows().size()) entries.push_back(block_filter_.rows()[row]);
  }
  block_list_.Choose(std::move(entries));
}

std::optional<size_t> Editor::selected_block_row() const {
  const auto selected = block_list_.selected();
  return selected ? block_filter_.RowOf(*selected) : std::nullopt;
}

void Editor::SetLibraryContents(uint64_t revision, LibraryContents::ReadBlocks blocks) {
  if (revision == library_revision_) library_.Assign(std::move(blocks));
}

void Editor::UstawNarzedzia(bool enabled) { tools_enabled_ = enabled; }

void Editor::DodajDoOstatnich(const std::string& path) { recent_files_.DodajDoOstatnich(path); }

// --- The library as a whole: blocks deleted, renamed, duplicated, copied; blocks saved twice ---

std::optional<std::string> Editor::ChosenBlock() {
  const std::string name = block_list_.SelectedName();
  if (!open_file_) {
    ui_.ShowMessage("Nie otwarto pliku z blokami.");
    return std::nullopt;
  }
  if (name.empty()) {
    ui_.ShowMessage("Wybierz blok z listy bloków.");
    return std::nullopt;
  }
  return name;
}

void Editor::LibraryChanged(const std::string& select) {
  auto names = CzytajListeBlokow(*open_file_);
  if (!names) return ShowError(names.error());
  block_list_.Assign(std::move(*names));
  BlockListChanged();
  library_.Reset();
  ++library_revision_;
  shown_block_.clear();
  if (!select.empty()) ShowBlockRow(select);
}

void Editor::UsunBlok() {
  AnulujPolecenie();
  const auto name = ChosenBlock();
  if (!name || ui_.Ask("Usunąć blok " + *name + "?") != Answer::kTak) return Redraw();
  const auto removed = UsunBlokZPliku(*open_file_, *name);
  if (!removed) return ShowError(removed.error());
  // The drawing of that block stays on the screen; its saved copy is gone.
  if (*name == block_name_ && !drawing_.IsBlank()) MarkChanged();
  Komunikat("Usunięto blok " + *name);
  LibraryChanged("");
  Redraw();
}

void Editor::ZmienNazweBloku() {
  AnulujPolecenie();
  const auto name = ChosenBlock();
  if (!name) return Redraw();
  const auto new_name = ui_.AskText("Zmień nazwę bloku", "Nowa nazwa bloku " + *name + ":", *name);
  if (!new_name || *new_name == *name) return Redraw();
  const auto renamed = blok::ZmienNazweBloku(*open_file_, *name, *new_name);
  if (!renamed) return ShowError(renamed.error());
  if (*renamed == 0) {
    ui_.ShowMessage("W pliku " + open_file_->string() + " nie ma bloku " + *name + ".");
  } else {
    // The drawing being edited follows its block.
    if (*name == block_name_) block_name_ = *new_name;
    Komunikat("Zmieniono nazwę bloku " + *name + " na " + *new_name);
  }
  LibraryChanged(*new_name);
  Redraw();
}

void Editor::DuplikujBlok() {
  AnulujPolecenie();
  const auto name = ChosenBlock();
  if (!name) return Redraw();
  const auto new_name =
      ui_.AskText("Duplikuj blok", "Nazwa kopii bloku " + *name + ":", *name + " kopia");
  if (!new_name) return Redraw();
  if (CharacterCount(*new_name) < kShortestBlockName) {
    ui_.ShowMessage("NAZWA musi zawierać min 3 znaki!");
    return Redraw();
  }
  const auto copied = KopiujBlok(*open_file_, *name, *open_file_, *new_name, [] { return false; });
  if (!copied) return ShowError(copied.error());
  if (!copied->written) {
    ui_.ShowMessage("Blok " + *new_name + " już istnieje.");
    return Redraw();
  }
  Komunikat("Zapisano kopię bloku " + *name + ": " + *new_name);
  LibraryChanged(*new_name);
  Redraw();
}

void Editor::KopiujDoBiblioteki() {
  AnulujPolecenie();
  const auto name = ChosenBlock();
  if (!name) return Redraw();
  // Several rows selected in the list: all their blocks, in one write of the target.
  std::vector<std::string> names = block_list_.ChosenNames();
  if (names.empty()) names = {*name};
  const auto listed = [&] {
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
    return text;
  };
  const auto target = ui_.OpenFileDialog(
      {"Kopiuj do biblioteki", BlockFileFilters("Pliki bloków"), "blk", initial_directory_});
  if (!target) return Redraw();
  std::error_code ignored;
  if (std::filesystem::equivalent(*target, *open_file_, ignored)) {
    ui_.ShowMessage(names.size() == 1 ? "Blok " + *name + " już jest w tym pliku."
                                      : "Bloki " + listed() + " już są w tym pliku.");
    return Redraw();
  }
  const auto copied =
      KopiujBloki(*open_file_, names, *target, [&](std::string_view block) -> std::optional<bool> {
        if (settings_.overwrite_without_asking) return true;
        // Of several blocks, the question says which one it is about; Kasuj calls them all off.
        if (names.size() == 1) return ui_.Ask(kBlockExistsQuestion) == Answer::kTak;
        switch (ui_.Ask("Blok " + std::string(block) + ": " + std::string(kBlockExistsQuestion))) {
          case Answer::kTak:
            return true;
          case Answer::kNie:
            return false;
          case Answer::kKasuj:
            break;
        }
        return std::nullopt;
      });
  if (!copied) return ShowError(copied.error());
  if (copied->copied.size() == 1) {
    Komunikat("Skopiowano blok " + copied->copied.front() + " do pliku " + target->string());
  } else if (!copied->copied.empty()) {
    names = copied->copied;
    Komunikat("Skopiowano bloki " + listed() + " do pliku " + target->string());
  }
  Redraw();
}

void Editor::PokazDuplikaty() {
  if (!open_file_) return ui_.ShowMessage("Nie otwarto pliku z blokami.");
  const auto report = FindDuplicatesInFile(*open_file_);
  if (!report) return ShowError(report.error());
  std::vector<std::string> lines = DuplicateReportLines(*report);
  if (lines.empty()) lines.push_back("W pliku " + open_file_->string() + " nie ma duplikatów.");
  ui_.ShowText(lines);
}

}  // namespace blok
