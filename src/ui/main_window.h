#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <filesystem>
#include <memory>

#include "editor/editor.h"
#include "editor/ui.h"

namespace blok {

class PaintBox;
class TFormOprogramie;
class TOpis;
class TPytanieTakNieKasuj;

// The main window: it shows what the Editor holds and forwards every event to it. Built for
// any program directory (Dane/ with the fonts and data files, Bloki/ with block files), so a
// test can start it on a directory of its own.
class TPodgladRysowanie : public QMainWindow, public Ui {
  Q_OBJECT

 public:
  explicit TPodgladRysowanie(std::filesystem::path program_dir, QWidget* parent = nullptr);
  ~TPodgladRysowanie() override;

  // False when start-up failed (a font file missing or damaged); the reason has been shown.
  bool started() const { return started_; }
  Editor& editor() { return *editor_; }
  PaintBox& podglad() { return *podglad_; }
  // "WSKAZANIE": shown on the paint box while a command waits for an object.
  const QCursor& pick_cursor() const { return pick_cursor_; }

  // Tests answer the window's questions and dialogs from a script instead of the user.
  void SetDialogsForTesting(Ui* ui) { dialogs_for_testing_ = ui; }

  // Ui
  Answer Ask(std::string_view question) override;
  void ShowMessage(std::string_view text) override;
  std::optional<std::filesystem::path> OpenFileDialog(const FileDialog& dialog) override;
  std::optional<std::filesystem::path> SaveFileDialog(const FileDialog& dialog) override;
  std::optional<Colour> ChooseColour(Colour initial) override;
  void ShowText(const std::vector<std::string>& lines) override;
  bool OpenWithShell(const std::filesystem::path& file) override;
  void CopyToClipboard(std::string_view text) override;
  void Redraw() override;
  void SetCursor(CursorShape shape) override;
  void SetPrompt(std::string_view caption) override;
  void FocusCommandEntry() override;
  void ShowRelativePanel(bool visible) override;
  void SetStatusText(std::string_view text) override;

  // Shows the editor's state in the controls.
  void SyncFromEditor();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* Action(const char* name, const QString& text, const QString& hint = {},
                  const QString& icon = {});
  void BuildMenus();
  void BuildToolBars();
  QWidget* BuildBlockPanel();
  QWidget* BuildSettingsBar();
  QWidget* BuildCommandArea();
  void Connect();
  // Runs an editor operation, then shows what changed.
  template <typename F>
  void Run(F&& operation);
  void PodgladMouseDown(Qt::MouseButton button, int x, int y);
  void PodgladMouseMove(int x, int y);
  void PodgladMouseUp(Qt::MouseButton button, int x, int y);
  void E_PolecenieKeyDown(int key);
  void SyncRecentFiles();
  void SyncSwatch();

  std::unique_ptr<Editor> editor_;
  QCursor pick_cursor_;
  bool started_ = false;
  bool shown_once_ = false;
  Ui* dialogs_for_testing_ = nullptr;

  TPytanieTakNieKasuj* question_dialog_ = nullptr;
  TFormOprogramie* about_box_ = nullptr;
  TOpis* viewer_ = nullptr;

  PaintBox* podglad_ = nullptr;
  QMenu* menu_pliki_ = nullptr;
  QMenu* menu_zoom_ = nullptr;
  QAction* recent_separator_ = nullptr;
  QAction* recent_actions_[4] = {};
  QToolBar* toolbar_wstawianie_ = nullptr;
  QToolBar* toolbar_edycja_ = nullptr;
  QToolBar* toolbar_opcje_ = nullptr;
  QList<QAction*> tool_actions_;  // enabled once a file is open

  QLabel* l_nazwa_pliku_ = nullptr;
  QLineEdit* e_nazwa_bloku_ = nullptr;
  QComboBox* cb_jednostka_ = nullptr;
  QListWidget* lb_nazwa_bloku_czytaj_ = nullptr;
  QPushButton* b_wczytaj_blok_ = nullptr;
  QPushButton* bt_nowy_blok_ = nullptr;
  QPushButton* bt_zapisz_blok_ = nullptr;
  QLabel* l_zmiana_ = nullptr;
  QCheckBox* cb_nadpisuj_blok_ = nullptr;
  QPushButton* b_sprawdz_skladnie_ = nullptr;
  QList<QWidget*> block_controls_;  // enabled once a file is open

  QCheckBox* cb_siatka_ = nullptr;
  QCheckBox* cb_rysuj_siatka_ = nullptr;
  QCheckBox* cb_orto_ = nullptr;
  QCheckBox* cb_koniec_ = nullptr;
  QCheckBox* cb_srodek_ = nullptr;
  QCheckBox* cb_przeciecie_ = nullptr;
  QCheckBox* cb_centrum_ = nullptr;
  QCheckBox* cb_prosto_ = nullptr;
  QComboBox* cb_siatka_krok_ = nullptr;
  QComboBox* cb_siatka_rozmiar_ = nullptr;
  QComboBox* cb_grubosci_ = nullptr;
  QComboBox* cb_h_tekstu_ = nullptr;
  QComboBox* cb_s_tekstu_ = nullptr;
  QLabel* shape_ = nullptr;
  QCheckBox* cb_punkt_bazowy_ = nullptr;

  QPlainTextEdit* re_polecenia_ = nullptr;
  QLabel* l_polecenie_ = nullptr;
  QLineEdit* e_polecenie_ = nullptr;
  QLabel* status_xy_ = nullptr;
  QLabel* status_second_ = nullptr;
};

}  // namespace blok
