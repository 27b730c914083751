#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

namespace blok::testing {

// Answers the real modal dialogs of the window, in the order a test expects them. While a
// dialog runs its own event loop a timer finds it as the active modal widget, notes what it
// shows and hands it to the next answer. A dialog nobody expected is rejected and fails the
// test, so a test never hangs on one; an expected dialog that never came fails it too.
class ModalDialogs {
 public:
  using Answer = std::function<void(QDialog& dialog)>;

  // What a dialog showed when it was answered.
  struct Shown {
    QString name;   // objectName
    QString title;  // windowTitle
    QString text;   // the question, message, viewer text, directory or colour
  };

  ModalDialogs() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  ~ModalDialogs() {
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " expected dialog(s) never shown";
  }

  ModalDialogs& Expect(Answer answer) {
    answers_.push_back(std::move(answer));
    return *this;
  }

  const std::vector<Shown>& shown() const { return shown_; }

  // --- Answers ---

  // A file dialog confirmed with this file.
  static Answer ChooseFile(const std::filesystem::path& file) {
    return [file](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      ASSERT_NE(files, nullptr) << "not a file dialog: " << Name(dialog);
      files->selectFile(QString::fromStdString(file.string()));
      dialog.accept();  // QFileDialog's own accept checks the name, as its Open button does
    };
  }

  // Clicks the push button of this objectName ("Button1" is "Tak" in the question dialog).
  static Answer Press(const char* button) {
    return [button](QDialog& dialog) {
      auto* found = dialog.findChild<QPushButton*>(button);
      ASSERT_NE(found, nullptr) << button << " in " << Name(dialog);
      found->click();
    };
  }

  static Answer ChooseColour(QColor colour) {
    return [colour](QDialog& dialog) {
      auto* colours = qobject_cast<QColorDialog*>(&dialog);
      ASSERT_NE(colours, nullptr) << "not a colour dialog: " << Name(dialog);
      colours->setCurrentColor(colour);
      colours->accept();
    };
  }

  static Answer Accept() {
    return [](QDialog& dialog) { dialog.accept(); };
  }

  static Answer Cancel() {
    return [](QDialog& dialog) { dialog.reject(); };
  }

 private:
  static std::string Name(const QDialog& dialog) {
    return (dialog.metaObject()->className() + QString(" ") + dialog.objectName()).toStdString();
  }

  static QString TextOf(QDialog& dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) return box->text();
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) return files->directory().absolutePath();
    if (auto* colours = qobject_cast<QColorDialog*>(&dialog)) return colours->currentColor().name();
    if (auto* question = dialog.findChild<QLabel*>("Pytanie")) return question->text();
    if (auto* text = dialog.findChild<QPlainTextEdit*>("Tekst")) return text->toPlainText();
    return {};
  }

  void Poll() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    shown_.push_back({dialog->objectName(), dialog->windowTitle(), TextOf(*dialog)});
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected dialog " << Name(*dialog) << ": "
                    << shown_.back().text.toStdString();
      dialog->reject();
      return;
    }
    const Answer answer = std::move(answers_.front());
    answers_.pop_front();
    answer(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the answer left " << Name(*dialog) << " open";
      dialog->reject();
    }
  }

  QTimer timer_;
  std::deque<Answer> answers_;
  std::vector<Shown> shown_;
};

}  // namespace blok::testing
