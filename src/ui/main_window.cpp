#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "editor/frame.h"
#include "ui/dialogs.h"
#include "ui/paint_box.h"
#include "ui/painter_canvas.h"
#include "view/view_transform.h"

// The icons live in this static library: their resource must be registered by hand.
static void InitIconResource() { Q_INIT_RESOURCE(icons); }

namespace blok {
namespace {

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string S(const QString& s) { return s.toStdString(); }

// "Pliki bloków|*.blk|..." in Qt's form: "Pliki bloków (*.blk);;...".
QString QtFilter(const FileDialog& dialog) {
  QStringList parts;
  for (const auto& f : dialog.filters) parts << Q(f.name) + " (" + Q(f.pattern) + ")";
  return parts.join(";;");
}

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

TPodgladRysowanie::TPodgladRysowanie(std::filesystem::path program_dir, QWidget* parent)
    : QMainWindow(parent) {
  setObjectName("PodgladRysowanie");
  InitIconResource();
  // The cursor of commands that wait for an object to be pointed at; its hot spot is the
  // middle of the pick box.
  pick_cursor_ = QCursor(QIcon(":/icons/wskazanie.svg").pixmap(32, 32), 16, 16);
  podglad_ = new PaintBox(this);
  editor_ = std::make_unique<Editor>(std::move(program_dir), *this, *podglad_);

  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* right = new QVBoxLayout;
  right->addWidget(BuildSettingsBar());
  auto* splitter = new QSplitter(Qt::Vertical, central);
  splitter->addWidget(podglad_);
  splitter->addWidget(BuildCommandArea());
  splitter->setStretchFactor(0, 5);
  splitter->setStretchFactor(1, 1);
  right->addWidget(splitter, 1);
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

  Connect();
  started_ = editor_->Start().has_value();
  resize(1180, 780);
  SyncFromEditor();
}

TPodgladRysowanie::~TPodgladRysowanie() {
  // The children outlive this body: while they are torn down a line edit losing the focus
  // still signals (editingFinished, activated), and the handlers would reach a half-destroyed
  // window and an Editor already gone.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  for (QWidget* watched : {static_cast<QWidget*>(e_polecenie_), static_cast<QWidget*>(shape_),
                           static_cast<QWidget*>(cb_orto_), static_cast<QWidget*>(e_nazwa_bloku_),
                           re_polecenia_->viewport()}) {
    watched->removeEventFilter(this);
  }
}

QAction* TPodgladRysowanie::Action(const char* name, const QString& text, const QString& hint,
                                   const QString& icon) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  if (!hint.isEmpty()) action->setToolTip(hint);
  if (!icon.isEmpty()) action->setIcon(QIcon(":/icons/" + icon + ".svg"));
  return action;
}

void TPodgladRysowanie::BuildToolBars() {
  struct ToolButton {
    const char* name;
    const char* caption;
    const char* hint;
    const char* icon;
  };
  const ToolButton insert[] = {
      {"BWstawLinie", "Wstaw linie", "Linia", "linia"},
      {"BWstawProstokat", "Wstaw prostokąt", "Prostokąt", "prostokat"},
      {"BWstawOkrag", "Wstaw okrąg", "Okrąg", "okrag"},
      {"BWstawLuk", "Wstaw łuk", "Łuk", "luk"},
      {"BWstawTekst", "Wstaw tekst", "Tekst", "tekst"},
  };
  const ToolButton edit[] = {
      {"BPrzesun", "Przesuń", "Przesuń", "przesun"},
      {"BKopiuj", "Kopiuj", "Kopiuj", "kopiuj"},
      {"BUsun", "Usuń obiekt", "Usuń", "usun"},
      {"BRozciagnij", "Rozciaganie", "Rozciagnij", "rozciagnij"},
      {"BSkaluj", "Skaluj wszystko", "Skaluj", "skaluj"},
      {"BFazuj", "Fazuj linie", "Fazuj", "fazuj"},
      {"BTnij", "Tnij", "Utnij", "tnij"},
      {"BWydluz", "Wydłuż", "Wydłuż", "wydluz"},
      {"BOdsun", "Odsuń", "Odsuń", "odsun"},
      {"B_Obrot", "Obrot", "Obróć", "obrot"},
      {"BEdycjaCech", "Zmiana cech", "Właściwości", "cechy"},
  };
  const ToolButton options[] = {
      {"BCofnij", "Cofnij", "Cofnij", "cofnij"},
      {"BPrzod", "Naprzód", "Naprzód", "przod"},
      {"BPowieksz", "Powiększ", "Powiększ", "powieksz"},
      {"BPomniejsz", "Pomniejsz", "Pomniejsz", "pomniejsz"},
      {"BWszystko", "Zoom wszystko", "Zoom wszystko", "wszystko"},
      {"BOkno", "Zoom okno", "Zoom okno", "okno"},
      {"BPan", "Zoon przesuń", "Zoon przesuń", "pan"},
      {"BPrzerys", "Przerys", "Przerys", "przerys"},
  };
  const auto make = [this](const char* name, const QString& title, auto& buttons) {
    auto* bar = addToolBar(title);
    bar->setObjectName(name);
    bar->setIconSize(QSize(24, 24));
    for (const ToolButton& b : buttons) bar->addAction(Action(b.name, b.caption, b.hint, b.icon));
    return bar;
  };
  toolbar_wstawianie_ = make("ToolBarWstawianie", "Wstawianie", insert);
  toolbar_edycja_ = make("ToolBarEdycja", "Edycja", edit);
  toolbar_opcje_ = make("ToolBarOpcje", "Opcje", options);
}

