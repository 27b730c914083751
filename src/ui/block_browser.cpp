#include "ui/block_browser.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "ui/block_drag.h"
#include "ui/block_picture.h"
#include "ui/qt_text.h"

namespace blok {
namespace {

// The drawing a row's picture shows: rows are compared with it to see whether they are current.
constexpr int kKeyRole = Qt::UserRole + 1;
// A slice of picture making takes about this long, so that typing and scrolling stay smooth.
constexpr qint64 kSliceMilliseconds = 8;
constexpr QColor kBlankColour{0xF4, 0xF4, 0xF4};
constexpr QColor kTwinColour{0xC0, 0x50, 0x00};

// Every row has room for its picture, made or not, so that names do not jump when it comes.
class ThumbnailDelegate : public QStyledItemDelegate {
 public:
  ThumbnailDelegate(const QPixmap& blank, QObject* parent)
      : QStyledItemDelegate(parent), blank_(blank) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(index.flags() & Qt::ItemIsEnabled)) return;  // a note, not a block: no picture
    if (option->icon.isNull()) option->icon = QIcon(blank_);
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = BlockBrowser::kThumbnailSize;
  }

  // A block with a twin: two small overlapping frames at the picture's lower right corner.
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (!index.data(BlockBrowser::kTwinRole).toBool()) return;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const QRect picture = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    constexpr int kSide = 7;
    const QRect back(picture.right() - kSide - 3, picture.bottom() - kSide - 3, kSide, kSide);
    const QRect front = back.translated(3, 3);
    painter->save();
    painter->setPen(QPen(kTwinColour, 1));
    painter->setBrush(Qt::white);
    painter->drawRect(back);
    painter->drawRect(front);
    painter->restore();
  }

  // As wide as the list, whatever the name: a long one loses its middle to an ellipsis (the
  // preview shows it whole) rather than pushing the list sideways.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {1, QStyledItemDelegate::sizeHint(option, index).height()};
  }

 private:
  const QPixmap& blank_;
};

// Rows drag out as their block's name, to be dropped on Podglad. Only ever copied: a list whose
// drag moved would take the row out of itself.
class DraggedRowsList : public QListWidget {
 public:
  // drag_started is told as a drag begins.
  DraggedRowsList(std::function<void()> drag_started, QWidget* parent)
      : QListWidget(parent), drag_started_(std::move(drag_started)) {}

 protected:
  QStringList mimeTypes() const override { return {kBlockMimeType, "text/plain"}; }
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
    // Of several rows selected, the one pressed (the current one) is the block dragged.
    const QListWidgetItem* item = items.contains(currentItem()) ? currentItem() : items.value(0);
    return item != nullptr ? BlockDragData(item->text()) : nullptr;
  }
  void startDrag(Qt::DropActions) override {
    drag_started_();
    QListWidget::startDrag(Qt::CopyAction);
  }

 private:
  std::function<void()> drag_started_;
};

}  // namespace

