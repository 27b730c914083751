#include "ui/qt_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/block_picture.h"
#include "ui/dialogs.h"
#include "ui/entity_dialogs.h"
#include "ui/paint_box.h"
#include "ui/qt_text.h"

namespace blok {
namespace {

// "Pliki bloków|*.blk|..." in Qt's form: "Pliki bloków (*.blk);;...".
QString QtFilter(const FileDialog& dialog) {
  QStringList parts;
  for (const auto& f : dialog.filters) parts << Q(f.name) + " (" + Q(f.pattern) + ")";
  return parts.join(";;");
}

std::optional<std::filesystem::path> Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(S(dialog.selectedFiles().front()));
}

}  // namespace

QtUi::QtUi(const QtUiParts& parts)
    : parts_(parts),
      // The hot spot is the middle of the pick box.
      pick_cursor_(QIcon(":/icons/wskazanie.svg").pixmap(32, 32), 16, 16),
      line_dialog_(new TLinieEdycja(ChooseColourDialog, &parts_.window)),
      circle_dialog_(new TOkragEdycja(ChooseColourDialog, &parts_.window)),
      text_dialog_(new TTekstyEdycja(ChooseColourDialog, &parts_.window)),
      properties_dialog_(new TEdycjaCech(ChooseColourDialog, &parts_.window)) {}

Answer QtUi::Ask(const Question& question) { return parts_.question_dialog.Ask(question); }

void QtUi::ShowMessage(std::string_view text) {
  QMessageBox::information(parts_.window.isVisible() ? &parts_.window : nullptr, "blokedit",
                           Q(text));
}

std::optional<std::filesystem::path> QtUi::OpenFileDialog(const FileDialog& d) {
  QFileDialog dialog(&parts_.window, Q(d.title), Q(d.initial_directory.string()), QtFilter(d));
  dialog.setObjectName("OpenDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(Q(d.default_extension));
  return Chosen(dialog);
}

std::optional<std::filesystem::path> QtUi::SaveFileDialog(const FileDialog& d) {
  QFileDialog dialog(&parts_.window, Q(d.title), Q(d.initial_directory.string()), QtFilter(d));
  dialog.setObjectName("SaveDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // An existing file is opened, not overwritten: no question about replacing it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(Q(d.default_extension));
  return Chosen(dialog);
}

std::vector<std::filesystem::path> QtUi::OpenFilesDialog(const FileDialog& d) {
  QFileDialog dialog(&parts_.window, Q(d.title), Q(d.initial_directory.string()), QtFilter(d));
  dialog.setObjectName("OpenDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  std::vector<std::filesystem::path> files;
  if (dialog.exec() != QDialog::Accepted) return files;
  for (const QString& file : dialog.selectedFiles()) files.emplace_back(S(file));
  return files;
}

std::optional<std::filesystem::path> QtUi::ChooseFolder(const FileDialog& d) {
  QFileDialog dialog(&parts_.window, Q(d.title), Q(d.initial_directory.string()));
  dialog.setObjectName("WyborFolderu");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return Chosen(dialog);
}

namespace {

// "Postep" over the window, the item at work under its text; its Anuluj asks the work to stop.
class ProgressDialog : public Ui::Progress {
 public:
  ProgressDialog(QWidget& window, std::string_view text, int delay_ms)
      : text_(Q(text)), dialog_(text_, "Anuluj", 0, 1, &window) {
    dialog_.setObjectName("Postep");
    dialog_.setWindowTitle("Postęp");
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setAutoReset(false);
    dialog_.setMinimumDuration(delay_ms);
    dialog_.setValue(0);
    if (delay_ms == 0) dialog_.show();
  }

  bool Step(size_t index, size_t count, std::string_view item) override {
    if (!item.empty()) dialog_.setLabelText(text_ + "\n" + Q(item));
    dialog_.setMaximum(static_cast<int>(count));
    dialog_.setValue(static_cast<int>(index));  // a modal dialog takes its events here
    return !dialog_.wasCanceled();
  }

 private:
  QString text_;
  QProgressDialog dialog_;
};

}  // namespace

std::unique_ptr<Ui::Progress> ShowProgressOver(QWidget& window, std::string_view text,
                                               int delay_ms) {
  return std::make_unique<ProgressDialog>(window, text, delay_ms);
}

std::unique_ptr<Ui::Progress> QtUi::ShowProgress(std::string_view text) {
  return ShowProgressOver(parts_.window, text, progress_delay_ms_);
}

std::optional<std::string> QtUi::AskText(std::string_view title, std::string_view label,
                                         std::string_view initial) {
  QInputDialog dialog(&parts_.window);
  dialog.setObjectName("PytanieTekst");
  dialog.setWindowTitle(Q(title));
  dialog.setLabelText(Q(label));
  dialog.setTextValue(Q(initial));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return S(dialog.textValue());
}

namespace {

// The blocks of a DXF drawing with their pictures: ticked to import, or one chosen to insert
// (replace is then nullptr).
bool OfferDxfBlocks(QWidget& window, const StrokeFont* font, std::vector<Ui::OfferedBlock>& blocks,
                    bool* replace) {
  const bool importing = replace != nullptr;
  QDialog dialog(&window);
  dialog.setObjectName("ImportDXF");
  dialog.setWindowTitle(importing ? "Importuj DXF" : "Wstaw z DXF");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(
      importing ? "Bloki do zapisania w bibliotece:" : "Blok do wstawienia do rysowanego bloku:",
      &dialog));
  auto* list = new QListWidget(&dialog);
  list->setObjectName("LB_BlokiDXF");
  list->setIconSize(QSize(88, 64));
  for (const Ui::OfferedBlock& block : blocks) {
    QString caption = Q(block.name);
    if (block.exists) caption += "  (już jest w bibliotece)";
    auto* item = new QListWidgetItem(caption, list);
    if (font != nullptr) {
      item->setIcon(QPixmap::fromImage(
          BlockPicture(block.lines, *font, QSize(88, 64), dialog.devicePixelRatioF())));
    }
    if (importing) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(block.take ? Qt::Checked : Qt::Unchecked);
    } else {
      item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
  }
  if (!importing) list->setCurrentRow(0);  // the drawing itself, as a DXF without blocks is
  layout->addWidget(list, 1);
  QCheckBox* replace_box = nullptr;
  if (importing) {
    replace_box = new QCheckBox("Zastąp bloki, które już są w bibliotece", &dialog);
    replace_box->setObjectName("CB_Zastap");
    replace_box->setChecked(*replace);
    layout->addWidget(replace_box);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(importing ? "Importuj" : "Wstaw");
  buttons->button(QDialogButtonBox::Cancel)->setText("Anuluj");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (!importing) {
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  }
  layout->addWidget(buttons);
  dialog.resize(420, 480);
  if (dialog.exec() != QDialog::Accepted) return false;
  for (int i = 0; i < list->count(); ++i) {
    blocks[static_cast<size_t>(i)].take =
        importing ? list->item(i)->checkState() == Qt::Checked : i == list->currentRow();
  }
  if (importing) *replace = replace_box->isChecked();
  return true;
}

}  // namespace

bool QtUi::ChooseBlocks(std::vector<OfferedBlock>& blocks, bool& replace) {
  return OfferDxfBlocks(parts_.window, picture_font_, blocks, &replace);
}

std::optional<size_t> QtUi::ChooseBlockToInsert(const std::vector<OfferedBlock>& blocks) {
  std::vector<OfferedBlock> chosen = blocks;
  if (!OfferDxfBlocks(parts_.window, picture_font_, chosen, nullptr)) return std::nullopt;
  const auto row = std::ranges::find_if(chosen, &OfferedBlock::take);
  if (row == chosen.end()) return std::nullopt;
  return static_cast<size_t>(row - chosen.begin());
}

std::optional<Colour> QtUi::ChooseColour(Colour initial) {
  return ChooseColourDialog(&parts_.window, initial);
}

void QtUi::ShowText(const std::vector<std::string>& lines) { parts_.viewer.ShowLines(lines); }

bool QtUi::OpenWithShell(const std::filesystem::path& file) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(file.string())));
}

