#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "editor/editor_fixture.h"
#include "support/child_process.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::string_view kUnsavedQuestion = "Dane niezapisane. Nadpisać?";
constexpr std::string_view kBadName =
    "Nazwa i grupa musi składać się z min 3 liter! Kasuje polecenie!";
constexpr std::string_view kBadNameOpen =
    "Nazwa i grupa musi składać się z min 3 liter! Kasuje polecenie1";

class BlockWorkflowTest : public EditorTest {};

// The pane's only line after the library was opened.
const auto kOpenedMessage = HasSubstr("Wczytano plik z blokami ");

TEST_F(BlockWorkflowTest, NewFileIsCreatedAndOpened) {
  editor_.block().SetUnit("cm");
  const auto file = dir_ / "Bloki" / "nowy.blk";
  ui_.save_paths.push_back(file);
  editor_.NowyPlikBlokow();

  ASSERT_EQ(ui_.dialogs.size(), 1u);
  EXPECT_EQ(ui_.dialogs[0].kind, ScriptedUi::DialogKind::kSave);
  EXPECT_EQ(ui_.dialogs[0].dialog.title, "Zapisz plik");

  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(ReadBytes(file), "");
  EXPECT_EQ(editor_.library().WindowCaption(), file.string());
  EXPECT_THAT(editor_.messages().lines(), ElementsAre("Tworzę nowy plik " + file.string()));
  EXPECT_TRUE(editor_.block().tools_enabled());
  EXPECT_FALSE(editor_.ShowsStartPanel());
  EXPECT_FALSE(editor_.block().unsaved());
  EXPECT_EQ(editor_.block().unit(), "cm");
  EXPECT_EQ(editor_.preferences().recent_files().entries().at(0).path, file.string());
  EXPECT_GE(ui_.redraws, 1);
}

TEST_F(BlockWorkflowTest, NewFileOnAnExistingLibraryListsItsBlocks) {
  OpenLibrary();
  editor_.block().SetBlockName("Rysowany");
  editor_.block().DodajObiekt("O(0,0,1)");
  editor_.preferences().SetOstatniePolecenie("l");
  ui_.answers.push_back(Answer::kNie);
  ui_.save_paths.push_back(library_);
  editor_.NowyPlikBlokow();

  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("AAA", "BBB", "CCC"));
  EXPECT_THAT(editor_.messages().lines(),
              ElementsAre("Otwieram istniejący plik " + library_.string()));
  EXPECT_TRUE(editor_.block().drawing().empty());
  EXPECT_EQ(editor_.block().block_name(), "");
  EXPECT_FALSE(editor_.block().journal().CanUndo());
  EXPECT_FALSE(editor_.block().unsaved());
  EXPECT_FALSE(editor_.preferences().ostatnie_polecenie().has_value());
  // "Nie" discarded the block: nothing new in the library.
  EXPECT_THAT(BlockNames(library_), ElementsAre("AAA", "BBB", "CCC"));
}

TEST_F(BlockWorkflowTest, NewFileThatCannotBeCreatedOpensNothing) {
  WriteBytes(dir_ / "plik", "not a directory");
  const auto file = dir_ / "plik" / "nowy.blk";
  ui_.save_paths.push_back(file);
  editor_.NowyPlikBlokow();

  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr(file.string()));
  EXPECT_EQ(editor_.library().FileLabel(), "NAZWA");
  EXPECT_EQ(editor_.library().WindowCaption(), "...");
  EXPECT_FALSE(editor_.block().tools_enabled());
  EXPECT_THAT(editor_.preferences().recent_files().entries(), IsEmpty());
}

TEST_F(BlockWorkflowTest, CancelledDialogsChangeNothing) {
  StartDrawing("Rysowany");
  ui_.answers = {Answer::kNie, Answer::kNie};
  ui_.save_paths.push_back(std::nullopt);
  editor_.NowyPlikBlokow();
  ui_.open_paths.push_back(std::nullopt);
  editor_.OtworzPlikBlokow();
  EXPECT_EQ(ui_.dialogs.size(), 2u);
  EXPECT_EQ(editor_.library().open_file(), library_);
  EXPECT_EQ(editor_.block().drawing().size(), 1u);
  EXPECT_TRUE(editor_.block().unsaved());
}

