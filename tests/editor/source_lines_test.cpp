// The block's lines beside the drawing: the check, rows edited through the journal, the question
// before saving faulty lines, and the link between rows and entities.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class SourceLinesTest : public EditingSessionTest {
 protected:
  std::vector<std::string> Lines() {
    return {editor_.block().drawing().lines().begin(), editor_.block().drawing().lines().end()};
  }
  std::vector<LineStatus> Statuses() {
    std::vector<LineStatus> statuses;
    for (size_t i = 0; i < editor_.block().drawing().size(); ++i) {
      statuses.push_back(editor_.block().SourceLineStatus(i));
    }
    return statuses;
  }
  // Whether the overlay holds anything drawn in the highlight's red.
  bool Highlighted() const {
    for (const CanvasCall& call : surface_.overlay().calls()) {
      const bool drawn = call.kind == CanvasCall::Kind::kLine ||
                         call.kind == CanvasCall::Kind::kPolyline ||
                         call.kind == CanvasCall::Kind::kEllipse;
      if (drawn && call.pen.colour == 0x0000FF) return true;
    }
    return false;
  }
};

TEST_F(SourceLinesTest, TheCheckTidiesAsOneStepAndColoursEveryKindOfLine) {
  // Oldest first: the last becomes line 0.
  // A saved block whose lines are tidy: checked, it is changed all the same.
  SelectBlock("AAA");
  editor_.WczytajWybranyBlok();
  ASSERT_FALSE(editor_.block().unsaved());
  editor_.block().SprawdzSkladnie();
  EXPECT_TRUE(editor_.block().syntax_checked());
  EXPECT_TRUE(editor_.block().unsaved());
  EXPECT_THAT(Lines(), ElementsAre("L(0,0)-(1,1);K(0,0,0);GR(0,10)"));

  Draw({"", "K(255,0,0)", "X(1,2)", "   / / opis", "  L(0,0)-(1,1)", "O(0,0,1);K(zły)"});
  // Before the check, a row's colour is the one the check will give it.
  EXPECT_EQ(editor_.block().SourceLineStatus(2), LineStatus::kComment);
  EXPECT_FALSE(editor_.block().syntax_checked());
  const std::vector<std::string> before = Lines();
  editor_.block().SprawdzSkladnie();
  EXPECT_THAT(Lines(), ElementsAre("O(0,0,1);K(zły)", "L(0,0)-(1,1)", "// opis", "X(1,2)",
                                   "K(255,0,0)", ""));
  // The tail never makes a record faulty; a blank line is no entity and no comment.
  EXPECT_THAT(Statuses(),
              ElementsAre(LineStatus::kEntity, LineStatus::kEntity, LineStatus::kComment,
                          LineStatus::kInvalid, LineStatus::kEntity, LineStatus::kInvalid));
  EXPECT_EQ(editor_.block().FaultyLineCount(), 2u);
  // One Cofnij takes back every tidied start.
  editor_.block().BCofnijClick();
  EXPECT_EQ(Lines(), before);
}

