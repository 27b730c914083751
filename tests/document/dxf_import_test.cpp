#include "document/dxf_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/entity_reader.h"
#include "support/dxf_groups.h"
#include "support/test_dir.h"

namespace blok {
namespace {

constexpr auto Groups = testing::DxfGroups;

// A drawing of header variables, layers, block definitions (each "0\nBLOCK..." to "ENDBLK")
// and model space entities, all given as group text.
std::string Drawing(std::string_view entities, std::string_view blocks = "",
                    std::string_view header = "9\n$INSUNITS\n70\n6\n",
                    std::string_view layers = "") {
  std::string d = "0\nSECTION\n2\nHEADER\n" + std::string(header) + "0\nENDSEC\n";
  d += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n" + std::string(layers) + "0\nENDTAB\n";
  d += "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n" + std::string(blocks) + "0\nENDSEC\n";
  d += "0\nSECTION\n2\nENTITIES\n" + std::string(entities) + "0\nENDSEC\n0\nEOF\n";
  return d;
}

std::string Block(std::string_view name, std::string_view entities, std::string_view base = "0") {
  return "0\nBLOCK\n2\n" + std::string(name) + "\n70\n0\n10\n" + std::string(base) + "\n20\n0\n" +
         std::string(entities) + "0\nENDBLK\n";
}

DxfImportOptions Options() {
  DxfImportOptions options;
  options.model_name = "rysunek";
  options.capital = {10, 50};  // an H 0.6 high, its foot 0.12 above a text of height 1
  return options;
}

Result<DxfImportReport> Import(const std::string& bytes,
                               const DxfImportOptions& options = Options()) {
  return ImportDxfBytes(bytes, "t.dxf", options);
}

std::vector<std::string> Lines(const std::string& bytes) {
  const auto report = Import(bytes);
  EXPECT_TRUE(report.has_value()) << (report ? "" : report.error().message);
  if (!report || report->blocks.empty()) return {};
  return report->blocks.front().lines;
}

struct EntityCase {
  const char* what;
  std::string entities;
  std::vector<std::string> lines;  // in the block's order: the last DXF entity first
};

TEST(DxfImport, EachEntityKindBecomesItsLine) {
  const std::vector<EntityCase> cases = {
      {"line",
       Groups({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3.5"}, {21, "-4"}}),
       {"L(1,2)-(3.5,-4);K(0,0,0);GR(0.1)"}},
      {"circle",
       Groups({{0, "CIRCLE"}, {10, "1"}, {20, "2"}, {40, "0.5"}}),
       {"O(1,2,0.5);K(0,0,0);GR(0.1)"}},
      {"arc in degrees",
       Groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "2"}, {50, "350"}, {51, "10"}}),
       {"LUK(0,0,2,350,10);K(0,0,0);GR(0.1)"}},
      {"arc seen from below turns clockwise",
       Groups({{0, "ARC"}, {10, "1"}, {20, "0"}, {40, "2"}, {50, "0"}, {51, "90"}, {230, "-1"}}),
       {"LUK(-1,0,2,90,180);K(0,0,0);GR(0.1)"}},
      {"polyline segment and half circle",
       Groups({{0, "LWPOLYLINE"},
               {90, "3"},
               {70, "0"},
               {10, "0"},
               {20, "0"},
               {10, "2"},
               {20, "0"},
               {42, "1"},
               {10, "4"},
               {20, "0"}}),
       {"LUK(3,0,1,180,0);K(0,0,0);GR(0.1)", "L(0,0)-(2,0);K(0,0,0);GR(0.1)"}},
      {"clockwise bulge",
       Groups({{0, "LWPOLYLINE"},
               {90, "2"},
               {70, "0"},
               {10, "0"},
               {20, "0"},
               {42, "-1"},
               {10, "2"},
               {20, "0"}}),
       {"LUK(1,0,1,0,180);K(0,0,0);GR(0.1)"}},
      {"closed level rectangle",
       Groups({{0, "LWPOLYLINE"},
               {90, "4"},
               {70, "1"},
               {10, "1"},
               {20, "2"},
               {10, "3"},
               {20, "2"},
               {10, "3"},
               {20, "5"},
               {10, "1"},
               {20, "5"}}),
       {"P(1,2)-(3,5);K(0,0,0);GR(0.1)"}},
      {"closed diamond stays lines",
       Groups({{0, "LWPOLYLINE"},
               {90, "4"},
               {70, "1"},
               {10, "1"},
               {20, "0"},
               {10, "0"},
               {20, "1"},
               {10, "-1"},
               {20, "0"},
               {10, "0"},
               {20, "-1"}}),
       {"L(0,-1)-(1,0);K(0,0,0);GR(0.1)", "L(-1,0)-(0,-1);K(0,0,0);GR(0.1)",
        "L(0,1)-(-1,0);K(0,0,0);GR(0.1)", "L(1,0)-(0,1);K(0,0,0);GR(0.1)"}},
      {"old-style polyline",
       Groups({{0, "POLYLINE"},
               {66, "1"},
               {70, "0"},
               {0, "VERTEX"},
               {10, "0"},
               {20, "0"},
               {0, "VERTEX"},
               {10, "1"},
               {20, "1"},
               {0, "SEQEND"}}),
       {"L(0,0)-(1,1);K(0,0,0);GR(0.1)"}},
      {"circular ellipse",
       Groups({{0, "ELLIPSE"},
               {10, "1"},
               {20, "1"},
               {11, "0"},
               {21, "2"},
               {40, "1"},
               {41, "0"},
               {42, "3.141592653589793"}}),
       {"LUK(1,1,2,90,270);K(0,0,0);GR(0.1)"}},
      {"text on its baseline",
       Groups({{0, "TEXT"}, {10, "1"}, {20, "2"}, {40, "0.6"}, {41, "0.8"}, {50, "90"}, {1, "Ab"}}),
       {"T(1.12,2,'Ab',1,0.8,90);K(0,0,0);GR(0.1)"}},
      {"mirrored text",
       Groups({{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "1.2"}, {71, "6"}, {1, "x"}}),
       {"T(0,0.24,'x',-2,-2,0);K(0,0,0);GR(0.1)"}},
      {"text codes",
       Groups({{0, "TEXT"}, {10, "0"}, {20, "0.12"}, {40, "0.6"}, {1, "%%c20 90%%d %%%"}}),
       {"T(0,0,'fi20 90° %',1,1,0);K(0,0,0);GR(0.1)"}},
      {"mtext formatting and paragraphs",
       Groups({{0, "MTEXT"},
               {10, "0"},
               {20, "0.6"},
               {40, "0.6"},
               {71, "1"},
               {1, "{\\fArial|b1;Zażółć}\\P\\H2;x\\S1^2;"}}),
       {"T(0,-1.12,'x1/2',1,1,0);K(0,0,0);GR(0.1)", "T(0,-0.12,'Zażółć',1,1,0);K(0,0,0);GR(0.1)"}},
      {"characters the code page lacks",
       Groups({{0, "TEXT"}, {10, "0"}, {20, "0.12"}, {40, "0.6"}, {1, "\\U+2603 ok"}}),
       {"T(0,0,'? ok',1,1,0);K(0,0,0);GR(0.1)"}},
      {"an apostrophe kept as the editor keeps a typed one",
       Groups({{0, "TEXT"}, {10, "0"}, {20, "0.12"}, {40, "0.6"}, {1, "TODAY'S DATE"}}),
       {"T(0,0,'TODAY’S DATE',1,1,0);K(0,0,0);GR(0.1)"}},
      {"an arc that rounds to a whole turn is its circle",
       Groups({{0, "ARC"}, {10, "1"}, {20, "2"}, {40, "3"}, {50, "10"}, {51, "9.99999"}}),
       {"O(1,2,3);K(0,0,0);GR(0.1)"}},
      {"and the same past 0 degrees",
       Groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0.00002"}, {51, "359.99998"}}),
       {"O(0,0,1);K(0,0,0);GR(0.1)"}},
      {"an arc just short of rounding stays an arc",
       Groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "10"}, {51, "9.9998"}}),
       {"LUK(0,0,1,10,9.9998);K(0,0,0);GR(0.1)"}},
  };
  for (const EntityCase& c : cases) {
    EXPECT_EQ(Lines(Drawing(c.entities)), c.lines) << c.what;
  }
}