BlockBrowser::BlockBrowser(QWidget* preview_parent, QWidget* parent)
    : QWidget(parent), blank_(kThumbnailSize) {
  setObjectName("PanelListaBlokow");
  blank_.fill(kBlankColour);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  filter_ = new QLineEdit(this);
  filter_->setObjectName("E_FiltrBlokow");
  filter_->setPlaceholderText("Szukaj…");
  filter_->setClearButtonEnabled(true);
  filter_->installEventFilter(this);
  layout->addWidget(filter_);
  // The preview floats over the drawing, where the block is to be let go.
  list_ = new DraggedRowsList([this] { HidePreview(); }, this);
  list_->setObjectName("LB_NazwaBlokuCzytaj");
  // The view starts a drag only past the desktop's drag distance: a click stays a click.
  list_->setDragEnabled(true);
  list_->setDragDropMode(QAbstractItemView::DragOnly);
  list_->setDefaultDropAction(Qt::CopyAction);
  list_->setUniformItemSizes(true);
  list_->setIconSize(kThumbnailSize);
  // However small the window, a few blocks stay in sight.
  list_->setMinimumHeight(4 * (kThumbnailSize.height() + 2) + 2 * list_->frameWidth());
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setItemDelegate(new ThumbnailDelegate(blank_, list_));
  list_->installEventFilter(this);
  list_->viewport()->installEventFilter(this);
  layout->addWidget(list_, 1);

  preview_ = new QFrame(preview_parent);
  preview_->setObjectName("PodgladBloku");
  preview_->setFrameShape(QFrame::Box);
  preview_->setAutoFillBackground(true);
  preview_->setPalette(QPalette(QColor(0xFF, 0xFF, 0xE8)));
  auto* preview_layout = new QVBoxLayout(preview_);
  preview_layout->setContentsMargins(4, 4, 4, 4);
  preview_picture_ = new QLabel(preview_);
  preview_picture_->setFixedSize(kPreviewSize);
  preview_text_ = new QLabel(preview_);
  preview_layout->addWidget(preview_picture_);
  preview_layout->addWidget(preview_text_);
  preview_->hide();

  slice_timer_.setSingleShot(true);
  slice_timer_.setInterval(0);
  connect(&slice_timer_, &QTimer::timeout, this, [this] { MakeSomePictures(); });
  connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    SchedulePictures();
    if (preview_wanted_) ShowPreview();
  });
  connect(filter_, &QLineEdit::textEdited, this, [this](const QString& text) {
    HidePreview();
    emit filterEdited(text);
  });
  // The clear button changes the text without an edit.
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text.isEmpty() && editor_ != nullptr && !editor_->library().block_filter().text().empty()) {
      emit filterEdited(text);
    }
  });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    preview_wanted_ = row >= 0;
    emit rowSelected(row);
  });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    QList<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedIndexes()) {
      rows << index.row();
    }
    emit rowsSelected(rows);
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    HidePreview();
    emit loadRequested();
  });
}

BlockBrowser::~BlockBrowser() {
  // A read still running ends before the object it reports to goes.
  readers_.clear();
}

void BlockBrowser::Sync() {
  sync_posted_ = false;
  Editor& e = *editor_;
  if (e.library().open_file() && std::exchange(read_wanted_, false)) StartReading();
  if (S(filter_->text()) != e.library().block_filter().text()) {
    const QSignalBlocker block(filter_);
    filter_->setText(Q(e.library().block_filter().text()));
  }
  // A library may hold tens of thousands of blocks: the list is rebuilt only when it changed.
  const bool rebuilt = std::exchange(names_changed_, false);
  if (rebuilt) {
    QStringList names;
    names.reserve(static_cast<qsizetype>(e.library().block_rows().size()));
    for (const size_t entry : e.library().block_rows())
      names << Q(e.library().block_list().names()[entry]);
    const QSignalBlocker block(list_);
    list_->clear();
    list_->addItems(names);
    // A filter that lets nothing through says so, on a row that is no block: it cannot be
    // selected, so neither a double click nor Enter loads anything.
    if (names.isEmpty() && !e.library().block_filter().text().empty()) {
      const QString note = QString("Brak bloków pasujących do „%1”")
                               .arg(Q(e.library().block_filter().text()).trimmed());
      auto* item = new QListWidgetItem(note, list_);
      item->setFlags(Qt::NoItemFlags);
      item->setToolTip(note);
    }
    // A narrower list starts at its top (or at the selected row, below), not where the
    // longer one was scrolled to.
    list_->scrollToTop();
    pictured_rows_.clear();
    twins_changed_ = true;
    HidePreview();
  }
  ShowTwins();
  // A load or a save brings its row into view even when it was the current one already.
  const bool reveal = std::exchange(row_revealed_, false);
  const auto selected = e.library().selected_block_row();
  const int row = selected ? static_cast<int>(*selected) : -1;
  if (list_->currentRow() != row || rebuilt || reveal) {
    const QSignalBlocker block(list_);
    // The editor chose the row: it alone is selected, as the editor now has it.
    list_->clearSelection();
    list_->setCurrentRow(row);
    if (row >= 0) list_->scrollToItem(list_->item(row));
  }
  if (row < 0) preview_wanted_ = false;
  if (preview_wanted_) {
    ShowPreview();
  } else {
    HidePreview();
  }
  // A save may have given a listed block new lines: the rows on screen are checked again.
  SchedulePictures();
}

