// The DXF export read back with dxflib's own reader: what each block of a library becomes in DXF.
#include "document/dxf_export.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "document/block_file.h"
#include "document/text_file.h"
#include "model/cp1250.h"
#include "support/built_font.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"
#include "view/font_capital.h"

namespace blok {
namespace {

using testing::BuiltRomans;
using testing::ReadBytes;
constexpr auto Record = testing::RecordBytes;
using testing::TestDir;
using testing::WriteBytes;

// One entity as the reader hands it over, in the block it belongs to ("" for the model space).
struct Seen {
  std::string block;
  std::string kind;
  std::vector<double> numbers;
  std::string text;  // UTF-8
  int colour = 0, colour24 = -1, weight = 0;
};

class Collector : public DL_CreationAdapter {
 public:
  std::vector<Seen> seen;
  std::vector<std::string> blocks;  // the block definitions, outside the layout blocks
  std::map<std::string, int> ints;
  std::map<std::string, std::string> strings;

  void addBlock(const DL_BlockData& data) override {
    block_ = Cp1250ToUtf8(data.name);
    if (!block_.starts_with("*")) blocks.push_back(block_);
  }
  void endBlock() override { block_.clear(); }
  void addLine(const DL_LineData& d) override { Add("LINE", {d.x1, d.y1, d.x2, d.y2}); }
  void addCircle(const DL_CircleData& d) override { Add("CIRCLE", {d.cx, d.cy, d.radius}); }
  void addArc(const DL_ArcData& d) override {
    Add("ARC", {d.cx, d.cy, d.radius, d.angle1, d.angle2});
  }
  void addPolyline(const DL_PolylineData& d) override {
    Add("LWPOLYLINE", {static_cast<double>(d.flags)});
  }
  void addVertex(const DL_VertexData& d) override {
    seen.back().numbers.push_back(d.x);
    seen.back().numbers.push_back(d.y);
  }
  void addText(const DL_TextData& d) override {
    Add("TEXT", {d.ipx, d.ipy, d.height, d.xScaleFactor, d.angle * 180 / M_PI,
                 static_cast<double>(d.textGenerationFlags)});
    seen.back().text = Cp1250ToUtf8(d.text);
  }
  void addInsert(const DL_InsertData& d) override {
    Add("INSERT", {d.ipx, d.ipy, d.sx});
    seen.back().text = Cp1250ToUtf8(d.name);
  }
  void setVariableInt(const std::string& key, int value, int) override { ints[key] = value; }
  void setVariableString(const std::string& key, const std::string& value, int) override {
    strings[key] = value;
  }

  std::vector<Seen> In(std::string_view block) const {
    std::vector<Seen> found;
    for (const Seen& s : seen) {
      if (s.block == block) found.push_back(s);
    }
    return found;
  }

 private:
  void Add(const char* kind, std::vector<double> numbers) {
    const DL_Attributes& a = getAttributes();
    seen.push_back(
        {block_, kind, std::move(numbers), "", a.getColor(), a.getColor24(), a.getWidth()});
  }
  std::string block_;
};

class DxfExportTest : public ::testing::Test {
 protected:
  Result<DxfExportReport> Export(std::vector<std::string> names = {}) {
    return ExportDxf({library_, std::move(names), dxf_}, ExportFontOf(BuiltRomans()));
  }
  Collector Read() {
    Collector collector;
    DL_Dxf reader;
    EXPECT_TRUE(reader.in(dxf_.string(), &collector));
    return collector;
  }