// A sweep that rounds to nothing draws nothing: skipped and counted, not written as an arc
// with equal angles.
TEST(DxfImport, AnArcThatRoundsToNothingIsSkippedAndCounted) {
  const auto report = Import(
      Drawing(Groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "45"}, {51, "45.00001"}}) +
              Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}})));
  ASSERT_TRUE(report.has_value());
  ASSERT_EQ(report->blocks.size(), 1u);
  EXPECT_EQ(report->blocks.front().lines,
            std::vector<std::string>{"L(0,0)-(1,0);K(0,0,0);GR(0.1)"});
  EXPECT_EQ(report->skipped.at("ARC"), 1);
}

TEST(DxfImport, ColoursAndWeightsFromTheEntityItsLayerOrItsInsert) {
  const std::string layers = Groups({{0, "LAYER"},
                                     {2, "Blue"},
                                     {62, "5"},
                                     {370, "50"},
                                     {0, "LAYER"},
                                     {2, "Rgb"},
                                     {62, "-1"},
                                     {420, "65280"},
                                     {370, "-3"}});
  const auto line = [](std::initializer_list<std::pair<int, std::string_view>> extra) {
    std::string l = Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}});
    return l + Groups(extra);
  };
  struct Case {
    const char* what;
    std::string entity;
    std::string tail;
  } cases[] = {
      {"no colour on layer 0", line({}), ";K(0,0,0);GR(0.1)"},
      {"indexed", line({{62, "1"}, {370, "35"}}), ";K(255,0,0);GR(0.35)"},
      {"index 7 is black", line({{62, "7"}}), ";K(0,0,0);GR(0.1)"},
      {"true colour over indexed", line({{62, "1"}, {420, "1193046"}}), ";K(18,52,86);GR(0.1)"},
      {"by layer", line({{8, "blue"}}), ";K(0,0,255);GR(0.5)"},
      {"layer's true colour", line({{8, "RGB"}, {370, "-1"}}), ";K(0,255,0);GR(0.1)"},
      {"weight to the nearest of the list", line({{370, "40"}}), ";K(0,0,0);GR(0.35)"},
      {"weight of 2 mm", line({{370, "211"}}), ";K(0,0,0);GR(1.0)"},
  };
  for (const Case& c : cases) {
    const auto lines = Lines(Drawing(c.entity, "", "9\n$INSUNITS\n70\n6\n", layers));
    ASSERT_EQ(lines.size(), 1u) << c.what;
    EXPECT_EQ(lines[0], "L(0,0)-(1,0)" + c.tail) << c.what;
  }
  // By block: the insert's colour and weight.
  const std::string blocks = Block("B", line({{62, "0"}, {370, "-2"}}));
  const std::string insert =
      Groups({{0, "INSERT"}, {2, "b"}, {10, "0"}, {20, "0"}, {62, "3"}, {370, "70"}});
  EXPECT_EQ(Lines(Drawing(insert, blocks, "9\n$INSUNITS\n70\n6\n", layers)),
            std::vector<std::string>{"L(0,0)-(1,0);K(0,255,0);GR(0.7)"});
}

