#include "document/dxf_values.h"

#include <gtest/gtest.h>

#include "model/cp1250.h"

namespace blok::dxf {
namespace {

// The export writes each of the editor's values by the same tables the import reads them with.
TEST(DxfValues, UnitsColoursAndWeightsBothWays) {
  const struct {
    const char* unit;
    int code;
  } units[] = {{"m", 6}, {"cm", 5}, {"mm", 4}};
  for (const auto& u : units) {
    SCOPED_TRACE(u.unit);
    EXPECT_EQ(InsunitsCode(*FindUnit(u.unit)), u.code);
    // Read back, the code is the same unit, kept as it is.
    DxfImportReport report;
    Drawing d;
    d.units = u.code;
    const UnitChoice read = ChooseUnit(d, {}, report);
    EXPECT_EQ(read.unit, u.unit);
    EXPECT_EQ(read.scale, 1);
    EXPECT_TRUE(report.notes.empty());
  }
  for (const Colour c : {RgbColour(255, 0, 0), RgbColour(0, 255, 0), RgbColour(0, 0, 255)}) {
    EXPECT_EQ(IndexedColour(NearestColourIndex(c)), c) << c;
  }
  EXPECT_EQ(NearestColourIndex(0), 7);
  EXPECT_EQ(IndexedColour(7), 0);
  const struct {
    float thickness;
    int weight;
  } weights[] = {{0.1f, 9}, {0.18f, 18}, {0.25f, 25}, {0.7f, 70}, {1, 100}, {0, 0}, {-1, 0}};
  for (const auto& w : weights) {
    EXPECT_EQ(Lineweight(w.thickness), w.weight) << w.thickness;
    if (w.weight > 9) {
      EXPECT_FLOAT_EQ(static_cast<float>(ThicknessOfLineweight(w.weight)), w.thickness);
    }
  }
}

TEST(DxfValues, TextsOnOneLineInTheCodePage) {
  const struct {
    const char* text;
    const char* fitted;       // UTF-8, as the import keeps it
    const char* entity_utf8;  // the TEXT entity's bytes, shown in UTF-8
  } cases[] = {
      {"Zażółć", "Zażółć", "Zażółć"},
      {"a\tb\nc", "a b c", "a b c"},
      {"π = 3", "? = 3", "? = 3"},
      {"50%", "50%", "50%"},
      {"50%% 7%", "50%% 7%", "50%%%%%% 7%%%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FitText(c.text), c.fitted);
    EXPECT_EQ(Cp1250ToUtf8(TextEntityBytes(c.text)), c.entity_utf8);
  }
}

}  // namespace
}  // namespace blok::dxf
