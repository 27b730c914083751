#include "editor/exports.h"

#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

// How an export ended is told where the user looks: what was written and a stop asked for in
// the pane, a failure in a box, and nothing of a failure in the pane.
TEST_F(EditorTest, AnExportsEndIsSaidWhereItBelongs) {
  const struct {
    const char* what;
    Result<void> result;
    std::string pane;  // the newest line; empty: none
    std::string box;   // empty: none
  } cases[] = {
      {"written", {}, "Zapisano katalog k.pdf.", ""},
      {"stopped", std::unexpected(Error{std::string(kExportCancelled)}),
       std::string(kExportCancelled), ""},
      {"failed", std::unexpected(Error{"Nie można zapisać pliku k.pdf."}), "",
       "Nie można zapisać pliku k.pdf."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    editor_.messages().Clear();
    ui_.ClearRecords();
    ReportExport(editor_, ui_, c.result, "Zapisano katalog k.pdf.");
    if (c.pane.empty()) {
      EXPECT_TRUE(editor_.messages().lines().empty());
    } else {
      ASSERT_FALSE(editor_.messages().lines().empty());
      EXPECT_EQ(editor_.messages().lines().front(), c.pane);
    }
    EXPECT_EQ(ui_.message_boxes,
              c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
  }
}

// "Zaznaczone bloki" are the rows chosen, else the row selected, else none.
TEST_F(EditorTest, TheSelectionExportedIsTheChosenRowsElseTheSelectedOne) {
  OpenLibrary();
  EXPECT_TRUE(ExportedSelection(editor_.library().block_list()).empty());
  SelectBlock("BBB");
  EXPECT_EQ(ExportedSelection(editor_.library().block_list()), std::vector<std::string>{"BBB"});
}

}  // namespace
}  // namespace blok::testing