TEST_F(BlockWorkflowTest, OpenFileThroughTheDialog) {
  ui_.open_paths.push_back(library_);
  editor_.OtworzPlikBlokow();

  ASSERT_EQ(ui_.dialogs.size(), 1u);
  const FileDialog& dialog = ui_.dialogs[0].dialog;
  EXPECT_EQ(dialog.title, "Bloki VERADO");
  EXPECT_EQ(dialog.filters[0].name, "Pliki bloków");
  EXPECT_EQ(dialog.filters[1].name, "Pliki tekstowe");
  EXPECT_EQ(dialog.initial_directory, dir_.path() / "Bloki/");
  EXPECT_EQ(editor_.library().open_file(), library_);
  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("AAA", "BBB", "CCC"));
  EXPECT_THAT(editor_.messages().lines(),
              ElementsAre("Wczytano plik z blokami " + library_.string()));

  // A path that is not there: a message box, and the open file stays.
  ui_.open_paths.push_back(dir_ / "Bloki" / "brak.blk");
  editor_.OtworzPlikBlokow();
  EXPECT_THAT(ui_.message_boxes, ElementsAre("Taki plik nie istnieje!"));
  EXPECT_EQ(editor_.library().open_file(), library_);
}

TEST_F(BlockWorkflowTest, OpenRecentFile) {
  const auto other = dir_ / "Bloki" / "inny.blk";
  AppendBlock(other, "XYZ", {"O(0,0,1)"});
  OpenLibrary();
  editor_.preferences().SetOstatniePolecenie("o");
  editor_.OtworzOstatniPlik(other.string());
  EXPECT_EQ(editor_.library().open_file(), other);
  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("XYZ"));
  // The remembered command stays, unlike after the dialog.
  EXPECT_EQ(editor_.preferences().ostatnie_polecenie(), "o");
  EXPECT_EQ(ui_.redraws, 2);

  editor_.OtworzOstatniPlik((dir_ / "brak.blk").string());
  EXPECT_THAT(ui_.message_boxes, ElementsAre(" Plik nie istnieje! "));
  EXPECT_EQ(editor_.library().open_file(), other);
}

enum class FileStep { kNew, kOpen, kRecent };

struct UnsavedCase {
  const char* label;
  FileStep step;
  std::optional<Answer> answer;  // nothing: the overwrite box is ticked, no question
  const char* name;
  bool saved;
  bool opened;
  std::string_view message_box;
};

