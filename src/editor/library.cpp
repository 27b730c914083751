// The open library: the block being edited saved into it, its list of blocks with the filter,
// and the work on it as a whole: blocks deleted, renamed, duplicated, copied; blocks saved twice.

#include "editor/library.h"

#include <system_error>

#include "document/duplicates.h"
#include "document/library_rules.h"
#include "model/cp1250.h"
#include "model/polish_plural.h"

namespace blok {
namespace {

constexpr std::string_view kBlockExistsQuestion = "Taki blok już istnieje! Nadpisać?";
constexpr std::string_view kNameTooShort = "NAZWA musi zawierać min 3 znaki!";

}  // namespace

std::vector<FileFilter> BlockFileFilters(std::string block_files) {
  return {
      {std::move(block_files), "*.blk"}, {"Pliki tekstowe", "*.txt"}, {"Wszystkie pliki", "*.*"}};
}

bool FileExists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
}

Library::Library(Ui& ui, EditedBlock& block, Messages& messages, Preferences& preferences,
                 DrawingView& view, std::function<void()> cancel_command)
    : ui_(ui),
      block_(block),
      messages_(messages),
      preferences_(preferences),
      view_(view),
      cancel_command_(std::move(cancel_command)) {}

void Library::Notify(LibraryChange change) {
  if (listener_) listener_(change);
}

std::string Library::FileLabel() const { return open_file_ ? open_file_->string() : "NAZWA"; }

std::string Library::WindowCaption() const { return open_file_ ? open_file_->string() : "..."; }

void Library::Open(const std::filesystem::path& file, std::vector<std::string> names) {
  open_file_ = file;
  block_list_.Assign(std::move(names));
  // A filter kept from the last file could hide every name of this one, with nothing saying why.
  block_filter_.SetText("");
  shown_block_.clear();
  BlockListChanged();
  contents_.Reset();
  ++library_revision_;
  Notify(LibraryChange::kFile);
}

BlockToSave Library::BlockOfDrawing(bool cut_at_255) const {
  return {
      block_.block_name(), block_.unit(),
      std::vector<std::string>(block_.drawing().lines().begin(), block_.drawing().lines().end()),
      cut_at_255, SaveTime::Now()};
}

bool Library::WriteBlock(bool cut_at_255) {
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
  BlockSaved(block, vanished);
  return true;
}

void Library::BlockSaved(const BlockToSave& block, bool file_made_again) {
  if (file_made_again) {
    LibraryMadeAgain();
    ListBlock(block.name);  // the one block of the new file
  }
  contents_.Put(WrittenBlock(block));
  Notify(LibraryChange::kTwins);
  block_.MarkUnchanged();
}

void Library::LibraryMadeAgain() {
  // The old blocks went with the old file: the list offers none of them any more.
  block_list_.Assign({});
  contents_.Reset();
  ++library_revision_;
  Notify(LibraryChange::kFile);
  BlockListChanged();
}

void Library::ListBlock(const std::string& name) {
  if (block_list_.Contains(name)) return;
  block_list_.Add(name);
  BlockListChanged();
}

bool Library::ZapiszBlokZPytaniem() {
  if (BlockNameTooShort(block_.block_name())) {
    messages_.Komunikat(std::string(kNameTooShort));
    return false;
  }
  if (block_.drawing().IsBlank()) {
    messages_.Komunikat("Blok nie zawiera obiektów!");
    return false;
  }
  // The reader skips such lines: the file keeps them, the drawing that uses it does not.
  if (const size_t faulty = block_.FaultyLineCount();
      faulty > 0 &&
      ui_.Ask("Blok zawiera " + Counted(faulty, "błędną linię", "błędne linie", "błędnych linii") +
              ". Zapisać?") != Answer::kTak) {
    return false;
  }
  if (!open_file_) return WriteBlock(true);  // shows why nothing can be saved
  // One pass over the library, under its lock: whether the name is there is learnt while the
  // new file is written, and the question is asked before it replaces the old one.
  const BlockToSave block = BlockOfDrawing(true);
  const bool vanished = !FileExists(*open_file_);
  const auto saved = ZapiszBlok(*open_file_, block, [this] {
    return preferences_.settings().overwrite_without_asking ||
           ui_.Ask(kBlockExistsQuestion) == Answer::kTak;
  });
  if (!saved) {
    ShowError(saved.error());
    return false;
  }
  if (saved->written) {
    BlockSaved(block, vanished);
    messages_.Komunikat((saved->replaced ? "Nadpisano blok: " : "Zapisano blok: ") +
                        block_.block_name());
  }
  ListBlock(block_.block_name());
  if (saved->written) ShowBlockRow(block_.block_name());
  return saved->written;
}

