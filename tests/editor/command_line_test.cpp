#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class CommandLineTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    OpenLibrary();
    editor_.view().FirstShow();
    editor_.PaintPendingFrame();
  }

  // An empty block with no command running, as after "Nowy blok".
  void NewBlock() {
    if (editor_.block().unsaved()) ui_.answers.push_back(Answer::kNie);
    editor_.NowyBlok();
    ui_.ClearRecords();
  }

  void Enter(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) editor_.CommandEntered(entry);
  }

  // The newest n lines of the message pane, newest first.
  std::vector<std::string> Top(size_t n) {
    const auto& m = editor_.messages().lines();
    return {m.begin(), m.begin() + static_cast<std::ptrdiff_t>(std::min(n, m.size()))};
  }

  // The drawing oldest first, as the entries were added.
  std::vector<std::string> Added() {
    const auto& lines = editor_.block().drawing().lines();
    return {lines.rbegin(), lines.rend()};
  }
};

struct TypedSession {
  const char* label;
  std::vector<std::string> entries;
  std::vector<std::string> added;     // the drawing, oldest first
  std::vector<std::string> messages;  // the top of the pane, newest first
};

TEST_F(CommandLineTest, TypedSessionsDrawEveryKind) {
  const TypedSession cases[] = {
      {"line by two points",
       {"l", "0,0", "10,5"},
       {"L(0.0,0.0)-(10.0,5.0);K(0,0,0);GR(0,10)"},
       {"Wprowadzono wsp. koncowa X=10,00 Y=5,00", "10,5",
        "Dodano linię  X=0,00 Y=0,00  -   X=10,00 Y=5,00",
        "Wprowadzono wsp. poczatkowa X=0,00 Y=0,00", "0,0", "Rysuj linia ... .", "l"}},
      {"a chain goes on from the last point",
       {"L", "0,0", "1,0", "1,1"},
       {"L(0.0,0.0)-(1.0,0.0);K(0,0,0);GR(0,10)", "L(1.0,0.0)-(1.0,1.0);K(0,0,0);GR(0,10)"},
       {"Wprowadzono wsp. koncowa X=1,00 Y=1,00", "1,1"}},
      {"a bare number is a line along x from the origin",
       {"l", "10.5"},
       {"L(0.0,0.0)-(10.5,0.0);K(0,0,0);GR(0,10)"},
       {"Wprowadzono wsp. koncowa X=10,50 Y=0,00", "10.5",
        "Dodano linię  X=0,00 Y=0,00  -   X=10,50 Y=0,00"}},
      {"a zero-length line is refused and the chain stays",
       {"l", "1,2", "1,2", "1,5"},
       {"L(1.0,2.0)-(1.0,5.0);K(0,0,0);GR(0,10)"},
       {"Wprowadzono wsp. koncowa X=1,00 Y=5,00", "1,5",
        "Dodano linię  X=1,00 Y=2,00  -   X=1,00 Y=5,00", "Wprowadzono wsp. koncowa X=1,00 Y=2,00",
        "1,2", "Anulowano linia."}},
      {"rectangle as four lines",
       {"p", "0,0", "4,3"},
       {"L(0.0,0.0)-(0.0,3.0);K(0,0,0);GR(0,10)", "L(0.0,3.0)-(4.0,3.0);K(0,0,0);GR(0,10)",
        "L(4.0,3.0)-(4.0,0.0);K(0,0,0);GR(0,10)", "L(4.0,0.0)-(0.0,0.0);K(0,0,0);GR(0,10)"},
       {"Wprowadzono wsp. koncowa X=4,00 Y=3,00", "4,3",
        "Dodano prostokąt   X=0,00 Y=0,00  -   X=4,00 Y=3,00"}},
      {"circle by centre and radius",
       {"o", "1,1", "2"},
       {"O(1,1,2);K(0,0,0);GR(0,10)"},
       {"Wprowadzono promien R=2,00", "2", "Dodano okrg X=1,00 Y=1,00 R=2,00", "Wprowadzono wsp. ",
        "1,1", "Rysuj okrąg ... ."}},
      {"typed arc beyond half a turn is the short one",
       {"a", "0,0", "1", "0", "270"},
       {"LUK(0,0,1,270,360);K(0,0,0);GR(0,10)"},
       {"Wprowadzono kat A2=270,00", "270"}},
      {"an end angle below the start gets a turn",
       {"a", "0,0", "1", "300", "30"},
       {"LUK(0,0,1,300,390);K(0,0,0);GR(0,10)"},
       {"Wprowadzono kat A2=390,00", "30"}},
      {"text at a point and an angle",
       {"t", "1,2", "0", "Zażółć"},
       {"T(1,2,'Zażółć',0.6,0.5,0);K(0,0,0);GR(0,10)"},
       {"Zażółć", "Dodano tekst X=1,00 Y=2,00 A= 0,00  Zażółć", "Wprowadzono kat A1=0,00", "0"}},
      {"measuring prints and draws nothing",
       {"odl", "0,0", "3,4"},
       {},
       {"Wprowadzono wsp. koncowa X=3,00 Y=4,00", "3,4", "l= 5,000  dx=3,000 dy=4,000  kat= 53,1",
        "Wprowadzono wsp. poczatkowa X=0,00 Y=0,00", "0,0", "Zmierz odległośc. Wskaż punkty.",
        "odl"}},
      {"direct line, thickness in the combo's own form",
       {"L(0,0)-(10,0)"},
       {"L(0.0,0.0)-(10.0,0.0);K(0,0,0);GR(0,1)"},
       {"Dodaj linię.", "L(0,0)-(10,0)"}},
      {"direct rectangle",
       {"p(1,2)-(3,4)"},
       {"P(1.0,2.0)-(3.0,4.0);K(0,0,0);GR(0,1)"},
       {"Dodaj prostokat.", "p(1,2)-(3,4)"}},
      {"direct text",
       {"T(1,2) Opis"},
       {"T(1,2,'Opis',0.6,0.5,0);K(0,0,0);GR(0,1)"},
       {"Dodaj tekst.", "T(1,2) Opis"}},
      {"malformed direct line", {"L(a,0)-(1,1)"}, {}, {"Nieprawidłowy zapis!", "L(a,0)-(1,1)"}},
      {"keywords ignore case but not blanks",
       {" L", "xyz", ""},
       {},
       {"         <- nieznane polecenie.", "xyz         <- nieznane polecenie.",
        " L         <- nieznane polecenie."}},
      {"an unusable entry abandons the command",
       {"l", "0,0", "abc", "5,5"},
       {},
       {"5,5         <- nieznane polecenie.", "abc         <- nieznane polecenie."}},
  };
  for (const TypedSession& c : cases) {
    SCOPED_TRACE(c.label);
    NewBlock();
    Enter(c.entries);
    EXPECT_THAT(Added(), ElementsAreArray(c.added));
    EXPECT_THAT(Top(c.messages.size()), ElementsAreArray(c.messages));
    EXPECT_EQ(editor_.block().unsaved(), !c.added.empty());
  }
}

}  // namespace
}  // namespace blok::testing

