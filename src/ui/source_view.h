#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "editor/editor.h"

namespace blok {

// The block's lines as rows, read from the Editor's drawing where they stand: nothing is
// copied, so ten thousand lines cost what the rows on screen cost. Row 0 is a blank row for a
// new line; row i + 1 is line i. Edits go to the Editor, which changes the drawing through the
// journal.
class SourceModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit SourceModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  void Attach(Editor& editor) { editor_ = &editor; }
  // The rows follow the drawing; only what changed since the last call is signalled.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // An edit changed the drawing: the window shows the rest of the Editor's state.
  void drawingEdited();

 private:
  Editor* editor_ = nullptr;
  int rows_ = 1;
  uint64_t revision_ = UINT64_MAX;
  bool checked_ = false;
};

// The source view beside the drawing: B_SprawdzSkladnia above the rows of Polecenia. Choosing
// a row highlights its entity; an entity the drawing highlights or picks selects its row.
class SourceView : public QWidget {
  Q_OBJECT

 public:
  explicit SourceView(QWidget* parent = nullptr);

  void Attach(Editor& editor);
  QPushButton& check_button() { return *check_; }
  QListView& rows() { return *rows_; }
  SourceModel& model() { return *model_; }

  // Shows the Editor's drawing; nothing when it is hidden or nothing changed. Cheap enough for
  // every mouse move.
  void Sync();

 signals:
  // The user asked for something that changed the Editor.
  void edited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RowChosen(const QModelIndex& index);

  Editor* editor_ = nullptr;
  QPushButton* check_ = nullptr;
  QListView* rows_ = nullptr;
  SourceModel* model_ = nullptr;
  bool pointed_ = false;    // the drawing pointed at another entity since the last Sync
  bool following_ = false;  // the row is being set from the drawing, not by the user
};

}  // namespace blok
