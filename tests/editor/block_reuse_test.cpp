// Reusing symbols: a library block placed into the block being edited (wb, and a row dropped on
// the view), and entities copied, cut and pasted through the system clipboard (ks, ws, wk).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class BlockReuseTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    // A red line under a blue circle: the colour command acts on the lines above it.
    AppendBlock(library_, "Wzor", {"L(0,0)-(2,0)", "O(1,1,0.5);K(0,0,255)", "K(255,0,0)"});
    AppendBlock(library_, "Centy", {"L(0,0)-(100,0)"}, "cm");
    AppendBlock(library_, "Ramka", {"P(0,0)-(2,1)", "LUK(0,0,1,0,90)", "T(1,0,'Ab',0.5,0.4,10)"});
    AppendBlock(library_, "Pusty", {"K(255,0,0)"});
    StartDrawing("Nowy", {"P(5,5)-(6,6)"});
    editor_.view().FirstShow();
    editor_.PaintPendingFrame();
  }
  // The lines above the block's own first one, in order.
  std::vector<std::string> Inserted() {
    const auto lines = editor_.block().drawing().lines();
    return {lines.begin(), lines.end() - 1};
  }
  void Type(std::initializer_list<const char*> entries) {
    for (const char* entry : entries) editor_.CommandEntered(entry);
  }
  std::string Top() { return editor_.messages().lines().at(0); }
  PixelPoint Pixel(double x, double y) {
    return {editor_.view().transform().WorldToScreenX(x),
            editor_.view().transform().WorldToScreenY(y)};
  }
  void Click(double x, double y) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x, p.y);
    editor_.MouseDown(MouseButton::kLeft, p.x, p.y);
    editor_.MouseUp(MouseButton::kLeft, p.x, p.y);
  }
  void UndoAll() {
    editor_.block().BCofnijClick();
    EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("P(5,5)-(6,6)"));
  }
};

TEST_F(BlockReuseTest, ABlockIsPlacedScaledAndTurnedAsOneStep) {
  const struct {
    const char* block;
    std::vector<const char*> entries;  // point, scale, angle
    std::vector<std::string> lines;
    const char* message;
  } cases[] = {
      {"Wzor",
       {"10,20", "2", "90"},
       {"L(10,20)-(10,24);K(255,0,0);GR(0.1)", "O(8,22,1);K(0,0,255);GR(0.1)"},
       "Wstawiono blok „Wzor”: 2 obiekty."},
      // Enter keeps scale 1 and no turn.
      {"Wzor",
       {"0,0", "", ""},
       {"L(0,0)-(2,0);K(255,0,0);GR(0.1)", "O(1,1,0.5);K(0,0,255);GR(0.1)"},
       "Wstawiono blok „Wzor”: 2 obiekty."},
      {"Wzor",
       {"0,0", "", "45"},
       {"L(0,0)-(1.4142,1.4142);K(255,0,0);GR(0.1)", "O(0,1.4142,0.5);K(0,0,255);GR(0.1)"},
       "Wstawiono blok „Wzor”: 2 obiekty."},
      // Centimetres into metres.
      {"Centy",
       {"1,1", "", ""},
       {"L(1,1)-(2,1);K(0,0,0);GR(0.1)"},
       "Wstawiono blok „Centy”: 1 obiekt. Przeliczono z cm na m."},
      // A right angle keeps the rectangle; the arc's angles and the text's turn, the text's
      // sizes scale.
      {"Ramka",
       {"0,0", "2", "90"},
       {"P(0,0)-(-2,4);K(0,0,0);GR(0.1)", "LUK(0,0,2,90,180);K(0,0,0);GR(0.1)",
        "T(0,2,'Ab',1,0.8,100);K(0,0,0);GR(0.1)"},
       "Wstawiono blok „Ramka”: 3 obiekty."},
      // Off a right angle a rectangle becomes its four edges.
      {"Ramka",
       {"0,0", "", "30"},
       {"L(0,0)-(-0.5,0.866);K(0,0,0);GR(0.1)", "L(-0.5,0.866)-(1.2321,1.866);K(0,0,0);GR(0.1)",
        "L(1.2321,1.866)-(1.7321,1);K(0,0,0);GR(0.1)", "L(1.7321,1)-(0,0);K(0,0,0);GR(0.1)",
        "LUK(0,0,1,30,120);K(0,0,0);GR(0.1)", "T(0.866,0.5,'Ab',0.5,0.4,40);K(0,0,0);GR(0.1)"},
       "Wstawiono blok „Ramka”: 6 obiektów."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.block) + " " + c.entries[2]);
    SelectBlock(c.block);
    Type({"wb"});
    for (const char* entry : c.entries) editor_.CommandEntered(entry);
    EXPECT_THAT(Inserted(), ElementsAreArray(c.lines));
    EXPECT_EQ(Top(), c.message);
    EXPECT_EQ(editor_.machine().awaits(), Awaited::kNothing);
    UndoAll();
  }
}