  TestDir dir_;
  std::filesystem::path library_ = dir_ / "lib.blk";
  std::filesystem::path dxf_ = dir_ / "out.dxf";
};

void ExpectNumbers(const std::vector<double>& got, const std::vector<double>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << "number " << i;
}

TEST_F(DxfExportTest, EveryKindWithTheColourAndWeightItIsDrawnWith) {
  // The drawing is read from its last line up: a colour or thickness command acts on the lines
  // above it, and the entities come out in that order.
  WriteBytes(library_,
             Record("Wszystko", "m",
                    {"L(0,0)-(10,0)", "K(128,0,128)", "GR(0,7)", "// komentarz",
                     "P(1,2)-(3,5);K(0,255,0);GR(0,35)", "O(5,5,2);K(255,0,0);GR(0.18)",
                     "LUK(0,0,3,350,10)", "T(1,1,'Zażółć 50%% ',2,1,30);K(0,0,255);GR(0,25)",
                     "L(1,2)-(", "", "L(0,0)-(1,1)"}));
  const auto report = Export();
  ASSERT_TRUE(report) << report.error().message;
  ASSERT_EQ(report->skipped.size(), 2u);
  const struct {
    size_t line;
    std::string text;
    bool comment;
  } skipped[] = {{9, "L(1,2)-(", false}, {4, "// komentarz", true}};
  for (size_t i = 0; i < std::size(skipped); ++i) {
    EXPECT_EQ(report->skipped[i].block, "Wszystko");
    EXPECT_EQ(report->skipped[i].line, skipped[i].line);
    EXPECT_EQ(report->skipped[i].text, skipped[i].text);
    EXPECT_EQ(report->skipped[i].comment, skipped[i].comment);
  }
  EXPECT_EQ(report->entities, 6u);

  const Collector dxf = Read();
  EXPECT_EQ(dxf.blocks, std::vector<std::string>{"Wszystko"});
  const std::vector<Seen> got = dxf.In("Wszystko");
  // The letter H of the stroke font stands 75 font units tall on a baseline 25 above the
  // insertion point; a font unit is 0.012 of the text's height.
  const double foot = 25 * 0.012 * 2;
  const double angle = 30 * M_PI / 180;
  const struct {
    std::string kind;
    std::vector<double> numbers;
    int colour, colour24, weight;
    std::string text;
  } want[] = {
      // 0.1 mm is no DXF line weight: 0.09 is the nearest.
      {"LINE", {0, 0, 1, 1}, 7, -1, 9, ""},
      {"TEXT",
       {1 - foot * std::sin(angle), 1 + foot * std::cos(angle), 75 * 0.012 * 2, 0.5, 30, 0},
       5,
       0x0000FF,
       25,
       "Zażółć 50%%%%%% "},
      {"ARC", {0, 0, 3, 350, 10}, 7, -1, 9, ""},
      {"CIRCLE", {5, 5, 2}, 1, 0xFF0000, 18, ""},
      {"LWPOLYLINE", {1, 1, 2, 3, 2, 3, 5, 1, 5}, 3, 0x00FF00, 35, ""},
      {"LINE", {0, 0, 10, 0}, 0, 0x800080, 70, ""},
  };
  ASSERT_EQ(got.size(), std::size(want));
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].kind, want[i].kind);
    ExpectNumbers(got[i].numbers, want[i].numbers);
    EXPECT_EQ(got[i].colour24, want[i].colour24);
    if (want[i].colour != 0) {
      EXPECT_EQ(got[i].colour, want[i].colour);
    }
    EXPECT_EQ(got[i].weight, want[i].weight);
    EXPECT_EQ(got[i].text, want[i].text);
  }
  // Purple has no indexed colour of its own: the one given is close to it.
  const double* purple = dxfColors[got[5].colour];
  EXPECT_LT(std::fabs(purple[0] * 255 - 128) + purple[1] * 255 + std::fabs(purple[2] * 255 - 128),
            60);
  EXPECT_EQ(dxf.ints.at("$INSUNITS"), 6);
  EXPECT_EQ(dxf.strings.at("$DWGCODEPAGE"), "ANSI_1250");
}

