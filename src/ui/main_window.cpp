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

QCheckBox* CheckBox(const char* name, const QString& caption, QWidget* parent,
                    bool checked = false) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(checked);
  box->setFocusPolicy(Qt::ClickFocus);
  return box;
}

QComboBox* Combo(const char* name, const QStringList& items, const QString& current,
                 QWidget* parent, int width = 64) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setEditable(true);
  combo->addItems(items);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCurrentText(current);
  combo->setFixedWidth(width);
  return combo;
}

QPushButton* PushButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

QLabel* Label(const QString& caption, QWidget* parent, const char* name = nullptr) {
  auto* label = new QLabel(caption, parent);
  if (name != nullptr) label->setObjectName(name);
  return label;
}

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
  viewer_ =
      new TOpis([this](const auto& lines) { editor_->KopiujDoSchowka(lines); },
                [this](const auto& lines) { return editor_->PokazTekstWNotatniku(lines); }, this);
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
  source_view_->Attach(*editor_);
  command_area_->SetHistory(&editor_->history());
  setAcceptDrops(true);
  podglad_->SetFrameHook([this] { editor_->PaintPendingFrame(); });
  Connect();
  started_ = editor_->Start().has_value();
  ui_->SetPictureFont(editor_->romans_font());
  resize(1180, 780);
  OrderTabs();
  RestoreLayout();
  SyncFromEditor();
  StartRecoveryTimer();
}

std::filesystem::path TPodgladRysowanie::LayoutFile() const {
  return editor_->paths().state / "Dane/Okno.ini";
}

void TPodgladRysowanie::RestoreLayout() {
  const QSettings settings(QString::fromStdString(LayoutFile().string()), QSettings::IniFormat);
  // Geometry from another screen is brought onto this one; a damaged file changes nothing.
  restoreGeometry(settings.value("okno").toByteArray());
  splitter_->restoreState(settings.value("rozdzielacz").toByteArray());
  source_splitter_->restoreState(settings.value("zrodlo").toByteArray());
  ShowSource(settings.value("zrodlo_widoczne", false).toBool());
}

void TPodgladRysowanie::SaveLayout() {
  if (!started_) return;
  QSettings settings(QString::fromStdString(LayoutFile().string()), QSettings::IniFormat);
  settings.setValue("okno", saveGeometry());
  settings.setValue("rozdzielacz", splitter_->saveState());
  settings.setValue("zrodlo", source_splitter_->saveState());
  settings.setValue("zrodlo_widoczne", b_zrodlo_->isChecked());
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
  connect(timer, &QTimer::timeout, this, [this] {
    if (editor_->KeepRecoveryFile()) SyncFromEditor();
  });
  timer->start(kRecoveryTickMs);
}

TPodgladRysowanie::~TPodgladRysowanie() {
  // The children outlive this body: while they are torn down a line edit losing the focus
  // still signals (editingFinished, activated), and the handlers would reach a half-destroyed
  // window and an Editor already gone.
  podglad_->SetFrameHook(nullptr);
  // It reads the library on a thread of its own and reports to the Editor: it goes first.
  delete block_browser_;
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  for (QWidget* watched : {static_cast<QWidget*>(shape_), static_cast<QWidget*>(cb_orto_),
                           static_cast<QWidget*>(e_nazwa_bloku_)}) {
    watched->removeEventFilter(this);
  }
}

const QCursor& TPodgladRysowanie::pick_cursor() const { return ui_->pick_cursor(); }

