#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/dxf_import.h"
#include "support/dxf_groups.h"

namespace blok {
namespace {

constexpr auto Groups = testing::DxfGroups;

// Model space entities of a drawing in millimetres, after the header variables given.
std::string Drawing(std::string_view entities, std::string_view header = "") {
  return "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n" + std::string(header) +
         "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + std::string(entities) + "0\nENDSEC\n0\nEOF\n";
}

// A hatch of one polyline path through the corners given as "x", "y" pairs, solid or with the
// pattern groups given (from 75 on).
std::string Hatch(std::vector<std::string_view> corners, std::string_view fill = "",
                  std::string_view lineweight = "-1") {
  std::string h = Groups({{0, "HATCH"},
                          {8, "0"},
                          {370, lineweight},
                          {10, "0"},
                          {20, "0"},
                          {30, "0"},
                          {2, fill.empty() ? "SOLID" : "ANSI31"},
                          {70, fill.empty() ? "1" : "0"},
                          {71, "0"},
                          {91, "1"},
                          {92, "2"},
                          {72, "0"},
                          {73, "1"},
                          {93, std::to_string(corners.size() / 2)}});
  for (size_t i = 0; i + 1 < corners.size(); i += 2) {
    h += Groups({{10, corners[i]}, {20, corners[i + 1]}});
  }
  h += Groups({{97, "0"}});
  h += fill.empty() ? Groups({{75, "0"}, {76, "1"}, {98, "0"}}) : std::string(fill);
  return h;
}

DxfImportReport Imported(const std::string& bytes) {
  DxfImportOptions options;
  options.model_name = "rysunek";
  auto report = ImportDxfBytes(bytes, "t.dxf", options);
  EXPECT_TRUE(report.has_value()) << (report ? "" : report.error().message);
  return report ? *report : DxfImportReport{};
}

size_t Starting(const std::vector<std::string>& lines, std::string_view start) {
  return static_cast<size_t>(
      std::ranges::count_if(lines, [&](const std::string& l) { return l.starts_with(start); }));
}

bool Noted(const DxfImportReport& report, std::string_view part) {
  return std::ranges::any_of(report.notes,
                             [&](const std::string& n) { return n.find(part) != n.npos; });
}

TEST(DxfHatchImport, HatchesBecomeTheirBoundaryAndFill) {
  const std::string ansi31 = Groups({{75, "0"},
                                     {76, "1"},
                                     {52, "0"},
                                     {41, "1"},
                                     {77, "0"},
                                     {78, "1"},
                                     {53, "45"},
                                     {43, "0"},
                                     {44, "0"},
                                     {45, "-2.2450640303"},
                                     {46, "2.2450640303"},
                                     {79, "0"},
                                     {98, "0"}});
  struct Case {
    std::string what;
    std::string entities;
    std::string boundary;  // the first line of the boundary
    size_t fill;           // level (solid) or slanting (pattern) lines
    std::string note;      // a part of a note, or none
  };
  const std::vector<Case> cases = {
      // 0.10 thick, a line drawn 0.01 wide: lines 0.005 apart, two hundred across 1, the top
      // edge left to the boundary.
      {"solid square", Hatch({"0", "0", "1", "0", "1", "1", "0", "1"}),
       "P(0,0)-(1,1);K(0,0,0);GR(0.1)", 200, ""},
      {"solid square, first vertex repeated",
       Hatch({"0", "0", "1", "0", "1", "1", "0", "1", "0", "0"}), "P(0,0)-(1,1);K(0,0,0);GR(0.1)",
       200, ""},
      // 0.50: the spacing follows the thickness.
      {"thicker pen", Hatch({"0", "0", "1", "0", "1", "1", "0", "1"}, "", "50"),
       "P(0,0)-(1,1);K(0,0,0);GR(0.5)", 40, ""},
      {"past the cap", Hatch({"0", "0", "1000", "0", "1000", "1000", "0", "1000"}),
       "P(0,0)-(1000,1000);K(0,0,0);GR(0.1)", 0, "ponad 5000 linii wypełnienia"},
      {"pattern", Hatch({"0", "0", "10", "0", "10", "10", "0", "10"}, ansi31),
       "P(0,0)-(10,10);K(0,0,0);GR(0.1)", 5, ""},
  };
  for (const Case& c : cases) {
    const DxfImportReport report = Imported(Drawing(c.entities));
    ASSERT_EQ(report.blocks.size(), 1u) << c.what;
    const std::vector<std::string>& lines = report.blocks[0].lines;
    EXPECT_EQ(lines.back(), c.boundary) << c.what;
    EXPECT_EQ(lines.size(), c.fill + 1) << c.what;
    EXPECT_EQ(Starting(lines, "L("), c.fill) << c.what;
    EXPECT_EQ(Noted(report, "kreskowanie"), !c.note.empty()) << c.what;
    if (!c.note.empty()) {
      EXPECT_TRUE(Noted(report, c.note)) << c.what;
    }
    EXPECT_TRUE(report.skipped.empty()) << c.what;
  }
}

TEST(DxfHatchImport, HostileHatchesEndWithTheBoundaryOrASkip) {
  struct Case {
    std::string what;
    std::string entities;
    size_t lines;
    bool skipped;
  };
  std::string many_loops = Groups({{0, "HATCH"}, {70, "1"}, {91, "1000000"}});
  for (int i = 0; i < 2000; ++i) {
    many_loops += Groups({{92, "2"},
                          {93, "3"},
                          {10, "0"},
                          {20, "0"},
                          {10, "1"},
                          {20, "0"},
                          {10, "0"},
                          {20, "1"},
                          {97, "0"}});
  }
  const std::vector<Case> cases = {
      {"paths promised, none given", Groups({{0, "HATCH"}, {70, "1"}, {91, "1000000"}}), 0, true},
      {"numbers that are none", Hatch({"nan", "0", "1", "inf", "1", "1", "0", "1"}), 201, false},
      {"two thousand triangles, cancelling in pairs", many_loops, 2000 * 3, false},
      {"pattern lines on one another",
       Hatch({"0", "0", "1", "0", "1", "1", "0", "1"},
             Groups({{75, "0"}, {78, "1"}, {53, "0"}, {43, "0"}, {44, "0"}, {45, "1"}, {46, "0"}})),
       1, false},
      {"huge extents", Hatch({"0", "0", "1e300", "0", "1e300", "1e300", "0", "1e300"}), 0, true},
  };
  for (const Case& c : cases) {
    DxfImportOptions options;
    options.model_name = "rysunek";
    const auto report = ImportDxfBytes(Drawing(c.entities), "t.dxf", options);
    if (!report) {
      EXPECT_TRUE(c.skipped) << c.what << ": " << report.error().message;
      continue;
    }
    ASSERT_EQ(report->blocks.size(), 1u) << c.what;
    EXPECT_EQ(report->blocks[0].lines.size(), c.lines) << c.what;
  }
}

TEST(DxfHatchImport, PointsBecomeSmallCircles) {
  const std::string two_points = Groups({{0, "POINT"}, {10, "5"}, {20, "5"}}) +
                                 Groups({{0, "POINT"}, {10, "100"}, {20, "20"}});
  struct Case {
    std::string what;
    std::string header;
    std::string circle;  // the first point's
    std::string note;
  };
  const std::vector<Case> cases = {
      {"the drawing's point size", "9\n$PDSIZE\n40\n2\n", "O(5,5,1);K(0,0,0);GR(0.1)",
       "punkty DXF: 2, narysowane jako okręgi o promieniu 1"},
      // 95 across: a hundredth of it.
      {"a share of the extent", "", "O(5,5,0.95);K(0,0,0);GR(0.1)",
       "punkty DXF: 2, narysowane jako okręgi o promieniu 0,95"},
      {"a point size too small", "9\n$PDSIZE\n40\n0.01\n", "O(5,5,0.5);K(0,0,0);GR(0.1)",
       "punkty DXF: 2, narysowane jako okręgi o promieniu 0,5"},
  };
  for (const Case& c : cases) {
    const DxfImportReport report = Imported(Drawing(two_points, c.header));
    ASSERT_EQ(report.blocks.size(), 1u) << c.what;
    EXPECT_EQ(report.blocks[0].lines.back(), c.circle) << c.what;
    EXPECT_TRUE(std::ranges::find(report.notes, c.note) != report.notes.end()) << c.what;
    EXPECT_TRUE(report.skipped.empty()) << c.what;
  }
}

}  // namespace
}  // namespace blok