TEST_F(BlockReuseTest, WithoutASelectedBlockItsNameIsAskedAndCompleted) {
  editor_.library().SelectBlock(std::nullopt);
  Type({"wb"});
  EXPECT_EQ(ui_.prompt, "Wprowadz Nazwa bloku");
  EXPECT_EQ(editor_.machine().awaits(), Awaited::kText);
  const struct {
    const char* typed;
    std::optional<std::string> completed;
  } tabs[] = {{"wz", "Wzor"}, {"ce", "Centy"}, {"c", std::nullopt}, {"x", std::nullopt}};
  for (const auto& t : tabs) EXPECT_EQ(editor_.machine().Complete(t.typed), t.completed) << t.typed;
  // Outside the name step Tab completes keywords.
  Type({"Brak"});
  EXPECT_EQ(Top(), "W pliku nie ma bloku „Brak”.");
  EXPECT_EQ(editor_.machine().awaits(), Awaited::kText);
  Type({"Pusty"});
  EXPECT_EQ(Top(), "Blok „Pusty” nie zawiera obiektów.");
  Type({"Wzor"});
  EXPECT_EQ(editor_.machine().awaits(), Awaited::kCentre);
  Type({"1,1", "", ""});
  EXPECT_EQ(Inserted().size(), 2u);
  EXPECT_EQ(editor_.machine().Complete("wz"), std::nullopt);
  EXPECT_EQ(editor_.machine().Complete("wi"), "wi");
}

TEST_F(BlockReuseTest, WhatCannotBeWrittenAddsNothing) {
  SelectBlock("Wzor");
  Type({"wb", "0,0", "0"});
  EXPECT_EQ(Top(), "Skala musi być liczbą większą od zera.");
  EXPECT_EQ(editor_.machine().awaits(), Awaited::kValue);
  Type({"10000000000000000000000", "0"});
  EXPECT_THAT(editor_.messages().lines().at(1), HasSubstr("nie da się zapisać obiektów: 2"));
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("P(5,5)-(6,6)"));
}

TEST_F(BlockReuseTest, AClickedPointAndDirectionPlaceTheBlock) {
  editor_.preferences().SetGridSnap(true);
  SelectBlock("Wzor");
  Type({"wb"});
  Click(3, 4);
  Type({""});
  Click(3, 9);  // straight up: a quarter turn
  EXPECT_THAT(Inserted(),
              ElementsAre("L(3,4)-(3,6);K(255,0,0);GR(0.1)", "O(2,5,0.5);K(0,0,255);GR(0.1)"));
  UndoAll();
}

TEST_F(BlockReuseTest, ADroppedRowIsPlacedAtThePixelSnapped) {
  editor_.preferences().SetGridSnap(true);
  const PixelPoint p = Pixel(3, 4);
  editor_.DropBlock("Wzor", p.x + 1, p.y + 1);
  EXPECT_THAT(Inserted(),
              ElementsAre("L(3,4)-(5,4);K(255,0,0);GR(0.1)", "O(4,5,0.5);K(0,0,255);GR(0.1)"));
  EXPECT_EQ(Top(), "Wstawiono blok „Wzor”: 2 obiekty.");
  UndoAll();
  editor_.DropBlock("Brak", p.x, p.y);
  EXPECT_THAT(ui_.message_boxes.back(), HasSubstr("nie ma bloku Brak"));
}

