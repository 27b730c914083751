#pragma once

#include <QCursor>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ui.h"
#include "view/stroke_font.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace blok {

class PaintBox;
class TEdycjaCech;
class TLinieEdycja;
class TOkragEdycja;
class TOpis;
class TPytanieTakNieKasuj;
class TTekstyEdycja;

// The widgets and dialogs of the main window that the Editor's requests reach.
struct QtUiParts {
  QWidget& window;
  PaintBox& podglad;
  QLineEdit& e_polecenie;
  QLabel& l_polecenie;
  QWidget& panel_dxdy;
  QLabel& status_xy;
  TPytanieTakNieKasuj& question_dialog;
  TOpis& viewer;
};

// The Editor's requests to the window system, answered by Qt: real modal dialogs, and the
// controls of the main window. The entity dialogs and "Zmiana cech" are built here, once, over
// the window.
class QtUi : public Ui {
 public:
  explicit QtUi(const QtUiParts& parts);

  // "WSKAZANIE": shown on the paint box while a command waits for an object.
  const QCursor& pick_cursor() const { return pick_cursor_; }

  using Ui::Ask;
  Answer Ask(const Question& question) override;
  void ShowMessage(std::string_view text) override;
  std::optional<std::filesystem::path> OpenFileDialog(const FileDialog& dialog) override;
  std::optional<std::filesystem::path> SaveFileDialog(const FileDialog& dialog) override;
  std::vector<std::filesystem::path> OpenFilesDialog(const FileDialog& dialog) override;
  std::optional<std::filesystem::path> ChooseFolder(const FileDialog& dialog) override;
  std::unique_ptr<Progress> ShowProgress(std::string_view text) override;
  // How long the work runs before "Postep" shows: a quick one shows no flash.
  void SetProgressDelay(int ms) { progress_delay_ms_ = ms; }
  std::optional<Colour> ChooseColour(Colour initial) override;
  std::optional<std::string> AskText(std::string_view title, std::string_view label,
                                     std::string_view initial) override;
  bool ChooseBlocks(std::vector<OfferedBlock>& blocks, bool& replace) override;
  std::optional<size_t> ChooseBlockToInsert(const std::vector<OfferedBlock>& blocks) override;
  // The font the import dialog draws its pictures with.
  void SetPictureFont(const StrokeFont* font) { picture_font_ = font; }
  void ShowText(const std::vector<std::string>& lines) override;
  bool OpenWithShell(const std::filesystem::path& file) override;
  void CopyToClipboard(std::string_view text) override;
  void PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) override;
  ClipboardContents ReadClipboard() override;
  void Redraw() override;
  void SetCursor(CursorShape shape) override;
  void SetPrompt(std::string_view caption) override;
  void FocusCommandEntry() override;
  void ShowRelativePanel(bool visible) override;
  void SetStatusText(std::string_view text) override;
  bool EditLine(LineDialogModel& model) override;
  bool EditCircle(CircleDialogModel& model) override;
  bool EditText(TextDialogModel& model) override;
  bool ChangeProperties(PropertiesDialogModel& model) override;

 private:
  QtUiParts parts_;
  const StrokeFont* picture_font_ = nullptr;
  int progress_delay_ms_ = 400;
  QCursor pick_cursor_;
  // Children of the window.
  TLinieEdycja* line_dialog_;
  TOkragEdycja* circle_dialog_;
  TTekstyEdycja* text_dialog_;
  TEdycjaCech* properties_dialog_;
};

// "Postep" over the window, shown once the work has run delay_ms (at once for 0).
std::unique_ptr<Ui::Progress> ShowProgressOver(QWidget& window, std::string_view text,
                                               int delay_ms);

// What the system clipboard holds, in its two forms.
ClipboardContents SystemClipboard();

}  // namespace blok
