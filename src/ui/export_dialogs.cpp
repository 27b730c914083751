#include "ui/export_dialogs.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "ui/library_catalogue.h"
#include "ui/main_window.h"
#include "ui/print_block.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"

namespace blok {
namespace {

QDialogButtonBox* OkCancel(QDialog& dialog, const QString& ok) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("BOK");
  buttons->button(QDialogButtonBox::Ok)->setText(ok);
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("BAnuluj");
  buttons->button(QDialogButtonBox::Cancel)->setText("Anuluj");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

// "Postep" over the window while blocks or pages go out; its Anuluj stops the work.
class Progress {
 public:
  Progress(QWidget* window, const QString& text, int delay_ms)
      : shown_(ShowProgressOver(*window, S(text), delay_ms)) {}

  ExportProgress Callback() {
    return [this](int done, int total) { return shown_->Step(done, total, {}); };
  }

 private:
  std::unique_ptr<Ui::Progress> shown_;
};

}  // namespace

TEksportDXF::TEksportDXF(QWidget* parent, size_t selected, bool edited) : QDialog(parent) {
  setObjectName("EksportDXF");
  setWindowTitle("Eksportuj DXF");
  selected_ = new QRadioButton(QString("Zaznaczone bloki (%1)").arg(selected), this);
  selected_->setObjectName("RBZaznaczone");
  edited_ = new QRadioButton("Edytowany blok", this);
  edited_->setObjectName("RBEdytowany");
  library_ = new QRadioButton("Cała biblioteka", this);
  library_->setObjectName("RBBiblioteka");
  selected_->setEnabled(selected > 0);
  edited_->setEnabled(edited);
  (selected > 0 ? selected_ : edited ? edited_ : library_)->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  for (QRadioButton* button : {selected_, edited_, library_}) layout->addWidget(button);
  layout->addWidget(OkCancel(*this, "Dalej"));
}

DxfChoice TEksportDXF::choice() const {
  return selected_->isChecked() ? DxfChoice::kSelected
         : edited_->isChecked() ? DxfChoice::kEdited
                                : DxfChoice::kLibrary;
}

TKatalogPDF::TKatalogPDF(QWidget* parent, const QString& title) : QDialog(parent) {
  setObjectName("KatalogPDF");
  setWindowTitle("Katalog PDF");
  const CatalogueRequest defaults;
  columns_ = new QLineEdit(Q(defaults.columns), this);
  columns_->setObjectName("EKolumny");
  rows_ = new QLineEdit(Q(defaults.rows), this);
  rows_->setObjectName("EWiersze");
  title_ = new QLineEdit(title, this);
  title_->setObjectName("ETytul");
  auto* form = new QFormLayout;
  form->addRow(QString("Kolumny (1–%1):").arg(kMaxCatalogueColumns), columns_);
  form->addRow(QString("Wiersze (1–%1):").arg(kMaxCatalogueRows), rows_);
  form->addRow("Tytuł:", title_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(*this, "Dalej"));
}

ExportItems::ExportItems(TPodgladRysowanie& window, QMenu& menu)
    : QObject(&window), window_(window) {
  setObjectName("Eksporty");
  const auto item = [&](const char* name, const char* caption, void (ExportItems::*run)()) {
    auto* action = new QAction(caption, &window);
    action->setObjectName(name);
    menu.addAction(action);
    connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
    actions_ << action;
  };
  item("M_EksportujDXF", "Eksportuj DXF…", &ExportItems::EksportujDxf);
  item("M_KatalogPDF", "Katalog PDF…", &ExportItems::KatalogPdf);
  item("M_Drukuj", "Drukuj…", &ExportItems::Drukuj);
}

void ExportItems::EksportujDxf() {
  Editor& editor = window_.editor();
  Ui& ui = window_.qt_ui();
  const Library& library = editor.library();
  if (!library.open_file()) return ui.ShowMessage("Nie otwarto pliku z blokami.");
  TEksportDXF dialog(&window_, ExportedSelection(library.block_list()).size(),
                     editor.block().drawing().size() > 0);
  if (dialog.exec() != QDialog::Accepted) return;
  const auto file = ChooseExportFile(editor, ui, "Eksportuj DXF", "Rysunek DXF", "*.dxf", "dxf");
  if (!file) return;
  Progress progress(&window_, "Zapisywanie bloków do DXF…", progress_delay_ms_);
  ExportDxfFile(editor, ui, dialog.choice(), *file, progress.Callback());
}

void ExportItems::KatalogPdf() {
  Editor& editor = window_.editor();
  Ui& ui = window_.qt_ui();
  const Library& library = editor.library();
  if (!library.open_file()) return ui.ShowMessage("Nie otwarto pliku z blokami.");
  TKatalogPDF dialog(&window_, Q(library.open_file()->filename().string()));
  if (dialog.exec() != QDialog::Accepted) return;
  const auto file = ChooseExportFile(editor, ui, "Katalog PDF", "Dokument PDF", "*.pdf", "pdf");
  if (!file) return;
  Progress progress(&window_, "Rysowanie katalogu…", progress_delay_ms_);
  CatalogueRequest request;
  request.library = *library.open_file();
  request.output = *file;
  request.columns = S(dialog.columns());
  request.rows = S(dialog.rows());
  // Left empty, the title is the file's name, as blk catalogue gives it.
  if (!dialog.title().isEmpty()) request.title = S(dialog.title());
  request.progress = progress.Callback();
  ReportExport(editor, ui, MakeCatalogue(request, *editor.view().romans_font()),
               "Zapisano katalog " + file->filename().string() + ".");
}

void ExportItems::Drukuj() {
  Editor& editor = window_.editor();
  const EditedBlock& block = editor.block();
  if (block.drawing().size() == 0) {
    return window_.qt_ui().ShowMessage("Nie ma czego drukować: wczytaj blok albo narysuj go.");
  }
  TDrukowanie dialog(&window_);
  if (dialog.exec() != QDialog::Accepted) return;
  const PrintScale scale = dialog.scale().value_or(PrintScale{});
  const PrintedBlock printed{block.block_name(), block.unit(), block.drawing().records(),
                             S(QDate::currentDate().toString(Qt::ISODate))};
  const StrokeFont& font = *editor.view().romans_font();
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(Q(block.block_name()));
  const auto paint = [&] {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    PaintBlockPage(painter, printer.width(), printer.height(), PixelsPerMm(printer), printed, scale,
                   font);
  };
  if (preview_) return preview_(printer, paint);
  QPrintPreviewDialog preview(&printer, &window_);
  preview.setObjectName("PodgladWydruku");
  preview.setWindowTitle("Podgląd wydruku");
  connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter*) { paint(); });
  preview.exec();
}

QList<QAction*> AddExportItems(QMenu& menu, TPodgladRysowanie& window) {
  return (new ExportItems(window, menu))->actions();
}

}  // namespace blok
