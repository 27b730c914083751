#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// "__________________ kat. projektów" in code page 1250.
const std::string kMarkerBytes = "__________________ kat. projekt\xF3w";

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallProgramFiles(dir_.path()); }

  std::vector<std::string> RecentPaths(Editor& editor) {
    std::vector<std::string> paths;
    for (const auto& entry : editor.preferences().recent_files().entries())
      paths.push_back(entry.path);
    return paths;
  }

  TestDir dir_;
  std::filesystem::path katalogi_ = dir_ / "Dane" / "Katalogi.Lst";
  std::filesystem::path poz_menu_ = dir_ / "Dane" / "PozMenu.Lpk";
  ScriptedUi ui_;
  FakeSurface surface_;
};

TEST_F(StartupTest, StartsWithTheDefaults) {
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  EXPECT_THAT(ui_.message_boxes, IsEmpty());
  ASSERT_NE(editor.view().romans_font(), nullptr);
  ASSERT_NE(editor.view().greeks_font(), nullptr);
  EXPECT_EQ(editor.library().FileLabel(), "NAZWA");
  EXPECT_EQ(editor.library().WindowCaption(), "...");
  EXPECT_EQ(editor.block().unit(), "m");
  EXPECT_FALSE(editor.block().tools_enabled());
  EXPECT_TRUE(editor.ShowsStartPanel());
  EXPECT_FALSE(editor.block().journal().CanUndo() || editor.block().journal().CanRedo());
  EXPECT_EQ(editor.preferences().initial_directory(), dir_.path() / "Bloki/");
  const Settings& s = editor.preferences().settings();
  EXPECT_TRUE(s.draw_grid);
  EXPECT_FALSE(s.grid_snap || s.ortho || s.snap_end || s.snap_middle || s.snap_intersection ||
               s.snap_centre || s.overwrite_without_asking);
  EXPECT_EQ(s.grid_step, 1.0f);
  EXPECT_EQ(s.grid_size_text, "10");
  EXPECT_EQ(s.thickness_text, "0,10");
  EXPECT_EQ(s.text_height, 0.6f);
  EXPECT_EQ(s.text_width, 0.5f);
  EXPECT_EQ(s.colour, 0u);
  EXPECT_TRUE(s.base_point);
}

struct FontCase {
  const char* label;
  const char* file;
  std::optional<size_t> size;  // nothing: the file is missing
};

class MissingFontTest : public StartupTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(MissingFontTest, StopsStartUpAndKeepsTheDataFiles) {
  const FontCase& c = GetParam();
  const auto font = dir_ / "Dane" / c.file;
  if (c.size) {
    std::filesystem::resize_file(font, *c.size);
  } else {
    std::filesystem::remove(font);
  }
  WriteBytes(poz_menu_, "/dane/a.blk\r\n");
  WriteBytes(katalogi_, kMarkerBytes + "\r\n/projekty/\r\n");
  {
    Editor editor(dir_.path(), ui_, surface_);
    const Result<void> started = editor.Start();
    ASSERT_FALSE(started.has_value());
    EXPECT_THAT(started.error().message, HasSubstr(font.string()));
    EXPECT_THAT(ui_.message_boxes, ElementsAre(started.error().message));
    EXPECT_THAT(editor.preferences().recent_files().entries(), IsEmpty());
    // An editor that never read the data files must not overwrite them.
    editor.Finish();
  }
  EXPECT_EQ(ReadBytes(poz_menu_), "/dane/a.blk\r\n");
  EXPECT_EQ(ReadBytes(katalogi_), kMarkerBytes + "\r\n/projekty/\r\n");
}

INSTANTIATE_TEST_SUITE_P(Fonts, MissingFontTest,
                         ::testing::Values(FontCase{"RomansMissing", "Romans100.Lzs", {}},
                                           FontCase{"GreeksMissing", "Greeks100.Lzs", {}},
                                           FontCase{"RomansShort", "Romans100.Lzs", 608 * 255},
                                           FontCase{"GreeksEmpty", "Greeks100.Lzs", 0}),
                         [](const auto& info) { return std::string(info.param.label); });

