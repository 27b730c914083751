// The library as a whole through the window: the menu items and the list's keys change the
// file as blk then reports it.
#include <gtest/gtest.h>

#include <QInputDialog>

#include "document/block_file.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;

class LibraryMenuTest : public testing::WindowTest {
 protected:
  QListWidget* List() { return Find<QListWidget>("LB_NazwaBlokuCzytaj"); }
  void Select(const QString& name) {
    const auto items = List()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    List()->setCurrentItem(items.front());
  }
  // How many records of the name the file holds.
  long Stored(const std::string& name) {
    const auto names = *CzytajListeBlokow(library_);
    return std::count(names.begin(), names.end(), name);
  }
  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < List()->count(); ++i) rows << List()->item(i)->text();
    return rows;
  }
  static ModalDialogs::Answer Enter(const QString& text) {
    return [text](QDialog& dialog) {
      auto* input = qobject_cast<QInputDialog*>(&dialog);
      ASSERT_NE(input, nullptr);
      input->setTextValue(text);
      input->accept();
    };
  }
};

TEST_F(LibraryMenuTest, DeleteRenameAndDuplicate) {
  OpenLibrary();
  Select("Hydrant");
  dialogs_.Expect(ModalDialogs::Press("Button1"));  // "Tak" to "Usunąć blok Hydrant?"
  Find<QAction>("M_UsunBlok")->trigger();
  EXPECT_EQ(Stored("Hydrant"), 0);
  EXPECT_FALSE(Rows().contains("Hydrant"));
  EXPECT_EQ(dialogs_.shown().back().text, "Usunąć blok Hydrant?");

  // F2 in the list renames, Delete there deletes (and does not start u).
  Select("Latarnia");
  dialogs_.Expect(Enter("Latarnia LED"));
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_F2);
  EXPECT_TRUE(Rows().contains("Latarnia LED"));
  EXPECT_EQ(Stored("Latarnia LED"), 1);
  EXPECT_EQ(List()->currentItem()->text(), "Latarnia LED");

  dialogs_.Expect(ModalDialogs::Press("Button2"));  // "Nie": nothing deleted
  QTest::keyClick(List(), Qt::Key_Delete);
  EXPECT_FALSE(window_->editor().machine().wskaz().usun);
  EXPECT_TRUE(Rows().contains("Latarnia LED"));

  Select("Drzewo");
  dialogs_.Expect(Enter("Drzewo liściaste"));
  Find<QAction>("M_DuplikujBlok")->trigger();
  EXPECT_TRUE(Rows().contains("Drzewo liściaste"));
  EXPECT_EQ(WczytajBlok(library_, "Drzewo liściaste").value()->lines,
            WczytajBlok(library_, "Drzewo").value()->lines);

  // The duplicate just made is the planted pair of the report.
  dialogs_.Expect(ModalDialogs::Accept());
  Find<QAction>("M_Duplikaty")->trigger();
  EXPECT_EQ(dialogs_.shown().back().text, "Ten sam rysunek: Drzewo | Drzewo liściaste");
}

TEST_F(LibraryMenuTest, CopyToAnotherLibrary) {
  OpenLibrary();
  const std::filesystem::path other = dir_ / "Bloki" / "inna.blk";
  ASSERT_TRUE(DopiszBlok(other, {.name = "Zasuwa", .unit = "m", .lines = {"O(0,0,1)"}}));
  Select("Znak STOP");
  dialogs_.Expect(ModalDialogs::ChooseFile(other));
  Find<QAction>("M_KopiujDoBiblioteki")->trigger();
  EXPECT_EQ(*CzytajListeBlokow(other), (std::vector<std::string>{"Zasuwa", "Znak STOP"}));
  EXPECT_EQ(WczytajBlok(other, "Znak STOP").value()->lines,
            WczytajBlok(library_, "Znak STOP").value()->lines);
}

// Two rows picked in the list with Ctrl: both blocks go to the other library, the one it has
// asked about by name.
TEST_F(LibraryMenuTest, CopiesTheBlocksOfSeveralSelectedRows) {
  OpenLibrary();
  const std::filesystem::path other = dir_ / "Bloki" / "inna.blk";
  ASSERT_TRUE(DopiszBlok(other, {.name = "Hydrant", .unit = "m", .lines = {"O(0,0,1)"}}));
  Select("Hydrant");
  const auto ctrl_click = [&](const QString& name) {
    const auto items = List()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    List()->scrollToItem(items.front());
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      List()->visualItemRect(items.front()).center());
  };
  ctrl_click("Znak STOP");
  ASSERT_EQ(List()->selectedItems().size(), 2);
  dialogs_.Expect(ModalDialogs::ChooseFile(other));
  dialogs_.Expect(ModalDialogs::Press("Button1"));  // "Tak": Hydrant replaced
  Find<QAction>("M_KopiujDoBiblioteki")->trigger();
  EXPECT_EQ(dialogs_.shown().back().text, "Blok Hydrant: Taki blok już istnieje! Nadpisać?");
  EXPECT_EQ(*CzytajListeBlokow(other), (std::vector<std::string>{"Hydrant", "Znak STOP"}));
  for (const char* name : {"Hydrant", "Znak STOP"}) {
    EXPECT_EQ(WczytajBlok(other, name).value()->lines, WczytajBlok(library_, name).value()->lines)
        << name;
  }
  // A plain click selects one row again: the copy takes that block alone.
  const auto drzewo = List()->findItems("Drzewo", Qt::MatchExactly);
  ASSERT_EQ(drzewo.size(), 1);
  List()->scrollToItem(drzewo.front());
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    List()->visualItemRect(drzewo.front()).center());
  ASSERT_EQ(List()->selectedItems().size(), 1);
  dialogs_.Expect(ModalDialogs::ChooseFile(other));
  Find<QAction>("M_KopiujDoBiblioteki")->trigger();
  EXPECT_EQ(*CzytajListeBlokow(other),
            (std::vector<std::string>{"Hydrant", "Znak STOP", "Drzewo"}));
}

}  // namespace
}  // namespace blok