bool Library::ZapiszBlokBezPytania() { return WriteBlock(false); }

void Library::BlockListChanged() {
  block_filter_.SetNames(block_list_.names());
  Notify(LibraryChange::kNames);
}

void Library::SetBlockFilter(std::string_view text) {
  if (text == block_filter_.text()) return;
  block_filter_.SetText(text);
  if (const auto selected = block_list_.selected(); selected && !block_filter_.RowOf(*selected)) {
    block_list_.Select(std::nullopt);
  }
  // The list is shown anew, with the current row alone selected.
  block_list_.Choose({});
  Notify(LibraryChange::kNames);
}

void Library::SelectBlockRow(std::optional<size_t> row) {
  const auto& rows = block_filter_.rows();
  block_list_.Select(row && *row < rows.size() ? std::optional(rows[*row]) : std::nullopt);
}

void Library::SelectBlockRows(const std::vector<size_t>& rows) {
  std::vector<size_t> entries;
  for (const size_t row : rows) {
    if (row < block_filter_.rows().size()) entries.push_back(block_filter_.rows()[row]);
  }
  block_list_.Choose(std::move(entries));
}

std::optional<size_t> Library::selected_block_row() const {
  const auto selected = block_list_.selected();
  return selected ? block_filter_.RowOf(*selected) : std::nullopt;
}

void Library::SetLibraryContents(uint64_t revision, LibraryContents::ReadBlocks blocks) {
  if (revision != library_revision_) return;
  contents_.Assign(std::move(blocks));
  Notify(LibraryChange::kTwins);
}

// --- The library as a whole: blocks deleted, renamed, duplicated, copied; blocks saved twice ---

