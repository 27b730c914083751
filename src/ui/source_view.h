#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>

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
  // The rows follow the drawing: the same count repaints them, another lays them out anew.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The refused text has been given to the row's editor again.
  void ForgetRefused() { refused_.reset(); }

 signals:
  // The row's text was refused (the message says why): its editor opens again with the text,
  // so that what was typed can be corrected.
  void refused(const QModelIndex& index);

 private:
  Editor* editor_ = nullptr;
  int rows_ = 1;
  std::optional<std::pair<int, QString>> refused_;
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

  // What the block said changed: shown at the next turn of the event loop (or Sync), so that
  // a command's many changes lay the rows out once.
  void BlockChanged(BlockChange change);
  // Shows what changed since the last call; nothing while hidden (kept for when it shows).
  void Sync();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RowChosen(const QModelIndex& index);

  Editor* editor_ = nullptr;
  QPushButton* check_ = nullptr;
  QListView* rows_ = nullptr;
  SourceModel* model_ = nullptr;
  bool lines_changed_ = true;  // the drawing's lines changed since the last Sync
  bool pointed_ = false;       // the drawing pointed at another entity since the last Sync
  bool sync_posted_ = false;
  bool following_ = false;  // the row is being set from the drawing, not by the user
};

}  // namespace blok