QWidget* TPodgladRysowanie::BuildBlockPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("PanelBloki");
  panel->setFixedWidth(250);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* b_nowy_plik = PushButton("B_NowyPlik", "Nowy plik", panel);
  auto* b_otworz_plik = PushButton("B_OtworzPlik", "Otwórz plik", panel);
  auto* files = new QHBoxLayout;
  files->addWidget(b_nowy_plik);
  files->addWidget(b_otworz_plik);
  layout->addLayout(files);
  l_nazwa_pliku_ = Label("NAZWA", panel, "L_NazwaPliku");
  l_nazwa_pliku_->setVisible(false);
  layout->addWidget(l_nazwa_pliku_);
  auto* l_nazwa = Label("Nazwa bloku ...", panel, "L_NazwaBloku");
  layout->addWidget(l_nazwa);
  e_nazwa_bloku_ = new QLineEdit(panel);
  e_nazwa_bloku_->setObjectName("E_NazwaBloku");
  e_nazwa_bloku_->installEventFilter(this);
  layout->addWidget(e_nazwa_bloku_);
  auto* l_jednostka = Label("Jednostka ", panel, "L_Jednostka");
  cb_jednostka_ = Combo("CB_Jednostka", {"m", "cm", "mm"}, "m", panel, 70);
  auto* unit_row = new QHBoxLayout;
  unit_row->addWidget(l_jednostka);
  unit_row->addWidget(cb_jednostka_);
  unit_row->addStretch();
  layout->addLayout(unit_row);
  auto* l_lista = Label("Lista bloków", panel, "L_ListaBlokow");
  layout->addWidget(l_lista);
  block_browser_ = new BlockBrowser(this, panel);
  layout->addWidget(block_browser_, 1);
  b_wczytaj_blok_ = PushButton("B_WczytajBlok", "Wczytaj blok", panel);
  bt_nowy_blok_ = PushButton("Bt_NowyBlok", "Nowy blok", panel);
  bt_zapisz_blok_ = PushButton("Bt_ZapiszBlok", "Zapisz blok", panel);
  bt_nowy_blok_->setIcon(QIcon(":/icons/nowy_blok.svg"));
  bt_zapisz_blok_->setIcon(QIcon(":/icons/zapisz.svg"));
  layout->addWidget(b_wczytaj_blok_);
  auto* block_row = new QHBoxLayout;
  block_row->addWidget(bt_nowy_blok_);
  block_row->addWidget(bt_zapisz_blok_);
  layout->addLayout(block_row);
  l_zmiana_ = Label("Niezapisany", panel, "L_Zmiana");
  l_zmiana_->setStyleSheet("color: #c00000; font-weight: bold;");
  // Its room stays when it is hidden: the buttons above must not jump at every change.
  QSizePolicy keep_room = l_zmiana_->sizePolicy();
  keep_room.setRetainSizeWhenHidden(true);
  l_zmiana_->setSizePolicy(keep_room);
  l_zmiana_->setVisible(false);
  layout->addWidget(l_zmiana_);
  cb_nadpisuj_blok_ = CheckBox("CB_NadpisujBlok", "Nadpisuj bez ostrzeżenia", panel);
  layout->addWidget(cb_nadpisuj_blok_);
  b_zrodlo_ = PushButton("B_Zrodlo", "Źródło", panel);
  b_zrodlo_->setCheckable(true);
  b_zrodlo_->setToolTip("Linie bloku obok rysunku (Ctrl+L)");
  layout->addWidget(b_zrodlo_);
  block_controls_ = {e_nazwa_bloku_,
                     cb_jednostka_,
                     &block_browser_->filter(),
                     &block_browser_->list(),
                     b_wczytaj_blok_,
                     bt_nowy_blok_,
                     bt_zapisz_blok_,
                     l_nazwa,
                     l_jednostka,
                     l_lista,
                     &source_view_->check_button(),
                     &source_view_->rows()};
  connect(b_zrodlo_, &QPushButton::toggled, this, [this](bool on) { ShowSource(on); });
  connect(&source_view_->check_button(), &QPushButton::clicked, this,
          [this] { Run([&] { editor_->SprawdzSkladnie(); }); });
  connect(source_view_, &SourceView::edited, this, [this] { SyncFromEditor(); });

  connect(b_nowy_plik, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->NowyPlikBlokow(); }); });
  connect(b_otworz_plik, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->OtworzPlikBlokow(); }); });
  connect(b_wczytaj_blok_, &QPushButton::clicked, this, [this] {
    block_browser_->HidePreview();
    Run([&] { editor_->WczytajWybranyBlok(); });
  });
  connect(block_browser_, &BlockBrowser::deleteRequested, this,
          [this] { Run([&] { editor_->UsunBlok(); }); });
  connect(block_browser_, &BlockBrowser::renameRequested, this,
          [this] { Run([&] { editor_->ZmienNazweBloku(); }); });
  connect(block_browser_, &BlockBrowser::loadRequested, this,
          [this] { Run([&] { editor_->WczytajWybranyBlok(); }); });
  connect(block_browser_, &BlockBrowser::rowSelected, this, [this](int row) {
    Run([&] { editor_->SelectBlockRow(row < 0 ? std::nullopt : std::optional<size_t>(row)); });
  });
  // Nothing to show for it, and no sync: Qt reports a selection before or after the current row
  // moves, and a sync between them would move it back.
  connect(block_browser_, &BlockBrowser::rowsSelected, this, [this](const QList<int>& rows) {
    editor_->SelectBlockRows(std::vector<size_t>(rows.begin(), rows.end()));
  });
  connect(block_browser_, &BlockBrowser::filterEdited, this,
          [this](const QString& text) { Run([&] { editor_->SetBlockFilter(S(text)); }); });
  connect(bt_nowy_blok_, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->NowyBlok(); }); });
  connect(bt_zapisz_blok_, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->ZapiszBlokZPytaniem(); }); });
  connect(e_nazwa_bloku_, &QLineEdit::textEdited, this,
          [this](const QString& text) { editor_->SetBlockName(S(text)); });
  connect(cb_jednostka_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->SetUnit(S(text)); });
  connect(cb_nadpisuj_blok_, &QCheckBox::toggled, this,
          [this](bool on) { editor_->SetOverwriteWithoutAsking(on); });
  return panel;
}

