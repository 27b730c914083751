// The window's panels: the block panel beside the drawing and the settings bar above it, their
// controls named as the editor knows them and wired to it.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "model/thickness.h"
#include "model/unit.h"
#include "ui/block_browser.h"
#include "ui/command_area.h"
#include "ui/main_window.h"
#include "ui/painter_canvas.h"
#include "ui/qt_text.h"
#include "ui/source_view.h"

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

}  // namespace

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
  cb_jednostka_ = Combo("CB_Jednostka", QTexts(kUnits, &Unit::name), "m", panel, 70);
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
          [this] { Run([&] { editor_->block().SprawdzSkladnie(); }); });

  connect(b_nowy_plik, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->NowyPlikBlokow(); }); });
  connect(b_otworz_plik, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->OtworzPlikBlokow(); }); });
  connect(b_wczytaj_blok_, &QPushButton::clicked, this, [this] {
    block_browser_->HidePreview();
    Run([&] { editor_->WczytajWybranyBlok(); });
  });
  connect(block_browser_, &BlockBrowser::deleteRequested, this,
          [this] { Run([&] { editor_->library().UsunBlok(); }); });
  connect(block_browser_, &BlockBrowser::renameRequested, this,
          [this] { Run([&] { editor_->library().ZmienNazweBloku(); }); });
  connect(block_browser_, &BlockBrowser::loadRequested, this,
          [this] { Run([&] { editor_->WczytajWybranyBlok(); }); });
  connect(block_browser_, &BlockBrowser::rowSelected, this, [this](int row) {
    Run([&] {
      editor_->library().SelectBlockRow(row < 0 ? std::nullopt : std::optional<size_t>(row));
    });
  });
  // Nothing to show for it, and no sync: Qt reports a selection before or after the current row
  // moves, and a sync between them would move it back.
  connect(block_browser_, &BlockBrowser::rowsSelected, this, [this](const QList<int>& rows) {
    editor_->library().SelectBlockRows(std::vector<size_t>(rows.begin(), rows.end()));
  });
  connect(block_browser_, &BlockBrowser::filterEdited, this, [this](const QString& text) {
    Run([&] { editor_->library().SetBlockFilter(S(text)); });
  });
  connect(bt_nowy_blok_, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->NowyBlok(); }); });
  connect(bt_zapisz_blok_, &QPushButton::clicked, this,
          [this] { Run([&] { editor_->library().ZapiszBlokZPytaniem(); }); });
  connect(e_nazwa_bloku_, &QLineEdit::textEdited, this,
          [this](const QString& text) { editor_->block().SetBlockName(S(text)); });
  connect(cb_jednostka_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->block().SetUnit(S(text)); });
  connect(cb_nadpisuj_blok_, &QCheckBox::toggled, this,
          [this](bool on) { editor_->preferences().SetOverwriteWithoutAsking(on); });
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
  QCheckBox* cb_styczny = CheckBox("CB_Styczny", "Styczny", bar);
  QCheckBox* cb_najblizszy = CheckBox("CB_Najblizszy", "Najbliższy", bar);
  QCheckBox* cb_kwadrant = CheckBox("CB_Kwadrant", "Kwadrant", bar);
  cb_siatka_krok_ =
      Combo("CB_SiatkaKrok",
            {"0,01", "0,02", "0,05", "0,1", "0,2", "0,25", "0,5", "1", "2", "10", "100"}, "1", bar);
  cb_siatka_rozmiar_ =
      Combo("CB_SiatkaRozmiar", {"1", "2", "5", "10", "20", "25", "100", "200"}, "10", bar);
  cb_grubosci_ =
      Combo("CBGrubosci", QTexts(kThicknessChoices, &ThicknessChoice::text), "0,10", bar);
  const QStringList sizes = QTexts(kTextSizeChoices, std::identity{});
  cb_h_tekstu_ = Combo("CB_HTekstu", sizes, "0,60", bar);
  cb_s_tekstu_ = Combo("CB_STekstu", sizes, "0,50", bar);
  shape_ = new QLabel(bar);
  shape_->setObjectName("Shape");
  shape_->setFixedSize(22, 22);
  shape_->setToolTip("Kolor");
  shape_->installEventFilter(this);
  cb_punkt_bazowy_ = CheckBox("CB_PunktBazowy", "Rpbw", bar, true);
  // The short captions say little to a newcomer.
  cb_punkt_bazowy_->setToolTip("Rysuj punkt bazowy (0,0), w którym blok będzie wstawiany");
  cb_rysuj_siatka_->setToolTip("Rysuj osie X i Y z podziałką co krok i jej opisami");
  cb_siatka_krok_->setToolTip(
      "Krok siatki: odstęp jej linii i podziałki osi; Siatka F4 przyciąga do jego wielokrotności");
  cb_siatka_rozmiar_->setToolTip(
      "Jak daleko od punktu (0,0) sięgają siatka i osie, w każdą stronę");
  cb_grubosci_->setToolTip("Grubość linii nowych obiektów, w milimetrach");
  cb_h_tekstu_->setToolTip("Wysokość nowych tekstów (polecenie t)");
  cb_s_tekstu_->setToolTip("Szerokość liter nowych tekstów (polecenie t)");
  for (QWidget* w :
       std::initializer_list<QWidget*>{cb_siatka_, cb_rysuj_siatka_, cb_orto_, cb_koniec_,
                                       cb_srodek_, cb_przeciecie_, cb_centrum_}) {
    layout->addWidget(w);
  }
  layout->addStretch();
  // The further snaps in a row of their own below the first four, and the sizes and the colour
  // in a third, so the window fits a small screen.
  auto* further = new QHBoxLayout;
  further->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : {cb_prosto_, cb_styczny, cb_najblizszy, cb_kwadrant}) further->addWidget(w);
  further->addStretch();
  auto* second = new QHBoxLayout;
  second->setContentsMargins(0, 0, 0, 0);
  auto* rows = new QVBoxLayout;
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(2);
  rows->addLayout(layout);
  rows->addLayout(further);
  rows->addLayout(second);
  layout = second;
  // Each box after its caption, the caption's tip the box's.
  const auto labelled = [&](const QString& caption, QComboBox* combo) {
    QLabel* label = Label(caption, bar);
    label->setToolTip(combo->toolTip());
    layout->addWidget(label);
    layout->addWidget(combo);
  };
  labelled("krok", cb_siatka_krok_);
  labelled("rozmiar", cb_siatka_rozmiar_);
  labelled("grub.", cb_grubosci_);
  labelled("h", cb_h_tekstu_);
  labelled("s", cb_s_tekstu_);
  layout->addWidget(Label("kolor", bar));
  layout->addWidget(shape_);
  layout->addWidget(cb_punkt_bazowy_);
  layout->addStretch();
  outer->addLayout(rows);
  block_controls_ << cb_punkt_bazowy_ << cb_siatka_rozmiar_;

  connect(cb_siatka_, &QCheckBox::toggled, this, [this](bool on) {
    if (on != editor_->preferences().settings().grid_snap) editor_->preferences().SetGridSnap(on);
  });
  connect(cb_rysuj_siatka_, &QCheckBox::toggled, this, [this](bool on) {
    if (on != editor_->preferences().settings().draw_grid) editor_->preferences().SetDrawGrid(on);
  });
  connect(cb_orto_, &QCheckBox::toggled, this,
          [this](bool on) { editor_->preferences().SetOrtho(on); });
  const auto snap = [this](QCheckBox* box, Snap which) {
    connect(box, &QCheckBox::toggled, this,
            [this, which](bool on) { editor_->preferences().SetSnap(which, on); });
  };
  snap(cb_koniec_, Snap::kEnd);
  snap(cb_srodek_, Snap::kMiddle);
  snap(cb_przeciecie_, Snap::kIntersection);
  snap(cb_centrum_, Snap::kCentre);
  snap(cb_prosto_, Snap::kPerpendicular);
  snap(cb_styczny, Snap::kTangent);
  snap(cb_najblizszy, Snap::kNearest);
  snap(cb_kwadrant, Snap::kQuadrant);
  connect(cb_punkt_bazowy_, &QCheckBox::toggled, this,
          [this](bool on) { editor_->preferences().SetBasePoint(on); });
  // Typed text takes effect as it is typed; a choice from the list sends the focus back to the
  // command line, where the next command is typed.
  connect(cb_siatka_krok_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->preferences().SetGridStepText(S(text)); });
  connect(cb_siatka_krok_, &QComboBox::activated, this,
          [this] { command_area_->entry().setFocus(); });
  connect(cb_siatka_rozmiar_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { editor_->preferences().SetGridSizeText(S(text)); });
  connect(cb_siatka_rozmiar_, &QComboBox::activated, this,
          [this] { command_area_->entry().setFocus(); });
  // Text sizes and the thickness are checked when the entry is done, not at every key: "1," is on
  // its way to "1,5" and no reason for an error box.
  const auto text_size = [this](QComboBox* combo, bool (Preferences::*set)(std::string_view),
                                const std::string Settings::*text) {
    const auto apply = [this, combo, set, text] {
      if (S(combo->currentText()) == editor_->preferences().settings().*text) return;
      if (!(editor_->preferences().*set)(S(combo->currentText()))) {
        combo->setCurrentText(Q(editor_->preferences().settings().*text));
      }
    };
    connect(combo, &QComboBox::activated, this, [this, apply] {
      apply();
      command_area_->entry().setFocus();
    });
    connect(combo->lineEdit(), &QLineEdit::editingFinished, this, apply);
  };
  text_size(cb_h_tekstu_, &Preferences::SetTextHeightText, &Settings::text_height_text);
  text_size(cb_s_tekstu_, &Preferences::SetTextWidthText, &Settings::text_width_text);
  text_size(cb_grubosci_, &Preferences::SetThicknessText, &Settings::thickness_text);
  cb_orto_->installEventFilter(this);
  return bar;
}

