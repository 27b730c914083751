#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/editor.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace blok {

// The command line below the drawing: the message pane RE_Polecenia, the prompt L_Polecenie
// with the command entry E_Polecenie, the relative-entry panel Panel_dxdy and the help label
// StaticText15. It turns keys and clicks into signals and decides nothing about them.
class CommandArea : public QWidget {
  Q_OBJECT

 public:
  explicit CommandArea(QWidget* parent = nullptr);
  ~CommandArea() override;

  QPlainTextEdit& messages() { return *re_polecenia_; }
  QLabel& prompt() { return *l_polecenie_; }
  QLineEdit& entry() { return *e_polecenie_; }
  QWidget& relative_panel() { return *panel_dxdy_; }
  // Up and Down in E_Polecenie walk it.
  void SetHistory(CommandHistory* history) { history_ = history; }
  // Tab in E_Polecenie replaces its text with what this gives for it, when it gives something.
  using Completer = std::function<std::optional<std::string>(std::string_view)>;
  void SetCompleter(Completer completer) { completer_ = std::move(completer); }

  // RE_Polecenia as the message pane changes: the newest message goes on top and the rest of
  // the pane stays as it is, or the pane is emptied.
  void MessagesChanged(const Messages& messages, MessageChange change);

 signals:
  // Enter in E_Polecenie, with the text it held; the field is empty by now.
  void commandEntered(const QString& text);
  // F1, F4, F8 or Esc in E_Polecenie, E_dx or E_dy.
  void keyPressed(Key key);
  // Enter in E_dx or E_dy, or B_Wprowadz_dxdy.
  void relativeEntered(const QString& dx, const QString& dy, bool polar);
  // StaticText15 sends its command text like a button.
  void controlCommand(const QString& text);
  void messagesDoubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildRelativePanel();
  void EnterRelative();
  // Up and Down through the history, Tab completing the text: whether the key was used.
  bool WalkOrComplete(const QKeyEvent& event);

  QPlainTextEdit* re_polecenia_ = nullptr;
  QLabel* l_polecenie_ = nullptr;
  QLineEdit* e_polecenie_ = nullptr;
  QWidget* panel_dxdy_ = nullptr;
  QLabel* l_dx_ = nullptr;
  QLineEdit* e_dx_ = nullptr;
  QLabel* l_dy_ = nullptr;
  QLineEdit* e_dy_ = nullptr;
  QCheckBox* cb_odl_kat_ = nullptr;
  QLabel* static_text15_ = nullptr;
  bool shows_lines_ = false;  // RE_Polecenia holds a message
  CommandHistory* history_ = nullptr;
  Completer completer_;
};

}  // namespace blok