QWidget* TPodgladRysowanie::BuildSettingsBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName("PanelUstawienia");
  auto* outer = new QVBoxLayout(bar);
  outer->setContentsMargins(2, 0, 2, 0);
  auto* layout = new QHBoxLayout;
  cb_siatka_ = CheckBox("CB_Siatka", "Siatka F4", bar);
  cb_rysuj_siatka_ = CheckBox("CB_RysujSiatka", "(rysuj)", bar, true);
  cb_orto_ = CheckBox("CB_Orto", "Orto F8", bar);
  cb_koniec_ = CheckBox("CB_Koniec", "Koniec", bar);
  cb_srodek_ = CheckBox("CB_Srodek", "Środek", bar);
  cb_przeciecie_ = CheckBox("CB_Przeciecie", "Przecięcie", bar);
  cb_centrum_ = CheckBox("CB_Centrum", "Centrum", bar);
  cb_prosto_ = CheckBox("CB_Prosto", "Prostopadły", bar);
  cb_prosto_->setEnabled(false);
  cb_siatka_krok_ =
      Combo("CB_SiatkaKrok",
            {"0,01", "0,02", "0,05", "0,1", "0,2", "0,25", "0,5", "1", "2", "10", "100"}, "1", bar);
  cb_siatka_rozmiar_ =
      Combo("CB_SiatkaRozmiar", {"1", "2", "5", "10", "20", "25", "100", "200"}, "10", bar);
  cb_grubosci_ = Combo("CBGrubosci",
                       {"0,10", "0,12", "0,15", "0,18", "0,20", "0,25", "0,30", "0,35", "0,50",
                        "0.60", "0,70", "0,80", "1.00"},
                       "0,10", bar);
  const QStringList sizes = {"0,20", "0,25", "0,30", "0,35", "0,50", "0,60",
                             "0,70", "0,80", "1,00", "1,50", "2,00"};
  cb_h_tekstu_ = Combo("CB_HTekstu", sizes, "0,60", bar);
  cb_s_tekstu_ = Combo("CB_STekstu", sizes, "0,50", bar);
  shape_ = new QLabel(bar);
  shape_->setObjectName("Shape");
  shape_->setFixedSize(22, 22);
  shape_->setToolTip("Kolor");
  shape_->installEventFilter(this);
  cb_punkt_bazowy_ = CheckBox("CB_PunktBazowy", "Rpbw", bar, true);
  for (QWidget* w :
       std::initializer_list<QWidget*>{cb_siatka_, cb_rysuj_siatka_, cb_orto_, cb_koniec_,
                                       cb_srodek_, cb_przeciecie_, cb_centrum_, cb_prosto_}) {
    layout->addWidget(w);
  }
  layout->addStretch();
  // The sizes and the colour in a second row, so the window fits a small screen.
  auto* second = new QHBoxLayout;
  second->setContentsMargins(0, 0, 0, 0);
  auto* rows = new QVBoxLayout;
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(2);
  rows->addLayout(layout);
  rows->addLayout(second);
  layout = second;
  layout->addWidget(Label("krok", bar));
  layout->addWidget(cb_siatka_krok_);
  layout->addWidget(Label("rozmiar", bar));
  layout->addWidget(cb_siatka_rozmiar_);
  layout->addWidget(Label("grub.", bar));
  layout->addWidget(cb_grubosci_);
  layout->addWidget(Label("h", bar));
  layout->addWidget(cb_h_tekstu_);
  layout->addWidget(Label("s", bar));
  layout->addWidget(cb_s_tekstu_);
  layout->addWidget(Label("kolor", bar));
  layout->addWidget(shape_);
  layout->addWidget(cb_punkt_bazowy_);
  layout->addStretch();
  outer->addLayout(rows);
  block_controls_ << cb_punkt_bazowy_ << cb_siatka_rozmiar_;

  connect(cb_siatka_, &QCheckBox::toggled, this, [this](bool on) {
    if (on != editor_->settings().grid_snap) editor_->SetGridSnap(on);
  });
  connect(cb_rysuj_siatka_, &QCheckBox::toggled, this, [this](bool on) {
    if (on != editor_->settings().draw_grid) editor_->SetDrawGrid(on);
  });
  connect(cb_orto_, &QCheckBox::toggled, this, [this](bool on) { editor_->SetOrtho(on); });
  const auto snap = [this](QCheckBox* box, Snap which) {
    connect(box, &QCheckBox::toggled, this,
            [this, which](bool on) { editor_->SetSnap(which, on); });
  };
  snap(cb_koniec_, Snap::kEnd);
  snap(cb_srodek_, Snap::kMiddle);
  snap(cb_przeciecie_, Snap::kIntersection);
  snap(cb_centrum_, Snap::kCentre);
  connect(cb_punkt_bazowy_, &QCheckBox::toggled, this,
          [this](bool on) { editor_->SetBasePoint(on); });
  // Typed text takes effect as it is typed; a choice from the list also moves the focus on.
  connect(cb_siatka_krok_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->SetGridStepText(S(text)); });
  connect(cb_siatka_krok_, &QComboBox::activated, this, [this] { e_nazwa_bloku_->setFocus(); });
  connect(cb_siatka_rozmiar_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->SetGridSizeText(S(text)); });
  connect(cb_siatka_rozmiar_, &QComboBox::activated, this, [this] { e_nazwa_bloku_->setFocus(); });
  // Text sizes and the thickness are checked when the entry is done, not at every key: "1," is on
  // its way to "1,5" and no reason for an error box.
  const auto text_size = [this](QComboBox* combo, bool (Editor::*set)(std::string_view),
                                const std::string Settings::*text) {
    const auto apply = [this, combo, set, text] {
      if (S(combo->currentText()) == editor_->settings().*text) return;
      if (!(editor_.get()->*set)(S(combo->currentText()))) {
        combo->setCurrentText(Q(editor_->settings().*text));
      }
    };
    connect(combo, &QComboBox::activated, this, [this, apply] {
      apply();
      cb_orto_->setFocus();
    });
    connect(combo->lineEdit(), &QLineEdit::editingFinished, this, apply);
  };
  text_size(cb_h_tekstu_, &Editor::SetTextHeightText, &Settings::text_height_text);
  text_size(cb_s_tekstu_, &Editor::SetTextWidthText, &Settings::text_width_text);
  text_size(cb_grubosci_, &Editor::SetThicknessText, &Settings::thickness_text);
  cb_orto_->installEventFilter(this);
  return bar;
}

