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
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "editor/editor.h"

class QSettings;

namespace blok {

class BlockBrowser;
class CommandArea;
class PaintBox;
class QtUi;
class SourceView;
class TFormOprogramie;
class TOpis;
class TPytanieTakNieKasuj;

// The main window: it shows what the Editor holds and forwards every event to it. Built for
// any program directory (Dane/ with the fonts and data files, Bloki/ with block files), so a
// test can start it on a directory of its own.
class TPodgladRysowanie : public QMainWindow {
  Q_OBJECT

 public:
  explicit TPodgladRysowanie(ProgramPaths paths, QWidget* parent = nullptr);
  // Everything beside the program, as in the build tree.
  explicit TPodgladRysowanie(std::filesystem::path program_dir, QWidget* parent = nullptr)
      : TPodgladRysowanie(ProgramPaths{program_dir, program_dir}, parent) {}
  ~TPodgladRysowanie() override;

  // False when start-up failed (a font file missing or damaged); the reason has been shown.
  bool started() const { return started_; }
  // Ends the program at once (a signal): what it remembers is written, nothing is asked.
  void EndWithoutQuestions();
  // A library given on the command line (and a block of it), opened once the window shows.
  void OpenGivenFile(const QString& file, const QString& block = {});
  Editor& editor() { return *editor_; }
  PaintBox& podglad() { return *podglad_; }
  // What the Editor asks of the window goes here.
  QtUi& qt_ui() { return *ui_; }
  // "WSKAZANIE": shown on the paint box while a command waits for an object.
  const QCursor& pick_cursor() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // A block library dropped on the window is opened, as "Otwórz plik" opens it.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* Action(const char* name, const QString& text, const QString& hint = {},
                  const QString& icon = {});
  void BuildMenus();
  void BuildToolBars();
  QWidget* BuildBlockPanel();
  QWidget* BuildSettingsBar();
  void Connect();
  // Every trigger of the action sends this text to the command line.
  void SendsCommand(QAction* action, std::string command);
  // Runs an editor operation; the panels show what it changed at once, not at the next turn
  // of the event loop.
  template <typename F>
  void Run(F&& operation) {
    operation();
    SettlePanels();
  }
  void SettlePanels();
  // The controls follow the block and the library as they change.
  void BlockChanged(BlockChange change);
  void ShowLibraryFile();
  void PodgladMouseUp(Qt::MouseButton button, int x, int y, bool adding);
  // Keeps an unsaved block in its recovery file while the window lives.
  void StartRecoveryTimer();
  static constexpr int kRecoveryTickMs = 1000;
  // B_Zrodlo and M_Zrodlo: the block's lines beside the drawing.
  void ShowSource(bool on);
  // The settings bar's boxes, the swatch and the recent files, when the preferences changed.
  void SyncPreferences();
  void SyncRecentFiles();
  void SyncSwatch();
  // Tab goes through the controls as they read.
  void OrderTabs();
  // The window's size, place and split, kept in the state folder between runs.
  std::filesystem::path LayoutFile() const;
  void RestoreLayout();
  void SaveLayout();
  // The settings bar's switches in the layout file.
  void RestoreSwitches(const QSettings& settings);
  void SaveSwitches(QSettings& settings) const;

  // The Editor holds the Ui: it goes first.
  std::unique_ptr<QtUi> ui_;
  std::unique_ptr<Editor> editor_;
  bool started_ = false;
  bool shown_once_ = false;
  // Between the first show and the question about blocks of killed runs: a file given to the
  // program waits for the question.
  bool recovery_offer_due_ = false;
  std::optional<std::pair<QString, QString>> given_file_;

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
  QAction* b_cofnij_ = nullptr;
  QAction* b_przod_ = nullptr;
  QAction* m_cofnij_ = nullptr;
  QAction* m_naprzod_ = nullptr;

  QLabel* l_nazwa_pliku_ = nullptr;
  QLineEdit* e_nazwa_bloku_ = nullptr;
  QComboBox* cb_jednostka_ = nullptr;
  BlockBrowser* block_browser_ = nullptr;
  QPushButton* b_wczytaj_blok_ = nullptr;
  QPushButton* bt_nowy_blok_ = nullptr;
  QPushButton* bt_zapisz_blok_ = nullptr;
  QLabel* l_zmiana_ = nullptr;
  QCheckBox* cb_nadpisuj_blok_ = nullptr;
  QPushButton* b_zrodlo_ = nullptr;
  QAction* m_zrodlo_ = nullptr;
  SourceView* source_view_ = nullptr;
  QSplitter* source_splitter_ = nullptr;
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

  CommandArea* command_area_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QLabel* status_xy_ = nullptr;
  QLabel* status_second_ = nullptr;
  // What the controls show, so that a sync changes only what changed.
  std::optional<Colour> shown_colour_;
};

}  // namespace blok
