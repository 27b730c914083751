#pragma once

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPrinter>
#include <QRadioButton>
#include <functional>

#include "editor/exports.h"

namespace blok {

class TPodgladRysowanie;

// The choice of blocks for the DXF export; a choice that has nothing is disabled.
class TEksportDXF : public QDialog {
  Q_OBJECT

 public:
  TEksportDXF(QWidget* parent, size_t selected, bool edited);
  DxfChoice choice() const;

 private:
  QRadioButton* selected_;
  QRadioButton* edited_;
  QRadioButton* library_;
};

// The catalogue's grid and title, with blk catalogue's defaults.
class TKatalogPDF : public QDialog {
  Q_OBJECT

 public:
  TKatalogPDF(QWidget* parent, const QString& title);
  QString columns() const { return columns_->text(); }
  QString rows() const { return rows_->text(); }
  QString title() const { return title_->text(); }

 private:
  QLineEdit* columns_;
  QLineEdit* rows_;
  QLineEdit* title_;
};

// Pliki's export items M_EksportujDXF, M_KatalogPDF and M_Drukuj, after "Importuj DXF…". The
// object is named "Eksporty", so that a test finds its seams.
class ExportItems : public QObject {
  Q_OBJECT

 public:
  // Shows the printer's preview and has the page painted into the printer.
  using Preview = std::function<void(QPrinter& printer, const std::function<void()>& paint)>;

  ExportItems(TPodgladRysowanie& window, QMenu& menu);
  // Enabled with the other library items.
  const QList<QAction*>& actions() const { return actions_; }
  // How long the work runs before "Postep" shows: a quick export shows no flash.
  void SetProgressDelay(int ms) { progress_delay_ms_ = ms; }
  void SetPreview(Preview preview) { preview_ = std::move(preview); }

 private:
  void EksportujDxf();
  void KatalogPdf();
  void Drukuj();

  TPodgladRysowanie& window_;
  QList<QAction*> actions_;
  int progress_delay_ms_ = 400;
  Preview preview_;
};

// Adds the items to the menu; their actions, for the window to enable.
QList<QAction*> AddExportItems(QMenu& menu, TPodgladRysowanie& window);

}  // namespace blok