class UnsavedFileQuestionTest : public BlockWorkflowTest,
                                public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedFileQuestionTest, SavesDiscardsOrAbandons) {
  const UnsavedCase& c = GetParam();
  const auto other = dir_ / "Bloki" / "inny.blk";
  AppendBlock(other, "XYZ", {"O(0,0,1)"});
  StartDrawing(c.name);
  if (c.answer) {
    ui_.answers.push_back(*c.answer);
  } else {
    editor_.preferences().SetOverwriteWithoutAsking(true);
  }
  // The dialog is scripted only where the step is to get that far.
  const bool dialog_due = c.opened;
  switch (c.step) {
    case FileStep::kNew:
      if (dialog_due) ui_.save_paths.push_back(other);
      editor_.NowyPlikBlokow();
      break;
    case FileStep::kOpen:
      if (dialog_due) ui_.open_paths.push_back(other);
      editor_.OtworzPlikBlokow();
      break;
    case FileStep::kRecent:
      editor_.OtworzOstatniPlik(other.string());
      break;
  }
  EXPECT_EQ(ui_.questions.size(), c.answer ? 1u : 0u);
  if (c.answer) {
    EXPECT_EQ(ui_.questions[0], kUnsavedQuestion);
  }
  EXPECT_EQ(StoredLines(library_, c.name).has_value(), c.saved);
  EXPECT_EQ(editor_.library().open_file(), c.opened ? other : library_);
  EXPECT_EQ(editor_.block().unsaved(), !c.opened && !c.saved);
  if (c.message_box.empty()) {
    EXPECT_THAT(ui_.message_boxes, IsEmpty());
  } else {
    EXPECT_THAT(ui_.message_boxes, ElementsAre(c.message_box));
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllFileSteps, UnsavedFileQuestionTest,
    ::testing::Values(
        UnsavedCase{"NewTak", FileStep::kNew, Answer::kTak, "Studnia", true, true, ""},
        UnsavedCase{"NewNie", FileStep::kNew, Answer::kNie, "Studnia", false, true, ""},
        UnsavedCase{"NewKasuj", FileStep::kNew, Answer::kKasuj, "Studnia", false, false, ""},
        UnsavedCase{"NewShortName", FileStep::kNew, Answer::kTak, "St", false, false, kBadName},
        UnsavedCase{"NewTicked", FileStep::kNew, std::nullopt, "Studnia", true, true, ""},
        UnsavedCase{"OpenTak", FileStep::kOpen, Answer::kTak, "Studnia", true, true, ""},
        UnsavedCase{"OpenKasuj", FileStep::kOpen, Answer::kKasuj, "Studnia", false, false, ""},
        UnsavedCase{"OpenShortName", FileStep::kOpen, Answer::kTak, "St", false, false,
                    kBadNameOpen},
        UnsavedCase{"OpenTickedShortName", FileStep::kOpen, std::nullopt, "", false, false,
                    kBadNameOpen},
        UnsavedCase{"RecentNie", FileStep::kRecent, Answer::kNie, "Studnia", false, true, ""},
        UnsavedCase{"RecentTicked", FileStep::kRecent, std::nullopt, "Studnia", true, true, ""},
        UnsavedCase{"RecentShortName", FileStep::kRecent, Answer::kTak, "St", false, false,
                    kBadName}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BlockWorkflowTest, UnsavedQuestionWithAnEmptiedDrawing) {
  // Adding and undoing leaves the mark on an empty drawing: the question comes, but "Tak" has
  // nothing to save.
  StartDrawing("Studnia");
  editor_.block().BCofnijClick();
  ASSERT_TRUE(editor_.block().drawing().empty());
  ui_.answers.push_back(Answer::kTak);
  editor_.OtworzOstatniPlik(library_.string());
  EXPECT_THAT(ui_.message_boxes, ElementsAre(kBadName));
  EXPECT_FALSE(StoredLines(library_, "Studnia").has_value());
}

TEST_F(BlockWorkflowTest, LoadSelectedBlock) {
  OpenLibrary();
  editor_.preferences().SetOstatniePolecenie("l");
  SelectBlock("BBB");
  editor_.WczytajWybranyBlok();
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("O(0,0,1)", "P(0,0)-(2,2)"));
  EXPECT_EQ(editor_.block().block_name(), "BBB");
  EXPECT_EQ(editor_.block().unit(), "cm");
  EXPECT_THAT(editor_.messages().lines(), ElementsAre("Wczytano blok BBB"));
  EXPECT_FALSE(editor_.preferences().ostatnie_polecenie().has_value());
  EXPECT_FALSE(editor_.block().unsaved());
  EXPECT_FALSE(editor_.block().journal().CanUndo());
  EXPECT_THAT(ui_.questions, IsEmpty());

  // A clean block is replaced without a question.
  SelectBlock("CCC");
  editor_.WczytajWybranyBlok();
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("T(0,0,'Zażółć',1,1,0)"));
  EXPECT_EQ(editor_.block().unit(), "mm");
}

struct LoadCase {
  const char* label;
  std::optional<Answer> answer;  // nothing: the overwrite box is ticked
  const char* name;
  bool select;
  bool saved;
  bool loaded;
  std::string_view message_box;
};