void TPodgladRysowanie::Connect() {
  const auto on = [this](const char* name, auto handler) {
    connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
  };
  on("BCofnij", [this] { Run([&] { editor_->BCofnijClick(); }); });
  on("BPrzod", [this] { Run([&] { editor_->BPrzodClick(); }); });
  on("BPowieksz", [this] { editor_->ZoomIn(); });
  on("BPomniejsz", [this] { editor_->ZoomOut(); });
  on("BWszystko", [this] { editor_->ZoomAll(); });
  on("BOkno", [this] { editor_->BeginZoomWindow(); });
  on("BPan", [this] { editor_->BeginPan(); });
  on("BPrzerys", [this] { editor_->Redraw(); });
  connect(podglad_, &PaintBox::mousePressed, this, [this](Qt::MouseButton button, int x, int y) {
    block_browser_->HidePreview();
    Run([&] { editor_->MouseDown(ToButton(button), x, y); });
  });
  // Moves come often and change nothing the controls show.
  connect(podglad_, &PaintBox::mouseMoved, this, [this](int x, int y) {
    editor_->MouseMove(x, y);
    // The entity highlighted under the cursor selects its row.
    source_view_->Sync();
  });
  connect(podglad_, &PaintBox::mouseReleased, this, &TPodgladRysowanie::PodgladMouseUp);
  connect(podglad_, &PaintBox::mouseDoubleClicked, this,
          [this](int x, int y) { Run([&] { editor_->DoubleClick(x, y); }); });
  connect(podglad_, &PaintBox::wheelTurned, this, [this](int notches) { editor_->Wheel(notches); });
  connect(podglad_, &PaintBox::resized, this, [this] {
    if (shown_once_) editor_->Redraw();
  });

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
          [this] { editor_->ShowMessagesInViewer(); });
}