TEST_F(SourceLinesTest, RowsEditedThroughTheJournal) {
  const struct {
    const char* label;
    size_t row;  // the line edited; past the end: a new row
    const char* text;
    bool changed;
    std::vector<std::string> lines;
  } cases[] = {
      {"replaced", 1, "O(3,3,1)", true, {"L(0,0)-(1,1)", "O(3,3,1)"}},
      {"a faulty line is kept", 0, "L(0,0)-", true, {"L(0,0)-", "P(0,0)-(2,2)"}},
      {"emptied: deleted", 0, "   ", true, {"P(0,0)-(2,2)"}},
      {"the same text: nothing", 0, "L(0,0)-(1,1)", false, {"L(0,0)-(1,1)", "P(0,0)-(2,2)"}},
      {"a line break becomes a space",
       0,
       "L(0,0)-\n(1,1)",
       true,
       {"L(0,0)- (1,1)", "P(0,0)-(2,2)"}},
      {"added as line 0", 9, "O(0,0,2)", true, {"O(0,0,2)", "L(0,0)-(1,1)", "P(0,0)-(2,2)"}},
      {"an empty new row: nothing", 9, "", false, {"L(0,0)-(1,1)", "P(0,0)-(2,2)"}},
      {"too long for the file", 0, nullptr, false, {"L(0,0)-(1,1)", "P(0,0)-(2,2)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Draw({"P(0,0)-(2,2)", "L(0,0)-(1,1)"});
    const auto journal = editor_.block().journal().lines().size();
    const std::string text = c.text != nullptr ? c.text : "T(0,0,'" + std::string(250, 'a') + "')";
    const bool changed = c.row < editor_.block().drawing().size()
                             ? editor_.block().EditSourceLine(c.row, text)
                             : editor_.block().AddSourceLine(text);
    EXPECT_EQ(changed, c.changed);
    EXPECT_EQ(Lines(), c.lines);
    if (c.text == nullptr) {
      EXPECT_THAT(ui_.message_boxes,
                  ElementsAre("Linia ma 259 znaków, a linia bloku może mieć najwyżej 255."));
      ui_.ClearRecords();
    }
    if (!changed) {
      EXPECT_EQ(editor_.block().journal().lines().size(), journal);
      continue;
    }
    editor_.block().BCofnijClick();
    EXPECT_THAT(Lines(), ElementsAre("L(0,0)-(1,1)", "P(0,0)-(2,2)"));
  }
}

TEST_F(SourceLinesTest, SavingFaultyLinesAsksFirst) {
  const struct {
    Answer answer;
    bool saved;
  } cases[] = {{Answer::kNie, false}, {Answer::kKasuj, false}, {Answer::kTak, true}};
  for (const auto& c : cases) {
    Draw({"O(0,0,1)", "X(1,2)", "Y", "// dobry komentarz"});
    ui_.ClearRecords();
    editor_.block().SetBlockName("Błędny");
    const auto names = BlockNames(library_);
    ui_.answers.push_back(c.answer);
    EXPECT_EQ(editor_.library().ZapiszBlokZPytaniem(), c.saved);
    EXPECT_THAT(ui_.questions, ElementsAre("Blok zawiera 2 błędne linie. Zapisać?"));
    ui_.ClearRecords();
    EXPECT_EQ(BlockNames(library_).size(), names.size() + (c.saved ? 1 : 0));
  }
  // Without faulty lines nothing is asked.
  Draw({"O(0,0,1)", "// komentarz"});
  ui_.ClearRecords();
  editor_.block().SetBlockName("Dobry");
  EXPECT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(SourceLinesTest, ARowShowsItsEntityAndTheDrawingShowsItsRow) {
  Draw({"O(0,0,1)", "// opis", "L(500,500)-(501,501)"});
  // Line 2, the circle, is on the screen: highlighted where it is.
  const double x = editor_.view().transform().centre_x(), y = editor_.view().transform().centre_y();
  editor_.block().ShowSourceLine(2);
  EXPECT_TRUE(Highlighted());
  EXPECT_EQ(editor_.view().transform().centre_x(), x);
  EXPECT_EQ(editor_.view().transform().centre_y(), y);
  // A comment has nothing to show.
  editor_.block().ShowSourceLine(1);
  EXPECT_FALSE(Highlighted());
  // Line 0 is far off: the view moves to it at the same scale.
  const double scale = editor_.view().transform().scale();
  editor_.block().ShowSourceLine(0);
  EXPECT_TRUE(Highlighted());
  EXPECT_NEAR(editor_.view().transform().centre_x(), 500.5, 1e-3);
  EXPECT_NEAR(editor_.view().transform().centre_y(), 500.5, 1e-3);
  EXPECT_EQ(editor_.view().transform().scale(), scale);

  // The delete command's hover over the line points at its row, once per entity.
  editor_.WykonajPolecenie("u");
  int pointed = 0;
  editor_.block().OnChanged(
      [&](BlockChange change) { pointed += change == BlockChange::kPointed; });
  const PixelPoint p = Pixel(500.5, 500.5);
  editor_.MouseMove(p.x, p.y);
  editor_.MouseMove(p.x + 1, p.y + 1);
  EXPECT_EQ(editor_.block().pointed_line(), 0u);
  EXPECT_EQ(pointed, 1);
}

}  // namespace
}  // namespace blok::testing