// Without the code page's converter the data files and every library would lose their Polish
// letters: the editor says why and starts nothing, and leaves the data files as they were.
TEST_F(StartupTest, ACodePageThatCannotBeConvertedStopsStartUp) {
  WriteBytes(poz_menu_,
             "/dane/\xB3\xF3"
             "d\xBF.blk\r\n");
  WriteBytes(katalogi_, kMarkerBytes + "\r\n/projekty/\r\n");
  const auto problem = CodePageProblem("NO-SUCH-CODE-PAGE");
  ASSERT_TRUE(problem);
  {
    Editor editor(dir_.path(), ui_, surface_);
    const Result<void> started = editor.Start(problem);
    ASSERT_FALSE(started.has_value());
    EXPECT_EQ(started.error().message, problem->message);
    EXPECT_THAT(ui_.message_boxes, ElementsAre(problem->message));
    EXPECT_FALSE(editor.block().tools_enabled());
    EXPECT_THAT(editor.preferences().recent_files().entries(), IsEmpty());
    editor.Finish();
  }
  EXPECT_EQ(ReadBytes(poz_menu_),
            "/dane/\xB3\xF3"
            "d\xBF.blk\r\n");
  EXPECT_EQ(ReadBytes(katalogi_), kMarkerBytes + "\r\n/projekty/\r\n");
}

struct DirectoryCase {
  const char* label;
  std::optional<std::string> file;       // nothing: no Katalogi.Lst
  std::optional<std::string> directory;  // nothing: the default Bloki/
};

class ProjectDirectoryTest : public StartupTest,
                             public ::testing::WithParamInterface<DirectoryCase> {};

