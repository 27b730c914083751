#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/command_history.h"
#include "editor/drawing_view.h"
#include "editor/recent_files.h"
#include "editor/ui.h"
#include "interaction/settings.h"
#include "view/view_settings.h"

namespace blok {

// Where the program's files are: data holds the stroke fonts (Dane/) and the sample library
// (Bloki/), and may be read-only; state holds what the program writes for itself (the project
// folder and recent files under Dane/, the viewer's text file).
struct ProgramPaths {
  std::filesystem::path data;
  std::filesystem::path state;
};

// What the user chose for the run and what is kept between runs: the settings bar, the recent
// files, the command history, the folders the file dialogs start in, the window's layout file.
class Preferences {
 public:
  Preferences(ProgramPaths paths, Ui& ui, DrawingView& view);

  const ProgramPaths& paths() const { return paths_; }
  // Where the window keeps its size, its splitters and its panels.
  std::filesystem::path LayoutFile() const { return paths_.state / "Dane/Okno.ini"; }

  // The settings as a run starts, then the remembered project directory, recent files and
  // history. A data file that cannot be read is shown; the defaults stand.
  void Read();
  // Rewrites the data files; failures are shown.
  void Write();

  const RecentFiles& recent_files() const { return recent_files_; }
  void DodajDoOstatnich(const std::string& path);
  // What was typed into E_Polecenie, for Up and Down; kept between runs.
  CommandHistory& history() { return history_; }
  // An entered line kept in the history and in its file at once.
  void RememberEntry(std::string_view entry);
  // The open dialog's initial directory.
  const std::filesystem::path& initial_directory() const { return initial_directory_; }
  // A file confirmed in the open dialog: its directory is remembered at exit.
  void FileChosen(const std::filesystem::path& file);
  // The remembered last command entry, repeated by the space bar.
  const std::optional<std::string>& ostatnie_polecenie() const { return ostatnie_polecenie_; }
  void SetOstatniePolecenie(std::optional<std::string> entry);

  const Settings& settings() const { return settings_; }
  // What a full redraw reads of them.
  ViewSettings view_settings() const;
  void SetOrtho(bool on);
  void SetGridSnap(bool on);
  void SetDrawGrid(bool on);
  void SetSnap(Snap snap, bool on);
  void SetGridStepText(std::string_view text);
  void SetGridSizeText(std::string_view text);
  // A text that is no thickness is refused with a message; the old one stays.
  bool SetThicknessText(std::string_view text);
  // A text that is not a number is shown as an error and the old value stays. False then.
  bool SetTextHeightText(std::string_view text);
  bool SetTextWidthText(std::string_view text);
  void SetColour(Colour colour);
  // The colour dialog preset to the current colour; cancelling changes nothing.
  void ChooseColour();
  void SetBasePoint(bool on);
  void SetOverwriteWithoutAsking(bool on);
  // Told when what the settings bar shows changed (its boxes, the swatch) or the recent files.
  void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }

 private:
  void Changed();
  void ShowError(const Error& error) { ui_.ShowMessage(error.message); }
  // A history not written is told once, not at every entry typed, until a write succeeds.
  void HistoryWritten(const Result<void>& written);

  ProgramPaths paths_;
  Ui& ui_;
  DrawingView& view_;
  Settings settings_;
  RecentFiles recent_files_;
  CommandHistory history_;
  size_t history_file_lines_ = 0;  // what the file holds, kept entries and those appended
  bool history_failure_told_ = false;
  std::filesystem::path initial_directory_;
  // Remembered at exit: the directory of the file last confirmed in the open dialog, else the
  // one the run started with.
  std::string chosen_directory_;
  std::optional<std::string> ostatnie_polecenie_;
  std::function<void()> listener_;
};

}  // namespace blok