TEST(DxfImport, InsertsArePlacedTurnedScaledAndRepeated) {
  const std::string blocks =
      Block("Kreska", Groups({{0, "LINE"}, {10, "1"}, {20, "0"}, {11, "2"}, {21, "0"}}), "1") +
      Block("Dwie", Groups({{0, "INSERT"},
                            {2, "Kreska"},
                            {10, "0"},
                            {20, "0"},
                            {0, "INSERT"},
                            {2, "Kreska"},
                            {10, "0"},
                            {20, "1"}}));
  struct Case {
    const char* what;
    std::string insert;
    std::vector<std::string> lines;
  } cases[] = {
      {"turned and scaled",
       Groups({{0, "INSERT"},
               {2, "Kreska"},
               {10, "10"},
               {20, "10"},
               {41, "2"},
               {42, "2"},
               {50, "90"}}),
       {"L(10,10)-(10,12);K(0,0,0);GR(0.1)"}},
      {"mirrored",
       Groups({{0, "INSERT"}, {2, "Kreska"}, {10, "0"}, {20, "0"}, {41, "-1"}}),
       {"L(0,0)-(-1,0);K(0,0,0);GR(0.1)"}},
      {"columns and rows",
       Groups({{0, "INSERT"},
               {2, "Kreska"},
               {10, "0"},
               {20, "0"},
               {70, "2"},
               {71, "2"},
               {44, "5"},
               {45, "3"}}),
       {"L(5,3)-(6,3);K(0,0,0);GR(0.1)", "L(0,3)-(1,3);K(0,0,0);GR(0.1)",
        "L(5,0)-(6,0);K(0,0,0);GR(0.1)", "L(0,0)-(1,0);K(0,0,0);GR(0.1)"}},
      {"nested",
       Groups({{0, "INSERT"}, {2, "Dwie"}, {10, "1"}, {20, "1"}}),
       {"L(1,2)-(2,2);K(0,0,0);GR(0.1)", "L(1,1)-(2,1);K(0,0,0);GR(0.1)"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(Drawing(c.insert, blocks)), c.lines) << c.what;
  }
}

// Largest distance of the segments' midpoints from the curve, as a share of its size.
double WorstDeviation(const std::vector<std::string>& lines, auto on_curve, double size) {
  double worst = 0;
  for (const std::string& line : lines) {
    const EntityRecord record = ReadEntity(line, ReadingDefaults{});
    const auto* s = std::get_if<SegmentRecord>(&record);
    EXPECT_NE(s, nullptr) << line;
    if (s == nullptr) continue;
    worst = std::max(worst, on_curve((s->x1 + s->x2) / 2, (s->y1 + s->y2) / 2) / size);
  }
  return worst;
}

TEST(DxfImport, CurvesAreFlattenedWithinATenthOfAPercent) {
  // An ellipse of semi-axes 4 and 1, and a circle stretched to the same by its insert.
  const auto ellipse_distance = [](double x, double y) {
    double best = 1e9;
    for (int i = 0; i < 20000; ++i) {
      const double t = i * 2 * std::numbers::pi / 20000;
      best = std::min(best, std::hypot(x - 4 * std::cos(t), y - std::sin(t)));
    }
    return best;
  };
  const std::string ellipse = Groups({{0, "ELLIPSE"},
                                      {10, "0"},
                                      {20, "0"},
                                      {11, "4"},
                                      {21, "0"},
                                      {40, "0.25"},
                                      {41, "0"},
                                      {42, "6.283185307179586"}});
  const std::string stretched =
      Groups({{0, "INSERT"}, {2, "C"}, {10, "0"}, {20, "0"}, {41, "4"}, {42, "1"}});
  const std::string circle = Block("C", Groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1"}}));
  for (const auto& lines : {Lines(Drawing(ellipse)), Lines(Drawing(stretched, circle))}) {
    EXPECT_GT(lines.size(), 20u);
    EXPECT_LT(WorstDeviation(lines, ellipse_distance, 4), 0.001);
  }
  // A cubic Bézier as a spline of one span.
  const auto bezier = [](double t) {
    const double u = 1 - t;
    return std::pair{3 * u * u * t * 1 + 3 * u * t * t * 3 + t * t * t * 4,
                     3 * u * u * t * 2 + 3 * u * t * t * 2};
  };
  const auto bezier_distance = [&](double x, double y) {
    double best = 1e9;
    for (int i = 0; i <= 20000; ++i) {
      const auto [bx, by] = bezier(i / 20000.0);
      best = std::min(best, std::hypot(x - bx, y - by));
    }
    return best;
  };
  const std::string spline =
      Groups({{0, "SPLINE"}, {71, "3"}, {72, "8"}, {73, "4"}, {40, "0"}, {40, "0"}, {40, "0"},
              {40, "0"},     {40, "1"}, {40, "1"}, {40, "1"}, {40, "1"}, {10, "0"}, {20, "0"},
              {10, "1"},     {20, "2"}, {10, "3"}, {20, "2"}, {10, "4"}, {20, "0"}});
  const auto lines = Lines(Drawing(spline));
  EXPECT_GT(lines.size(), 4u);
  EXPECT_LT(WorstDeviation(lines, bezier_distance, std::hypot(4, 2)), 0.001);
  EXPECT_EQ(lines.back().substr(0, 8), "L(0,0)-(");
}

TEST(DxfImport, UnitsFromTheFileOrTheCaller) {
  const std::string line = Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}});
  struct Case {
    const char* what;
    std::string header;
    std::optional<std::string> unit;
    std::string want_unit, want_line;
    bool note;
  } cases[] = {
      {"metres", "9\n$INSUNITS\n70\n6\n", {}, "m", "L(0,0)-(1,0)", false},
      {"millimetres", "9\n$INSUNITS\n70\n4\n", {}, "mm", "L(0,0)-(1,0)", false},
      {"inches to centimetres", "9\n$INSUNITS\n70\n1\n", {}, "cm", "L(0,0)-(2.54,0)", true},
      {"feet to metres", "9\n$INSUNITS\n70\n2\n", {}, "m", "L(0,0)-(0.3048,0)", true},
      {"kilometres to metres", "9\n$INSUNITS\n70\n7\n", {}, "m", "L(0,0)-(1000,0)", true},
      // Halfway between centimetres and metres, as near as the logarithms tell: metres.
      {"decimetres to metres", "9\n$INSUNITS\n70\n14\n", {}, "m", "L(0,0)-(0.1,0)", true},
      {"unitless is metres", "", {}, "m", "L(0,0)-(1,0)", true},
      {"the caller's unit over the file's", "9\n$INSUNITS\n70\n1\n", "mm", "mm", "L(0,0)-(1,0)",
       false},
  };
  for (const Case& c : cases) {
    DxfImportOptions options = Options();
    options.unit = c.unit;
    const auto report = Import(Drawing(line, "", c.header), options);
    ASSERT_TRUE(report.has_value()) << c.what;
    ASSERT_EQ(report->blocks.size(), 1u);
    EXPECT_EQ(report->blocks[0].unit, c.want_unit) << c.what;
    EXPECT_EQ(report->blocks[0].lines[0], c.want_line + ";K(0,0,0);GR(0.1)") << c.what;
    EXPECT_EQ(!report->notes.empty(), c.note) << c.what;
  }
}