namespace blok::testing {
namespace {

TEST_F(CommandLineTest, BlankRepeatsTheLastAcceptedEntry) {
  Enter({"l", "3,4"});
  Enter({" "});
  // The repeat of the point 3,4 is a second point equal to the first: no line.
  EXPECT_THAT(Top(3),
              ElementsAre("Wprowadzono wsp. koncowa X=3,00 Y=4,00", "3,4", "Anulowano linia."));
  EXPECT_EQ(editor_.preferences().ostatnie_polecenie(), "3,4");
  // An unknown entry is not remembered (and it abandoned the line, so 3,4 means nothing now).
  Enter({"zzz", " "});
  EXPECT_EQ(Top(1)[0], "3,4         <- nieznane polecenie.");
}

TEST_F(CommandLineTest, PromptsFollowTheSteps) {
  const struct {
    std::vector<std::string> entries;
    std::string prompt;
  } cases[] = {
      {{"l"}, "Wprowadz  X , Y"},
      {{"o", "0,0"}, "Wprowadz Promień"},
      {{"a", "0,0", "1"}, "Wprowadz Kąt pocz."},
      {{"a", "0,0", "1", "5"}, "Wprowadz Kąt konc."},
      {{"t", "0,0"}, "Wprowadz Kąt [st]"},
      {{"t", "0,0", "0"}, "Wprowadz tekst"},
      {{"p", "0,0", "1,1"}, "Polecenie:"},
      {{"mo"}, "Polecenie:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries.front() + " ... " + c.entries.back());
    NewBlock();
    Enter(c.entries);
    EXPECT_EQ(ui_.prompt, c.prompt);
  }
}

TEST_F(CommandLineTest, EscapeCancelsAndKeepsWhatWasDrawn) {
  Enter({"l", "0,0", "1,0"});
  editor_.CommandKey(Key::kEscape);
  EXPECT_EQ(Top(1)[0], "Anulowano.");
  EXPECT_TRUE(editor_.machine().wskaz().Polecenie.empty());
  EXPECT_FALSE(ui_.relative_panel);
  EXPECT_EQ(Added().size(), 1u);
  Enter({"2,2"});
  EXPECT_EQ(Top(1)[0], "2,2         <- nieznane polecenie.");
}

TEST_F(CommandLineTest, HelpIsShownOnceAndWithoutAFile) {
  Enter({"?"});
  ASSERT_EQ(ui_.viewer_texts.size(), 1u);
  ASSERT_EQ(ui_.viewer_texts[0].size(), 37u);
  EXPECT_EQ(ui_.viewer_texts[0][1], "Lista polecen programu ver.  1.1.0.0  14 listopad 2021");
  EXPECT_EQ(ui_.viewer_texts[0][14], "wb -       wstaw blok");
  EXPECT_EQ(ui_.viewer_texts[0][24], "ob   -  obrót");
  // The later commands come after the first ones.
  EXPECT_THAT(
      std::vector(ui_.viewer_texts[0].begin() + 25, ui_.viewer_texts[0].end()),
      ElementsAre("lu   -  lustro", "za   -  zaokrąglij", "sz   -  szyk prostokątny",
                  "wi   -  wielokąt foremny (b – na boku, o – opisany na okręgu)",
                  "ro   -  rozciągnij", "sc   -  skaluj (też sk)",
                  "ed   -  zmień cechy obiektu (też e)", "odl  -  zmierz odległość",
                  "ks   -  kopiuj do schowka (Ctrl+C)", "ws   -  wytnij do schowka (Ctrl+X)",
                  "wk   -  wklej ze schowka (Ctrl+V)", "fa   -  fazka o odległościach d1,d2"));
  EXPECT_THAT(Top(2), ElementsAre("Pomoc, lista poleceń.", "?"));
  editor_.CommandKey(Key::kF1);
  EXPECT_EQ(ui_.viewer_texts.size(), 2u);
}

TEST_F(CommandLineTest, NothingStartsWithoutAFile) {
  ScriptedUi ui;
  FakeSurface surface;
  Editor editor(dir_.path(), ui, surface);
  ASSERT_TRUE(editor.Start());
  for (const char* entry : {"l", "L(0,0)-(10,0)", "?"}) editor.CommandEntered(entry);
  EXPECT_TRUE(editor.block().drawing().empty());
  EXPECT_EQ(ui.viewer_texts.size(), 1u);
  EXPECT_EQ(editor.messages().lines().at(0),
            "Stworz nowy plik bloków (menu Pliki/Nowy plik) lub otwórz plik bloków (menu "
            "Pliki/Otworz plik)");
  EXPECT_TRUE(editor.machine().wskaz().Polecenie.empty());
}

TEST_F(CommandLineTest, AwaitedTextTakesTypedWordsButNotControls) {
  // Typed: the word is the text, and as a keyword it also starts its command.
  Enter({"t", "0,0", "0", "mo"});
  EXPECT_THAT(Added(), ElementsAre("T(0,0,'mo',0.6,0.5,0);K(0,0,0);GR(0,10)"));
  EXPECT_EQ(editor_.machine().wskaz().Polecenie, "MOVE");
  // A button while the text is awaited starts its command; nothing is written.
  NewBlock();
  Enter({"t", "0,0", "0"});
  editor_.ControlCommand("l");
  EXPECT_TRUE(Added().empty());
  EXPECT_EQ(editor_.machine().wskaz().Polecenie, "LINIA");
  // A text that is no keyword is echoed and remembered, not reported unknown.
  NewBlock();
  Enter({"t", "0,0", "0", "Opis"});
  EXPECT_EQ(Top(1)[0], "Opis");
  EXPECT_EQ(editor_.preferences().ostatnie_polecenie(), "Opis");
}

TEST_F(CommandLineTest, DegenerateArcsAreRefused) {
  for (const auto& angles : {std::pair{"90", "90"}, std::pair{"0", "360"}}) {
    NewBlock();
    Enter({"a", "0,0", "1", angles.first, angles.second});
    EXPECT_TRUE(Added().empty()) << angles.first << " " << angles.second;
    EXPECT_EQ(Top(3)[2], "Anulowano łuk (A1=A2 lub R=0).");
  }
}

TEST_F(CommandLineTest, StateOverlaySwitchesOnce) {
  Enter({"WSKAZ?"});
  EXPECT_TRUE(editor_.machine().wskaz().pokazStan);
  EXPECT_EQ(Top(1)[0], "WSKAZ?");
  Enter({"l", "1,2"});
  editor_.PaintPendingFrame();
  std::vector<std::string> rows;
  for (const auto& call : surface_.image().CallsOf(CanvasCall::Kind::kText)) {
    if (call.ints.at(0) == 250) rows.push_back(call.text);
  }
  // A point follows the place of its own flag, set or not.
  EXPECT_THAT(rows, ElementsAre("Wskaz:", "Polecenie : LINIA", "Wskaz.P1 = X=1,00 Y=2,00",
                                "szukajP2 = TAK", "Wskaz.ORTOJest = X=1,00 Y=2,00"));
  Enter({"wskaz?"});
  EXPECT_FALSE(editor_.machine().wskaz().pokazStan);
}

TEST_F(CommandLineTest, RelativePanelChainsLines) {
  Enter({"l", "1,1"});
  EXPECT_TRUE(ui_.relative_panel);
  editor_.WprowadzDxDy("2", "0,5", false);
  editor_.WprowadzDxDy("10", "90", true);
  EXPECT_THAT(Added(), ElementsAre("L(1.0,1.0)-(3.0,1.5);K(0,0,0);GR(0,10)",
                                   "L(3.0,1.5)-(3.0,11.5);K(0,0,0);GR(0,10)"));
  editor_.WprowadzDxDy("x", "0", false);
  EXPECT_THAT(ui_.message_boxes, ElementsAre("\"x\" nie jest poprawną liczbą."));
  EXPECT_EQ(Added().size(), 2u);
}

}  // namespace
}  // namespace blok::testing
