#include "editor/entity_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_ui.h"

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ScriptedUi;

// A drawing: its lines and their records, as the Editor holds them.
class EntityEditorTest : public ::testing::Test {
 protected:
  void SetDrawing(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    records_.clear();
    for (const auto& line : lines_) records_.push_back(ParseEntity(line));
  }

  // The change as "replace 3 L(...)" or "add L(...)"; "none" when there is none.
  std::string Open(int index) {
    const std::optional<EditChange> change = editor_.Open(ui_, records_, lines_, index);
    if (!change) return "none";
    switch (change->kind) {
      case EditChange::Kind::kReplace:
        return "replace " + std::to_string(change->index) + " " + change->line;
      case EditChange::Kind::kAdd:
        return "add " + change->line;
      case EditChange::Kind::kDelete:
        break;
    }
    return "delete " + std::to_string(change->index);
  }

  ScriptedUi ui_;
  EntityEditor editor_;
  std::vector<std::string> lines_;
  std::vector<ParsedEntity> records_;
};

TEST_F(EntityEditorTest, EachKindOpensItsDialogAndReplacesItsLine) {
  SetDrawing({"L(0,0)-(3,4);K(255,0,0);GR(0,25)", "P(-2,-1)-(2,1);K(0,0,0);GR(0.1)",
              "O(3,4,1.5);K(0,128,0);GR(0,25)", "LUK(0,0,2,300,30);K(0,0,0);GR(0,10)",
              "T(1,2,'Opis',0.6,0.5,90);K(0,0,0);GR(0,10)"});
  ui_.line_answers = {[](LineDialogModel& m) {
                        m.x2 = "5,5";
                        return true;
                      },
                      ScriptedUi::Confirm<LineDialogModel>()};
  ui_.circle_answers = {[](CircleDialogModel& m) {
                          m.r = "2.5";
                          return true;
                        },
                        [](CircleDialogModel& m) {
                          m.start = "120";
                          m.end = "30";
                          return true;
                        }};
  ui_.text_answers = {[](TextDialogModel& m) {
    m.text = "Nowy opis";
    return true;
  }};

  EXPECT_EQ(Open(0), "replace 0 L(0,0.0)-(5.5,4.0);K(255,0,0);GR(0,25)");
  EXPECT_EQ(Open(1), "replace 1 P(-2,-1.0)-(2.0,1.0);K(0,0,0);GR(0,1)");
  EXPECT_EQ(Open(2), "replace 2 O(3,4,2.5);K(0,128,0);GR(0,25)");
  // The arc's angles as entered: no swap into the other part of the circle.
  EXPECT_EQ(Open(3), "replace 3 LUK(0,0,2,120,30);K(0,0,0);GR(0,1)");
  EXPECT_EQ(Open(4), "replace 4 T(1,2,'Nowy opis',0.6,0.5,90);K(0,0,0);GR(0,1)");

  ASSERT_EQ(ui_.line_dialogs.size(), 2u);
  EXPECT_EQ(ui_.line_dialogs[0].typ, "L");
  EXPECT_EQ(ui_.line_dialogs[1].typ, "P");
  EXPECT_EQ(ui_.line_dialogs[1].nr, 1);
  ASSERT_EQ(ui_.circle_dialogs.size(), 2u);
  EXPECT_FALSE(ui_.circle_dialogs[0].arc());
  EXPECT_TRUE(ui_.circle_dialogs[1].arc());
  EXPECT_EQ(ui_.circle_dialogs[1].start, "300");
  ASSERT_EQ(ui_.text_dialogs.size(), 1u);
  EXPECT_EQ(ui_.text_dialogs[0].angle_choice, TextAngleChoice::kPion);
  EXPECT_THAT(ui_.message_boxes, IsEmpty());
}

TEST_F(EntityEditorTest, LinesThatAreNoValidEntityOpenNothing) {
  SetDrawing({"K(255,0,0)", "GR(0,5)", "// uwaga", "L(a,2)-(3,4)", "T(1,2,'x')", "", "Q(1,2)",
              "L(0,0)-(1,1)"});
  for (int index : {-1, 0, 1, 2, 3, 4, 5, 6, 8, 100}) {
    EXPECT_EQ(Open(index), "none") << index;
  }
  EXPECT_THAT(ui_.line_dialogs, IsEmpty());
  EXPECT_THAT(ui_.text_dialogs, IsEmpty());
}

TEST_F(EntityEditorTest, ALineWithoutItsOwnStyleShowsTheOneInForceThere) {
  // The redraw goes from the last line up: line 1 is drawn after K( and GR( of lines 2 and 3,
  // line 4 before them.
  SetDrawing({"T(0,0,'A',1,1,0)", "L(0,0)-(1,1)", "K(0,0,255)", "GR(0,5)", "O(0,0,1)"});
  ui_.line_answers = {ScriptedUi::Confirm<LineDialogModel>()};
  ui_.circle_answers = {ScriptedUi::Confirm<CircleDialogModel>()};
  ui_.text_answers = {ScriptedUi::Confirm<TextDialogModel>()};
  EXPECT_EQ(Open(1), "replace 1 L(0,0.0)-(1.0,1.0);K(0,0,255);GR(0,5)");
  EXPECT_EQ(Open(4), "replace 4 O(0,0,1);K(0,0,0);GR(0,1)");
  EXPECT_EQ(Open(0), "replace 0 T(0,0,'A',1,1,0);K(0,0,255);GR(0,5)");
  EXPECT_EQ(ui_.line_dialogs[0].colour, 0xFF0000u);
}

