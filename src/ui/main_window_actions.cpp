// The window's actions: the command tool bars and menus read from the command registry, the
// view and file items beside them.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QToolBar>

#include "interaction/commands/registry.h"
#include "ui/dialogs.h"
#include "ui/export_dialogs.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace blok {
namespace {

// Gives every item of the menu an accelerator letter of its own, at the start of a word where
// one is free, else at any free letter.
void AddAccelerators(QMenu& menu, QSet<QChar>& taken) {
  for (QAction* action : menu.actions()) {
    QString text = action->text();
    if (action->isSeparator() || text.isEmpty() || text.contains('&')) continue;
    const auto free = [&](qsizetype i) {
      return text[i].isLetterOrNumber() && !taken.contains(text[i].toLower());
    };
    qsizetype at = -1;
    for (qsizetype i = 0; i < text.size() && at < 0; ++i) {
      if ((i == 0 || text[i - 1] == ' ') && free(i)) at = i;
    }
    for (qsizetype i = 0; i < text.size() && at < 0; ++i) {
      if (free(i)) at = i;
    }
    if (at < 0) continue;
    taken.insert(text[at].toLower());
    action->setText(text.insert(at, '&'));
  }
}

void AddAccelerators(QMenu& menu) {
  QSet<QChar> taken;
  // Letters given by hand come first.
  for (QAction* action : menu.actions()) {
    const qsizetype at = action->text().indexOf('&');
    if (at >= 0 && at + 1 < action->text().size()) taken.insert(action->text()[at + 1].toLower());
  }
  AddAccelerators(menu, taken);
}

}  // namespace

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
  const auto make = [this](const char* name, const QString& title) {
    auto* bar = addToolBar(title);
    bar->setObjectName(name);
    bar->setIconSize(QSize(24, 24));
    return bar;
  };
  // The command buttons come from the command registry.
  const auto commands = [&](const char* name, const QString& title, ToolBar which) {
    QToolBar* bar = make(name, title);
    for (const CommandRow* row : ToolBarRows(which)) {
      const ToolButtonRow& b = row->button;
      QAction* action = Action(std::string(b.name).c_str(), Q(b.caption), Q(b.hint), Q(b.icon));
      SendsCommand(action, ControlText(*row));
      bar->addAction(action);
    }
    return bar;
  };
  toolbar_wstawianie_ = commands("ToolBarWstawianie", "Wstawianie", ToolBar::kInsert);
  toolbar_edycja_ = commands("ToolBarEdycja", "Edycja", ToolBar::kEdit);
  toolbar_opcje_ = make("ToolBarOpcje", "Opcje");
  for (const ToolButton& b : options) {
    toolbar_opcje_->addAction(Action(b.name, b.caption, b.hint, b.icon));
  }
  b_cofnij_ = findChild<QAction*>("BCofnij");
  b_przod_ = findChild<QAction*>("BPrzod");
}

