#include "ui/source_view.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "ui/qt_text.h"

namespace blok {

namespace {

// The check's colours: entity lines black, comments green, faulty lines red.
QColor StatusColour(LineStatus status) {
  switch (status) {
    case LineStatus::kEntity:
      return QColor(0x00, 0x00, 0x00);
    case LineStatus::kComment:
      return QColor(0x00, 0x80, 0x00);
    case LineStatus::kInvalid:
      break;
  }
  return QColor(0xFF, 0x00, 0x00);
}

// A row as the style draws an item: its panel, selection and focus by the style, its text laid
// out once. The style's own item lays the text out three times a paint (to size it, to elide it
// and to draw it), which was most of what showing and scrolling ten thousand rows cost.
class RowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = std::exchange(item.text, QString());
    const QWidget* widget = item.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // A row has no icon or check box: the style's item draws its panel alone, and the focus
    // frame on the current row. Asked for the panel alone, the style skips laying out the parts
    // a row does not have; the current row is drawn as the item whole.
    if ((item.state & QStyle::State_HasFocus) != 0) {
      style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    } else {
      style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
    }
    if (text.isEmpty()) return;
    // Where and in what colour the style writes an item's text: within its focus margins,
    // centred on the row, elided at the right.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect box = item.rect.adjusted(margin, 0, -margin, 0);
    const bool enabled = (item.state & QStyle::State_Enabled) != 0;
    const QPalette::ColorGroup group = !enabled ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) != 0
                                           ? QPalette::Normal
                                           : QPalette::Inactive;
    const QPalette::ColorRole role =
        (item.state & QStyle::State_Selected) != 0 ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, role));
    // A row no wider than its box even in the font's widest letters fits: it needs no eliding,
    // which would lay it out once more.
    const bool fits =
        text.size() * static_cast<qsizetype>(item.fontMetrics.maxWidth()) <= box.width();
    painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      fits ? text : item.fontMetrics.elidedText(text, Qt::ElideRight, box.width()));
    painter->restore();
  }
};

}  // namespace

void SourceModel::Refresh() {
  if (editor_ == nullptr) return;
  const Drawing& drawing = editor_->block().drawing();
  const int rows = static_cast<int>(drawing.size()) + 1;
  if (rows == rows_) {
    // The same rows: the view repaints what it shows of them.
    emit dataChanged(index(0), index(rows - 1));
    return;
  }
  // Rows come or go at the end, and those kept may read differently now: the view keeps its
  // place, current row and selection rather than starting again as after a reset.
  if (rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    rows_ = rows;
    endRemoveRows();
  }
  emit dataChanged(index(0), index(rows_ - 1));
}

int SourceModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant SourceModel::data(const QModelIndex& index, int role) const {
  if (editor_ == nullptr || !index.isValid() || index.row() >= rows_) return {};
  const int row = index.row();
  const Drawing& drawing = editor_->block().drawing();
  if (row > 0 && static_cast<size_t>(row - 1) >= drawing.size()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return row == 0 ? QStringLiteral("(nowa linia)") : Q(drawing[row - 1]);
    case Qt::EditRole:
      if (refused_ && refused_->first == row) return refused_->second;
      return row == 0 ? QString() : Q(drawing[row - 1]);
    case Qt::ForegroundRole:
      if (row == 0) return QBrush(Qt::gray);
      if (!editor_->block().syntax_checked()) return {};
      return QBrush(StatusColour(editor_->block().SourceLineStatus(row - 1)));
    case Qt::FontRole:
      if (row == 0) {
        QFont italic = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        italic.setItalic(true);
        return italic;
      }
      return {};
    case Qt::ToolTipRole:
      return row == 0 ? QStringLiteral("Wpisz nową linię i naciśnij Enter")
                      : QStringLiteral("Linia %1").arg(row);
    default:
      return {};
  }
}