std::optional<std::string> Library::ChosenBlock() {
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

void Library::LibraryChanged(const std::string& select) {
  auto names = CzytajListeBlokow(*open_file_);
  if (!names) return ShowError(names.error());
  block_list_.Assign(std::move(*names));
  BlockListChanged();
  contents_.Reset();
  ++library_revision_;
  Notify(LibraryChange::kFile);
  shown_block_.clear();
  if (!select.empty()) ShowBlockRow(select);
}

void Library::UsunBlok() {
  cancel_command_();
  const auto name = ChosenBlock();
  if (!name ||
      ui_.Ask(Question{
          .text = "Usunąć blok " + *name + "?", .tak = "Usuń", .nie = "", .kasuj = "Anuluj"}) !=
          Answer::kTak) {
    return view_.Redraw();
  }
  const auto removed = UsunBlokZPliku(*open_file_, *name);
  if (!removed) return ShowError(removed.error());
  // The drawing of that block stays on the screen; its saved copy is gone.
  if (*name == block_.block_name() && !block_.drawing().IsBlank()) block_.MarkChanged();
  messages_.Komunikat("Usunięto blok " + *name);
  LibraryChanged("");
  view_.Redraw();
}

void Library::ZmienNazweBloku() {
  cancel_command_();
  const auto name = ChosenBlock();
  if (!name) return view_.Redraw();
  const auto new_name = ui_.AskText("Zmień nazwę bloku", "Nowa nazwa bloku " + *name + ":", *name);
  if (!new_name || *new_name == *name) return view_.Redraw();
  const auto renamed = blok::RenameBlock(*open_file_, *name, *new_name);
  if (!renamed) return ShowError(renamed.error());
  if (*renamed == 0) {
    ui_.ShowMessage("W pliku " + open_file_->string() + " nie ma bloku " + *name + ".");
  } else {
    // The drawing being edited follows its block.
    if (*name == block_.block_name()) block_.SetBlockName(*new_name);
    messages_.Komunikat("Zmieniono nazwę bloku " + *name + " na " + *new_name);
  }
  LibraryChanged(*new_name);
  view_.Redraw();
}

void Library::DuplikujBlok() {
  cancel_command_();
  const auto name = ChosenBlock();
  if (!name) return view_.Redraw();
  const auto new_name =
      ui_.AskText("Duplikuj blok", "Nazwa kopii bloku " + *name + ":", *name + " kopia");
  if (!new_name) return view_.Redraw();
  if (BlockNameTooShort(*new_name)) {
    ui_.ShowMessage(kNameTooShort);
    return view_.Redraw();
  }
  const auto copied = KopiujBlok(*open_file_, *name, *open_file_, *new_name, [] { return false; });
  if (!copied) return ShowError(copied.error());
  if (!copied->written) {
    ui_.ShowMessage("Blok " + *new_name + " już istnieje.");
    return view_.Redraw();
  }
  messages_.Komunikat("Zapisano kopię bloku " + *name + ": " + *new_name);
  LibraryChanged(*new_name);
  view_.Redraw();
}

void Library::KopiujDoBiblioteki() {
  cancel_command_();
  const auto name = ChosenBlock();
  if (!name) return view_.Redraw();
  // Several rows selected in the list: all their blocks, in one write of the target.
  std::vector<std::string> names = block_list_.ChosenNames();
  if (names.empty()) names = {*name};
  const auto listed = [&] {
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
    return text;
  };
  const auto target = ui_.OpenFileDialog({"Kopiuj do biblioteki", BlockFileFilters("Pliki bloków"),
                                          "blk", preferences_.initial_directory()});
  if (!target) return view_.Redraw();
  std::error_code ignored;
  if (std::filesystem::equivalent(*target, *open_file_, ignored)) {
    ui_.ShowMessage(names.size() == 1 ? "Blok " + *name + " już jest w tym pliku."
                                      : "Bloki " + listed() + " już są w tym pliku.");
    return view_.Redraw();
  }
  const auto copied =
      KopiujBloki(*open_file_, names, *target, [&](std::string_view block) -> std::optional<bool> {
        if (preferences_.settings().overwrite_without_asking) return true;
        // The question says which block it is about; of several, "Anuluj" calls them all off
        // and "Pomiń" only this one.
        switch (ui_.Ask(Question{
            .text = "Blok " + std::string(block) + ": " + std::string(kBlockExistsQuestion),
            .tak = "Zastąp",
            .nie = names.size() == 1 ? "" : "Pomiń",
            .kasuj = "Anuluj"})) {
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
    messages_.Komunikat("Skopiowano blok " + copied->copied.front() + " do pliku " +
                        target->string());
  } else if (!copied->copied.empty()) {
    names = copied->copied;
    messages_.Komunikat("Skopiowano bloki " + listed() + " do pliku " + target->string());
  }
  view_.Redraw();
}

void Library::PokazDuplikaty() {
  if (!open_file_) return ui_.ShowMessage("Nie otwarto pliku z blokami.");
  const auto report = FindDuplicatesInFile(*open_file_);
  if (!report) return ShowError(report.error());
  std::vector<std::string> lines = DuplicateReportLines(*report);
  if (lines.empty()) lines.push_back("W pliku " + open_file_->string() + " nie ma duplikatów.");
  ui_.ShowText(lines);
}

}  // namespace blok