void QtUi::CopyToClipboard(std::string_view text) { QApplication::clipboard()->setText(Q(text)); }

void QtUi::PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) {
  auto* data = new QMimeData;
  data->setText(Q(plain_text));
  data->setData(Q(kEntitiesMimeType),
                QByteArray(entities.data(), static_cast<qsizetype>(entities.size())));
  QApplication::clipboard()->setMimeData(data);
}

ClipboardContents QtUi::ReadClipboard() { return SystemClipboard(); }

ClipboardContents SystemClipboard() {
  ClipboardContents contents;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr) return contents;
  if (data->hasFormat(Q(kEntitiesMimeType))) {
    contents.entities = data->data(Q(kEntitiesMimeType)).toStdString();
  }
  contents.text = S(data->text());
  return contents;
}

void QtUi::Redraw() {
  // The frame itself is drawn when the paint box next paints: requests until then make one.
  parts_.podglad.update();
}

void QtUi::SetCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::kCross:
      parts_.podglad.setCursor(Qt::CrossCursor);
      break;
    case CursorShape::kDrag:
      parts_.podglad.setCursor(Qt::SizeAllCursor);
      break;
    case CursorShape::kHand:
      parts_.podglad.setCursor(Qt::ClosedHandCursor);
      break;
    case CursorShape::kPick:
      parts_.podglad.setCursor(pick_cursor_);
      break;
  }
}

void QtUi::SetPrompt(std::string_view caption) { parts_.l_polecenie.setText(Q(caption)); }

void QtUi::FocusCommandEntry() {
  // Not from a field the user is typing into: a grid step typed digit by digit redraws at
  // every key.
  QWidget* focus = QApplication::focusWidget();
  const auto* combo = qobject_cast<QComboBox*>(focus);
  // Nor from the block's rows, walked with the arrow keys.
  const bool typing =
      (focus != &parts_.e_polecenie && qobject_cast<QLineEdit*>(focus) != nullptr) ||
      (combo != nullptr && combo->isEditable()) ||
      (focus != nullptr && focus->objectName() == "Polecenia");
  if (parts_.window.isVisible() && !typing) parts_.e_polecenie.setFocus();
}

void QtUi::ShowRelativePanel(bool visible) {
  // Hiding the field that has the focus would hand it to the next widget in the tab order, the
  // grid step: the next command typed would land there.
  if (!visible && parts_.panel_dxdy.isAncestorOf(QApplication::focusWidget())) {
    parts_.e_polecenie.setFocus();
  }
  parts_.panel_dxdy.setVisible(visible);
}

void QtUi::SetStatusText(std::string_view text) { parts_.status_xy.setText(Q(text)); }

bool QtUi::EditLine(LineDialogModel& model) { return line_dialog_->Edit(model); }

bool QtUi::EditCircle(CircleDialogModel& model) { return circle_dialog_->Edit(model); }

bool QtUi::EditText(TextDialogModel& model) { return text_dialog_->Edit(model); }

bool QtUi::ChangeProperties(PropertiesDialogModel& model) {
  return properties_dialog_->Edit(model);
}

}  // namespace blok