void TPodgladRysowanie::BuildMenus() {
  menu_pliki_ = menuBar()->addMenu("Pliki");
  menu_pliki_->setObjectName("Pliki");
  auto* nowy = Action("Nowy1", "Nowy plik ");
  auto* otworz = Action("Otworzplik1", "Otwórz plik");
  auto* nowy_blok = Action("M_NowyBlok", "Nowy BLOK");
  auto* zapisz_blok = Action("M_ZapiszBlok", "Zapisz BLOK");
  auto* o_programie = Action("Oprogramie1", "O programie");
  auto* koniec = Action("Koniec1", "Koniec");
  menu_pliki_->addAction(nowy);
  menu_pliki_->addAction(otworz);
  menu_pliki_->addSeparator();
  menu_pliki_->addAction(nowy_blok);
  menu_pliki_->addAction(zapisz_blok);
  menu_pliki_->addSeparator();
  menu_pliki_->addAction(o_programie);
  menu_pliki_->addSeparator();
  // The recent files go between the two separators after "O programie".
  for (int i = 0; i < 4; ++i) {
    const std::string name = "M" + std::to_string(i + 1);
    recent_actions_[i] = Action(name.c_str(), "");
    recent_actions_[i]->setVisible(false);
    menu_pliki_->addAction(recent_actions_[i]);
    connect(recent_actions_[i], &QAction::triggered, this, [this, i] {
      const auto& entries = editor_->recent_files().entries();
      if (static_cast<size_t>(i) < entries.size()) {
        const std::string path = entries[i].path;
        Run([&] { editor_->OtworzOstatniPlik(path); });
      }
    });
  }
  recent_separator_ = menu_pliki_->addSeparator();
  menu_pliki_->addAction(koniec);
  connect(nowy, &QAction::triggered, this, [this] { Run([&] { editor_->NowyPlikBlokow(); }); });
  connect(otworz, &QAction::triggered, this, [this] { Run([&] { editor_->OtworzPlikBlokow(); }); });
  connect(nowy_blok, &QAction::triggered, this, [this] { Run([&] { editor_->NowyBlok(); }); });
  connect(zapisz_blok, &QAction::triggered, this,
          [this] { Run([&] { editor_->ZapiszBlokZPytaniem(); }); });
  connect(o_programie, &QAction::triggered, this, [this] {
    if (about_box_ != nullptr) about_box_->exec();
  });
  // Closing goes through the close query like the window's own close button.
  connect(koniec, &QAction::triggered, this, &QWidget::close);

  auto* wstaw = menuBar()->addMenu("Wstaw");
  wstaw->setObjectName("Wstaw1");
  struct Item {
    const char* name;
    const char* caption;
  };
  for (const Item& item : {Item{"Linia1", "Linia"}, Item{"Prostokt1", "Prostokąt"},
                           Item{"Okrg1", "Okrąg"}, Item{"uk1", "Łuk"}, Item{"ekst1", "Tekst"}}) {
    auto* action = Action(item.name, item.caption);
    wstaw->addAction(action);
    tool_actions_ << action;
  }
  auto* modyfikuj = menuBar()->addMenu("Modyfikuj");
  modyfikuj->setObjectName("Modyfikuj1");
  for (const Item& item :
       {Item{"M_Kopiuj", "Kopiuj"}, Item{"M_Przesun", "Przesuń"}, Item{"M_Usun", "Usuń"},
        Item{"M_Rozciagnij", "Rozciagnij"}, Item{"M_Skaluj", "Skaluj"}, Item{"M_Fazuj", "Fazuj"},
        Item{"m_utnij", "Utnij"}, Item{"M_Wydluz", "Wydłuż"}, Item{"M_Odsun", "Odsuń"},
        Item{"m_obroc", "Obróć"}, Item{"M_Wlasciwosci", "Właściwości"}}) {
    auto* action = Action(item.name, item.caption);
    modyfikuj->addAction(action);
    tool_actions_ << action;
  }
  tool_actions_ << zapisz_blok << nowy_blok;
  for (QAction* action : toolbar_edycja_->actions()) tool_actions_ << action;
  for (QAction* action : toolbar_wstawianie_->actions()) tool_actions_ << action;

  menu_zoom_ = new QMenu(this);
  menu_zoom_->setObjectName("MenuZoom");
  const auto zoom_item = [this](const char* name, const QString& caption, auto operation) {
    auto* action = Action(name, caption);
    menu_zoom_->addAction(action);
    connect(action, &QAction::triggered, this, operation);
  };
  zoom_item("Powieksz1", "Powiększ", [this] { editor_->ZoomIn(); });
  zoom_item("Pomniejsz1", "Pomniejsz", [this] { editor_->ZoomOut(); });
  zoom_item("Wszystko1", "Wszystko", [this] { findChild<QAction*>("BWszystko")->trigger(); });
  zoom_item("Okno1", "Okno", [this] { findChild<QAction*>("BOkno")->trigger(); });
  zoom_item("Przesun1", "Przesuń", [this] { findChild<QAction*>("BPan")->trigger(); });
  menu_zoom_->addSeparator();
  zoom_item("Rezygnuj1", "Rezygnuj", [this] {
    Run([&] { editor_->Rezygnuj(); });
  });
}

