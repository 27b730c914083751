#include "editor/preferences.h"

#include "editor/data_files.h"

namespace blok {

Preferences::Preferences(ProgramPaths paths, Ui& ui, DrawingView& view)
    : paths_(std::move(paths)), ui_(ui), view_(view), initial_directory_(paths_.data / "Bloki/") {}

void Preferences::Read() {
  settings_ = Settings{};
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
    history_file_lines_ = history->size();
  }
  ostatnie_polecenie_.reset();
  Changed();
}

void Preferences::Write() {
  if (auto written = WriteProjectDirectory(paths_.state / kProjectDirectoryFile, chosen_directory_);
      !written) {
    ShowError(written.error());
  }
  if (auto written =
          WriteRecentPaths(paths_.state / kRecentFilesFile, recent_files_.PathsOldestFirst());
      !written) {
    ShowError(written.error());
  }
  HistoryWritten(WriteCommandHistory(paths_.state / kCommandHistoryFile, history_.entries()));
}

void Preferences::HistoryWritten(const Result<void>& written) {
  if (written) {
    history_failure_told_ = false;
  } else if (!history_failure_told_) {
    history_failure_told_ = true;
    ShowError(written.error());
  }
}

void Preferences::RememberEntry(std::string_view entry) {
  if (!history_.Add(entry)) return;
  const std::filesystem::path file = paths_.state / kCommandHistoryFile;
  // Appended as typed; once the file holds twice what is kept it is written anew with the
  // newest entries only.
  if (++history_file_lines_ > 2 * CommandHistory::kMostEntries) {
    const auto written = WriteCommandHistory(file, history_.entries());
    if (written) history_file_lines_ = history_.entries().size();
    HistoryWritten(written);
  } else {
    HistoryWritten(AppendCommandHistory(file, entry));
  }
}

void Preferences::DodajDoOstatnich(const std::string& path) {
  recent_files_.DodajDoOstatnich(path);
  Changed();
}

void Preferences::FileChosen(const std::filesystem::path& file) {
  chosen_directory_ = (file.parent_path() / "").string();
}

void Preferences::SetOstatniePolecenie(std::optional<std::string> entry) {
  ostatnie_polecenie_ = std::move(entry);
}

void Preferences::Changed() {
  if (listener_) listener_();
}

ViewSettings Preferences::view_settings() const {
  ViewSettings view;
  view.grid_snap = settings_.grid_snap;
  view.draw_grid = settings_.draw_grid;
  view.base_point = settings_.base_point;
  view.grid_size_text = settings_.grid_size_text;
  view.grid_step = settings_.grid_step;
  return view;
}

void Preferences::SetOrtho(bool on) {
  settings_.ortho = on;
  Changed();
}

void Preferences::SetGridSnap(bool on) {
  settings_.grid_snap = on;
  Changed();
  view_.Redraw();
}

void Preferences::SetDrawGrid(bool on) {
  settings_.draw_grid = on;
  Changed();
  view_.Redraw();
}

void Preferences::SetSnap(Snap snap, bool on) {
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
    case Snap::kPerpendicular:
      settings_.snap_perpendicular = on;
      break;
    case Snap::kTangent:
      settings_.snap_tangent = on;
      break;
    case Snap::kNearest:
      settings_.snap_nearest = on;
      break;
    case Snap::kQuadrant:
      settings_.snap_quadrant = on;
      break;
  }
}

void Preferences::SetGridStepText(std::string_view text) {
  settings_.grid_step_text = text;
  settings_.grid_step = GridStepFromText(text);
  view_.Redraw();
}

void Preferences::SetGridSizeText(std::string_view text) {
  settings_.grid_size_text = text;
  view_.Redraw();
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

bool Preferences::SetThicknessText(std::string_view text) {
  // Every new entity's line carries this text: one that is no thickness would not read back.
  const std::optional<float> thickness = TextSizeFromText(text);
  if (!thickness || *thickness < 0) {
    ui_.ShowMessage("\"" + std::string(text) + "\" nie jest poprawną liczbą.");
    return false;
  }
  settings_.thickness_text = text;
  return true;
}

bool Preferences::SetTextHeightText(std::string_view text) {
  return SetTextSize(ui_, text, settings_.text_height_text, settings_.text_height);
}

bool Preferences::SetTextWidthText(std::string_view text) {
  return SetTextSize(ui_, text, settings_.text_width_text, settings_.text_width);
}

void Preferences::SetColour(Colour colour) {
  settings_.colour = colour;
  Changed();
}

void Preferences::ChooseColour() {
  if (const std::optional<Colour> colour = ui_.ChooseColour(settings_.colour)) {
    settings_.colour = *colour;
    Changed();
  }
}

void Preferences::SetBasePoint(bool on) { settings_.base_point = on; }

void Preferences::SetOverwriteWithoutAsking(bool on) {
  settings_.overwrite_without_asking = on;
  Changed();
}

}  // namespace blok