TEST_F(DxfExportTest, NamesDxfForbidsAreReplacedAndMadeUnique) {
  const struct {
    std::string block, dxf;
  } cases[] = {
      {"*Model_Space", "_Model_Space"},
      {"A/B", "A_B"},
      {"A_B", "A_B_2"},
      {"a/b", "a_b_3"},
      {"  ", "BLOK"},
      {" x<y> ", "x_y_"},
      {"Żółw", "Żółw"},
      {"ŻÓŁW", "ŻÓŁW_2"},
      {"k=1;\"2\"", "k_1__2_"},
  };
  std::string file;
  for (const auto& c : cases) file += Record(c.block, "mm", {"O(0,0,1)"});
  WriteBytes(library_, file);
  std::vector<std::string> names;
  for (const auto& c : cases) names.push_back(c.block);
  const auto report = Export(names);
  ASSERT_TRUE(report) << report.error().message;
  ASSERT_EQ(report->names.size(), std::size(cases));
  const Collector dxf = Read();
  ASSERT_EQ(dxf.blocks.size(), std::size(cases));
  const std::vector<Seen> inserts = dxf.In("");
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].block);
    EXPECT_EQ(dxf.blocks[i], cases[i].dxf);
    EXPECT_EQ(report->names[i].block, cases[i].block);
    EXPECT_EQ(report->names[i].dxf, cases[i].dxf);
    // Each is inserted once, with the name as the library spells it under it.
    EXPECT_EQ(inserts.at(2 * i).kind, "INSERT");
    EXPECT_EQ(inserts.at(2 * i).text, cases[i].dxf);
    EXPECT_EQ(inserts.at(2 * i + 1).text, cases[i].block);
    EXPECT_EQ(dxf.In(cases[i].dxf).size(), 1u);
  }
}

TEST_F(DxfExportTest, EveryBlockInTheEditorsOrderAtItsTrueSize) {
  // The drawing takes the unit most blocks have; the last of two blocks of a name is the one.
  WriteBytes(library_, Record("b", "m", {"L(0,0)-(1,0)"}) + Record("a", "mm", {"O(0,0,500)"}) +
                           Record("B", "m", {"O(0,0,1)"}) + Record("ą", "cm", {}) +
                           Record("b", "m", {"L(0,0)-(2,0)"}));
  const auto report = Export();
  ASSERT_TRUE(report) << report.error().message;
  EXPECT_TRUE(report->skipped.empty());
  const Collector dxf = Read();
  EXPECT_EQ(dxf.blocks, (std::vector<std::string>{"a", "ą", "B", "b_2"}));
  EXPECT_EQ(dxf.ints.at("$INSUNITS"), 6);
  ASSERT_EQ(dxf.In("b_2").size(), 1u);
  ExpectNumbers(dxf.In("b_2")[0].numbers, {0, 0, 2, 0});
  EXPECT_TRUE(dxf.In("ą").empty());
  std::map<std::string, double> scale;
  for (const Seen& s : dxf.In("")) {
    if (s.kind == "INSERT") scale[s.text] = s.numbers[2];
  }
  EXPECT_EQ(scale,
            (std::map<std::string, double>{{"a", 0.001}, {"ą", 0.01}, {"B", 1}, {"b_2", 1}}));
}

TEST_F(DxfExportTest, FailuresSayWhyAndLeaveTheOutputAsItWas) {
  const std::string library = Record("A", "m", {"O(0,0,1)"}) + Record("Zły", "cal", {"O(0,0,1)"});
  const std::filesystem::path lib = library_, out = dxf_, missing = dir_ / "brak.blk",
                              no_folder = dir_ / "brak" / "out.dxf";
  const struct {
    const char* what;
    std::filesystem::path library, output;
    std::vector<std::string> names;
    std::string message;
  } cases[] = {
      {"no such block", lib, out, {"A", "Brak"}, "w pliku " + lib.string() + " nie ma bloku Brak"},
      {"unknown unit", lib, out, {"Zły"}, "nie można odczytać bloku Zły: nieznana jednostka"},
      {"every block, one unreadable", lib, out, {}, "nie można odczytać bloku Zły"},
      {"no library", missing, out, {}, missing.string()},
      {"output is the library", lib, lib, {"A"}, "jest biblioteką bloków"},
      {"output folder missing", lib, no_folder, {"A"}, no_folder.string()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(library_, library);
    WriteBytes(dxf_, "before");
    const auto report = ExportDxf({c.library, c.names, c.output}, ExportFontOf(BuiltRomans()));
    ASSERT_FALSE(report);
    EXPECT_NE(report.error().message.find(c.message), std::string::npos) << report.error().message;
    EXPECT_EQ(ReadBytes(dxf_), "before");
    EXPECT_EQ(ReadBytes(library_), library);
  }
}

}  // namespace
}  // namespace blok
