#include "ui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "interaction/commands/registry.h"
#include "ui/block_browser.h"
#include "ui/command_area.h"
#include "ui/dialogs.h"
#include "ui/paint_box.h"
#include "ui/painter_canvas.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"
#include "ui/source_view.h"

// The icons live in this static library: their resource must be registered by hand.
static void InitIconResource() { Q_INIT_RESOURCE(icons); }

namespace blok {
namespace {

MouseButton ToButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::MiddleButton:
      return MouseButton::kMiddle;
    case Qt::RightButton:
      return MouseButton::kRight;
    default:
      return MouseButton::kLeft;
  }
}

}  // namespace

TPodgladRysowanie::TPodgladRysowanie(ProgramPaths paths, QWidget* parent) : QMainWindow(parent) {
  setObjectName("PodgladRysowanie");
  InitIconResource();
  podglad_ = new PaintBox(this);
  command_area_ = new CommandArea(this);

  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* right = new QVBoxLayout;
  right->addWidget(BuildSettingsBar());
  splitter_ = new QSplitter(Qt::Vertical, central);
  splitter_->setObjectName("Rozdzielacz");
  // The block's lines beside the drawing, hidden until B_Zrodlo shows them.
  source_view_ = new SourceView(central);
  source_view_->setVisible(false);
  source_splitter_ = new QSplitter(Qt::Horizontal, central);
  source_splitter_->setObjectName("RozdzielaczZrodla");
  source_splitter_->addWidget(podglad_);
  source_splitter_->addWidget(source_view_);
  source_splitter_->setStretchFactor(0, 3);
  source_splitter_->setStretchFactor(1, 2);
  source_splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(source_splitter_);
  splitter_->addWidget(command_area_);
  splitter_->setStretchFactor(0, 5);
  splitter_->setStretchFactor(1, 1);
  right->addWidget(splitter_, 1);
  // The drawing's box has no size of its own to ask for: the split starts at five to one.
  splitter_->setSizes({500, 100});
  layout->addWidget(BuildBlockPanel());
  layout->addLayout(right, 1);
  setCentralWidget(central);

  BuildToolBars();
  BuildMenus();
  status_xy_ = new QLabel(this);
  status_xy_->setFixedWidth(150);
  status_second_ = new QLabel(this);
  status_second_->setFixedWidth(50);
  statusBar()->setObjectName("StatusBar1");
  statusBar()->addWidget(status_xy_);
  statusBar()->addWidget(status_second_);

  // The other windows exist for the whole run.
  question_dialog_ = new TPytanieTakNieKasuj(this);
  viewer_ = new TOpis(
      [this](const auto& lines) { editor_->messages().KopiujDoSchowka(lines); },
      [this](const auto& lines) { return editor_->messages().PokazTekstWNotatniku(lines); }, this);
  about_box_ = new TFormOprogramie(this);

  ui_ = std::make_unique<QtUi>(QtUiParts{
      .window = *this,
      .podglad = *podglad_,
      .e_polecenie = command_area_->entry(),
      .l_polecenie = command_area_->prompt(),
      .panel_dxdy = command_area_->relative_panel(),
      .status_xy = *status_xy_,
      .question_dialog = *question_dialog_,
      .viewer = *viewer_,
  });
  editor_ = std::make_unique<Editor>(std::move(paths), *ui_, *podglad_);
  block_browser_->Attach(*editor_);
  editor_->library().SetListener([this](LibraryChange change) {
    if (change == LibraryChange::kFile) ShowLibraryFile();
    block_browser_->LibraryChanged(change);
  });
  source_view_->Attach(*editor_);
  editor_->block().OnChanged([this](BlockChange change) { BlockChanged(change); });
  editor_->messages().SetListener([this](MessageChange change) {
    command_area_->MessagesChanged(editor_->messages(), change);
  });
  command_area_->SetHistory(&editor_->preferences().history());
  command_area_->SetCompleter(
      [this](std::string_view typed) { return editor_->machine().Complete(typed); });
  setAcceptDrops(true);
  podglad_->SetFrameHook([this] { editor_->PaintPendingFrame(); });
  Connect();
  editor_->preferences().SetListener([this] { SyncPreferences(); });
  started_ = editor_->Start().has_value();
  ui_->SetPictureFont(editor_->view().romans_font());
  resize(1180, 780);
  OrderTabs();
  RestoreLayout();
  ShowLibraryFile();
  for (const BlockChange change : {BlockChange::kName, BlockChange::kUnit, BlockChange::kTools,
                                   BlockChange::kMark, BlockChange::kLines}) {
    BlockChanged(change);
  }
  SettlePanels();
  SyncPreferences();
  StartRecoveryTimer();
}

