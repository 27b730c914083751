#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "model/entity.h"
#include "support/test_dir.h"
#include "ui/main_window.h"
#include "ui/modal_dialogs.h"
#include "ui/paint_box.h"

namespace blok::testing {

// Pixels of one colour in an image.
inline int CountPixels(const QImage& image, Colour colour) {
  const QRgb wanted = qRgb(Red(colour), Green(colour), Blue(colour));
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) count += (row[x] & 0xFFFFFF) == (wanted & 0xFFFFFF);
  }
  return count;
}

// A program directory with the fonts the build makes and the sample library, and the window
// on it, shown.
inline std::unique_ptr<TPodgladRysowanie> ShownWindow(const TestDir& dir,
                                                      const std::filesystem::path& library) {
  const auto built = std::filesystem::path(BLOK_BIN_DIR);
  std::filesystem::create_directories(dir / "Dane");
  std::filesystem::create_directories(dir / "Bloki");
  for (const char* font : {"Romans100.Lzs", "Greeks100.Lzs"}) {
    std::filesystem::copy_file(built / "Dane" / font, dir / "Dane" / font);
  }
  std::filesystem::copy_file(std::filesystem::path(BLOK_SOURCE_DIR) / "data/Bloki/przyklad.blk",
                             library);
  auto window = std::make_unique<TPodgladRysowanie>(dir.path());
  window->resize(1000, 700);
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  return window;
}

// The main window as a user meets it: built on a program directory of its own, with the
// fonts and the sample library, shown, driven through its controls (found by their object
// names), its modal dialogs answered by `dialogs`.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : window_(ShownWindow(dir_, library_)) {}

  template <typename T>
  T* Find(const char* name) {
    T* found = window_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  QString Pane() { return Find<QPlainTextEdit>("RE_Polecenia")->toPlainText(); }
  QStringList Messages() { return Pane().split('\n', Qt::SkipEmptyParts); }

  void OpenLibrary() {
    dialogs_.Expect(ModalDialogs::ChooseFile(library_));
    Click("B_OtworzPlik");
  }

  void LoadBlock(const QString& name) {
    auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    list->setCurrentItem(items.front());
    Click("B_WczytajBlok");
  }

  // The image once the paint box has painted what is due.
  const QImage& Image() {
    window_->podglad().repaint();
    return window_->podglad().image();
  }

  // Typed into E_Polecenie and entered; clicks and the screen of Podglad at world points.
  void Type(const QString& text) {
    auto* entry = Find<QLineEdit>("E_Polecenie");
    entry->setText(text);
    QTest::keyClick(entry, Qt::Key_Return);
  }
  QPoint Pixel(double x, double y) {
    const ViewTransform& view = window_->editor().view().transform();
    return {view.WorldToScreenX(x), view.WorldToScreenY(y)};
  }
  void ClickAt(double x, double y) {
    QTest::mouseMove(&window_->podglad(), Pixel(x, y));
    QTest::mouseClick(&window_->podglad(), Qt::LeftButton, {}, Pixel(x, y));
  }
  // What the user sees on Podglad: the image with the overlay over it.
  QImage Screen() {
    window_->podglad().repaint();
    return window_->podglad().grab().toImage();
  }

  // Must outlive the window: its last dialogs can come while the window closes.
  ModalDialogs dialogs_;
  TestDir dir_;
  std::filesystem::path library_ = dir_ / "Bloki" / "przyklad.blk";
  std::unique_ptr<TPodgladRysowanie> window_;
};

}  // namespace blok::testing
