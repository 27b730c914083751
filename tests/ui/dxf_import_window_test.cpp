// DXF import through the window: the menu item, the dialog's list with its ticks and marks, the
// replace box, and the library as blk then reads it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <fstream>

#include "document/block_file.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;

// A model space with one line, and two block definitions: "Zasuwa" (new to the sample
// library) and "Hydrant" (a name the sample library holds).
constexpr char kDxf[] =
    "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n"
    "0\nSECTION\n2\nBLOCKS\n"
    "0\nBLOCK\n8\n0\n2\nZasuwa\n70\n0\n10\n0\n20\n0\n30\n0\n3\nZasuwa\n"
    "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n"
    "0\nENDBLK\n8\n0\n"
    "0\nBLOCK\n8\n0\n2\nHydrant\n70\n0\n10\n0\n20\n0\n30\n0\n3\nHydrant\n"
    "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n30\n0\n40\n2\n"
    "0\nENDBLK\n8\n0\n"
    "0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n2\n21\n0\n31\n0\n"
    "0\nENDSEC\n0\nEOF\n";

class DxfImportWindowTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    testing::WindowTest::SetUp();
    std::ofstream(dxf_, std::ios::binary) << kDxf;
  }
  long Stored(const std::string& name) {
    const auto names = *CzytajListeBlokow(library_);
    return std::count(names.begin(), names.end(), name);
  }
  // Notes the rows of the dialog's list as shown, then sets the ticks and the replace box as
  // given and presses "Importuj".
  ModalDialogs::Answer Import(std::vector<Qt::CheckState> ticks, bool replace) {
    return [this, ticks, replace](QDialog& dialog) {
      ASSERT_EQ(dialog.objectName(), "ImportDXF");
      auto* list = dialog.findChild<QListWidget*>("LB_BlokiDXF");
      auto* box = dialog.findChild<QCheckBox*>("CB_Zastap");
      ASSERT_NE(list, nullptr);
      ASSERT_NE(box, nullptr);
      rows_.clear();
      for (int i = 0; i < list->count(); ++i) {
        rows_.push_back(
            {list->item(i)->text(), list->item(i)->checkState(), !list->item(i)->icon().isNull()});
      }
      ASSERT_EQ(static_cast<size_t>(list->count()), ticks.size());
      for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(ticks[i]);
      box->setChecked(replace);
      auto* buttons = dialog.findChild<QDialogButtonBox*>();
      ASSERT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), "Importuj");
      buttons->button(QDialogButtonBox::Ok)->click();
    };
  }
  struct Row {
    QString text;
    Qt::CheckState tick;
    bool picture;
  };
  std::vector<Row> rows_;
  std::filesystem::path dxf_ = dir_ / "symbole.dxf";
};

TEST_F(DxfImportWindowTest, TheDialogOffersMarksAndImportsWhatIsTicked) {
  OpenLibrary();
  const auto hydrant = WczytajBlok(library_, "Hydrant").value()->lines;

  // Model space first, then the definitions; the taken name marked and unticked.
  dialogs_.Expect(ModalDialogs::ChooseFile(dxf_))
      .Expect(Import({Qt::Unchecked, Qt::Checked, Qt::Checked}, false));
  Find<QAction>("M_ImportujDXF")->trigger();
  ASSERT_EQ(rows_.size(), 3u);
  EXPECT_EQ(rows_[0].text, "symbole");
  EXPECT_EQ(rows_[1].text, "Zasuwa");
  EXPECT_EQ(rows_[2].text, "Hydrant  (już jest w bibliotece)");
  EXPECT_EQ(rows_[0].tick, Qt::Checked);
  EXPECT_EQ(rows_[1].tick, Qt::Checked);
  EXPECT_EQ(rows_[2].tick, Qt::Unchecked);
  for (const Row& row : rows_) EXPECT_TRUE(row.picture) << row.text.toStdString();
  // The unticked model space is not written; the ticked taken name is skipped without replace.
  EXPECT_EQ(Stored("symbole"), 0);
  EXPECT_EQ(WczytajBlok(library_, "Zasuwa").value()->lines,
            std::vector<std::string>{"O(0,0,1);K(0,0,0);GR(0.1)"});
  EXPECT_EQ(WczytajBlok(library_, "Hydrant").value()->lines, hydrant);
  EXPECT_FALSE(
      Find<QListWidget>("LB_NazwaBlokuCzytaj")->findItems("Zasuwa", Qt::MatchExactly).isEmpty());

  // With the replace box, the taken name is replaced: one record of it, the DXF's drawing.
  dialogs_.Expect(ModalDialogs::ChooseFile(dxf_))
      .Expect(Import({Qt::Unchecked, Qt::Unchecked, Qt::Checked}, true));
  Find<QAction>("M_ImportujDXF")->trigger();
  EXPECT_EQ(Stored("Hydrant"), 1);
  EXPECT_EQ(WczytajBlok(library_, "Hydrant").value()->lines,
            std::vector<std::string>{"O(0,0,2);K(0,0,0);GR(0.1)"});

  // Cancelled: the file keeps its bytes.
  std::ifstream in(library_, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), {});
  dialogs_.Expect(ModalDialogs::ChooseFile(dxf_)).Expect(ModalDialogs::Cancel());
  Find<QAction>("M_ImportujDXF")->trigger();
  std::ifstream again(library_, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), before);
}

// Inserting, the same offer is a choice of one: no ticks and no replace box, the drawing itself
// chosen unless another row is, and what is chosen lands in the block being drawn.
TEST_F(DxfImportWindowTest, WstawZDxfOffersOneBlockToInsert) {
  struct Case {
    int row;  // chosen in the list; -1 leaves the dialog's own choice
    std::vector<std::string> inserted;
  };
  const Case cases[] = {
      {-1, {"L(0,0)-(2,0);K(0,0,0);GR(0.1)"}},
      {1, {"O(0,0,1);K(0,0,0);GR(0.1)"}},
  };
  OpenLibrary();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    // Nie: the block drawn by the case before is let go.
    if (window_->editor().block().unsaved()) dialogs_.Expect(ModalDialogs::Press("Button2"));
    Click("Bt_NowyBlok");
    QString title, button;
    bool ticks = false, replace_box = false;
    dialogs_.Expect(ModalDialogs::ChooseFile(dxf_)).Expect([&](QDialog& dialog) {
      title = dialog.windowTitle();
      auto* list = dialog.findChild<QListWidget*>("LB_BlokiDXF");
      ASSERT_NE(list, nullptr);
      for (int i = 0; i < list->count(); ++i) {
        ticks |= (list->item(i)->flags() & Qt::ItemIsUserCheckable) != 0;
      }
      replace_box = dialog.findChild<QCheckBox*>("CB_Zastap") != nullptr;
      if (c.row >= 0) list->setCurrentRow(c.row);
      auto* buttons = dialog.findChild<QDialogButtonBox*>();
      button = buttons->button(QDialogButtonBox::Ok)->text();
      buttons->button(QDialogButtonBox::Ok)->click();
    });
    Find<QAction>("M_WstawDXF")->trigger();
    EXPECT_EQ(title, "Wstaw z DXF");
    EXPECT_EQ(button, "Wstaw");
    EXPECT_FALSE(ticks);
    EXPECT_FALSE(replace_box);
    const auto& lines = window_->editor().block().drawing().lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), c.inserted);
  }
}

}  // namespace
}  // namespace blok