TEST(DxfImport, BlocksByNameBaseAtTheOriginAndOthersSkippedAndCounted) {
  const std::string blocks =
      Block("*Model_Space", "") + Block("*U1", Groups({{0, "POINT"}})) +
      Block("Zawór",
            Groups({{0, "CIRCLE"},
                    {10, "5"},
                    {20, "0"},
                    {40, "1"},
                    {0, "POINT"},
                    {10, "0"},
                    {20, "0"},
                    {0, "HATCH"}}),
            "5") +
      Block("Inny", Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}));
  DxfImportOptions options = Options();
  options.all_blocks = true;
  auto report = Import(Drawing("", blocks), options);
  ASSERT_TRUE(report.has_value()) << report.error().message;
  ASSERT_EQ(report->blocks.size(), 2u);
  EXPECT_EQ(report->blocks[0].name, "Zawór");
  EXPECT_EQ(report->blocks[0].lines, (std::vector<std::string>{"O(-5,0,0.05);K(0,0,0);GR(0.1)",
                                                               "O(0,0,1);K(0,0,0);GR(0.1)"}));
  EXPECT_EQ(report->skipped, (std::map<std::string, int>{{"HATCH", 1}}));
  EXPECT_EQ(report->skipped_each.size(), 1u);

  options.only = {"INNY"};
  report = Import(Drawing("", blocks), options);
  ASSERT_TRUE(report.has_value());
  ASSERT_EQ(report->blocks.size(), 1u);
  EXPECT_EQ(report->blocks[0].name, "Inny");
  options.only = {"Brak"};
  report = Import(Drawing("", blocks), options);
  ASSERT_FALSE(report.has_value());
  EXPECT_NE(report.error().message.find("nie ma bloku Brak"), std::string::npos);
}