QWidget* TPodgladRysowanie::BuildBlockPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("PanelBloki");
  panel->setFixedWidth(210);
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
  lb_nazwa_bloku_czytaj_ = new QListWidget(panel);
  lb_nazwa_bloku_czytaj_->setObjectName("LB_NazwaBlokuCzytaj");
  layout->addWidget(lb_nazwa_bloku_czytaj_, 1);
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
  l_zmiana_->setVisible(false);
  layout->addWidget(l_zmiana_);
  cb_nadpisuj_blok_ = CheckBox("CB_NadpisujBlok", "Nadpisuj bez ostrzeżenia", panel);
  layout->addWidget(cb_nadpisuj_blok_);
  b_sprawdz_skladnie_ = PushButton("B_SprawdzSkladnia", "Sprawdz składnię", panel);
  b_sprawdz_skladnie_->setVisible(false);
  layout->addWidget(b_sprawdz_skladnie_);
  block_controls_ = {e_nazwa_bloku_,
                     cb_jednostka_,
                     lb_nazwa_bloku_czytaj_,
                     b_wczytaj_blok_,
                     bt_nowy_blok_,
                     bt_zapisz_blok_,
                     l_nazwa,
                     l_jednostka,
                     l_lista,
                     b_sprawdz_skladnie_};

  connect(b_nowy_plik, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->NowyPlikBlokow(); }); });
  connect(b_otworz_plik, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->OtworzPlikBlokow(); }); });
  connect(b_wczytaj_blok_, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->WczytajWybranyBlok(); }); });
  connect(lb_nazwa_bloku_czytaj_, &QListWidget::itemDoubleClicked, this,
          [this] { Run([&] { editor_->WczytajWybranyBlok(); }); });
  connect(lb_nazwa_bloku_czytaj_, &QListWidget::currentRowChanged, this, [this](int row) {
    editor_->SelectBlock(row < 0 ? std::nullopt : std::optional<size_t>(row));
  });
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
  connect(cb_grubosci_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->SetThicknessText(S(text)); });
  connect(cb_grubosci_, &QComboBox::activated, this, [this] { cb_orto_->setFocus(); });
  // Text sizes are checked when the entry is done, not at every key: "1," is on its way to
  // "1,5" and no reason for an error box.
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
  cb_orto_->installEventFilter(this);
  return bar;
}

