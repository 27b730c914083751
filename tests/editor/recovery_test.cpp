#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <regex>

#include "document/recovery_file.h"
#include "document/text_file.h"
#include "editor/recovery_writer.h"
#include "editor_fixture.h"

namespace blok::testing {
namespace {

namespace fs = std::filesystem;

RecoverySnapshot Snapshot(std::string name) {
  return {"/nie/ma/takiego.blk", std::move(name), "m", {"O(0,0,1)"}, 1'765'000'000};
}

// The newest snapshot wins, and a removal is never undone by a write that was under way.
TEST(RecoveryWriterTest, TheLastSnapshotIsWrittenAndARemovalStands) {
  TestDir dir;
  const fs::path file = dir / "1.blkr";
  RecoveryWriter writer(false);
  for (int i = 0; i < 200; ++i) writer.Write(file, Snapshot("B" + std::to_string(i)));
  writer.WaitIdle();
  auto read = ReadRecoveryFile(file);
  ASSERT_TRUE(read) << read.error().message;
  EXPECT_EQ(read->block_name, "B199");

  for (int i = 0; i < 50; ++i) {
    writer.Write(file, Snapshot("C" + std::to_string(i)));
    writer.Remove(file);
    ASSERT_FALSE(fs::exists(file)) << i;
  }
  writer.WaitIdle();
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(writer.TakeError());

  writer.Write(dir / "no-folder" / "1.blkr", Snapshot("D"));
  writer.WaitIdle();
  const auto failed = writer.TakeError();
  ASSERT_TRUE(failed);
  EXPECT_NE(failed->message.find("no-folder"), std::string::npos) << failed->message;
  EXPECT_FALSE(writer.TakeError()) << "said once";
}

class RecoveryTest : public EditorTest {
 protected:
  fs::path Folder() const { return dir_ / "Odzysk"; }

  // Drawn and kept: the recovery file is there.
  void DrawAndKeep(const std::string& name = "Rysowany") {
    StartDrawing(name, {"O(5,5,1)", "L(0,0)-(3,4);K(0,0,0);GR(0,1)"});
    editor_.block().SetUnit("cm");
    Keep();
    ASSERT_TRUE(fs::exists(editor_.recovery().recovery_file()));
  }
  void Keep() {
    editor_.recovery().KeepRecoveryFile();
    editor_.recovery().WaitForRecoveryFile();
  }

  // What a killed editor leaves: its recovery file, and a lock file nobody holds.
  fs::path LeaveDead(const std::string& id, const RecoverySnapshot& snapshot) {
    const fs::path file = Folder() / (id + ".blkr");
    EXPECT_TRUE(WriteRecoveryFile(file, snapshot, false));
    WriteBytes(Folder() / (id + ".lock"), "");
    return file;
  }

  RecoverySnapshot Drawn() {
    return {library_, "Odzyskany", "mm", {"O(1,2,3)", "P(0,0)-(2,2)"}, 1'765'000'000};
  }

  // Another editor starting on the same program directory.
  struct Next {
    ScriptedUi ui;
    FakeSurface surface;
    std::unique_ptr<Editor> editor;
  };
  std::unique_ptr<Next> StartNext(std::deque<Answer> answers) {
    auto next = std::make_unique<Next>();
    next->ui.answers = std::move(answers);
    next->editor = std::make_unique<Editor>(dir_.path(), next->ui, next->surface);
    EXPECT_TRUE(next->editor->Start());
    next->editor->OfferRecovery();
    return next;
  }
};

TEST_F(RecoveryTest, AnUnsavedBlockIsKeptAsItChanges) {
  Keep();
  EXPECT_FALSE(fs::exists(editor_.recovery().recovery_file())) << "nothing unsaved";
  DrawAndKeep();
  EXPECT_EQ(editor_.recovery().recovery_file().parent_path(), Folder());
  auto kept = ReadRecoveryFile(editor_.recovery().recovery_file());
  ASSERT_TRUE(kept) << kept.error().message;
  EXPECT_EQ(kept->library, library_);
  EXPECT_EQ(kept->block_name, "Rysowany");
  EXPECT_EQ(kept->unit, "cm");
  // As the drawing holds them: the newest first.
  EXPECT_EQ(kept->lines, (std::vector<std::string>{"L(0,0)-(3,4);K(0,0,0);GR(0,1)", "O(5,5,1)"}));
  EXPECT_NEAR(kept->changed_at, std::time(nullptr), 60);

  // A renamed block and an undone line are kept too.
  editor_.block().SetBlockName("Inny");
  editor_.block().BCofnijClick();
  Keep();
  kept = ReadRecoveryFile(editor_.recovery().recovery_file());
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->block_name, "Inny");
  EXPECT_EQ(kept->lines, std::vector<std::string>{"O(5,5,1)"});
  EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(RecoveryTest, TheFileGoesWhenNothingIsLeftToLose) {
  struct Case {
    const char* what;
    std::deque<Answer> answers;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"save", {}, [this] { EXPECT_TRUE(editor_.library().ZapiszBlokZPytaniem()); }},
      {"load another, saving it",
       {Answer::kTak},
       [this] {
         SelectBlock("AAA");
         editor_.WczytajWybranyBlok();
       }},
      {"load another, \"Nie\"",
       {Answer::kNie},
       [this] {
         SelectBlock("BBB");
         editor_.WczytajWybranyBlok();
       }},
      {"new block, \"Nie\"", {Answer::kNie}, [this] { editor_.NowyBlok(); }},
      {"reopening the file, \"Nie\"",
       {Answer::kNie},
       [this] { editor_.OtworzOstatniPlik(library_.string()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DrawAndKeep();
    const fs::path file = editor_.recovery().recovery_file();
    ui_.answers = c.answers;
    c.act();
    EXPECT_TRUE(ui_.answers.empty());
    EXPECT_FALSE(fs::exists(file));
    Keep();
    EXPECT_FALSE(fs::exists(file)) << "not written again";
    ui_.ClearRecords();
  }
}

TEST_F(RecoveryTest, TheCleanEndTakesTheFileAndTheLock) {
  struct Case {
    const char* what;
    std::deque<Answer> answers;
    bool ask;  // the closing question first
  };
  for (const Case& c : {Case{"closing, \"Nie\"", {Answer::kNie}, true}, Case{"end", {}, false}}) {
    SCOPED_TRACE(c.what);
    const auto next = StartNext(c.answers);
    Editor& e = *next->editor;
    e.OtworzOstatniPlik(library_.string());
    e.block().DodajObiekt("O(0,0,2)");
    e.recovery().KeepRecoveryFile();
    e.recovery().WaitForRecoveryFile();
    const fs::path file = e.recovery().recovery_file();
    ASSERT_TRUE(fs::exists(file));
    if (c.ask) {
      EXPECT_TRUE(e.CloseQuery());
    }
    e.Finish();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(fs::exists(fs::path(file).replace_extension(".lock")));
    e.recovery().KeepRecoveryFile();
    EXPECT_FALSE(fs::exists(file)) << "nothing written after the end";
  }
  // The last editor to end leaves nothing behind, not even the folder.
  editor_.Finish();
  EXPECT_FALSE(fs::exists(Folder()));
}

// Ended by a signal (logging out, kill), nobody is asked: the newest state of the unsaved block
// stays for the next start, as it does when the editor is killed outright.
TEST_F(RecoveryTest, AnEndWithoutQuestionsKeepsTheNewestState) {
  auto first = StartNext({});
  first->editor->OtworzOstatniPlik(library_.string());
  first->editor->block().SetBlockName("Przerwany");
  first->editor->block().DodajObiekt("O(0,0,2)");
  first->editor->recovery().KeepRecoveryFile();
  first->editor->block().DodajObiekt("O(0,0,3)");  // not yet written when the signal comes
  first->editor->Finish(/*keep_unsaved_block=*/true);
  first.reset();
  const auto next = StartNext({Answer::kTak});
  EXPECT_EQ(next->editor->block().block_name(), "Przerwany");
  EXPECT_EQ(next->editor->block().drawing().lines().size(), 2u);
  EXPECT_TRUE(next->editor->block().unsaved());
  next->editor->Finish();
}

// A block not named yet is offered as one without a name, not as empty quotes.
TEST_F(RecoveryTest, AnUnnamedBlockIsOfferedAsSuch) {
  RecoverySnapshot unnamed = Drawn();
  unnamed.block_name.clear();
  LeaveDead("999999", unnamed);
  const auto next = StartNext({Answer::kNie});
  ASSERT_EQ(next->ui.questions.size(), 1u);
  EXPECT_EQ(next->ui.questions[0].rfind("Znaleziono niezapisany blok bez nazwy z pliku ", 0), 0u)
      << next->ui.questions[0];
  next->editor->Finish();
}

// "Kasuj" keeps the block and its file.
TEST_F(RecoveryTest, ACancelledQuestionKeepsTheFile) {
  DrawAndKeep();
  ui_.answers = {Answer::kKasuj};
  editor_.NowyBlok();
  EXPECT_TRUE(fs::exists(editor_.recovery().recovery_file()));
}

TEST_F(RecoveryTest, AKilledEditorsBlockIsOfferedAtTheNextStart) {
  struct Case {
    Answer answer;
    bool restored;
  };
  for (const Case c : {Case{Answer::kTak, true}, Case{Answer::kNie, false}}) {
    SCOPED_TRACE(c.restored);
    const fs::path dead = LeaveDead("999999", Drawn());
    const auto next = StartNext({c.answer});
    Editor& e = *next->editor;
    ASSERT_EQ(next->ui.questions.size(), 1u);
    const std::string& question = next->ui.questions[0];
    EXPECT_TRUE(std::regex_match(
        question,
        std::regex("Znaleziono niezapisany blok „Odzyskany” z pliku " + library_.string() +
                   R"( \(ostatnia zmiana \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\)\. Przywrócić\?)")))
        << question;
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_FALSE(fs::exists(Folder() / "999999.lock"));
    EXPECT_EQ(e.block().unsaved(), c.restored);
    if (c.restored) {
      EXPECT_EQ(e.library().open_file(), library_);
      EXPECT_EQ(e.library().block_list().names(), (std::vector<std::string>{"AAA", "BBB", "CCC"}));
      EXPECT_EQ(e.block().block_name(), "Odzyskany");
      EXPECT_EQ(e.block().unit(), "mm");
      EXPECT_EQ(std::vector<std::string>(e.block().drawing().lines().begin(),
                                         e.block().drawing().lines().end()),
                Drawn().lines);
      EXPECT_TRUE(e.block().tools_enabled());
      EXPECT_FALSE(e.block().journal().CanUndo());
      // Handed over at once: the file is the new editor's own.
      auto own = ReadRecoveryFile(e.recovery().recovery_file());
      ASSERT_TRUE(own) << own.error().message;
      EXPECT_EQ(own->block_name, "Odzyskany");
      next->editor->Finish();
    } else {
      EXPECT_FALSE(e.library().open_file());
      EXPECT_TRUE(e.block().drawing().IsBlank());
    }
    EXPECT_TRUE(next->ui.message_boxes.empty());
  }
}

// The offer is not part of the start (the window makes it once it is on screen), and comes
// once a run: a block kept for later ("Kasuj") is not asked about again, nor after a failed start.
TEST_F(RecoveryTest, TheOfferComesOnceAfterTheStart) {
  LeaveDead("999999", Drawn());
  const Error no_code_page{"Brak strony kodowej"};
  for (const bool starts : {false, true}) {
    SCOPED_TRACE(starts);
    ScriptedUi ui;
    FakeSurface surface;
    Editor e(dir_.path(), ui, surface);
    EXPECT_EQ(e.Start(starts ? std::nullopt : std::optional(no_code_page)).has_value(), starts);
    EXPECT_TRUE(ui.questions.empty());
    if (starts) ui.answers = {Answer::kKasuj};
    e.OfferRecovery();
    e.OfferRecovery();
    EXPECT_EQ(ui.questions.size(), starts ? 1u : 0u);
  }
}

// A real editor that died without its clean end: its lock is gone with it.
TEST_F(RecoveryTest, AnEditorGoneWithoutItsCleanEndLeavesItsBlock) {
  {
    const auto first = StartNext({});
    first->editor->OtworzOstatniPlik(library_.string());
    first->editor->block().SetBlockName("Porzucony");
    first->editor->block().DodajObiekt("O(0,0,2)");
    first->editor->recovery().KeepRecoveryFile();
    first->editor->recovery().WaitForRecoveryFile();
  }
  const auto next = StartNext({Answer::kTak});
  ASSERT_EQ(next->ui.questions.size(), 1u);
  EXPECT_EQ(next->editor->block().block_name(), "Porzucony");
  EXPECT_TRUE(next->editor->block().unsaved());
}

TEST_F(RecoveryTest, TheFilesOfRunningEditorsAreLeftAlone) {
  DrawAndKeep();
  const fs::path other = LeaveDead("4242", Drawn());
  // Another editor's open file description holding its lock.
  UniqueFd held(::open((Folder() / "4242.lock").c_str(), O_RDWR));
  ASSERT_EQ(::flock(held.get(), LOCK_EX | LOCK_NB), 0);
  WriteBytes(Folder() / "555.lock", "");  // of an editor killed with nothing unsaved
  const auto next = StartNext({});
  EXPECT_TRUE(next->ui.questions.empty());
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::exists(Folder() / "4242.lock"));
  EXPECT_FALSE(fs::exists(Folder() / "555.lock"));
  EXPECT_TRUE(fs::exists(editor_.recovery().recovery_file())) << "the fixture's editor runs too";
  EXPECT_NE(next->editor->recovery().recovery_file(), editor_.recovery().recovery_file());
}

TEST_F(RecoveryTest, TheNewestIsOfferedFirstAndOneRestoreIsAll) {
  RecoverySnapshot older = Drawn();
  older.block_name = "Starszy";
  older.changed_at -= 100;
  LeaveDead("11", older);
  LeaveDead("12", Drawn());
  {
    const auto next = StartNext({Answer::kNie, Answer::kTak});
    ASSERT_EQ(next->ui.questions.size(), 2u);
    EXPECT_NE(next->ui.questions[0].find("Odzyskany"), std::string::npos);
    EXPECT_EQ(next->editor->block().block_name(), "Starszy");
    next->editor->Finish();
  }
  LeaveDead("11", older);
  LeaveDead("12", Drawn());
  const auto next = StartNext({Answer::kTak});
  EXPECT_EQ(next->ui.questions.size(), 1u);
  EXPECT_TRUE(fs::exists(Folder() / "11.blkr")) << "left for the next start";
}

TEST_F(RecoveryTest, DamagedFilesAreSetAsideWithAMessage) {
  const std::string whole = FormatRecovery(Drawn());
  const std::string cases[] = {"", "blokedit odzysk 9\n", whole.substr(0, whole.size() / 2),
                               std::string("\0\xff\n", 3)};
  int n = 0;
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(n);
    const fs::path file = Folder() / (std::to_string(++n) + ".blkr");
    WriteBytes(file, bytes);
    const auto next = StartNext({});
    EXPECT_TRUE(next->ui.questions.empty());
    ASSERT_EQ(next->ui.message_boxes.size(), 1u);
    const std::string& message = next->ui.message_boxes[0];
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_NE(message.find(".uszkodzony"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(file));
    fs::path aside = file;
    aside += ".uszkodzony";
    EXPECT_EQ(ReadBytes(aside), bytes);
    EXPECT_FALSE(next->editor->block().unsaved());
  }
}

TEST_F(RecoveryTest, ABlockWhoseLibraryWentIsRestoredAndSavedIntoANewOne) {
  RecoverySnapshot snapshot = Drawn();
  snapshot.library = dir_ / "Bloki" / "usuniety.blk";
  LeaveDead("77", snapshot);
  const auto next = StartNext({Answer::kTak});
  Editor& e = *next->editor;
  ASSERT_EQ(next->ui.message_boxes.size(), 1u);
  EXPECT_NE(next->ui.message_boxes[0].find("usuniety.blk nie istnieje"), std::string::npos)
      << next->ui.message_boxes[0];
  EXPECT_EQ(e.library().open_file(), snapshot.library);
  EXPECT_TRUE(e.block().unsaved());
  EXPECT_EQ(e.block().drawing().lines().size(), 2u);
  EXPECT_TRUE(e.library().ZapiszBlokZPytaniem());
  EXPECT_EQ(BlockNames(snapshot.library), std::vector<std::string>{"Odzyskany"});
  EXPECT_FALSE(fs::exists(e.recovery().recovery_file()));
}

}  // namespace
}  // namespace blok::testing
