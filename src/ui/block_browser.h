#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "editor/block_browser.h"
#include "editor/editor.h"

namespace blok {

// The block list of the open file as a browser: the filter E_FiltrBlokow above the list
// LB_NazwaBlokuCzytaj, a small picture of each block beside its name, and a larger preview of
// the selected block beside the list. It shows what the Editor holds (Sync) and passes what the
// user does on as signals; the one thing it does itself is reading the file's blocks for the
// pictures, on a thread of its own, and handing them to the Editor.
class BlockBrowser : public QWidget {
  Q_OBJECT

 public:
  // The size of a picture in the list.
  static constexpr QSize kThumbnailSize{44, 32};
  static constexpr QSize kPreviewSize{240, 180};
  // Pictures kept at most; several screens of the list.
  static constexpr size_t kCachedPictures = 600;
  // A row whose block draws the same as another block holds true here: the list marks it
  // beside its picture, and its tooltip names the others.
  static constexpr int kTwinRole = Qt::UserRole + 2;

  // preview_parent: the widget the preview floats over (the main window).
  explicit BlockBrowser(QWidget* preview_parent, QWidget* parent = nullptr);
  ~BlockBrowser() override;

  QListWidget& list() { return *list_; }
  QLineEdit& filter() { return *filter_; }
  QFrame& preview() { return *preview_; }

  // The Editor it shows; before the first Sync.
  void Attach(Editor& editor) { editor_ = &editor; }
  // Shows the Editor's list, filter and selection; rebuilds the list only when it changed.
  void Sync();
  // What the library said changed: shown at the next turn of the event loop (or Sync).
  void LibraryChanged(LibraryChange change);
  // The preview goes (a block was loaded, the user went elsewhere: out of the list, to another
  // control, into the drawing).
  void HidePreview();
  // Whether pictures are still to be made for the rows on screen and near them.
  bool busy() const { return slice_timer_.isActive() || reading_; }

 signals:
  void filterEdited(const QString& text);
  // The row the user selected, or -1.
  void rowSelected(int row);
  // Every row selected, the current one among them or not, after rowSelected (the list lets
  // several rows be selected, for copying their blocks at once).
  void rowsSelected(const QList<int>& rows);
  // Double click on a row.
  void loadRequested();
  // Delete and F2 in the list: the selected block deleted, renamed.
  void deleteRequested();
  void renameRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StartReading();
  void ContentsRead(uint64_t revision, LibraryContents::ReadBlocks blocks);
  // Makes pictures for the rows on screen, then those near them, until a few milliseconds are
  // spent; comes back on a timer while some are left.
  void MakeSomePictures();
  void SchedulePictures();
  const LibraryContents::Entry* EntryOfRow(int row) const;
  // Marks the rows whose block has a twin, when the list or the twins changed since.
  void ShowTwins();
  void ShowPreview();

  Editor* editor_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QListWidget* list_ = nullptr;
  QFrame* preview_ = nullptr;
  QLabel* preview_picture_ = nullptr;
  QLabel* preview_text_ = nullptr;
  QTimer slice_timer_;
  PictureCache<QPixmap> cache_{kCachedPictures};
  QPixmap blank_;
  // Rows that hold a picture, so that one dropped from the cache leaves the row too.
  std::vector<int> pictured_rows_;
  bool preview_wanted_ = false;
  std::optional<uint64_t> preview_key_;  // of the drawing the preview shows

  // Told by the library, done at the next Sync; the first Sync shows the list as it is.
  bool names_changed_ = true;
  bool row_revealed_ = true;
  bool read_wanted_ = true;
  bool twins_changed_ = true;
  bool sync_posted_ = false;
  std::optional<uint64_t> read_revision_;
  bool reading_ = false;
  struct Reader {
    std::jthread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  std::vector<Reader> readers_;
};

}  // namespace blok