class LoadWithUnsavedTest : public BlockWorkflowTest,
                            public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadWithUnsavedTest, AsksFirst) {
  const LoadCase& c = GetParam();
  StartDrawing(c.name);
  if (c.select) SelectBlock("AAA");
  if (c.answer) {
    ui_.answers.push_back(*c.answer);
  } else {
    editor_.preferences().SetOverwriteWithoutAsking(true);
  }
  editor_.WczytajWybranyBlok();
  EXPECT_EQ(ui_.questions.size(), c.answer ? 1u : 0u);
  EXPECT_EQ(StoredLines(library_, c.name).has_value(), c.saved);
  if (c.loaded) {
    EXPECT_EQ(editor_.block().block_name(), "AAA");
    EXPECT_FALSE(editor_.block().unsaved());
  } else {
    EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("O(5,5,1)"));
    EXPECT_EQ(editor_.block().unsaved(), !c.saved);
  }
  if (c.message_box.empty()) {
    EXPECT_THAT(ui_.message_boxes, IsEmpty());
  } else {
    EXPECT_THAT(ui_.message_boxes, ElementsAre(c.message_box));
  }
  EXPECT_GE(ui_.redraws, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LoadWithUnsavedTest,
    ::testing::Values(
        LoadCase{"Tak", Answer::kTak, "Studnia", true, true, true, ""},
        LoadCase{"Nie", Answer::kNie, "Studnia", true, false, true, ""},
        LoadCase{"Kasuj", Answer::kKasuj, "Studnia", true, false, false, ""},
        LoadCase{"Ticked", std::nullopt, "Studnia", true, true, true, ""},
        LoadCase{"NothingSelectedTak", Answer::kTak, "Studnia", false, true, false, ""},
        // An unnamed block is not written: it could never be loaded again.
        LoadCase{"ShortNameTak", Answer::kTak, "", true, false, false, kBadName},
        LoadCase{"ShortNameTicked", std::nullopt, "ab", true, false, false, kBadName}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BlockWorkflowTest, SilentSaveWhileSwitchingBlocksDoesNotListTheBlock) {
  StartDrawing("Studnia");
  SelectBlock("AAA");
  ui_.answers.push_back(Answer::kTak);
  editor_.WczytajWybranyBlok();
  EXPECT_TRUE(StoredLines(library_, "Studnia").has_value());
  EXPECT_FALSE(editor_.library().block_list().Contains("Studnia"));
}

TEST_F(BlockWorkflowTest, BlockGoneFromTheFileLoadsNothing) {
  StartDrawing("Studnia");
  SelectBlock("BBB");
  ASSERT_TRUE(UsunBlokZPliku(library_, "BBB"));  // by another program
  ui_.answers.push_back(Answer::kNie);
  editor_.WczytajWybranyBlok();
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], HasSubstr("BBB"));
  // The unsaved drawing is still there, and still marked so.
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("O(5,5,1)"));
  EXPECT_TRUE(editor_.block().unsaved());
  EXPECT_TRUE(editor_.block().journal().CanUndo());
}

struct NewBlockCase {
  const char* label;
  Answer answer;
  const char* name;
  bool saved;
  bool emptied;
};

class NewBlockTest : public BlockWorkflowTest,
                     public ::testing::WithParamInterface<NewBlockCase> {};

