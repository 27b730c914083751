#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

// "__________________ kat. projektów" in code page 1250.
const std::string kMarker = "__________________ kat. projekt\xF3w";

struct RunCase {
  const char* label;
  bool remembered;  // Katalogi.Lst names /projekty/ at start; else there is none
  std::function<void(Editor&, ScriptedUi&, const std::filesystem::path& library)> run;
  // The directory the next run's open dialog starts in; empty: the one this run started with.
  const char* next;
};

// The open dialog alone chooses the directory; whatever else a run does keeps the one it had.
const RunCase kRuns[] = {
    {"NothingDone", true, [](Editor&, ScriptedUi&, auto&) {}, ""},
    {"RecentFileOpened", true,
     [](Editor& e, ScriptedUi&, const std::filesystem::path& library) {
       e.OtworzOstatniPlik(library.string());
     },
     ""},
    {"FileMadeInTheSaveDialog", true,
     [](Editor& e, ScriptedUi& ui, const std::filesystem::path& library) {
       ui.save_paths.push_back(library.parent_path().parent_path() / "nowy.blk");
       e.NowyPlikBlokow();
     },
     ""},
    {"OpenDialogCancelled", true,
     [](Editor& e, ScriptedUi& ui, auto&) {
       ui.open_paths.push_back(std::nullopt);
       e.OtworzPlikBlokow();
     },
     ""},
    {"NoFileAtStart", false, [](Editor&, ScriptedUi&, auto&) {}, ""},
    {"OpenDialogConfirmed", true,
     [](Editor& e, ScriptedUi& ui, const std::filesystem::path& library) {
       ui.open_paths.push_back(library);
       e.OtworzPlikBlokow();
     },
     "Bloki/"},
};

class RememberedDirectoryTest : public ::testing::TestWithParam<RunCase> {
 protected:
  void SetUp() override { InstallProgramFiles(dir_.path()); }

  TestDir dir_;
  std::filesystem::path katalogi_ = dir_ / "Dane" / "Katalogi.Lst";
  std::filesystem::path library_ = dir_ / "Bloki" / "lib.blk";
  ScriptedUi ui_;
  FakeSurface surface_;
};

TEST_P(RememberedDirectoryTest, KeptUnlessTheOpenDialogChoosesAnother) {
  const RunCase& c = GetParam();
  AppendBlock(library_, "AAA", {"O(0,0,1)"});
  if (c.remembered) WriteBytes(katalogi_, kMarker + "\r\n/projekty/\r\n");
  std::string started_in;
  {
    Editor editor(dir_.path(), ui_, surface_);
    ASSERT_TRUE(editor.Start());
    started_in = editor.preferences().initial_directory().string();
    c.run(editor, ui_, library_);
    editor.Finish();
  }
  const std::string expected = *c.next ? (dir_ / c.next).string() : started_in;
  EXPECT_EQ(ReadBytes(katalogi_), kMarker + "\r\n" + expected + "\r\n");
  Editor next(dir_.path(), ui_, surface_);
  ASSERT_TRUE(next.Start());
  EXPECT_EQ(next.preferences().initial_directory(), expected);
  EXPECT_THAT(ui_.message_boxes, ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Runs, RememberedDirectoryTest, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace blok::testing
