#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(GridStepFromTextTest, EitherSeparatorAndTheLimits) {
  const struct {
    const char* text;
    float step;
  } cases[] = {
      {"0.05", 0.05f}, {"0,05", 0.05f},  {"1", 1},      {"100", 100},    {" 2,5 ", 2.5f},
      {"0", 0.01f},    {"0.001", 0.01f}, {"-3", 0.01f}, {"0,01", 0.01f}, {"", 1},
      {"abc", 1},      {"1,2,3", 1},     {"1e39", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(GridStepFromText(c.text), c.step) << c.text;
}

TEST(TextSizeFromTextTest, NumbersOnly) {
  EXPECT_EQ(TextSizeFromText("0,80"), 0.8f);
  EXPECT_EQ(TextSizeFromText("1.5"), 1.5f);
  for (const char* text : {"", "x", "0,6x", "1e40"}) {
    EXPECT_FALSE(TextSizeFromText(text).has_value()) << text;
  }
}

class SettingsTest : public EditorTest {};

TEST_F(SettingsTest, TextSizeThatIsNotANumberKeepsTheOldValue) {
  struct Box {
    const char* label;
    std::function<bool(std::string_view)> set;
    std::function<float()> value;
    float initial;
  };
  const Box boxes[] = {
      {"height", [&](std::string_view t) { return editor_.preferences().SetTextHeightText(t); },
       [&] { return editor_.preferences().settings().text_height; }, 0.6f},
      {"width", [&](std::string_view t) { return editor_.preferences().SetTextWidthText(t); },
       [&] { return editor_.preferences().settings().text_width; }, 0.5f},
  };
  for (const Box& box : boxes) {
    ui_.ClearRecords();
    EXPECT_EQ(box.value(), box.initial) << box.label;
    EXPECT_TRUE(box.set("1.50")) << box.label;
    EXPECT_EQ(box.value(), 1.5f) << box.label;
    EXPECT_FALSE(box.set("duży")) << box.label;
    EXPECT_EQ(box.value(), 1.5f) << box.label;
    ASSERT_EQ(ui_.message_boxes.size(), 1u) << box.label;
    EXPECT_THAT(ui_.message_boxes[0], HasSubstr("duży"));
  }
}

TEST_F(SettingsTest, DrawingSettingsRedraw) {
  const struct {
    const char* label;
    std::function<void()> change;
    bool redraws;
  } cases[] = {
      {"grid snap", [&] { editor_.preferences().SetGridSnap(true); }, true},
      {"draw grid", [&] { editor_.preferences().SetDrawGrid(false); }, true},
      {"grid step", [&] { editor_.preferences().SetGridStepText("0,5"); }, true},
      {"grid size", [&] { editor_.preferences().SetGridSizeText("25"); }, true},
      {"ortho", [&] { editor_.preferences().SetOrtho(true); }, false},
      {"snap", [&] { editor_.preferences().SetSnap(Snap::kCentre, true); }, false},
      {"thickness", [&] { editor_.preferences().SetThicknessText("0,35"); }, false},
  };
  for (const auto& c : cases) {
    ui_.ClearRecords();
    c.change();
    EXPECT_EQ(ui_.redraws > 0, c.redraws) << c.label;
  }
  // What the redraw reads.
  const ViewSettings view = editor_.preferences().view_settings();
  EXPECT_TRUE(view.grid_snap);
  EXPECT_FALSE(view.draw_grid);
  EXPECT_EQ(view.grid_step, 0.5f);
  EXPECT_EQ(view.grid_size_text, "25");
  EXPECT_TRUE(editor_.preferences().settings().ortho);
  EXPECT_TRUE(editor_.preferences().settings().snap_centre);
  EXPECT_FALSE(editor_.preferences().settings().snap_end);
  EXPECT_EQ(editor_.preferences().settings().thickness_text, "0,35");
}

TEST_F(SettingsTest, ColourDialog) {
  ui_.colours = {RgbColour(255, 0, 0), std::nullopt};
  editor_.preferences().ChooseColour();
  EXPECT_EQ(editor_.preferences().settings().colour, RgbColour(255, 0, 0));
  editor_.preferences().ChooseColour();  // cancelled
  EXPECT_EQ(editor_.preferences().settings().colour, RgbColour(255, 0, 0));
  EXPECT_THAT(ui_.colour_dialogs, ElementsAre(0u, RgbColour(255, 0, 0)));
}

}  // namespace
}  // namespace blok::testing
