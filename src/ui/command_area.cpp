#include "ui/command_area.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <optional>

#include "document/entity_clipboard.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"

namespace blok {
namespace {

std::optional<Key> CommandKeyOf(int qt_key) {
  switch (qt_key) {
    case Qt::Key_F1:
      return Key::kF1;
    case Qt::Key_F4:
      return Key::kF4;
    case Qt::Key_F8:
      return Key::kF8;
    case Qt::Key_Escape:
      return Key::kEscape;
    default:
      return std::nullopt;
  }
}

bool IsEnter(int qt_key) { return qt_key == Qt::Key_Return || qt_key == Qt::Key_Enter; }

// Keys an empty command line leaves to the window's shortcuts: its own undo has nothing worth
// taking back, and Delete there starts the delete command.
bool LeftToTheWindow(const QKeyEvent& key) {
  return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
         key.keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
         (key.key() == Qt::Key_Delete && key.modifiers() == Qt::NoModifier);
}

// Copy, cut and paste reach the drawing's clipboard commands, unless the line holds selected
// text: then they are the line's own, as in any text field. A paste also stays in the line when
// the clipboard holds no entities: a point or a name copied from elsewhere goes where it is
// typed, and the step waiting for it goes on.
bool ClipboardKey(const QKeyEvent& key) {
  if (key.matches(QKeySequence::Paste)) return !ReadLinesToPaste(SystemClipboard()).lines.empty();
  return key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Cut);
}

QLabel* Label(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* Field(const char* name, const QString& text, QWidget* parent) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(name);
  return field;
}

}  // namespace

CommandArea::CommandArea(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  re_polecenia_ = new QPlainTextEdit(this);
  re_polecenia_->setObjectName("RE_Polecenia");
  re_polecenia_->setReadOnly(true);
  // Messages only ever arrive: an undo history of them would grow for nothing.
  re_polecenia_->setUndoRedoEnabled(false);
  re_polecenia_->viewport()->installEventFilter(this);
  layout->addWidget(re_polecenia_, 1);

  auto* row = new QHBoxLayout;
  l_polecenie_ = Label("L_Polecenie", "Polecenie:", this);
  e_polecenie_ = Field("E_Polecenie", "", this);
  e_polecenie_->installEventFilter(this);
  static_text15_ = Label("StaticText15", "   Pomoc", this);
  static_text15_->setCursor(Qt::PointingHandCursor);
  static_text15_->installEventFilter(this);
  row->addWidget(l_polecenie_);
  row->addWidget(e_polecenie_, 1);
  row->addWidget(BuildRelativePanel());
  row->addWidget(static_text15_);
  layout->addLayout(row);
}

CommandArea::~CommandArea() {
  // Focus changes while the children go would still reach the filter.
  for (QObject* watched : {static_cast<QObject*>(e_polecenie_), static_cast<QObject*>(e_dx_),
                           static_cast<QObject*>(e_dy_), static_cast<QObject*>(static_text15_),
                           static_cast<QObject*>(re_polecenia_->viewport())}) {
    watched->removeEventFilter(this);
  }
}

QWidget* CommandArea::BuildRelativePanel() {
  panel_dxdy_ = new QWidget(this);
  panel_dxdy_->setObjectName("Panel_dxdy");
  auto* layout = new QHBoxLayout(panel_dxdy_);
  layout->setContentsMargins(0, 0, 0, 0);
  l_dx_ = Label("L_dx", "dx=", panel_dxdy_);
  e_dx_ = Field("E_dx", "0", panel_dxdy_);
  l_dy_ = Label("L_dy", "dy=", panel_dxdy_);
  e_dy_ = Field("E_dy", "0", panel_dxdy_);
  cb_odl_kat_ = new QCheckBox("odl - kąt", panel_dxdy_);
  cb_odl_kat_->setObjectName("CB_OdlKat");
  auto* enter = new QPushButton("Wprowadź", panel_dxdy_);
  enter->setObjectName("B_Wprowadz_dxdy");
  for (QLineEdit* field : {e_dx_, e_dy_}) {
    field->setFixedWidth(70);
    field->installEventFilter(this);
  }
  for (QWidget* w :
       std::initializer_list<QWidget*>{l_dx_, e_dx_, l_dy_, e_dy_, cb_odl_kat_, enter}) {
    layout->addWidget(w);
  }
  connect(cb_odl_kat_, &QCheckBox::toggled, this, [this](bool polar) {
    l_dx_->setText(polar ? "l=" : "dx=");
    l_dy_->setText(polar ? "kąt[st]=" : "dy=");
  });
  connect(enter, &QPushButton::clicked, this, &CommandArea::EnterRelative);
  // Shown once a command has its first point.
  panel_dxdy_->setVisible(false);
  return panel_dxdy_;
}

