#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "editor/ui.h"

namespace blok {

// `PytanieTakNieKasuj`: the question asked before work could be lost.
class TPytanieTakNieKasuj : public QDialog {
  Q_OBJECT

 public:
  explicit TPytanieTakNieKasuj(QWidget* parent = nullptr);
  // Shows the question modally, its safe answer focused and default; closing the dialog any
  // other way counts as "Kasuj".
  Answer Ask(const Question& question);

 private:
  QLabel* question_;
  QPushButton* tak_;
  QPushButton* nie_;
  QPushButton* kasuj_;
  Answer answer_ = Answer::kKasuj;
};

// `Opis`: shows lines of text, copies them or opens them in the desktop's text editor.
class TOpis : public QDialog {
  Q_OBJECT

 public:
  // copy and open do the work; open returns true when the viewer may close.
  TOpis(std::function<void(const std::vector<std::string>&)> copy,
        std::function<bool(const std::vector<std::string>&)> open, QWidget* parent = nullptr);
  void ShowLines(const std::vector<std::string>& lines);
  std::vector<std::string> Lines() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPlainTextEdit* text_;
  QCheckBox* close_after_copy_;
};

// `FormOprogramie`: version and a few words about the program.
class TFormOprogramie : public QDialog {
  Q_OBJECT

 public:
  explicit TFormOprogramie(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* version_;
  QLabel* date_;
};

}  // namespace blok