QWidget* TPodgladRysowanie::BuildCommandArea() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  re_polecenia_ = new QPlainTextEdit(area);
  re_polecenia_->setObjectName("RE_Polecenia");
  re_polecenia_->setReadOnly(true);
  re_polecenia_->viewport()->installEventFilter(this);
  layout->addWidget(re_polecenia_, 1);
  auto* row = new QHBoxLayout;
  l_polecenie_ = Label("Wprowadz polecenie", area, "L_Polecenie");
  e_polecenie_ = new QLineEdit(area);
  e_polecenie_->setObjectName("E_Polecenie");
  e_polecenie_->installEventFilter(this);
  row->addWidget(l_polecenie_);
  row->addWidget(e_polecenie_, 1);
  layout->addLayout(row);
  return area;
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
  connect(podglad_, &PaintBox::mousePressed, this, &TPodgladRysowanie::PodgladMouseDown);
  connect(podglad_, &PaintBox::mouseMoved, this, &TPodgladRysowanie::PodgladMouseMove);
  connect(podglad_, &PaintBox::mouseReleased, this, &TPodgladRysowanie::PodgladMouseUp);
  connect(podglad_, &PaintBox::wheelTurned, this, [this](int notches) { editor_->Wheel(notches); });
  connect(podglad_, &PaintBox::resized, this, [this] {
    if (shown_once_) editor_->Redraw();
  });
}

template <typename F>
void TPodgladRysowanie::Run(F&& operation) {
  operation();
  SyncFromEditor();
}

void TPodgladRysowanie::PodgladMouseDown(Qt::MouseButton button, int x, int y) {
  editor_->MouseDown(ToButton(button), x, y);
}

void TPodgladRysowanie::PodgladMouseMove(int x, int y) { editor_->MouseMove(x, y); }

void TPodgladRysowanie::PodgladMouseUp(Qt::MouseButton button, int x, int y) {
  const bool taken = editor_->MouseUp(ToButton(button), x, y);
  if (!taken && button == Qt::RightButton) {
    menu_zoom_->popup(podglad_->mapToGlobal(QPoint(x, y)));
  }
}

void TPodgladRysowanie::E_PolecenieKeyDown(int key) {
  switch (key) {
    case Qt::Key_F4:
      editor_->SetGridSnap(!editor_->settings().grid_snap);
      break;
    case Qt::Key_F8:
      editor_->SetOrtho(!editor_->settings().ortho);
      break;
    case Qt::Key_Escape:
      editor_->AnulujPolecenie();
      editor_->Komunikat("Anulowano.");
      break;
    default:
      return;
  }
  SyncFromEditor();
}

bool TPodgladRysowanie::eventFilter(QObject* watched, QEvent* event) {
  if (watched == e_polecenie_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F4 || key == Qt::Key_F8 || key == Qt::Key_Escape) {
      E_PolecenieKeyDown(key);
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      e_polecenie_->clear();
      return true;
    }
  }
  if (watched == e_nazwa_bloku_ && event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      e_polecenie_->setFocus();
      return true;
    }
  }
  if (watched == re_polecenia_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    editor_->ShowMessagesInViewer();
    return true;
  }
  if (watched == shape_ && event->type() == QEvent::MouseButtonRelease) {
    editor_->ChooseColour();
    SyncSwatch();
    return true;
  }
  if (watched == cb_orto_ && event->type() == QEvent::KeyPress) Redraw();
  return QMainWindow::eventFilter(watched, event);
}

void TPodgladRysowanie::SyncSwatch() {
  const QColor colour = ToQColor(editor_->settings().colour);
  shape_->setStyleSheet(
      QString("background-color: %1; border: 1px solid #404040;").arg(colour.name()));
}

void TPodgladRysowanie::SyncRecentFiles() {
  const auto& recent = editor_->recent_files();
  for (size_t i = 0; i < 4; ++i) {
    const bool used = i < recent.entries().size();
    recent_actions_[i]->setVisible(used);
    recent_actions_[i]->setText(used ? Q(recent.Caption(i)) : QString());
    recent_actions_[i]->setData(used ? Q(recent.entries()[i].path) : QString());
  }
}

void TPodgladRysowanie::SyncFromEditor() {
  const Editor& e = *editor_;
  setWindowTitle(Q(e.WindowCaption()));
  l_nazwa_pliku_->setText(Q(e.FileLabel()));
  if (S(e_nazwa_bloku_->text()) != e.block_name()) e_nazwa_bloku_->setText(Q(e.block_name()));
  if (S(cb_jednostka_->currentText()) != e.unit()) cb_jednostka_->setCurrentText(Q(e.unit()));

  QStringList names;
  for (const auto& name : e.block_list().names()) names << Q(name);
  QStringList shown;
  for (int i = 0; i < lb_nazwa_bloku_czytaj_->count(); ++i) {
    shown << lb_nazwa_bloku_czytaj_->item(i)->text();
  }
  if (names != shown) {
    const QSignalBlocker block(lb_nazwa_bloku_czytaj_);
    lb_nazwa_bloku_czytaj_->clear();
    lb_nazwa_bloku_czytaj_->addItems(names);
  }
  {
    const QSignalBlocker block(lb_nazwa_bloku_czytaj_);
    const auto selected = e.block_list().selected();
    lb_nazwa_bloku_czytaj_->setCurrentRow(selected ? static_cast<int>(*selected) : -1);
  }

  l_zmiana_->setVisible(e.unsaved());
  const bool tools = e.tools_enabled();
  for (QToolBar* bar : {toolbar_wstawianie_, toolbar_edycja_, toolbar_opcje_}) {
    bar->setEnabled(tools);
  }
  for (QAction* action : tool_actions_) action->setEnabled(tools);
  for (QWidget* widget : block_controls_) widget->setEnabled(tools);
  findChild<QAction*>("BCofnij")->setEnabled(e.undo_enabled());
  findChild<QAction*>("BPrzod")->setEnabled(e.redo_enabled());

  QStringList messages;
  for (const auto& m : e.messages()) messages << Q(m);
  const QString pane = messages.join('\n');
  if (re_polecenia_->toPlainText() != pane) re_polecenia_->setPlainText(pane);

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
  e_polecenie_->setFocus();
}