bool CommandArea::WalkOrComplete(const QKeyEvent& event) {
  const bool plain = event.modifiers() == Qt::NoModifier || event.modifiers() == Qt::KeypadModifier;
  if (!plain) return false;
  std::optional<std::string> text;
  switch (event.key()) {
    case Qt::Key_Up:
      if (history_ != nullptr) text = history_->Older(S(e_polecenie_->text()));
      break;
    case Qt::Key_Down:
      if (history_ != nullptr) text = history_->Newer();
      break;
    case Qt::Key_Tab:
      // An empty line lets Tab move on to the next control.
      if (e_polecenie_->text().isEmpty()) return false;
      if (completer_) text = completer_(S(e_polecenie_->text()));
      break;
    case Qt::Key_Escape:
      if (history_ != nullptr) history_->EndWalk();
      return false;
    default:
      return false;
  }
  if (text) e_polecenie_->setText(Q(*text));
  return true;
}

void CommandArea::EnterRelative() {
  emit relativeEntered(e_dx_->text(), e_dy_->text(), cb_odl_kat_->isChecked());
}

bool CommandArea::eventFilter(QObject* watched, QEvent* event) {
  const bool entry = watched == e_polecenie_;
  const bool relative = watched == e_dx_ || watched == e_dy_;
  if (entry && event->type() == QEvent::ShortcutOverride) {
    const auto& key = *static_cast<QKeyEvent*>(event);
    if ((e_polecenie_->text().isEmpty() && LeftToTheWindow(key)) ||
        (!e_polecenie_->hasSelectedText() && ClipboardKey(key))) {
      return true;  // not taken here: the window's shortcut goes off
    }
  }
  if (entry && event->type() == QEvent::KeyPress &&
      WalkOrComplete(*static_cast<QKeyEvent*>(event))) {
    return true;
  }
  if ((entry || relative) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (IsEnter(key)) {
      if (entry) {
        const QString text = e_polecenie_->text();
        e_polecenie_->clear();
        emit commandEntered(text);
      } else {
        EnterRelative();
      }
      return true;
    }
    if (const std::optional<Key> command_key = CommandKeyOf(key)) {
      emit keyPressed(*command_key);
      return true;
    }
  }
  if (watched == static_text15_ && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        static_text15_->rect().contains(mouse->position().toPoint())) {
      emit controlCommand("?");
    }
    return true;
  }
  if (watched == re_polecenia_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    emit messagesDoubleClicked();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void CommandArea::MessagesChanged(const Messages& messages, MessageChange change) {
  if (change == MessageChange::kCleared) {
    re_polecenia_->clear();
    shows_lines_ = false;
  } else {
    // The newest message goes on top; the rest of the pane stays as it is.
    QString text = Q(messages.lines().front());
    if (shows_lines_) text += '\n';
    QScrollBar* scroll = re_polecenia_->verticalScrollBar();
    const bool at_top = scroll->value() == scroll->minimum();
    QTextCursor cursor(re_polecenia_->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(text);
    if (at_top) scroll->setValue(scroll->minimum());
    shows_lines_ = true;
  }
}

}  // namespace blok
