#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kFileProblem =
    "Wystąpił problem z dostępem do pliku. Sprawdź czy ścieżka do katalogu roboczego (menu "
    "Pliki\\Ustawienia Programu) jest prawidłowa!";

class ViewerTest : public EditorTest {
 protected:
  std::filesystem::path tabela_ = dir_ / "Tabela.txt";
};

TEST_F(ViewerTest, MessagePaneShowsItsCurrentLinesNewestFirst) {
  editor_.messages().Komunikat("pierwszy");
  editor_.messages().Komunikat("drugi");
  editor_.messages().ShowInViewer();
  OpenLibrary();  // empties the pane
  editor_.messages().Komunikat("trzeci");
  editor_.messages().ShowInViewer();
  ASSERT_EQ(ui_.viewer_texts.size(), 1u);
  EXPECT_THAT(ui_.viewer_texts[0],
              ElementsAre("trzeci", "Wczytano plik z blokami " + library_.string()));
}

TEST_F(ViewerTest, NotepadGetsTheLinesInTheCodePage) {
  EXPECT_TRUE(editor_.messages().PokazTekstWNotatniku({"Zażółć", "", "gęślą jaźń"}));
  EXPECT_EQ(ReadBytes(tabela_), "Za\xBF\xF3\xB3\xE6\r\n\r\ng\xEA\x9Cl\xB9 ja\x9F\xF1\r\n");
  EXPECT_THAT(ui_.shell_opens, ElementsAre(tabela_));
  // An empty viewer still writes the file (now empty) and opens it.
  EXPECT_TRUE(editor_.messages().PokazTekstWNotatniku({}));
  EXPECT_EQ(ReadBytes(tabela_), "");
  EXPECT_EQ(ui_.shell_opens.size(), 2u);
  EXPECT_THAT(ui_.message_boxes, IsEmpty());
}

TEST_F(ViewerTest, NotepadFailuresAreShownAndTheViewerStays) {
  ui_.shell_open_succeeds = false;
  EXPECT_FALSE(editor_.messages().PokazTekstWNotatniku({"a"}));
  EXPECT_THAT(ui_.message_boxes, ElementsAre(kFileProblem));

  ui_.ClearRecords();
  ui_.shell_open_succeeds = true;
  std::filesystem::remove(tabela_);
  std::filesystem::create_directory(tabela_);  // cannot be written
  EXPECT_FALSE(editor_.messages().PokazTekstWNotatniku({"a"}));
  EXPECT_THAT(ui_.message_boxes, ElementsAre(kFileProblem));
  EXPECT_THAT(ui_.shell_opens, IsEmpty());
}

TEST_F(ViewerTest, ClipboardHoldsTheLinesOneALine) {
  editor_.messages().KopiujDoSchowka({"jeden", "dwa", ""});
  EXPECT_THAT(ui_.clipboard, ElementsAre("jeden\ndwa\n"));
}

TEST_F(ViewerTest, StartPanelUntilAFileIsOpen) {
  EXPECT_TRUE(editor_.ShowsStartPanel());
  OpenLibrary();
  EXPECT_FALSE(editor_.ShowsStartPanel());
}

}  // namespace
}  // namespace blok::testing