void BlockBrowser::LibraryChanged(LibraryChange change) {
  switch (change) {
    case LibraryChange::kFile:
      read_wanted_ = true;
      break;
    case LibraryChange::kNames:
      names_changed_ = true;
      break;
    case LibraryChange::kRow:
      row_revealed_ = true;
      break;
    case LibraryChange::kTwins:
      // Said when a save or this panel's own reading found them: both show them at once.
      twins_changed_ = true;
      return;
  }
  if (!std::exchange(sync_posted_, true)) QTimer::singleShot(0, this, [this] { Sync(); });
}

void BlockBrowser::StartReading() {
  read_revision_ = editor_->library().library_revision();
  reading_ = true;
  std::erase_if(readers_, [](const Reader& r) { return r.done->load(); });
  auto done = std::make_shared<std::atomic<bool>>(false);
  const std::filesystem::path open_file = *editor_->library().open_file();
  std::jthread thread([this, done, revision = *read_revision_, file = open_file] {
    auto blocks = WczytajWszystkieBloki(file);
    // A file that cannot be read gives no pictures; loading a block says why. The drawings
    // the twins are found by are made here too, off the window's thread.
    LibraryContents::ReadBlocks read(blocks ? std::move(*blocks) : std::vector<LoadedBlock>{});
    QMetaObject::invokeMethod(
        this,
        [this, revision, read = std::move(read)]() mutable {
          ContentsRead(revision, std::move(read));
        },
        Qt::QueuedConnection);
    done->store(true);
  });
  readers_.push_back({std::move(thread), std::move(done)});
}

void BlockBrowser::ContentsRead(uint64_t revision, LibraryContents::ReadBlocks blocks) {
  editor_->library().SetLibraryContents(revision, std::move(blocks));
  if (revision != editor_->library().library_revision()) return;
  ShowTwins();
  reading_ = false;
  if (preview_wanted_) ShowPreview();
  SchedulePictures();
}

void BlockBrowser::SchedulePictures() {
  if (!slice_timer_.isActive()) slice_timer_.start();
}

void BlockBrowser::ShowTwins() {
  if (!std::exchange(twins_changed_, false)) return;
  const LibraryContents& library = editor_->library().contents();
  const auto& rows = editor_->library().block_rows();
  const auto& names = editor_->library().block_list().names();
  for (int row = 0; row < list_->count() && static_cast<size_t>(row) < rows.size(); ++row) {
    const std::vector<std::string>& twins = library.TwinsOf(names[rows[row]]);
    QListWidgetItem* item = list_->item(row);
    if (twins.empty() && !item->data(kTwinRole).isValid()) continue;
    item->setData(kTwinRole, twins.empty() ? QVariant() : QVariant(true));
    item->setToolTip(Q(TwinNote(twins)));
  }
}

const LibraryContents::Entry* BlockBrowser::EntryOfRow(int row) const {
  const auto& rows = editor_->library().block_rows();
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) return nullptr;
  return editor_->library().contents().Find(editor_->library().block_list().names()[rows[row]]);
}

