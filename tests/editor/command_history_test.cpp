// The command line's memory: Up and Down through what was typed, and Tab completing keywords.
#include "editor/command_history.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "editor/editor_fixture.h"
#include "interaction/commands/registry.h"

namespace blok::testing {
namespace {

using ::testing::ElementsAre;

// A walk: 'U' is Up with the line holding `typed`, 'D' is Down; what each key shows.
struct Walk {
  const char* label;
  std::vector<std::string> entered;
  std::string keys;
  std::vector<std::optional<std::string>> shown;
};

TEST(CommandHistoryTest, WalksLikeAShell) {
  const Walk walks[] = {
      {"nothing typed yet", {}, "UD", {std::nullopt, std::nullopt}},
      {"newest first", {"l", "o", "mo"}, "UUU", {"mo", "o", "l"}},
      {"stops at the oldest", {"l", "o"}, "UUU", {"o", "l", std::nullopt}},
      {"down again", {"l", "o", "mo"}, "UUDD", {"mo", "o", "mo", "half"}},
      {"down without a walk", {"l"}, "D", {std::nullopt}},
      {"repeats once", {"l", "l", "o", "o", "o"}, "UUU", {"o", "l", std::nullopt}},
      {"blank lines not kept", {"l", "", "   "}, "UU", {"l", std::nullopt}},
      {"a repeat further back kept", {"l", "o", "l"}, "UUU", {"l", "o", "l"}},
  };
  for (const Walk& w : walks) {
    SCOPED_TRACE(w.label);
    CommandHistory history;
    for (const std::string& entry : w.entered) history.Add(entry);
    ASSERT_EQ(w.keys.size(), w.shown.size());
    for (size_t i = 0; i < w.keys.size(); ++i) {
      EXPECT_EQ(w.keys[i] == 'U' ? history.Older("half") : history.Newer(), w.shown[i]) << i;
    }
  }
}

TEST(CommandHistoryTest, KeepsTheNewestFiveHundredAndStartsAgainAfterAnEntry) {
  CommandHistory history;
  for (int i = 0; i < 501; ++i) history.Add(std::to_string(i));
  EXPECT_EQ(history.entries().size(), CommandHistory::kMostEntries);
  EXPECT_EQ(history.entries().front(), "1");
  EXPECT_EQ(history.Older(""), "500");
  EXPECT_EQ(history.Older(""), "499");
  history.Add("o");  // entering ends the walk: Up starts from the newest again
  EXPECT_EQ(history.Older(""), "o");
  history.Add("a\nb");  // could not be kept one a line
  EXPECT_EQ(history.entries().back(), "o");
}

TEST(CommandHistoryTest, CompletesAKeywordWithOneMatchOnly) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"", std::nullopt},   {"l", std::nullopt}, {"lu", std::nullopt}, {"LU", std::nullopt},
      {"li", "lista"},      {"po", "pomoc"},     {"w", std::nullopt},  {"wi", "wi"},
      {"od", std::nullopt}, {"s", std::nullopt}, {"zz", std::nullopt}, {"moo", std::nullopt},
  };
  for (const auto& [typed, completed] : cases) {
    EXPECT_EQ(CompleteKeyword(typed), completed) << typed;
  }
  // Every keyword completes from itself or is the prefix of another.
  for (const CommandRow& row : Commands()) {
    const std::string keyword = ControlText(row);
    const auto completed = CompleteKeyword(keyword);
    EXPECT_TRUE(!completed || *completed == keyword) << keyword;
  }
}

// The history is the editor's: entered lines go in, and it lasts from one run to the next.
TEST_F(EditorTest, CommandHistoryLastsBetweenRuns) {
  OpenLibrary();
  for (const char* entry : {"o", "0,0", "2", "zz", "zz"}) editor_.CommandEntered(entry);
  editor_.Finish();
  Editor next(dir_.path(), ui_, surface_);
  ASSERT_TRUE(next.Start());
  EXPECT_THAT(next.preferences().history().entries(), ElementsAre("o", "0,0", "2", "zz"));
}

}  // namespace
}  // namespace blok::testing

namespace blok::testing {
namespace {

// A run killed before its normal end: what the file holds after each entry, as the next run
// reads it.
TEST_F(EditorTest, CommandHistoryIsWrittenAsItIsTyped) {
  OpenLibrary();
  const std::vector<std::string> entries = {"o", "0,0", "2", "zz", "zz", "  ", "l"};
  std::vector<std::string> kept;
  for (const std::string& entry : entries) {
    editor_.CommandEntered(entry);
    if (entry != "  " && (kept.empty() || kept.back() != entry)) kept.push_back(entry);
    const auto lines = ReadCommandHistory(dir_.path() / kCommandHistoryFile);
    ASSERT_TRUE(lines) << entry;
    CommandHistory read;
    read.Assign(*lines);
    EXPECT_THAT(read.entries(), ::testing::ElementsAreArray(kept)) << entry;
  }
}

// A history that cannot be written is told once with its file and the reason, not at every
// entry, and told again after a write that succeeded in between.
TEST_F(EditorTest, AHistoryNotWrittenIsToldOnce) {
  OpenLibrary();
  const std::filesystem::path file = dir_.path() / kCommandHistoryFile;
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // in the way of the file
  ui_.message_boxes.clear();
  for (const char* entry : {"zz", "za", "zz"}) editor_.CommandEntered(entry);
  ASSERT_EQ(ui_.message_boxes.size(), 1u);
  EXPECT_THAT(ui_.message_boxes[0], ::testing::HasSubstr(file.string()));
  EXPECT_THAT(ui_.message_boxes[0], ::testing::HasSubstr(std::strerror(EISDIR)));
  std::filesystem::remove(file);
  editor_.CommandEntered("za");
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  editor_.CommandEntered("zz");
  EXPECT_EQ(ui_.message_boxes.size(), 2u);
}

// A long run appends far past what is kept; the file is written anew now and then, and the
// newest entries are what a next run finds.
TEST_F(EditorTest, ALongRunKeepsTheNewestEntriesInItsFile) {
  OpenLibrary();
  const size_t typed = 3 * CommandHistory::kMostEntries + 7;
  for (size_t i = 0; i < typed; ++i) editor_.preferences().RememberEntry(std::to_string(i));
  const auto lines = ReadCommandHistory(dir_.path() / kCommandHistoryFile);
  ASSERT_TRUE(lines);
  EXPECT_LE(lines->size(), 2 * CommandHistory::kMostEntries);
  EXPECT_EQ(lines->back(), std::to_string(typed - 1));
  CommandHistory read;
  read.Assign(*lines);
  EXPECT_EQ(read.entries().size(), CommandHistory::kMostEntries);
  EXPECT_EQ(read.entries().front(), std::to_string(typed - CommandHistory::kMostEntries));
}

}  // namespace
}  // namespace blok::testing