namespace {

// The switches of the settings bar kept from one run to the next: grid, ortho and the snaps.
constexpr const char* kRememberedSwitches[] = {
    "CB_Siatka",  "CB_Orto",   "CB_Koniec",  "CB_Srodek",     "CB_Przeciecie",
    "CB_Centrum", "CB_Prosto", "CB_Styczny", "CB_Najblizszy", "CB_Kwadrant"};

QString SwitchKey(const char* name) { return QString("przyciaganie/") + name; }

// The Widok menu's options.
constexpr const char* kRememberedOptions[] = {"M_ZoomPrzyKursorze", "M_DopasujPoWczytaniu"};

QString OptionKey(const char* name) { return QString("widok/") + name; }

}  // namespace

void TPodgladRysowanie::RestoreSwitches(const QSettings& settings) {
  // Set as a click sets them: the core follows through the boxes' own setters.
  for (const char* name : kRememberedSwitches) {
    auto* box = findChild<QCheckBox*>(name);
    box->setChecked(settings.value(SwitchKey(name), box->isChecked()).toBool());
  }
  for (const char* name : kRememberedOptions) {
    auto* option = findChild<QAction*>(name);
    option->setChecked(settings.value(OptionKey(name), option->isChecked()).toBool());
  }
}

void TPodgladRysowanie::SaveSwitches(QSettings& settings) const {
  for (const char* name : kRememberedSwitches) {
    settings.setValue(SwitchKey(name), findChild<QCheckBox*>(name)->isChecked());
  }
  for (const char* name : kRememberedOptions) {
    settings.setValue(OptionKey(name), findChild<QAction*>(name)->isChecked());
  }
}

}  // namespace blok
