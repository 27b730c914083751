#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/ui.h"

namespace blok {

// The message pane RE_Polecenia, newest first, and the text viewer's ways out: the clipboard
// and Tabela.txt opened by the shell.
class Messages {
 public:
  // Tabela.txt goes into state_dir.
  Messages(std::filesystem::path state_dir, Ui& ui);

  const std::vector<std::string>& lines() const { return lines_; }
  // Messages inserted at the top since the pane was last emptied, and how often it was
  // emptied: the pane inserts only what is new.
  uint64_t added() const { return added_; }
  uint64_t cleared() const { return cleared_; }
  void Komunikat(std::string text);
  void Clear();
  // The pane's lines, top to bottom, in the text viewer.
  void ShowInViewer();
  // "Kopiuj do schowka": the lines, one a line, on the clipboard.
  void KopiujDoSchowka(const std::vector<std::string>& lines);
  // "Pokaż tekst w notatniku": the lines into Tabela.txt, opened by the shell. True when done
  // (the viewer closes); false after the failure was shown.
  bool PokazTekstWNotatniku(const std::vector<std::string>& lines);
  // Called after every change of the lines.
  void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  std::filesystem::path state_dir_;
  Ui& ui_;
  std::vector<std::string> lines_;
  uint64_t added_ = 0;
  uint64_t cleared_ = 0;
  std::function<void()> listener_;
};

}  // namespace blok