std::filesystem::path TPodgladRysowanie::LayoutFile() const {
  return editor_->preferences().LayoutFile();
}

void TPodgladRysowanie::RestoreLayout() {
  const QSettings settings(QString::fromStdString(LayoutFile().string()), QSettings::IniFormat);
  // Geometry from another screen is brought onto this one; a damaged file changes nothing.
  restoreGeometry(settings.value("okno").toByteArray());
  splitter_->restoreState(settings.value("rozdzielacz").toByteArray());
  source_splitter_->restoreState(settings.value("zrodlo").toByteArray());
  ShowSource(settings.value("zrodlo_widoczne", false).toBool());
  RestoreSwitches(settings);
}

void TPodgladRysowanie::SaveLayout() {
  if (!started_) return;
  QSettings settings(QString::fromStdString(LayoutFile().string()), QSettings::IniFormat);
  settings.setValue("okno", saveGeometry());
  settings.setValue("rozdzielacz", splitter_->saveState());
  settings.setValue("zrodlo", source_splitter_->saveState());
  settings.setValue("zrodlo_widoczne", b_zrodlo_->isChecked());
  SaveSwitches(settings);
}

void TPodgladRysowanie::ShowSource(bool on) {
  {
    const QSignalBlocker quiet_button(b_zrodlo_);
    const QSignalBlocker quiet_item(m_zrodlo_);
    b_zrodlo_->setChecked(on);
    m_zrodlo_->setChecked(on);
  }
  if (source_view_->isHidden() != on) return;
  source_view_->setVisible(on);
  source_view_->Sync();
}

void TPodgladRysowanie::OrderTabs() {
  // The command line first, then the settings bar as it reads, then the block panel.
  const char* order[] = {
      "E_Polecenie",
      "E_dx",
      "E_dy",
      "CB_OdlKat",
      "B_Wprowadz_dxdy",
      "CB_Siatka",
      "CB_RysujSiatka",
      "CB_Orto",
      "CB_Koniec",
      "CB_Srodek",
      "CB_Przeciecie",
      "CB_Centrum",
      "CB_Prosto",
      "CB_Styczny",
      "CB_Najblizszy",
      "CB_Kwadrant",
      "CB_SiatkaKrok",
      "CB_SiatkaRozmiar",
      "CBGrubosci",
      "CB_HTekstu",
      "CB_STekstu",
      "CB_PunktBazowy",
      "B_NowyPlik",
      "B_OtworzPlik",
      "E_NazwaBloku",
      "CB_Jednostka",
      "E_FiltrBlokow",
      "LB_NazwaBlokuCzytaj",
      "B_WczytajBlok",
      "Bt_NowyBlok",
      "Bt_ZapiszBlok",
      "CB_NadpisujBlok",
      "B_Zrodlo",
      "B_SprawdzSkladnia",
      "Polecenia",
  };
  QWidget* previous = nullptr;
  for (const char* name : order) {
    QWidget* widget = findChild<QWidget*>(name);
    if (widget == nullptr) continue;
    if (previous != nullptr) setTabOrder(previous, widget);
    previous = widget;
  }
}

void TPodgladRysowanie::StartRecoveryTimer() {
  // A tick takes a snapshot only after a change and writes it on another thread: an unsaved
  // block reaches its recovery file within about a second and a half.
  auto* timer = new QTimer(this);
  timer->setObjectName("RecoveryTimer");
  connect(timer, &QTimer::timeout, this, [this] { editor_->recovery().KeepRecoveryFile(); });
  timer->start(kRecoveryTickMs);
}

TPodgladRysowanie::~TPodgladRysowanie() {
  // The children outlive this body: while they are torn down a line edit losing the focus
  // still signals (editingFinished, activated), and the handlers would reach a half-destroyed
  // window and an Editor already gone.
  podglad_->SetFrameHook(nullptr);
  // The panels go before the Editor: nothing it does from now on reaches them.
  editor_->library().SetListener(nullptr);
  editor_->messages().SetListener(nullptr);
  editor_->preferences().SetListener(nullptr);
  editor_->block().OnChanged(nullptr);
  // It reads the library on a thread of its own and reports to the Editor: it goes first.
  delete block_browser_;
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  for (QWidget* watched : {static_cast<QWidget*>(shape_), static_cast<QWidget*>(cb_orto_),
                           static_cast<QWidget*>(e_nazwa_bloku_)}) {
    watched->removeEventFilter(this);
  }
}

const QCursor& TPodgladRysowanie::pick_cursor() const { return ui_->pick_cursor(); }