void TPodgladRysowanie::PodgladMouseUp(Qt::MouseButton button, int x, int y) {
  const bool taken = editor_->MouseUp(ToButton(button), x, y);
  SyncFromEditor();
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
    editor_->ChooseColour();
    SyncSwatch();
    return true;
  }
  if (watched == cb_orto_ && event->type() == QEvent::KeyPress) editor_->Redraw();
  return QMainWindow::eventFilter(watched, event);
}

void TPodgladRysowanie::SyncSwatch() {
  const Colour colour = editor_->settings().colour;
  if (shown_colour_ == colour) return;
  shown_colour_ = colour;
  shape_->setStyleSheet(
      QString("background-color: %1; border: 1px solid #404040;").arg(ToQColor(colour).name()));
}

void TPodgladRysowanie::SyncRecentFiles() {
  const auto& recent = editor_->recent_files();
  for (size_t i = 0; i < 4; ++i) {
    const bool used = i < recent.entries().size();
    recent_actions_[i]->setVisible(used);
    // The number is the item's accelerator; an ampersand of the name is shown as it is.
    recent_actions_[i]->setText(used ? "&" + Q(recent.Caption(i)).replace("&", "&&") : QString());
    recent_actions_[i]->setData(used ? Q(recent.entries()[i].path) : QString());
  }
}

void TPodgladRysowanie::SyncFromEditor() {
  const Editor& e = *editor_;
  const QString caption = Q(e.WindowCaption());
  if (windowTitle() != caption) setWindowTitle(caption);
  l_nazwa_pliku_->setText(Q(e.FileLabel()));
  if (S(e_nazwa_bloku_->text()) != e.block_name()) e_nazwa_bloku_->setText(Q(e.block_name()));
  if (S(cb_jednostka_->currentText()) != e.unit()) cb_jednostka_->setCurrentText(Q(e.unit()));
  block_browser_->Sync();
  source_view_->Sync();

  l_zmiana_->setVisible(e.unsaved());
  const bool tools = e.tools_enabled();
  for (QToolBar* bar : {toolbar_wstawianie_, toolbar_edycja_, toolbar_opcje_}) {
    bar->setEnabled(tools);
  }
  for (QAction* action : tool_actions_) action->setEnabled(tools);
  for (QWidget* widget : block_controls_) widget->setEnabled(tools);
  b_cofnij_->setEnabled(e.undo_enabled());
  b_przod_->setEnabled(e.redo_enabled());
  m_cofnij_->setEnabled(e.undo_enabled());
  m_naprzod_->setEnabled(e.redo_enabled());

  command_area_->ShowMessages(e.messages(), e.messages_added(), e.messages_cleared());

  const Settings& s = e.settings();
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
  editor_->FirstShow();
  command_area_->entry().setFocus();
}

void TPodgladRysowanie::closeEvent(QCloseEvent* event) {
  if (started_ && !editor_->CloseQuery()) {
    SyncFromEditor();
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