void BlockBrowser::MakeSomePictures() {
  if (!editor_->library().contents().loaded() || editor_->view().romans_font() == nullptr ||
      list_->count() == 0) {
    return;
  }
  const QModelIndex top = list_->indexAt(QPoint(1, 1));
  if (!top.isValid()) return;
  const QModelIndex bottom = list_->indexAt(QPoint(1, list_->viewport()->height() - 2));
  const int first = top.row();
  // Below the last row, or rows not laid out yet: as many as fit.
  const int row_height = std::max(1, list_->visualItemRect(list_->item(first)).height());
  const int last = bottom.isValid() ? bottom.row()
                                    : std::min(list_->count() - 1,
                                               first + list_->viewport()->height() / row_height);
  const size_t page = static_cast<size_t>(last - first + 1);
  QElapsedTimer clock;
  clock.start();
  bool dropped = false;
  bool done = true;
  for (const size_t r : PictureOrder(first, last, list_->count(), 2 * page)) {
    const int row = static_cast<int>(r);
    const LibraryContents::Entry* entry = EntryOfRow(row);
    if (entry == nullptr) continue;
    QListWidgetItem* item = list_->item(row);
    const QVariant shown = item->data(kKeyRole);
    if (shown.isValid() && shown.toULongLong() == entry->key) continue;
    const QPixmap* cached = cache_.Find(entry->key);
    if (cached == nullptr) {
      if (clock.elapsed() >= kSliceMilliseconds) {
        done = false;
        break;
      }
      const QImage image = BlockPicture(entry->block.lines, *editor_->view().romans_font(),
                                        kThumbnailSize, list_->devicePixelRatioF());
      dropped |= !cache_.Insert(entry->key, QPixmap::fromImage(image)).empty();
      cached = cache_.Find(entry->key);
    }
    item->setData(Qt::DecorationRole, *cached);
    item->setData(kKeyRole, QVariant::fromValue<qulonglong>(entry->key));
    pictured_rows_.push_back(row);
  }
  if (!done) SchedulePictures();
  if (!dropped) return;
  // Pictures the cache let go leave their rows, so that the list holds no more than the cache.
  std::erase_if(pictured_rows_, [this](int row) {
    QListWidgetItem* item = list_->item(row);
    if (item == nullptr) return true;
    if (cache_.Contains(item->data(kKeyRole).toULongLong())) return false;
    item->setData(Qt::DecorationRole, QVariant());
    item->setData(kKeyRole, QVariant());
    return true;
  });
}

void BlockBrowser::ShowPreview() {
  const int row = list_->currentRow();
  const LibraryContents::Entry* entry = EntryOfRow(row);
  if (entry == nullptr || editor_->view().romans_font() == nullptr) return preview_->hide();
  const QString text =
      QString("<b>%1</b><br>Jednostka: %2, obiektów: %3")
          .arg(Q(entry->block.name).toHtmlEscaped(), Q(entry->block.unit).toHtmlEscaped())
          .arg(EntityCount(entry->block.lines));
  // Every sync of the window comes here while a row is selected: draw only what changed.
  if (text != preview_text_->text() || preview_key_ != entry->key) {
    preview_picture_->setPixmap(
        QPixmap::fromImage(BlockPicture(entry->block.lines, *editor_->view().romans_font(),
                                        kPreviewSize, preview_picture_->devicePixelRatioF())));
    preview_text_->setText(text);
    preview_key_ = entry->key;
  }
  preview_->adjustSize();
  // Beside the list, level with the row, within the window.
  QWidget* over = preview_->parentWidget();
  const QRect row_rect = list_->visualItemRect(list_->item(row));
  // Scrolled out of sight: it comes back with its row.
  if (!list_->viewport()->rect().intersects(row_rect)) return preview_->hide();
  QPoint at = list_->viewport()->mapTo(over, row_rect.topLeft());
  at.setX(list_->mapTo(over, QPoint(list_->width() + 6, 0)).x());
  at.setY(std::clamp(at.y(), 0, std::max(0, over->height() - preview_->height())));
  preview_->move(at);
  preview_->raise();
  preview_->show();
}

void BlockBrowser::HidePreview() {
  preview_wanted_ = false;
  preview_->hide();
}

bool BlockBrowser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == filter_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !filter_->text().isEmpty()) {
    filter_->clear();  // textChanged passes it on
    return true;
  }
  if (watched == list_ &&
      (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool del = key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier;
    const bool f2 = key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier;
    if (del || f2) {
      // In the list these keys are the list's, not the window's (Delete starts u there).
      event->accept();
      if (event->type() == QEvent::KeyPress) emit del ? deleteRequested() : renameRequested();
      return true;
    }
  }
  // Left over the drawing, the preview would hide it while the user works there.
  if (watched == list_ && (event->type() == QEvent::FocusOut || event->type() == QEvent::Leave)) {
    HidePreview();
  }
  if (watched == list_->viewport() && event->type() == QEvent::Resize) SchedulePictures();
  return QWidget::eventFilter(watched, event);
}

}  // namespace blok
