#include "document/dxf_batch.h"

#include <gtest/gtest.h>

#include "support/dxf_drawing.h"
#include "support/test_dir.h"

namespace blok {
namespace {

namespace fs = std::filesystem;
using testing::TestDir;
using testing::WriteBytes;

using testing::kDxfCircle;
using testing::kDxfLine;
using testing::ModelSpaceDxf;

// The drawing without its unit, which the import then assumes.
std::string WithoutUnit(std::string dxf) {
  const std::string unit = "9\n$INSUNITS\n70\n6\n";
  return dxf.erase(dxf.find(unit), unit.size());
}
constexpr char kImage[] = "0\nIMAGE\n8\n0\n10\n1\n20\n1\n30\n0\n";

std::vector<std::string> Shown(const std::vector<DxfInput>& inputs) {
  std::vector<std::string> shown;
  for (const DxfInput& input : inputs) shown.push_back(input.shown.generic_string());
  return shown;
}

TEST(FindDxfFiles, FoldersAreSearchedDownForEveryCaseOfTheExtension) {
  TestDir dir;
  for (const char* file : {"woda/zasuwa.dxf", "elektro/dev/dev12.DXF", "elektro/Slup.Dxf",
                           "elektro/opis.txt", "elektro/dxf", "a.dxf"}) {
    fs::create_directories((dir / file).parent_path());
    WriteBytes(dir / file, "");
  }
  fs::create_directories(dir / "puste.dxf");  // a folder, not a drawing
  const auto found = FindDxfFiles({dir / "a.dxf", dir.path(), dir / "brak.dxf"});
  ASSERT_TRUE(found) << found.error().message;
  // The file given first keeps its place; met again in the folder it is not taken twice. A
  // file that is not there is kept for its reading to refuse.
  EXPECT_EQ(Shown(*found),
            (std::vector<std::string>{(dir / "a.dxf").generic_string(), "elektro/Slup.Dxf",
                                      "elektro/dev/dev12.DXF", "woda/zasuwa.dxf",
                                      (dir / "brak.dxf").generic_string()}));
  EXPECT_EQ(found->at(2).file, dir.path() / "elektro/dev/dev12.DXF");
}

TEST(DxfBlockNames, ClashingStemsTakeTheirFoldersInFront) {
  struct Case {
    const char* what;
    std::vector<const char*> files;
    std::vector<const char*> names;
  };
  const Case cases[] = {
      {"stems of their own", {"/l/a/zasuwa.dxf", "/l/b/hydrant.dxf"}, {"zasuwa", "hydrant"}},
      {"one folder up",
       {"/l/elektro/dev12.dxf", "/l/woda/dev12.dxf", "/l/woda/inny.dxf"},
       {"elektro_dev12", "woda_dev12", "inny"}},
      {"two folders up", {"/l/a/dev/x.dxf", "/l/b/dev/x.dxf"}, {"a_dev_x", "b_dev_x"}},
      // A one-letter stem is too short to load: its folder goes in front first.
      {"one folder, two cases", {"/l/x.dxf", "/l/x.DXF", "/l/x.Dxf"}, {"l_x", "l_x_2", "l_x_3"}},
      {"a short stem takes its folder",
       {"/l/elektro/A1.dxf", "/l/woda/zasuwa.dxf", "/l/woda/Kl2.dxf"},
       {"elektro_A1", "zasuwa", "Kl2"}},
      {"short stems in one folder", {"/l/a/R1.dxf", "/l/a/R2.dxf"}, {"a_R1", "a_R2"}},
      {"a short stem clashing after its folder",
       {"/l/a/b/x.dxf", "/l/c/b/x.dxf"},
       {"a_b_x", "c_b_x"}},
      {"a prefixed name meets a stem",
       {"/l/a/x.dxf", "/l/b/x.dxf", "/l/c/a_x.dxf"},
       {"l_a_x", "b_x", "c_a_x"}},
  };
  for (const Case& c : cases) {
    std::vector<DxfInput> inputs;
    for (const char* file : c.files) inputs.push_back({file, fs::path(file).filename()});
    const std::vector<std::string> names = DxfBlockNames(inputs);
    EXPECT_EQ(names, std::vector<std::string>(c.names.begin(), c.names.end())) << c.what;
  }
}

class ImportDxfFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [file, bytes] : std::vector<std::pair<const char*, std::string>>{
             {"elektro/slup.dxf", ModelSpaceDxf(std::string(kDxfLine) + kImage)},
             {"woda/slup.dxf",
              WithoutUnit(ModelSpaceDxf(std::string(kDxfCircle) + kImage + kImage))},
             {"woda/zly.dxf", "to nie jest DXF"},
             {"woda/zasuwa.dxf", ModelSpaceDxf(kDxfCircle)}}) {
      fs::create_directories((dir_ / file).parent_path());
      WriteBytes(dir_ / file, bytes);
    }
    inputs_ = *FindDxfFiles({dir_.path()});
  }
  TestDir dir_;
  std::vector<DxfInput> inputs_;
};

TEST_F(ImportDxfFilesTest, EachReadableFileIsABlockAndTheRestIsSummed) {
  std::vector<std::string> told;
  const DxfBatchReport report =
      ImportDxfFiles(inputs_, {}, [&](size_t index, size_t count, const fs::path& shown) {
        told.push_back(std::to_string(index) + "/" + std::to_string(count) + " " +
                       shown.generic_string());
        return true;
      });
  EXPECT_EQ(told, (std::vector<std::string>{"0/4 elektro/slup.dxf", "1/4 woda/slup.dxf",
                                            "2/4 woda/zasuwa.dxf", "3/4 woda/zly.dxf"}));
  ASSERT_EQ(report.blocks.size(), 3u);
  EXPECT_EQ(report.blocks[0].name, "elektro_slup");
  EXPECT_EQ(report.blocks[1].name, "woda_slup");
  EXPECT_EQ(report.blocks[2].name, "zasuwa");
  EXPECT_EQ(report.blocks[2].lines.back(), "");  // the editor's line end
  ASSERT_EQ(report.refused.size(), 1u);
  EXPECT_EQ(report.refused[0].shown, "woda/zly.dxf");
  EXPECT_FALSE(report.cancelled);

  const std::vector<std::string> summary = DxfBatchSummary(report);
  const std::vector<std::string> expected = {
      "zapisano 3 bloki z 4 plików DXF",
      "pominięto 1 plik:",
      "  " + report.refused[0].why,
      "pominięte obiekty DXF: IMAGE 3",
      "zmienione nazwy (2):",
      "  elektro/slup.dxf → elektro_slup",
      "  woda/slup.dxf → woda_slup",
      "rysunek DXF nie podaje jednostki: przyjęto m (--unit ją ustala) (1 plik)",
  };
  EXPECT_EQ(summary, expected);
  EXPECT_NE(report.refused[0].why.find("zly.dxf"), std::string::npos) << report.refused[0].why;
}

TEST_F(ImportDxfFilesTest, AProgressThatSaysStopEndsTheImport) {
  const DxfBatchReport report =
      ImportDxfFiles(inputs_, {}, [](size_t index, size_t, const fs::path&) { return index < 2; });
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.blocks.size(), 2u);
}

}  // namespace
}  // namespace blok