TEST_P(NewBlockTest, AlwaysAsksAboutUnsavedWork) {
  const NewBlockCase& c = GetParam();
  StartDrawing(c.name);
  editor_.block().SetUnit("mm");
  editor_.preferences().SetOverwriteWithoutAsking(true);  // does not apply here
  ui_.answers.push_back(c.answer);
  editor_.NowyBlok();
  EXPECT_THAT(ui_.questions, ElementsAre(kUnsavedQuestion));
  EXPECT_EQ(StoredLines(library_, c.name).has_value(), c.saved);
  if (c.emptied) {
    EXPECT_TRUE(editor_.block().drawing().empty());
    EXPECT_EQ(editor_.block().block_name(), "");
    EXPECT_EQ(editor_.block().unit(), "mm");
    EXPECT_THAT(editor_.messages().lines(), ElementsAre("Nowy blok."));
    EXPECT_FALSE(editor_.block().unsaved());
    EXPECT_FALSE(editor_.block().journal().CanUndo());
  } else {
    EXPECT_EQ(editor_.block().drawing().size(), 1u);
    EXPECT_TRUE(editor_.block().unsaved());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NewBlockTest,
    ::testing::Values(NewBlockCase{"Tak", Answer::kTak, "Studnia", true, true},
                      NewBlockCase{"Nie", Answer::kNie, "Studnia", false, true},
                      NewBlockCase{"Kasuj", Answer::kKasuj, "Studnia", false, false},
                      NewBlockCase{"ShortNameTak", Answer::kTak, "St", false, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BlockWorkflowTest, SaveChecksNameAndContent) {
  OpenLibrary();
  const std::string before = ReadBytes(library_);
  editor_.block().SetBlockName("ab");
  editor_.block().DodajObiekt("O(0,0,1)");
  EXPECT_FALSE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_EQ(editor_.messages().lines().at(0), "NAZWA musi zawierać min 3 znaki!");

  editor_.block().SetBlockName("abc");
  editor_.block().BCofnijClick();
  EXPECT_FALSE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_EQ(editor_.messages().lines().at(0), "Blok nie zawiera obiektów!");
  EXPECT_EQ(ReadBytes(library_), before);
  EXPECT_TRUE(editor_.block().unsaved());
}

TEST_F(BlockWorkflowTest, SaveNewBlockCutsLongLinesAndListsIt) {
  const std::string long_line = "T(0,0,'" + std::string(300, 'x') + "',1,1,0)";
  StartDrawing("Ąbc", {long_line, "O(0,0,1)"});
  SelectBlock("BBB");
  EXPECT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_THAT(ui_.questions, IsEmpty());
  EXPECT_EQ(editor_.messages().lines().at(0), "Zapisano blok: Ąbc");
  EXPECT_FALSE(editor_.block().unsaved());
  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("AAA", "Ąbc", "BBB", "CCC"));
  EXPECT_EQ(editor_.library().block_list().SelectedName(), "BBB");
  EXPECT_THAT(BlockNames(library_), ElementsAre("AAA", "BBB", "CCC", "Ąbc"));
  // Drawing order, line 0 first; the interactive save cuts at 255 characters.
  EXPECT_THAT(*StoredLines(library_, "Ąbc"), ElementsAre("O(0,0,1)", long_line.substr(0, 255)));
}

TEST_F(BlockWorkflowTest, SilentSaveWritesLinesWhole) {
  const std::string long_line = "T(0,0,'" + std::string(300, 'x') + "',1,1,0)";
  StartDrawing("Studnia", {long_line});
  EXPECT_TRUE(editor_.library().ZapiszBlokBezPytania());
  EXPECT_THAT(*StoredLines(library_, "Studnia"), ElementsAre(long_line));
  EXPECT_FALSE(editor_.block().unsaved());
  EXPECT_THAT(editor_.messages().lines(),
              ElementsAre(kOpenedMessage));  // nothing said about the save
  EXPECT_FALSE(editor_.library().block_list().Contains("Studnia"));
}

struct OverwriteCase {
  const char* label;
  std::optional<Answer> answer;  // nothing: the overwrite box is ticked
  bool written;
};

class OverwriteTest : public BlockWorkflowTest,
                      public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(OverwriteTest, ExistingNameAsksBeforeReplacing) {
  const OverwriteCase& c = GetParam();
  StartDrawing("BBB", {"O(9,9,9)"});
  const std::string before = ReadBytes(library_);
  if (c.answer) {
    ui_.answers.push_back(*c.answer);
  } else {
    editor_.preferences().SetOverwriteWithoutAsking(true);
  }
  EXPECT_EQ(editor_.library().ZapiszBlokZPytaniem(), c.written);
  EXPECT_EQ(ui_.questions.size(), c.answer ? 1u : 0u);
  if (c.answer) {
    EXPECT_EQ(ui_.questions[0], "Taki blok już istnieje! Nadpisać?");
  }
  if (c.written) {
    // Replaced and moved to the end.
    EXPECT_THAT(BlockNames(library_), ElementsAre("AAA", "CCC", "BBB"));
    EXPECT_THAT(*StoredLines(library_, "BBB"), ElementsAre("O(9,9,9)"));
    EXPECT_EQ(editor_.messages().lines().at(0), "Nadpisano blok: BBB");
    EXPECT_FALSE(editor_.block().unsaved());
  } else {
    EXPECT_EQ(ReadBytes(library_), before);
    EXPECT_THAT(editor_.messages().lines(), ElementsAre(kOpenedMessage));
    EXPECT_TRUE(editor_.block().unsaved());
  }
  EXPECT_THAT(editor_.library().block_list().names(), ElementsAre("AAA", "BBB", "CCC"));
}

INSTANTIATE_TEST_SUITE_P(Answers, OverwriteTest,
                         ::testing::Values(OverwriteCase{"Tak", Answer::kTak, true},
                                           OverwriteCase{"Nie", Answer::kNie, false},
                                           OverwriteCase{"Kasuj", Answer::kKasuj, false},
                                           OverwriteCase{"Ticked", std::nullopt, true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(BlockWorkflowTest, UndoAfterSaveMarksTheBlockUnsavedAgain) {
  StartDrawing("Studnia", {"O(0,0,1)", "O(0,0,2)"});
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  ASSERT_FALSE(editor_.block().unsaved());
  EXPECT_TRUE(editor_.block().journal().CanUndo());
  editor_.block().BCofnijClick();
  EXPECT_TRUE(editor_.block().unsaved());
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("O(0,0,1)"));
  EXPECT_TRUE(editor_.block().journal().CanRedo());
  editor_.block().BPrzodClick();
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("O(0,0,2)", "O(0,0,1)"));
  EXPECT_FALSE(editor_.block().journal().CanRedo());
}

TEST_F(BlockWorkflowTest, EveryChangeOfTheDrawingMarksItUnsaved) {
  OpenLibrary();
  SelectBlock("BBB");
  editor_.WczytajWybranyBlok();
  ASSERT_FALSE(editor_.block().unsaved());
  // Naming the block or choosing a unit is no change of it.
  editor_.block().SetBlockName("Inna nazwa");
  editor_.block().SetUnit("mm");
  EXPECT_FALSE(editor_.block().unsaved());
  // Nor is a change that could not be made.
  EXPECT_FALSE(editor_.block().UsunObiekt(7));
  EXPECT_FALSE(editor_.block().ZmienObiekt(-1, "O(0,0,1)"));
  EXPECT_FALSE(editor_.block().unsaved());
  const std::vector<std::function<void()>> changes = {
      [&] { editor_.block().DodajObiekt("O(1,1,1)"); }, [&] { editor_.block().UsunObiekt(0); },
      [&] { editor_.block().ZmienObiekt(1, "O(2,2,2)"); }, [&] { editor_.block().BCofnijClick(); },
      [&] { editor_.block().BPrzodClick(); }};
  for (size_t i = 0; i < changes.size(); ++i) {
    ASSERT_TRUE(editor_.library().ZapiszBlokBezPytania());
    changes[i]();
    EXPECT_TRUE(editor_.block().unsaved()) << "change " << i;
  }
}

TEST_F(BlockWorkflowTest, CharactersOfTextsTheFileCannotHoldBecomeQuestionMarks) {
  StartDrawing("Blok", {"T(0,0,'→',1,1,0)"});
  EXPECT_THAT(editor_.block().drawing().lines(), ElementsAre("T(0,0,'?',1,1,0)"));
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_THAT(*StoredLines(library_, "Blok"), ElementsAre("T(0,0,'?',1,1,0)"));
}

// A name is refused as blk save refuses it: the block could not be found again by the name
// it was given. Every save leaves the library's bytes as they were and says why.
TEST_F(BlockWorkflowTest, NamesTheFileCannotHoldAreRefusedByEverySave) {
  const std::string long_name(256, 'x');
  const struct {
    std::string name;
    std::string reason;
  } cases[] = {
      {"Bałwan ☃", "nazwa bloku zawiera znak „☃” (U+2603), którego nie ma w stronie kodowej 1250"},
      {long_name, "nazwa bloku ma 256 znaków, a może mieć najwyżej 255"},
      {std::string(254, 'x') + "ąę", "nazwa bloku ma 256 znaków"},
  };
  StartDrawing("Studnia", {"O(1,1,1)"});
  for (const auto& c : cases) {
    for (const bool asking : {true, false}) {
      SCOPED_TRACE(c.name.substr(0, 12) + (asking ? " asking" : " not asking"));
      editor_.block().SetBlockName(c.name);
      const std::string before = ReadBytes(library_);
      ui_.ClearRecords();
      EXPECT_FALSE(asking ? editor_.library().ZapiszBlokZPytaniem()
                          : editor_.library().ZapiszBlokBezPytania());
      EXPECT_EQ(ReadBytes(library_), before);
      EXPECT_EQ(editor_.block().block_name(), c.name);  // the field keeps what was typed
      EXPECT_TRUE(editor_.block().unsaved());
      ASSERT_EQ(ui_.message_boxes.size(), 1u);
      EXPECT_THAT(ui_.message_boxes[0], HasSubstr(c.reason));
    }
  }
  // The longest name that is held is saved.
  editor_.block().SetBlockName(std::string(253, 'x') + "ąę");
  EXPECT_TRUE(editor_.library().ZapiszBlokZPytaniem());
}

struct CloseCase {
  const char* label;
  const char* name;
  bool ticked;                  // the overwrite box
  std::vector<Answer> answers;  // the close question, then the overwrite question if due
  bool closes;
  bool saved;
};

class CloseQueryTest : public BlockWorkflowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQueryTest, RefusesWhileWorkWouldBeLost) {
  const CloseCase& c = GetParam();
  StartDrawing(c.name, {"O(9,9,9)"});
  editor_.preferences().SetOverwriteWithoutAsking(
      c.ticked);  // the close question is asked all the same
  ui_.answers.assign(c.answers.begin(), c.answers.end());
  EXPECT_EQ(editor_.CloseQuery(), c.closes);
  EXPECT_EQ(ui_.questions.size(), c.answers.size());
  EXPECT_EQ(ui_.questions.at(0), "Dane nie zapisane. Zapisać?");
  EXPECT_EQ(StoredLines(library_, c.name) == std::vector<std::string>{"O(9,9,9)"}, c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CloseQueryTest,
    ::testing::Values(
        CloseCase{"Tak", "Studnia", false, {Answer::kTak}, true, true},
        CloseCase{"Nie", "Studnia", false, {Answer::kNie}, true, false},
        CloseCase{"Kasuj", "Studnia", true, {Answer::kKasuj}, false, false},
        CloseCase{"TakShortName", "ab", false, {Answer::kTak}, false, false},
        CloseCase{"TakOverwriteNie", "AAA", false, {Answer::kTak, Answer::kNie}, false, false},
        CloseCase{"TakOverwriteKasuj", "AAA", false, {Answer::kTak, Answer::kKasuj}, false, false},
        CloseCase{"TakOverwriteTicked", "AAA", true, {Answer::kTak}, true, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(BlockWorkflowTest, CloseQueryWithNothingUnsavedAsksNothing) {
  EXPECT_TRUE(editor_.CloseQuery());
  StartDrawing("Studnia");
  ASSERT_TRUE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_TRUE(editor_.CloseQuery());
  EXPECT_THAT(ui_.questions, IsEmpty());
}

TEST_F(BlockWorkflowTest, NothingIsSavedWithoutAnOpenFile) {
  editor_.block().SetBlockName("Studnia");
  editor_.block().DodajObiekt("O(0,0,1)");
  EXPECT_FALSE(editor_.library().ZapiszBlokZPytaniem());
  EXPECT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_TRUE(editor_.block().unsaved());
}

TEST_F(BlockWorkflowTest, FailedSaveKeepsTheLibraryAndTheUnsavedMark) {
  // Big enough that the new file cannot be written under the limit.
  StartDrawing("BBB", std::vector<std::string>(300, "L(0,0)-(1,1);K(0,0,0);GR(0,10)"));
  const std::string before = ReadBytes(library_);
  const std::string file = library_.string();
  const auto reported = [&] {
    return ui_.message_boxes.size() == 1 && ui_.message_boxes[0].find(file) != std::string::npos;
  };
  const auto nothing_saved = [&] {
    return editor_.block().unsaved() &&
           std::ranges::none_of(editor_.messages().lines(), [](const std::string& m) {
             return m.starts_with("Nadpisano") || m.starts_with("Zapisano");
           });
  };
  EXPECT_TRUE(OnAFullDisk([&] {
    ui_.answers.push_back(Answer::kTak);
    return !editor_.library().ZapiszBlokZPytaniem() && reported() && nothing_saved();
  })) << "interactive save";
  EXPECT_TRUE(OnAFullDisk([&] {
    ui_.answers = {Answer::kTak, Answer::kTak};
    return !editor_.CloseQuery() && reported() && nothing_saved();
  })) << "close query";
  EXPECT_TRUE(OnAFullDisk([&] {
    return !editor_.library().ZapiszBlokBezPytania() && reported() && nothing_saved();
  })) << "silent save";
  EXPECT_TRUE(OnAFullDisk([&] {
    // The silent save before opening another file fails: the opening is abandoned.
    ui_.answers.push_back(Answer::kTak);
    editor_.OtworzPlikBlokow();
    return ui_.dialogs.empty() && reported() && nothing_saved() &&
           editor_.library().open_file() == library_;
  })) << "open after a failed silent save";
  EXPECT_TRUE(OnAFullDisk([&] {
    editor_.library().SelectBlock(0);  // AAA
    ui_.answers.push_back(Answer::kTak);
    editor_.WczytajWybranyBlok();
    return reported() && nothing_saved() && editor_.block().block_name() == "BBB";
  })) << "load after a failed silent save";
  EXPECT_EQ(ReadBytes(library_), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(library_.parent_path()), {}), 1);
}

}  // namespace
}  // namespace blok::testing