TEST_F(BlockReuseTest, CopiedEntitiesPasteIntoAnotherBlockInItsUnit) {
  editor_.block().DodajObiekt("L(10,10)-(12,10);K(0,255,0)");
  Type({"ks"});
  Click(11, 10);
  Type({"10,10"});
  EXPECT_EQ(Top(), "Skopiowano do schowka 1 obiekt.");
  EXPECT_EQ(ui_.clipboard_contents.text, "L(0,0)-(2,0);K(0,255,0);GR(0.1)\n");
  EXPECT_EQ(ui_.clipboard_contents.entities, "JEDNOSTKA m\nL(0,0)-(2,0);K(0,255,0);GR(0.1)\n");
  EXPECT_EQ(editor_.block().drawing().lines().size(), 2u);
  // Into a new block in centimetres.
  ui_.answers = {Answer::kNie};
  editor_.NowyBlok();
  editor_.block().SetUnit("cm");
  Type({"wk", "1,1"});
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("L(1,1)-(201,1);K(0,255,0);GR(0.1)"));
  EXPECT_EQ(Top(), "Wklejono 1 obiekt. Przeliczono z m na cm.");
  editor_.block().BCofnijClick();
  EXPECT_TRUE(editor_.block().drawing().lines().empty());
}

TEST_F(BlockReuseTest, EnterTakesTheLowerLeftCornerAndACutDeletesAsOneStep) {
  editor_.block().DodajObiekt("O(20,10,2)");
  Type({"ws"});
  Click(22, 10);
  Type({""});
  EXPECT_EQ(Top(), "Wycięto do schowka 1 obiekt.");
  EXPECT_EQ(ui_.clipboard_contents.text, "O(2,2,2);K(0,0,0);GR(0.1)\n");
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("P(5,5)-(6,6)"));
  editor_.block().BCofnijClick();
  EXPECT_EQ(editor_.block().drawing().lines().size(), 2u);
}

TEST_F(BlockReuseTest, PlainTextPastesTheLinesThatAreEntities) {
  const struct {
    ClipboardContents clipboard;
    std::vector<std::string> lines;
    const char* message;
  } cases[] = {
      {{std::nullopt, "L(0,0)-(1,0)\r\nto nie jest obiekt\n\nO(0,0,1)\n  \nK(255,0,0)\nL(1"},
       {"L(5,5)-(6,5);K(255,0,0);GR(0.1)", "O(5,5,1);K(255,0,0);GR(0.1)"},
       "Wklejono 2 obiekty, pominięto 2 linie."},
      // Our own form with a unit that is none is read as its plain text.
      {{"JEDNOSTKA km\nL(0,0)-(1,0)\n", "O(0,0,1)"},
       {"O(5,5,1);K(0,0,0);GR(0.1)"},
       "Wklejono 1 obiekt."},
      {{"JEDNOSTKA mm\nL(0,0)-(1000,0)\nśmieci\n", ""},
       {"L(5,5)-(6,5);K(0,0,0);GR(0.1)"},
       "Wklejono 1 obiekt, pominięto 1 linię. Przeliczono z mm na m."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    ui_.clipboard_contents = c.clipboard;
    Type({"wk", "5,5"});
    EXPECT_THAT(Inserted(), ElementsAreArray(c.lines));
    EXPECT_EQ(Top(), c.message);
    UndoAll();
  }
  for (const char* text : {"", "coś innego\n", "K(255,0,0)\n"}) {
    ui_.clipboard_contents = {std::nullopt, text};
    Type({"wk"});
    EXPECT_EQ(editor_.messages().lines().at(2), "Schowek nie zawiera obiektów do wklejenia.");
    EXPECT_EQ(editor_.machine().awaits(), Awaited::kNothing);
  }
}

}  // namespace
}  // namespace blok::testing