// What a user chooses from: the model space first, then the definitions; a drawing needs
// objects in one of them only.
TEST(DxfImport, WithTheModelSpaceTheDefinitionsFollowIt) {
  const std::string line = Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}});
  const std::string block =
      Block("Zawór", Groups({{0, "CIRCLE"}, {10, "5"}, {20, "0"}, {40, "1"}}), "5");
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;  // none: refused
    std::vector<bool> model_space;
  } cases[] = {
      {"both", Drawing(line, block), {"rysunek", "Zawór"}, {true, false}},
      {"model space only", Drawing(line), {"rysunek"}, {true}},
      {"definitions only", Drawing("", block), {"Zawór"}, {false}},
      {"neither", Drawing("", Block("Pusty", "")), {}, {}},
  };
  DxfImportOptions options = Options();
  options.all_blocks = true;
  options.with_model = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto report = Import(c.bytes, options);
    if (c.names.empty()) {
      ASSERT_FALSE(report.has_value());
      EXPECT_NE(report.error().message.find("nie ma obiektów"), std::string::npos)
          << report.error().message;
      continue;
    }
    ASSERT_TRUE(report.has_value()) << report.error().message;
    std::vector<std::string> names;
    std::vector<bool> model_space;
    for (const DxfBlock& b : report->blocks) {
      names.push_back(b.name);
      model_space.push_back(b.model_space);
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(model_space, c.model_space);
  }
}