TEST_F(EntityEditorTest, ARefusedApplyKeepsTheDialogOpenUntilFixedOrLeft) {
  SetDrawing({"L(0,0)-(3,4);K(0,0,0);GR(0,10)", "T(1,2,'Opis',1,1,0)"});
  ui_.line_answers = {[](LineDialogModel& m) {
                        m.x1 = "abc";
                        return true;
                      },
                      [](LineDialogModel& m) {
                        EXPECT_EQ(m.x1, "abc");  // the field as the user left it
                        m.x1 = "12.5";
                        return true;
                      },
                      [](LineDialogModel& m) {
                        m.y1 = "";
                        return true;
                      },
                      ScriptedUi::Cancel<LineDialogModel>()};
  ui_.text_answers = {[](TextDialogModel& m) {
                        m.text = "ÓSEMKA ☃";
                        return true;
                      },
                      [](TextDialogModel& m) {
                        EXPECT_EQ(m.text, "ÓSEMKA ☃");  // kept to be corrected
                        return false;
                      }};
  EXPECT_EQ(Open(0), "replace 0 L(12.5,0.0)-(3.0,4.0);K(0,0,0);GR(0,1)");
  EXPECT_EQ(Open(0), "none");
  EXPECT_EQ(Open(1), "none");
  EXPECT_THAT(ui_.message_boxes,
              ElementsAre("\"abc\" nie jest poprawną liczbą.", "\"\" nie jest poprawną liczbą.",
                          "Tekst zawiera znak „☃” (U+2603), którego nie ma w stronie kodowej "
                          "1250."));
}

TEST_F(EntityEditorTest, FieldsTheEntityDoesNotFillKeepTheirTextsBetweenOpenings) {
  SetDrawing({"LUK(0,0,2,10,80)", "O(5,5,1)", "T(0,0,'A',1,1,33)", "T(0,0,'B',1,1,0)"});
  ui_.circle_answers = {ScriptedUi::Cancel<CircleDialogModel>(),
                        ScriptedUi::Cancel<CircleDialogModel>()};
  ui_.text_answers = {ScriptedUi::Cancel<TextDialogModel>(), ScriptedUi::Cancel<TextDialogModel>()};
  Open(0);
  Open(1);
  Open(2);
  Open(3);
  // A circle shows the last arc's angles, greyed; a level text keeps the last typed angle.
  EXPECT_EQ(ui_.circle_dialogs[1].start, "10");
  EXPECT_EQ(ui_.circle_dialogs[1].end, "80");
  EXPECT_FALSE(ui_.circle_dialogs[1].arc());
  EXPECT_EQ(ui_.text_dialogs[1].angle_choice, TextAngleChoice::kPoziom);
  EXPECT_EQ(ui_.text_dialogs[1].angle, "33");
}

TEST_F(EntityEditorTest, ANegativeNrAddsTheLine) {
  SetDrawing({"O(0,0,1)"});
  ui_.circle_answers = {[](CircleDialogModel& m) {
    m.nr = -1;
    return true;
  }};
  EXPECT_EQ(Open(0), "add O(0,0,1);K(0,0,0);GR(0,1)");
}

TEST_F(EntityEditorTest, ChangePropertiesClearsTheBoxesAtEveryShowing) {
  ui_.properties_answers = {
      [](PropertiesDialogModel& m) {
        m.ThicknessEdited("0,25");
        return true;
      },
      // Shown again: nothing checked, so "Wykonaj" does nothing and the form stays open.
      [](PropertiesDialogModel& m) {
        EXPECT_FALSE(m.change_thickness);
        EXPECT_EQ(m.thickness_text, "0,25");
        return true;
      },
      [](PropertiesDialogModel& m) {
        m.ColourDialogClosed(std::nullopt);
        return true;
      },
      [](PropertiesDialogModel& m) {
        m.height_text = "abc";
        m.change_width = true;
        return true;
      },
      ScriptedUi::Cancel<PropertiesDialogModel>()};

  const auto thickness = editor_.ChangeProperties(ui_);
  ASSERT_TRUE(thickness);
  EXPECT_TRUE(thickness->thickness);
  EXPECT_FALSE(thickness->colour || thickness->height || thickness->width);
  EXPECT_FLOAT_EQ(thickness->thickness_value, 0.25f);

  const auto colour = editor_.ChangeProperties(ui_);
  ASSERT_TRUE(colour);
  EXPECT_TRUE(colour->colour);
  EXPECT_FALSE(colour->thickness);
  EXPECT_EQ(colour->colour_value, 0u);

  EXPECT_FALSE(editor_.ChangeProperties(ui_).has_value());
  EXPECT_THAT(ui_.message_boxes, ElementsAre("\"abc\" nie jest poprawną liczbą."));
  EXPECT_EQ(ui_.properties_dialogs.size(), 3u);
}

}  // namespace
}  // namespace blok
