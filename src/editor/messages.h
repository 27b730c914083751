#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/ui.h"

namespace blok {

// What changed in the pane: a message went on top (lines().front()), or it was emptied.
enum class MessageChange { kAdded, kCleared };

// The message pane RE_Polecenia, newest first, and the text viewer's ways out: the clipboard
// and Tabela.txt opened by the shell.
class Messages {
 public:
  // Tabela.txt goes into state_dir.
  Messages(std::filesystem::path state_dir, Ui& ui);

  const std::vector<std::string>& lines() const { return lines_; }
  void Komunikat(std::string text);
  void Clear();
  // The pane's lines, top to bottom, in the text viewer.
  void ShowInViewer();
  // "Kopiuj do schowka": the lines, one a line, on the clipboard.
  void KopiujDoSchowka(const std::vector<std::string>& lines);
  // "Pokaż tekst w notatniku": the lines into Tabela.txt, opened by the shell. True when done
  // (the viewer closes); false after the failure was shown.
  bool PokazTekstWNotatniku(const std::vector<std::string>& lines);
  // Told of every change of the lines: the pane inserts the newest on top, or empties itself.
  void SetListener(std::function<void(MessageChange)> listener) { listener_ = std::move(listener); }

 private:
  std::filesystem::path state_dir_;
  Ui& ui_;
  std::vector<std::string> lines_;
  std::function<void(MessageChange)> listener_;
};

}  // namespace blok