void TPodgladRysowanie::SendsCommand(QAction* action, std::string command) {
  connect(action, &QAction::triggered, this,
          [this, command] { Run([&] { editor_->ControlCommand(command); }); });
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
  // The standard keys of a desktop program. The menu items carry them, so that they work
  // wherever the focus is and the menus show them.
  otworz->setShortcut(QKeySequence::Open);
  nowy_blok->setShortcut(QKeySequence::New);
  zapisz_blok->setShortcut(QKeySequence::Save);
  koniec->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  menu_pliki_->addAction(nowy);
  menu_pliki_->addAction(otworz);
  menu_pliki_->addSeparator();
  menu_pliki_->addAction(nowy_blok);
  menu_pliki_->addAction(zapisz_blok);
  menu_pliki_->addSeparator();
  // The library as a whole, on the block selected in the list.
  const auto library_item = [this](const char* name, const QString& caption, auto operation) {
    auto* action = Action(name, caption);
    menu_pliki_->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, operation] { Run([&] { (editor_->library().*operation)(); }); });
    tool_actions_ << action;
    return action;
  };
  library_item("M_UsunBlok", "Usuń blok…", &Library::UsunBlok);
  library_item("M_ZmienNazweBloku", "Zmień nazwę bloku…", &Library::ZmienNazweBloku);
  library_item("M_DuplikujBlok", "Duplikuj blok…", &Library::DuplikujBlok);
  library_item("M_KopiujDoBiblioteki", "Kopiuj do biblioteki…", &Library::KopiujDoBiblioteki);
  library_item("M_Duplikaty", "Duplikaty", &Library::PokazDuplikaty);
  library_item("M_ImportujDXF", "Importuj DXF…", &Library::ImportujDxf);
  library_item("M_ImportujFolderDXF", "Importuj folder DXF…", &Library::ImportujFolderDxf);
  tool_actions_ << AddExportItems(*menu_pliki_, *this);
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
      const auto& entries = editor_->preferences().recent_files().entries();
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
          [this] { Run([&] { editor_->library().ZapiszBlokZPytaniem(); }); });
  connect(o_programie, &QAction::triggered, this, [this] {
    if (about_box_ != nullptr) about_box_->exec();
  });
  // Closing goes through the close query like the window's own close button.
  connect(koniec, &QAction::triggered, this, &QWidget::close);

  auto* wstaw = menuBar()->addMenu("Wstaw");
  wstaw->setObjectName("Wstaw1");
  auto* wstaw_dxf = Action("M_WstawDXF", "Wstaw z DXF…");
  connect(wstaw_dxf, &QAction::triggered, this,
          [this] { Run([&] { editor_->library().WstawZDxf(); }); });
  auto* modyfikuj = menuBar()->addMenu("Modyfikuj");
  modyfikuj->setObjectName("Modyfikuj1");
  auto* cofnij = Action("M_Cofnij", "Cofnij");
  auto* naprzod = Action("M_Naprzod", "Naprzód");
  cofnij->setShortcut(QKeySequence::Undo);
  naprzod->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  modyfikuj->addAction(cofnij);
  modyfikuj->addAction(naprzod);
  m_zrodlo_ = Action("M_Zrodlo", "Źródło bloku");
  m_zrodlo_->setCheckable(true);
  m_zrodlo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  modyfikuj->addAction(m_zrodlo_);
  connect(m_zrodlo_, &QAction::toggled, this, [this](bool on) { ShowSource(on); });
  modyfikuj->addSeparator();
  connect(cofnij, &QAction::triggered, this,
          [this] { Run([&] { editor_->block().BCofnijClick(); }); });
  connect(naprzod, &QAction::triggered, this,
          [this] { Run([&] { editor_->block().BPrzodClick(); }); });
  m_cofnij_ = cofnij;
  m_naprzod_ = naprzod;
  // Delete starts the delete command, and ends its selection when it runs.
  auto* usun = Action("A_Usun", "Usuń");
  usun->setShortcut(QKeySequence(Qt::Key_Delete));
  addAction(usun);
  connect(usun, &QAction::triggered, this, [this] { Run([&] { editor_->DeleteKey(); }); });
  // The command items come from the command registry.
  for (auto [menu, which] :
       {std::pair{wstaw, Menu::kInsert}, std::pair{modyfikuj, Menu::kModify}}) {
    for (const CommandRow* row : MenuRows(which)) {
      QAction* action = Action(std::string(row->menu.name).c_str(), Q(row->menu.caption));
      if (!row->menu.shortcut.empty()) {
        action->setShortcut(QKeySequence(Q(row->menu.shortcut), QKeySequence::PortableText));
      }
      SendsCommand(action, ControlText(*row));
      menu->addAction(action);
      tool_actions_ << action;
    }
  }
  wstaw->addSeparator();
  wstaw->addAction(wstaw_dxf);
  tool_actions_ << zapisz_blok << nowy_blok << usun << wstaw_dxf;
  for (QAction* action : toolbar_edycja_->actions()) tool_actions_ << action;
  for (QAction* action : toolbar_wstawianie_->actions()) tool_actions_ << action;

  menu_zoom_ = new QMenu(this);
  menu_zoom_->setObjectName("MenuZoom");
  const auto zoom_item = [this](const char* name, const QString& caption, auto operation) {
    auto* action = Action(name, caption);
    menu_zoom_->addAction(action);
    connect(action, &QAction::triggered, this, operation);
  };
  zoom_item("Powieksz1", "Powiększ", [this] { editor_->view().ZoomIn(); });
  zoom_item("Pomniejsz1", "Pomniejsz", [this] { editor_->view().ZoomOut(); });
  zoom_item("Wszystko1", "Wszystko", [this] { findChild<QAction*>("BWszystko")->trigger(); });
  zoom_item("Okno1", "Okno", [this] { findChild<QAction*>("BOkno")->trigger(); });
  zoom_item("Przesun1", "Przesuń", [this] { findChild<QAction*>("BPan")->trigger(); });
  menu_zoom_->addSeparator();
  zoom_item("Rezygnuj1", "Rezygnuj", [this] { Run([&] { editor_->Rezygnuj(); }); });
  findChild<QAction*>("Powieksz1")->setShortcut(QKeySequence::ZoomIn);
  findChild<QAction*>("Pomniejsz1")->setShortcut(QKeySequence::ZoomOut);

  // The view's menu: the zoom items of the paint box's own menu, and how the view follows.
  auto* widok = menuBar()->addMenu("Wi&dok");
  widok->setObjectName("Widok1");
  for (const char* name : {"Powieksz1", "Pomniejsz1", "Wszystko1", "Okno1", "Przesun1"}) {
    widok->addAction(findChild<QAction*>(name));
  }
  widok->addSeparator();
  const auto option = [this, widok](const char* name, const QString& caption,
                                    bool ViewOptions::*on) {
    auto* action = Action(name, caption);
    action->setCheckable(true);
    widok->addAction(action);
    connect(action, &QAction::toggled, this,
            [this, on](bool checked) { editor_->view().options().*on = checked; });
  };
  option("M_ZoomPrzyKursorze", "Powiększaj przy kursorze", &ViewOptions::zoom_at_cursor);
  option("M_DopasujPoWczytaniu", "Dopasuj widok po wczytaniu", &ViewOptions::fit_after_load);

  menu_pliki_->setTitle("&Pliki");
  wstaw->setTitle("&Wstaw");
  modyfikuj->setTitle("&Modyfikuj");
  for (QMenu* menu : {menu_pliki_, wstaw, modyfikuj, widok, menu_zoom_}) AddAccelerators(*menu);
}

}  // namespace blok
