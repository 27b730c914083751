// The editor's work across its parts when another file or block comes: opening and creating
// block files, loading and starting blocks, and the questions asked before work could be lost.

#include <algorithm>
#include <system_error>

#include "document/block_file.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "editor/editor.h"

namespace blok {
namespace {

constexpr std::string_view kUnsavedQuestion = "Dane niezapisane. Nadpisać?";
constexpr std::string_view kBadNameExclamation =
    "Nazwa i grupa musi składać się z min 3 liter! Kasuje polecenie!";
constexpr std::string_view kBadNameOne =
    "Nazwa i grupa musi składać się z min 3 liter! Kasuje polecenie1";

}  // namespace

bool Editor::AskBeforeFileChange(BadNameText bad_name_text) {
  if (!block_.unsaved()) return true;
  const Answer answer = preferences_.settings().overwrite_without_asking
                            ? Answer::kTak
                            : ui_.Ask(kUnsavedQuestion, Answer::kTak);
  if (answer == Answer::kNie) return true;
  if (answer == Answer::kKasuj) return false;
  if (!block_.HasSaveableBlock()) {
    ui_.ShowMessage(bad_name_text == BadNameText::kOne ? kBadNameOne : kBadNameExclamation);
    return false;
  }
  // A save that failed has been shown; going on would lose the block.
  return library_.ZapiszBlokBezPytania();
}

void Editor::OpenFile(const std::filesystem::path& file, std::vector<std::string> names) {
  library_.Open(file, std::move(names));
  preferences_.DodajDoOstatnich(file.string());
  block_.Clear();
  block_.UstawNarzedzia(true);
  messages_.Clear();
  block_.MarkUnchanged();
}

void Editor::NowyPlikBlokow() {
  AnulujPolecenie();
  if (!AskBeforeFileChange(BadNameText::kExclamation)) return;
  const std::optional<std::filesystem::path> file = ui_.SaveFileDialog(
      {"Zapisz plik", BlockFileFilters("Pliki Blokow"), "blk", preferences_.initial_directory()});
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
  preferences_.SetOstatniePolecenie(std::nullopt);
  messages_.Komunikat((existed ? "Otwieram istniejący plik " : "Tworzę nowy plik ") +
                      file->string());
  view_.Redraw();
}

void Editor::OtworzPlikBlokow() {
  AnulujPolecenie();
  if (!AskBeforeFileChange(BadNameText::kOne)) return;
  const std::optional<std::filesystem::path> file = ui_.OpenFileDialog(
      {"Bloki VERADO", BlockFileFilters("Pliki bloków"), "blk", preferences_.initial_directory()});
  if (!file) return;
  preferences_.FileChosen(*file);
  if (!FileExists(*file)) return ui_.ShowMessage("Taki plik nie istnieje!");
  auto names = CzytajListeBlokow(*file);
  if (!names) return ShowError(names.error());
  OpenFile(*file, std::move(*names));
  messages_.Komunikat("Wczytano plik z blokami " + file->string());
  preferences_.SetOstatniePolecenie(std::nullopt);
  view_.Redraw();
}

void Editor::OtworzOstatniPlik(const std::string& path) {
  AnulujPolecenie();
  if (!AskBeforeFileChange(BadNameText::kExclamation)) return;
  if (!FileExists(path)) return ui_.ShowMessage(" Plik nie istnieje! ");
  auto names = CzytajListeBlokow(path);
  if (!names) return ShowError(names.error());
  OpenFile(path, std::move(*names));
  messages_.Komunikat("Wczytano plik z blokami " + path);
  view_.Redraw();
  view_.Redraw();
}

void Editor::OpenGivenFile(const std::string& path, const std::string& block_name) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::filesystem::path file = error ? std::filesystem::path(path) : absolute;
  OtworzOstatniPlik(file.lexically_normal().string());
  if (block_name.empty() || !library_.open_file() ||
      *library_.open_file() != file.lexically_normal())
    return;
  const auto& names = library_.block_list().names();
  const auto found = std::find(names.begin(), names.end(), block_name);
  if (found == names.end()) {
    return ui_.ShowMessage("W pliku " + library_.open_file()->string() + " nie ma bloku " +
                           block_name + ".");
  }
  library_.SelectBlock(static_cast<size_t>(found - names.begin()));
  WczytajWybranyBlok();
}

