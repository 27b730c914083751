// The library as a whole from the window's menu: delete, rename, duplicate and copy the block
// selected in the list, and the report of blocks saved twice.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class LibraryWorkflowTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    OpenLibrary();
  }
  std::vector<std::string> Names() { return editor_.library().block_list().names(); }
};

// Each operation done, or refused and cancelled with the file's bytes as they were.
TEST_F(LibraryWorkflowTest, EachOperationChangesTheFileOrNothing) {
  struct Case {
    const char* label;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> texts;
    void (Library::*operation)();
    std::vector<std::string> names;  // the list afterwards; empty: the file is unchanged
    const char* message_box = nullptr;
  };
  const Case cases[] = {
      {"delete", {Answer::kTak}, {}, &Library::UsunBlok, {"AAA", "CCC"}},
      {"delete, Nie", {Answer::kNie}, {}, &Library::UsunBlok, {}},
      {"rename", {}, {"BBB nowy"}, &Library::ZmienNazweBloku, {"AAA", "BBB nowy", "CCC"}},
      {"rename to a name taken", {}, {"AAA"}, &Library::ZmienNazweBloku, {}, "już istnieje"},
      {"rename too short", {}, {"Bb"}, &Library::ZmienNazweBloku, {}, "co najmniej 3"},
      {"rename cancelled", {}, {std::nullopt}, &Library::ZmienNazweBloku, {}},
      {"duplicate", {}, {"BBB 2"}, &Library::DuplikujBlok, {"AAA", "BBB", "BBB 2", "CCC"}},
      {"duplicate onto a name taken", {}, {"CCC"}, &Library::DuplikujBlok, {}, "już istnieje"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string before = ReadBytes(library_);
    ui_.ClearRecords();
    SelectBlock("BBB");
    ui_.answers = c.answers;
    ui_.texts = c.texts;
    (editor_.library().*c.operation)();
    EXPECT_TRUE(ui_.answers.empty() && ui_.texts.empty());
    if (c.names.empty()) {
      EXPECT_EQ(ReadBytes(library_), before);
    } else {
      EXPECT_EQ(Names(), c.names);
      EXPECT_EQ(BlockNames(library_).size(), c.names.size());
    }
    if (c.message_box != nullptr) {
      ASSERT_EQ(ui_.message_boxes.size(), 1u);
      EXPECT_THAT(ui_.message_boxes[0], HasSubstr(c.message_box));
    }
    WriteBytes(library_, before);
    editor_.OtworzOstatniPlik(library_.string());
  }
}

// The block being edited follows its rename; deleting it leaves the drawing, unsaved.
TEST_F(LibraryWorkflowTest, TheEditedBlockFollows) {
  SelectBlock("BBB");
  editor_.WczytajWybranyBlok();
  ASSERT_EQ(editor_.block().block_name(), "BBB");
  ui_.texts = {"Studnia"};
  editor_.library().ZmienNazweBloku();
  EXPECT_EQ(editor_.block().block_name(), "Studnia");
  EXPECT_FALSE(editor_.block().unsaved());
  ui_.answers = {Answer::kTak};
  editor_.library().UsunBlok();
  EXPECT_EQ(editor_.block().drawing().lines().size(), 2u);
  EXPECT_TRUE(editor_.block().unsaved());
}

TEST_F(LibraryWorkflowTest, CopyToAnotherLibraryAsksBeforeReplacing) {
  const std::filesystem::path other = dir_ / "Bloki" / "inna.blk";
  AppendBlock(other, "Zasuwa", {"O(0,0,9)"});
  SelectBlock("CCC");
  ui_.open_paths = {other};
  editor_.library().KopiujDoBiblioteki();
  EXPECT_THAT(BlockNames(other), ElementsAre("Zasuwa", "CCC"));
  EXPECT_EQ(StoredLines(other, "CCC"), StoredLines(library_, "CCC"));
  const std::string before = ReadBytes(other);
  ui_.open_paths = {other};
  ui_.answers = {Answer::kNie};
  editor_.library().KopiujDoBiblioteki();
  EXPECT_EQ(ReadBytes(other), before);
  EXPECT_THAT(ui_.questions, Contains("Blok CCC: Taki blok już istnieje! Nadpisać?"));
}

TEST_F(LibraryWorkflowTest, DuplicatesReportNamesAPlantedPair) {
  editor_.library().PokazDuplikaty();
  ASSERT_EQ(ui_.viewer_texts.size(), 1u);
  EXPECT_THAT(ui_.viewer_texts[0][0], HasSubstr("nie ma duplikatów"));
  AppendBlock(library_, "Kopia AAA", {"// ta sama", "L(0,0)-(1,1.00001);K(0,0,0);GR(0.1)"});
  editor_.library().PokazDuplikaty();
  EXPECT_THAT(ui_.viewer_texts[1], ElementsAre("Ten sam rysunek: AAA | Kopia AAA"));
}

// Several rows selected: M_KopiujDoBiblioteki copies every block, asking about each name the
// other library has; the other commands keep to the current row.
TEST_F(LibraryWorkflowTest, SeveralSelectedBlocksAreCopiedTogether) {
  const std::filesystem::path other = dir_ / "Bloki" / "inna.blk";
  AppendBlock(other, "CCC", {"O(0,0,9)"});
  const std::string before = ReadBytes(other);
  const struct {
    Answer answer;  // to the question about CCC
    std::vector<std::string> names;
    std::vector<std::string> ccc;
    std::string message;
  } cases[] = {
      {Answer::kTak, {"AAA", "CCC"}, *StoredLines(library_, "CCC"), "Skopiowano bloki AAA, CCC"},
      {Answer::kNie, {"CCC", "AAA"}, {"O(0,0,9)"}, "Skopiowano blok AAA"},
      {Answer::kKasuj, {"CCC"}, {"O(0,0,9)"}, ""},
  };
  for (const auto& c : cases) {
    WriteBytes(other, before);
    OpenLibrary();
    SelectBlock("CCC");
    editor_.library().SelectBlockRows({0, 2});  // AAA and CCC, CCC current
    ui_.open_paths = {other};
    ui_.answers = {c.answer};
    editor_.library().KopiujDoBiblioteki();
    EXPECT_THAT(ui_.questions, ElementsAre("Blok CCC: Taki blok już istnieje! Nadpisać?"));
    EXPECT_THAT(BlockNames(other), ElementsAreArray(c.names));
    EXPECT_EQ(StoredLines(other, "CCC"), c.ccc);
    if (c.message.empty()) {
      EXPECT_EQ(ReadBytes(other), before);
    } else {
      EXPECT_EQ(StoredLines(other, "AAA"), StoredLines(library_, "AAA"));
      EXPECT_THAT(editor_.messages().lines(), Contains(c.message + " do pliku " + other.string()));
    }
  }
  // Deleting takes the current row alone.
  OpenLibrary();
  SelectBlock("CCC");
  editor_.library().SelectBlockRows({0, 1, 2});
  ui_.answers = {Answer::kTak};
  editor_.library().UsunBlok();
  EXPECT_THAT(BlockNames(library_), ElementsAre("AAA", "BBB"));
  // One row selected again: one block copied.
  SelectBlock("AAA");
  editor_.library().SelectBlockRows({0, 1});
  SelectBlock("BBB");
  editor_.library().SelectBlockRows({1});
  WriteBytes(other, before);
  ui_.open_paths = {other};
  editor_.library().KopiujDoBiblioteki();
  EXPECT_THAT(BlockNames(other), ElementsAre("CCC", "BBB"));
}

}  // namespace
}  // namespace blok::testing