TEST(DxfImport, BadInputIsRefusedWithAReason) {
  const std::string line = Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}});
  std::string deep;
  for (int i = 0; i < 18; ++i) {
    deep +=
        Block("D" + std::to_string(i),
              i == 17 ? line : Groups({{0, "INSERT"}, {2, "D" + std::to_string(i + 1)}}).c_str());
  }
  const std::string self = Block("S", Groups({{0, "INSERT"}, {2, "S"}}));
  const std::string cycle =
      Block("A", Groups({{0, "INSERT"}, {2, "B"}})) + Block("B", Groups({{0, "INSERT"}, {2, "a"}}));
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"not DXF", "hello\nworld\n", "nie jest rysunkiem DXF"},
      {"empty", "", "nie jest rysunkiem DXF"},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "rest", "binarny DXF"},
      {"cut short", Drawing(line).substr(0, 120), "niepełny"},
      {"a code that is no number", "0\nSECTION\nx\nHEADER\n0\nEOF\n", "uszkodzony"},
      {"self insert", Drawing(Groups({{0, "INSERT"}, {2, "S"}}), self), "wstawia sam siebie"},
      {"cycle", Drawing(Groups({{0, "INSERT"}, {2, "A"}}), cycle), "wstawia sam siebie"},
      {"too deep", Drawing(Groups({{0, "INSERT"}, {2, "D0"}}), deep), "głębiej niż 16"},
      {"nothing to draw", Drawing(Groups({{0, "IMAGE"}})), "nie ma obiektów"},
      {"copies without end",
       Drawing(Groups({{0, "INSERT"}, {2, "P"}, {70, "30000"}, {71, "30000"}}),
               Block("P", Groups({{0, "IMAGE"}}))),
       "za dużo wstawień"},
  };
  for (const Case& c : cases) {
    const auto report = Import(c.bytes);
    ASSERT_FALSE(report.has_value()) << c.what;
    EXPECT_NE(report.error().message.find(c.message), std::string::npos)
        << c.what << ": " << report.error().message;
  }
  // Sixteen levels are allowed.
  EXPECT_TRUE(Import(Drawing(Groups({{0, "INSERT"}, {2, "D2"}}), deep)).has_value());
}

TEST(DxfImport, NamesTheCodePageCannotHoldAreRefused) {
  DxfImportOptions options = Options();
  options.model_name = "Snow ☃";
  const auto report =
      Import(Drawing(Groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}})), options);
  ASSERT_FALSE(report.has_value());
  EXPECT_NE(report.error().message.find("U+2603"), std::string::npos) << report.error().message;
}

TEST(DxfImport, StringsInTheFilesCodePage) {
  const std::string text = Groups(
      {{0, "TEXT"}, {10, "0"}, {20, "0.12"}, {40, "0.6"}, {1, "\xA3\xF3\xBF"}});  // Łóż in CP1250
  EXPECT_EQ(Lines(Drawing(text, "", "9\n$DWGCODEPAGE\n3\nANSI_1250\n9\n$INSUNITS\n70\n6\n")),
            std::vector<std::string>{"T(0,0,'Łóż',1,1,0);K(0,0,0);GR(0.1)"});
  const std::string utf8 = Groups({{0, "TEXT"}, {10, "0"}, {20, "0.12"}, {40, "0.6"}, {1, "Łóż"}});
  EXPECT_EQ(Lines(Drawing(utf8, "", "9\n$ACADVER\n1\nAC1027\n9\n$INSUNITS\n70\n6\n")),
            std::vector<std::string>{"T(0,0,'Łóż',1,1,0);K(0,0,0);GR(0.1)"});
}

TEST(DxfImport, PlainMtextLines) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"abc", {"abc"}},
      {"a\\Pb", {"a", "b"}},
      {"\\A1;\\pxqc;{\\C1;red} \\Lline\\l", {"red line"}},
      {"50\\~\\{x\\}\\\\", {"50 {x}\\"}},
      {"\\S3#4;", {"3/4"}},
      {"a\\P\\P", {"a"}},
      {"x^2^Jy^Iz", {"x^2", "y z"}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlainMtextLines(c.text), c.lines) << c.text;
}

}  // namespace
}  // namespace blok
