#include "editor/messages.h"

#include "document/text_file.h"

namespace blok {
namespace {

constexpr std::string_view kViewerFile = "Tabela.txt";
constexpr std::string_view kViewerFileProblem =
    "Wystąpił problem z dostępem do pliku. Sprawdź czy ścieżka do katalogu roboczego (menu "
    "Pliki\\Ustawienia Programu) jest prawidłowa!";

}  // namespace

Messages::Messages(std::filesystem::path state_dir, Ui& ui)
    : state_dir_(std::move(state_dir)), ui_(ui) {}

void Messages::Komunikat(std::string text) {
  lines_.insert(lines_.begin(), std::move(text));
  if (listener_) listener_(MessageChange::kAdded);
}

void Messages::Clear() {
  lines_.clear();
  if (listener_) listener_(MessageChange::kCleared);
}

void Messages::ShowInViewer() { ui_.ShowText(lines_); }

void Messages::KopiujDoSchowka(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  ui_.CopyToClipboard(text);
}

bool Messages::PokazTekstWNotatniku(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) AppendTextLine(bytes, line);
  const std::filesystem::path file = state_dir_ / kViewerFile;
  if (!ReplaceFileContents(file, bytes) || !ui_.OpenWithShell(file)) {
    ui_.ShowMessage(kViewerFileProblem);
    return false;
  }
  return true;
}

}  // namespace blok