Qt::ItemFlags SourceModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool SourceModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (editor_ == nullptr || role != Qt::EditRole || !index.isValid()) return false;
  const std::string text = S(value.toString());
  refused_.reset();
  const int row = index.row();
  const Drawing& drawing = editor_->block().drawing();
  const bool blank = text.find_first_not_of(" \t") == std::string::npos;
  // Nothing to do is no refusal: an unchanged row, or a blank new one.
  const bool asked = row == 0 ? !blank
                              : static_cast<size_t>(row - 1) < drawing.size() &&
                                    text != drawing[static_cast<size_t>(row - 1)];
  // The rows follow at the next turn of the event loop, once the editor of this row has
  // closed: a row may come or go.
  const bool done = row == 0 ? editor_->block().AddSourceLine(text)
                             : editor_->block().EditSourceLine(static_cast<size_t>(row - 1), text);
  if (!done && asked && editor_->block().tools_enabled()) {
    refused_.emplace(row, value.toString());
    emit refused(index);
  }
  return done;
}

SourceView::SourceView(QWidget* parent) : QWidget(parent) {
  setObjectName("PanelZrodlo");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  check_ = new QPushButton("Sprawdz składnię", this);
  check_->setObjectName("B_SprawdzSkladnia");
  layout->addWidget(check_);
  rows_ = new QListView(this);
  rows_->setObjectName("Polecenia");
  rows_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Every row is one line of text: the view lays out only what it shows.
  rows_->setUniformItemSizes(true);
  rows_->setItemDelegate(new RowDelegate(rows_));
  rows_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  rows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  model_ = new SourceModel(this);
  rows_->setModel(model_);
  layout->addWidget(rows_, 1);
  rows_->installEventFilter(this);
  connect(rows_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { RowChosen(current); });
  connect(rows_, &QListView::clicked, this, [this](const QModelIndex& index) { RowChosen(index); });
  // Once the refused row's editor has closed.
  connect(model_, &SourceModel::refused, this, [this](const QModelIndex& index) {
    QTimer::singleShot(0, this, [this, row = index.row()] {
      const QModelIndex again = model_->index(row);
      rows_->setCurrentIndex(again);
      rows_->edit(again);  // the editor reads the refused text as it opens
      model_->ForgetRefused();
    });
  });
}

bool SourceView::eventFilter(QObject* watched, QEvent* event) {
  // While a row is edited, the keys go to its line editor, not here.
  if (watched != rows_ ||
      (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)) {
    return false;
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Delete || key->modifiers() != Qt::NoModifier) return false;
  // Delete in the rows deletes the current line, not what the drawing's Delete would.
  event->accept();
  if (event->type() == QEvent::KeyPress) {
    const int row = rows_->currentIndex().row();
    if (row > 0 && editor_ != nullptr) {
      editor_->block().EditSourceLine(static_cast<size_t>(row - 1), "");
    }
  }
  return true;
}

void SourceView::Attach(Editor& editor) {
  editor_ = &editor;
  model_->Attach(editor);
}

void SourceView::BlockChanged(BlockChange change) {
  if (change == BlockChange::kLines) lines_changed_ = true;
  if (change == BlockChange::kPointed) pointed_ = true;
  // Never at once: a row's edit tells of its change while the row's editor is still open.
  if (!std::exchange(sync_posted_, true)) QTimer::singleShot(0, this, [this] { Sync(); });
}

void SourceView::RowChosen(const QModelIndex& index) {
  if (following_ || editor_ == nullptr || !index.isValid() || index.row() == 0) return;
  editor_->block().ShowSourceLine(static_cast<size_t>(index.row() - 1));
}

void SourceView::Sync() {
  sync_posted_ = false;
  if (editor_ == nullptr || isHidden()) return;
  if (std::exchange(lines_changed_, false)) {
    // Rows come or go at the end, so the user's place in them stays; a current row taken away
    // hands the current to its neighbour, which chooses no entity.
    following_ = true;
    model_->Refresh();
    following_ = false;
  }
  if (std::exchange(pointed_, false)) {
    if (const auto line = editor_->block().pointed_line();
        line && static_cast<int>(*line) + 1 < model_->rowCount()) {
      following_ = true;
      const QModelIndex row = model_->index(static_cast<int>(*line) + 1);
      rows_->setCurrentIndex(row);
      rows_->scrollTo(row);
      following_ = false;
    }
  }
}

}  // namespace blok