void TPodgladRysowanie::Connect() {
  const auto on = [this](const char* name, auto handler) {
    connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
  };
  on("BCofnij", [this] { Run([&] { editor_->block().BCofnijClick(); }); });
  on("BPrzod", [this] { Run([&] { editor_->block().BPrzodClick(); }); });
  on("BPowieksz", [this] { editor_->view().ZoomIn(); });
  on("BPomniejsz", [this] { editor_->view().ZoomOut(); });
  on("BWszystko", [this] { editor_->view().ZoomAll(); });
  on("BOkno", [this] { editor_->view().BeginZoomWindow(); });
  on("BPan", [this] { editor_->view().BeginPan(); });
  on("BPrzerys", [this] { editor_->view().Redraw(); });
  connect(podglad_, &PaintBox::mousePressed, this,
          [this](Qt::MouseButton button, int x, int y, bool adding) {
            block_browser_->HidePreview();
            Run([&] { editor_->MouseDown(ToButton(button), x, y, adding); });
          });
  // Moves come often and change nothing the controls show.
  connect(podglad_, &PaintBox::mouseMoved, this, [this](int x, int y) {
    editor_->MouseMove(x, y);
    // The entity highlighted under the cursor selects its row as the cursor moves.
    source_view_->Sync();
  });
  connect(podglad_, &PaintBox::mouseReleased, this, &TPodgladRysowanie::PodgladMouseUp);
  connect(podglad_, &PaintBox::mouseDoubleClicked, this,
          [this](int x, int y) { Run([&] { editor_->DoubleClick(x, y); }); });
  connect(podglad_, &PaintBox::wheelTurned, this,
          [this](int notches, int x, int y) { editor_->view().Wheel(notches, x, y); });
  connect(podglad_, &PaintBox::resized, this, [this] {
    if (shown_once_) editor_->view().Redraw();
  });
  // Queued: the drag's own event loop is still running when the block is let go.
  connect(
      podglad_, &PaintBox::blockDropped, this,
      [this](const QString& name, int x, int y) {
        block_browser_->HidePreview();
        Run([&] { editor_->DropBlock(S(name), x, y); });
      },
      Qt::QueuedConnection);

  CommandArea* area = command_area_;
  connect(area, &CommandArea::commandEntered, this,
          [this](const QString& text) { Run([&] { editor_->CommandEntered(S(text)); }); });
  connect(area, &CommandArea::keyPressed, this,
          [this](Key key) { Run([&] { editor_->CommandKey(key); }); });
  connect(area, &CommandArea::relativeEntered, this,
          [this](const QString& dx, const QString& dy, bool polar) {
            Run([&] { editor_->WprowadzDxDy(S(dx), S(dy), polar); });
          });
  connect(area, &CommandArea::controlCommand, this,
          [this](const QString& text) { Run([&] { editor_->ControlCommand(S(text)); }); });
  connect(area, &CommandArea::messagesDoubleClicked, this,
          [this] { editor_->messages().ShowInViewer(); });
}

void TPodgladRysowanie::PodgladMouseUp(Qt::MouseButton button, int x, int y, bool adding) {
  const bool taken = editor_->MouseUp(ToButton(button), x, y, adding);
  SettlePanels();
  if (!taken && button == Qt::RightButton) {
    menu_zoom_->popup(podglad_->mapToGlobal(QPoint(x, y)));
  }
}

bool TPodgladRysowanie::eventFilter(QObject* watched, QEvent* event) {
  if (watched == e_nazwa_bloku_ && event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      command_area_->entry().setFocus();
      return true;
    }
  }
  if (watched == shape_ && event->type() == QEvent::MouseButtonRelease) {
    editor_->preferences().ChooseColour();
    SyncSwatch();
    return true;
  }
  if (watched == cb_orto_ && event->type() == QEvent::KeyPress) editor_->view().Redraw();
  return QMainWindow::eventFilter(watched, event);
}

void TPodgladRysowanie::SyncSwatch() {
  const Colour colour = editor_->preferences().settings().colour;
  if (shown_colour_ == colour) return;
  shown_colour_ = colour;
  shape_->setStyleSheet(
      QString("background-color: %1; border: 1px solid #404040;").arg(ToQColor(colour).name()));
}

void TPodgladRysowanie::SyncRecentFiles() {
  const auto& recent = editor_->preferences().recent_files();
  for (size_t i = 0; i < 4; ++i) {
    const bool used = i < recent.entries().size();
    recent_actions_[i]->setVisible(used);
    // The number is the item's accelerator; an ampersand of the name is shown as it is.
    recent_actions_[i]->setText(used ? "&" + Q(recent.Caption(i)).replace("&", "&&") : QString());
    recent_actions_[i]->setData(used ? Q(recent.entries()[i].path) : QString());
  }
}