TEST_P(ProjectDirectoryTest, SetsTheOpenDialogsInitialDirectory) {
  const DirectoryCase& c = GetParam();
  if (c.file) WriteBytes(katalogi_, *c.file);
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  EXPECT_EQ(editor.preferences().initial_directory(),
            c.directory ? std::filesystem::path(*c.directory) : dir_.path() / "Bloki/");
  ui_.open_paths.push_back(std::nullopt);
  editor.OtworzPlikBlokow();
  EXPECT_EQ(ui_.dialogs.at(0).dialog.initial_directory, editor.preferences().initial_directory());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectDirectoryTest,
    ::testing::Values(
        DirectoryCase{"NoFile", std::nullopt, std::nullopt},
        DirectoryCase{"NoMarker", "/projekty/\r\n", std::nullopt},
        DirectoryCase{"OnePair", kMarkerBytes + "\r\n/projekty/bloki/\r\n", "/projekty/bloki/"},
        DirectoryCase{"LastPairWins",
                      "x\r\n" + kMarkerBytes + "\r\n/a/\r\n" + kMarkerBytes + "\n/b/\n", "/b/"},
        DirectoryCase{"PolishLetters", kMarkerBytes + "\r\n/projekty/\xB9\xE6/\r\n",
                      "/projekty/ąć/"},
        DirectoryCase{"EmptyLine", kMarkerBytes + "\r\n\r\n", ""},
        DirectoryCase{"MarkerLast", kMarkerBytes + "\r\n", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(StartupTest, RecentListKeepsTheFourNewest) {
  WriteBytes(poz_menu_, "/d/a.blk\r\n/d/b.blk\r\n/d/c.blk\r\n/d/d.blk\r\n/d/e.blk\r\n");
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  EXPECT_THAT(RecentPaths(editor), ElementsAre("/d/e.blk", "/d/d.blk", "/d/c.blk", "/d/b.blk"));
  EXPECT_EQ(editor.preferences().recent_files().Caption(0), "1. e.blk");
  EXPECT_EQ(editor.preferences().recent_files().Caption(3), "4. b.blk");
  editor.Finish();
  EXPECT_EQ(ReadBytes(poz_menu_), "/d/b.blk\r\n/d/c.blk\r\n/d/d.blk\r\n/d/e.blk\r\n");
}

TEST_F(StartupTest, DuplicatePathsAndBlankLinesInTheRecentList) {
  WriteBytes(poz_menu_, "/d/a.blk\n\n/d/b.blk\r\nab\r\n/d/a.blk\r\n");
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  EXPECT_THAT(RecentPaths(editor), ElementsAre("/d/a.blk", "/d/b.blk"));
  editor.Finish();
  EXPECT_EQ(ReadBytes(poz_menu_), "/d/b.blk\r\n/d/a.blk\r\n");
}

TEST_F(StartupTest, ExitRemembersTheDirectoryOfTheOpenDialogOnly) {
  const auto library = dir_ / "Bloki" / "lib.blk";
  AppendBlock(library, "AAA", {"O(0,0,1)"});
  WriteBytes(katalogi_, kMarkerBytes + "\r\n/projekty/\r\n");
  {
    // Files opened through the save dialog and the recent list keep the directory there was.
    Editor editor(dir_.path(), ui_, surface_);
    ASSERT_TRUE(editor.Start());
    ui_.save_paths.push_back(dir_ / "nowy.blk");
    editor.NowyPlikBlokow();
    editor.OtworzOstatniPlik(library.string());
    editor.Finish();
    EXPECT_EQ(ReadBytes(katalogi_), kMarkerBytes + "\r\n/projekty/\r\n");
    EXPECT_EQ(ReadBytes(poz_menu_),
              (dir_ / "nowy.blk").string() + "\r\n" + library.string() + "\r\n");
  }
  {
    // The next run starts the open dialog there; opening through it is remembered, even when
    // the file chosen is not there.
    Editor editor(dir_.path(), ui_, surface_);
    ASSERT_TRUE(editor.Start());
    EXPECT_EQ(editor.preferences().initial_directory(), "/projekty/");
    ui_.open_paths.push_back(library);
    editor.OtworzPlikBlokow();
    ui_.open_paths.push_back(dir_ / "inne" / "brak.blk");
    editor.OtworzPlikBlokow();
    editor.Finish();
    EXPECT_EQ(ReadBytes(katalogi_), kMarkerBytes + "\r\n" + (dir_ / "inne/").string() + "\r\n");
  }
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  EXPECT_EQ(editor.preferences().initial_directory(), dir_ / "inne/");
}

TEST_F(StartupTest, DataFileFailuresAreShownAndTheRestGoesOn) {
  WriteBytes(poz_menu_, "/d/a.blk\r\n");
  std::filesystem::create_directory(katalogi_);  // a directory where the file should be
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr(katalogi_.string()));
  EXPECT_THAT(RecentPaths(editor), ElementsAre("/d/a.blk"));
  EXPECT_EQ(editor.preferences().initial_directory(), dir_.path() / "Bloki/");

  ui_.ClearRecords();
  editor.preferences().DodajDoOstatnich("/d/b.blk");
  editor.Finish();
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr(katalogi_.string()));
  EXPECT_EQ(ReadBytes(poz_menu_), "/d/a.blk\r\n/d/b.blk\r\n");
}

TEST_F(StartupTest, ExitWithoutADataDirectoryIsReported) {
  Editor editor(dir_.path(), ui_, surface_);
  ASSERT_TRUE(editor.Start());
  std::filesystem::remove_all(dir_ / "Dane");
  editor.Finish();
  ASSERT_EQ(ui_.message_boxes.size(), 3u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr("Katalogi.Lst"));
  EXPECT_THAT(ui_.message_boxes[1], HasSubstr("PozMenu.Lpk"));
  EXPECT_THAT(ui_.message_boxes[2], HasSubstr("Historia.txt"));
}

}  // namespace
}  // namespace blok::testing