void TPodgladRysowanie::closeEvent(QCloseEvent* event) {
  if (started_ && !editor_->CloseQuery()) {
    SyncFromEditor();
    event->ignore();
    return;
  }
  editor_->Finish();
  event->accept();
}

void TPodgladRysowanie::Redraw() {
  editor_->PaintPendingFrame();
  // The command entry takes the keys back after a redraw, but not from a field the user is
  // typing into: a grid step typed digit by digit redraws at every key.
  QWidget* focus = QApplication::focusWidget();
  const auto* combo = qobject_cast<QComboBox*>(focus);
  const bool typing =
      qobject_cast<QLineEdit*>(focus) != nullptr || (combo != nullptr && combo->isEditable());
  if (shown_once_ && !typing) e_polecenie_->setFocus();
}

Answer TPodgladRysowanie::Ask(std::string_view question) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->Ask(question);
  return question_dialog_->Ask(Q(question));
}

void TPodgladRysowanie::ShowMessage(std::string_view text) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->ShowMessage(text);
  QMessageBox::information(isVisible() ? this : nullptr, "blokedit", Q(text));
}

std::optional<std::filesystem::path> TPodgladRysowanie::OpenFileDialog(const FileDialog& d) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->OpenFileDialog(d);
  QFileDialog dialog(this, Q(d.title), Q(d.initial_directory.string()), QtFilter(d));
  dialog.setObjectName("OpenDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(Q(d.default_extension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(S(dialog.selectedFiles().front()));
}

std::optional<std::filesystem::path> TPodgladRysowanie::SaveFileDialog(const FileDialog& d) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->SaveFileDialog(d);
  QFileDialog dialog(this, Q(d.title), Q(d.initial_directory.string()), QtFilter(d));
  dialog.setObjectName("SaveDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // An existing file is opened, not overwritten: no question about replacing it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(Q(d.default_extension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(S(dialog.selectedFiles().front()));
}

std::optional<Colour> TPodgladRysowanie::ChooseColour(Colour initial) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->ChooseColour(initial);
  const QColor chosen = QColorDialog::getColor(ToQColor(initial), this, "Kolor");
  if (!chosen.isValid()) return std::nullopt;
  return RgbColour(chosen.red(), chosen.green(), chosen.blue());
}

void TPodgladRysowanie::ShowText(const std::vector<std::string>& lines) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->ShowText(lines);
  viewer_->ShowLines(lines);
}

bool TPodgladRysowanie::OpenWithShell(const std::filesystem::path& file) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->OpenWithShell(file);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(file.string())));
}

void TPodgladRysowanie::SetCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::kCross:
      podglad_->setCursor(Qt::CrossCursor);
      break;
    case CursorShape::kDrag:
      podglad_->setCursor(Qt::SizeAllCursor);
      break;
    case CursorShape::kHand:
      podglad_->setCursor(Qt::ClosedHandCursor);
      break;
    case CursorShape::kPick:
      podglad_->setCursor(pick_cursor_);
      break;
  }
}

void TPodgladRysowanie::SetPrompt(std::string_view caption) { l_polecenie_->setText(Q(caption)); }

void TPodgladRysowanie::FocusCommandEntry() {}

void TPodgladRysowanie::ShowRelativePanel(bool) {}

void TPodgladRysowanie::SetStatusText(std::string_view text) { status_xy_->setText(Q(text)); }

void TPodgladRysowanie::CopyToClipboard(std::string_view text) {
  if (dialogs_for_testing_ != nullptr) return dialogs_for_testing_->CopyToClipboard(text);
  QApplication::clipboard()->setText(Q(text));
}

}  // namespace blok