void TPodgladRysowanie::SettlePanels() {
  block_browser_->Sync();
  source_view_->Sync();
}

void TPodgladRysowanie::ShowLibraryFile() {
  const QString caption = Q(editor_->library().WindowCaption());
  if (windowTitle() != caption) setWindowTitle(caption);
  l_nazwa_pliku_->setText(Q(editor_->library().FileLabel()));
}

void TPodgladRysowanie::BlockChanged(BlockChange change) {
  const EditedBlock& block = editor_->block();
  switch (change) {
    case BlockChange::kName:
      if (S(e_nazwa_bloku_->text()) != block.block_name())
        e_nazwa_bloku_->setText(Q(block.block_name()));
      break;
    case BlockChange::kUnit:
      if (S(cb_jednostka_->currentText()) != block.unit())
        cb_jednostka_->setCurrentText(Q(block.unit()));
      break;
    case BlockChange::kTools: {
      const bool tools = block.tools_enabled();
      for (QToolBar* bar : {toolbar_wstawianie_, toolbar_edycja_, toolbar_opcje_}) {
        bar->setEnabled(tools);
      }
      for (QAction* action : tool_actions_) action->setEnabled(tools);
      for (QWidget* widget : block_controls_) widget->setEnabled(tools);
      break;
    }
    case BlockChange::kMark:
      l_zmiana_->setVisible(block.unsaved());
      break;
    case BlockChange::kLines:
      b_cofnij_->setEnabled(block.journal().CanUndo());
      b_przod_->setEnabled(block.journal().CanRedo());
      m_cofnij_->setEnabled(block.journal().CanUndo());
      m_naprzod_->setEnabled(block.journal().CanRedo());
      source_view_->BlockChanged(change);
      break;
    case BlockChange::kPointed:
      source_view_->BlockChanged(change);
      break;
  }
}

void TPodgladRysowanie::SyncPreferences() {
  const Settings& s = editor_->preferences().settings();
  const auto check = [](QCheckBox* box, bool on) {
    if (box->isChecked() != on) {
      const QSignalBlocker block(box);
      box->setChecked(on);
    }
  };
  check(cb_siatka_, s.grid_snap);
  check(cb_rysuj_siatka_, s.draw_grid);
  check(cb_orto_, s.ortho);
  check(cb_nadpisuj_blok_, s.overwrite_without_asking);
  SyncSwatch();
  SyncRecentFiles();
}

void TPodgladRysowanie::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  editor_->view().FirstShow();
  command_area_->entry().setFocus();
  // After the window has been painted: a question over an empty desktop is easily missed.
  recovery_offer_due_ = true;
  QTimer::singleShot(0, this, [this] {
    Run([&] { editor_->OfferRecovery(); });
    recovery_offer_due_ = false;
    // A file given to the program opens after the question, so that a block brought back is
    // asked about before another file replaces it.
    if (auto given = std::exchange(given_file_, std::nullopt)) {
      OpenGivenFile(given->first, given->second);
    }
  });
}

void TPodgladRysowanie::closeEvent(QCloseEvent* event) {
  if (started_ && !editor_->CloseQuery()) {
    SettlePanels();
    event->ignore();
    return;
  }
  SaveLayout();
  editor_->Finish();
  event->accept();
}

void TPodgladRysowanie::EndWithoutQuestions() {
  SaveLayout();
  if (started_) editor_->Finish(/*keep_unsaved_block=*/true);
  // Not quit(): that would close the window through the close question.
  QCoreApplication::exit(0);
}

void TPodgladRysowanie::OpenGivenFile(const QString& file, const QString& block) {
  if (!started_) return;
  if (recovery_offer_due_) {
    given_file_.emplace(file, block);
    return;
  }
  Run([&] { editor_->OpenGivenFile(S(file), S(block)); });
}

namespace {

// The local block library among dropped files, if there is one.
std::optional<QString> DroppedLibrary(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return std::nullopt;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && url.toLocalFile().endsWith(".blk", Qt::CaseInsensitive)) {
      return url.toLocalFile();
    }
  }
  return std::nullopt;
}

}  // namespace

void TPodgladRysowanie::dragEnterEvent(QDragEnterEvent* event) {
  if (started_ && DroppedLibrary(event->mimeData())) event->acceptProposedAction();
}

void TPodgladRysowanie::dropEvent(QDropEvent* event) {
  const auto file = DroppedLibrary(event->mimeData());
  if (!started_ || !file) return;
  event->acceptProposedAction();
  // The drop's own event loop is still running: open once it has returned.
  QMetaObject::invokeMethod(
      this, [this, path = *file] { Run([&] { editor_->OpenGivenFile(S(path)); }); },
      Qt::QueuedConnection);
}

}  // namespace blok