void Editor::WczytajWybranyBlok() {
  Answer answer = Answer::kNie;
  if (!block_.drawing().IsBlank() && block_.unsaved()) {
    answer = preferences_.settings().overwrite_without_asking
                 ? Answer::kTak
                 : ui_.Ask(kUnsavedQuestion, Answer::kTak);
    if (answer == Answer::kTak) {
      // A block without a name is no block: it could never be loaded again.
      if (!block_.HasSaveableBlock()) {
        ui_.ShowMessage(kBadNameExclamation);
        return view_.Redraw();
      }
      if (!library_.ZapiszBlokBezPytania()) return view_.Redraw();
    }
  }
  const std::string name = library_.block_list().SelectedName();
  if (library_.open_file() && !BlockNameTooShort(name) && answer != Answer::kKasuj) {
    // Changed behind our back, the block may be gone: saying "loaded" would hide the unsaved
    // mark of a drawing that is still the old one.
    if (std::optional<EntitySource> loaded = ReadBlock(name)) {
      // The command's selection and picked objects are indices into the old drawing.
      AnulujPolecenie();
      block_.Load(std::move(loaded->name), std::move(loaded->unit), std::move(loaded->lines));
      messages_.Clear();
      messages_.Komunikat("Wczytano blok " + name);
      preferences_.SetOstatniePolecenie(std::nullopt);
      block_.MarkUnchanged();
      library_.ShowBlockRow(name);
      return view_.BlockLoaded();
    }
  }
  view_.Redraw();
}

std::optional<EntitySource> Editor::ReadBlock(const std::string& name) {
  if (!library_.open_file()) return std::nullopt;
  auto loaded = WczytajBlok(*library_.open_file(), name);
  if (!loaded) {
    ShowError(loaded.error());
    return std::nullopt;
  }
  if (!*loaded) {
    ui_.ShowMessage("W pliku " + library_.open_file()->string() + " nie ma bloku " + name + ".");
    return std::nullopt;
  }
  return EntitySource{.name = std::move((*loaded)->name),
                      .unit = std::move((*loaded)->unit),
                      .lines = std::move((*loaded)->lines)};
}

void Editor::NowyBlok() {
  if (!block_.drawing().IsBlank() && block_.unsaved()) {
    switch (ui_.Ask(kUnsavedQuestion, Answer::kTak)) {
      case Answer::kTak:
        if (!block_.HasSaveableBlock()) return ui_.ShowMessage(kBadNameExclamation);
        if (!library_.ZapiszBlokBezPytania()) return;
        break;
      case Answer::kNie:
        break;
      case Answer::kKasuj:
        return;
    }
  }
  messages_.Clear();
  messages_.Komunikat("Nowy blok.");
  preferences_.SetOstatniePolecenie(std::nullopt);
  AnulujPolecenie();
  block_.Clear();
  block_.MarkUnchanged();
  view_.Redraw();
}

void Editor::RestoreBlock(const RecoverySnapshot& snapshot) {
  AnulujPolecenie();
  const std::filesystem::path& library = snapshot.library;
  const bool library_there = FileExists(library);
  std::vector<std::string> names;
  if (library_there) {
    if (auto listed = CzytajListeBlokow(library)) {
      names = std::move(*listed);
    } else {
      ShowError(listed.error());
    }
  }
  OpenFile(library, std::move(names));
  block_.Restore(snapshot);
  messages_.Komunikat("Przywrócono niezapisany blok " + block_.block_name());
  if (!library_there) {
    ui_.ShowMessage("Plik " + library.string() +
                    " nie istnieje. Blok przywrócono; zapisanie go utworzy plik na nowo.");
  }
  view_.Redraw();
}

}  // namespace blok
