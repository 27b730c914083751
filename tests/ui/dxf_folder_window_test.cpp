// A folder of DXF files, and several files at once, imported through the window's menu items.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QListWidget>
#include <QProgressDialog>

#include "support/dxf_drawing.h"
#include "ui/qt_ui.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;
using testing::ModelSpaceDxf;
using testing::ReadBytes;
using testing::WriteBytes;

// The folder dialog confirmed on this folder.
ModalDialogs::Answer ChooseFolder(const std::filesystem::path& folder) {
  return [folder](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(dialog.objectName(), "WyborFolderu");
    ASSERT_EQ(files->fileMode(), QFileDialog::Directory);
    files->setDirectory(QString::fromStdString(folder.string()));
    dialog.accept();
  };
}

// Anuluj of "Postep" pressed as it shows.
class StopOnShow : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* progress = qobject_cast<QProgressDialog*>(watched);
    if (event->type() == QEvent::Show && progress != nullptr &&
        progress->objectName() == "Postep") {
      progress->cancel();
      ++stopped;
    }
    return false;
  }
  int stopped = 0;
};

class DxfFolderWindowTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    testing::WindowTest::SetUp();
    for (const auto& [file, bytes] : std::vector<std::pair<const char*, std::string>>{
             {"woda/zasuwa_dn100.dxf", ModelSpaceDxf(testing::kDxfCircle)},
             {"woda/hydrant_nad.DXF",
              ModelSpaceDxf(std::string(testing::kDxfLine) + testing::kDxfCircle)},
             {"elektro/slup_oswietleniowy.dxf",
              ModelSpaceDxf("0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n0\n21\n3\n31\n0\n")}}) {
      std::filesystem::create_directories((folder_ / file).parent_path());
      WriteBytes(folder_ / file, bytes);
    }
  }
  bool Listed(const char* name) {
    return !Find<QListWidget>("LB_NazwaBlokuCzytaj")->findItems(name, Qt::MatchExactly).isEmpty();
  }
  std::filesystem::path folder_ = dir_ / "symbole";
};

TEST_F(DxfFolderWindowTest, AFolderImportedThroughTheMenuListsItsBlocks) {
  OpenLibrary();
  auto* item = Find<QAction>("M_ImportujFolderDXF");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text().remove('&'), "Importuj folder DXF…");
  EXPECT_TRUE(item->isEnabled());
  dialogs_.Expect(ChooseFolder(folder_)).Expect(ModalDialogs::Accept());
  item->trigger();
  ASSERT_EQ(dialogs_.shown().size(), 3u);  // the library's, the folder's, the summary
  EXPECT_EQ(dialogs_.shown()[1].title, "Importuj folder DXF");
  EXPECT_TRUE(dialogs_.shown()[2].text.startsWith("zapisano 3 bloki z 3 plików DXF"))
      << dialogs_.shown()[2].text.toStdString();
  for (const char* name : {"zasuwa_dn100", "hydrant_nad", "slup_oswietleniowy", "Hydrant"}) {
    EXPECT_TRUE(Listed(name)) << name;
  }
  EXPECT_EQ(Messages().front(), "Zaimportowano bloków: 3");
}

TEST_F(DxfFolderWindowTest, AStoppedImportLeavesTheLibraryByteForByte) {
  OpenLibrary();
  const std::string before = ReadBytes(library_);
  window_->qt_ui().SetProgressDelay(0);
  StopOnShow stop;
  qApp->installEventFilter(&stop);
  dialogs_.Expect(ChooseFolder(folder_));
  Find<QAction>("M_ImportujFolderDXF")->trigger();
  qApp->removeEventFilter(&stop);
  EXPECT_EQ(stop.stopped, 1);
  EXPECT_EQ(ReadBytes(library_), before);
  EXPECT_FALSE(Listed("zasuwa_dn100"));
  EXPECT_EQ(Messages().front(), "Przerwano: nic nie zapisano.");
}

TEST_F(DxfFolderWindowTest, SeveralFilesChosenInTheImportDialog) {
  OpenLibrary();
  dialogs_
      .Expect([this](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr);
        ASSERT_EQ(files->fileMode(), QFileDialog::ExistingFiles);
        files->setDirectory(QString::fromStdString((folder_ / "woda").string()));
        files->selectFile("\"zasuwa_dn100.dxf\" \"hydrant_nad.DXF\"");
        dialog.accept();
      })
      .Expect(ModalDialogs::Accept());
  Find<QAction>("M_ImportujDXF")->trigger();
  EXPECT_TRUE(Listed("zasuwa_dn100"));
  EXPECT_TRUE(Listed("hydrant_nad"));
  EXPECT_FALSE(Listed("slup_oswietleniowy"));
}

}  // namespace
}  // namespace blok
