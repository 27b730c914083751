// Several blocks copied into another library at once: each name the target holds asked about,
// the answers kept, and the target written once or not at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "document/block_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ReadBytes;
using testing::TestDir;

class CopyBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [name, line] :
         std::vector<std::pair<std::string, std::string>>{{"Studnia", "O(0,0,1)"},
                                                          {"Zasuwa", "O(0,0,2)"},
                                                          {"Studnia", "O(0,0,3)"},
                                                          {"Hydrant", "O(0,0,4)"}}) {
      ASSERT_TRUE(DopiszBlok(from_, {.name = name, .unit = "cm", .lines = {line}}));
    }
    ASSERT_TRUE(DopiszBlok(to_, {.name = "Zasuwa", .unit = "m", .lines = {"L(0,0)-(1,1)"}}));
    ASSERT_TRUE(DopiszBlok(to_, {.name = "Hydrant", .unit = "m", .lines = {"L(0,0)-(2,2)"}}));
  }

  std::vector<std::string> Lines(const std::string& name) {
    const auto block = WczytajBlok(to_, name);
    return block && *block ? (*block)->lines : std::vector<std::string>{};
  }

  TestDir dir_;
  std::filesystem::path from_ = dir_ / "zrodlo.blk";
  std::filesystem::path to_ = dir_ / "cel.blk";
};

TEST_F(CopyBlocksTest, EachNameTheTargetHoldsIsAskedAbout) {
  using Answers = std::map<std::string, std::optional<bool>>;
  const struct {
    const char* label;
    std::vector<std::string> names;
    Answers answers;                  // for the names the target holds
    std::vector<std::string> asked;   // in order
    std::vector<std::string> copied;  // as the outcome says
    std::vector<std::string> listed;  // the target's names afterwards
    std::vector<std::string> zasuwa;  // its lines afterwards
    bool called_off = false;
  } cases[] = {
      {"none held",
       {"Studnia"},
       {},
       {},
       {"Studnia"},
       {"Zasuwa", "Hydrant", "Studnia"},
       {"L(0,0)-(1,1)"}},
      {"held: replaced",
       {"Studnia", "Zasuwa"},
       {{"Zasuwa", true}},
       {"Zasuwa"},
       {"Studnia", "Zasuwa"},
       {"Hydrant", "Studnia", "Zasuwa"},
       {"O(0,0,2)"}},
      {"held: kept, the other copied",
       {"Studnia", "Zasuwa"},
       {{"Zasuwa", false}},
       {"Zasuwa"},
       {"Studnia"},
       {"Zasuwa", "Hydrant", "Studnia"},
       {"L(0,0)-(1,1)"}},
      {"two held, the answers apart",
       {"Hydrant", "Zasuwa", "Zasuwa"},
       {{"Hydrant", false}, {"Zasuwa", true}},
       {"Hydrant", "Zasuwa"},
       {"Zasuwa"},
       {"Hydrant", "Zasuwa"},
       {"O(0,0,2)"}},
      {"called off: nothing written",
       {"Studnia", "Zasuwa", "Hydrant"},
       {{"Zasuwa", std::nullopt}},
       {"Zasuwa"},
       {},
       {"Zasuwa", "Hydrant"},
       {"L(0,0)-(1,1)"},
       true},
  };
  const std::string target = ReadBytes(to_);
  for (const auto& c : cases) {
    testing::WriteBytes(to_, target);
    std::vector<std::string> asked;
    const auto outcome = KopiujBloki(from_, c.names, to_, [&](std::string_view name) {
      asked.emplace_back(name);
      return c.answers.at(std::string(name));
    });
    ASSERT_TRUE(outcome) << c.label << ": " << outcome.error().message;
    EXPECT_EQ(asked, c.asked) << c.label;
    EXPECT_EQ(outcome->copied, c.copied) << c.label;
    EXPECT_EQ(outcome->called_off, c.called_off) << c.label;
    EXPECT_THAT(*CzytajListeBlokow(to_), ElementsAreArray(c.listed)) << c.label;
    EXPECT_EQ(Lines("Zasuwa"), c.zasuwa) << c.label;
    if (outcome->copied.empty()) {
      EXPECT_EQ(ReadBytes(to_), target) << c.label;
    }
  }
  // A name saved twice is copied as loading finds it: its last record.
  ASSERT_TRUE(KopiujBloki(from_, {"Studnia"}, to_, [](std::string_view) { return true; }));
  EXPECT_EQ(Lines("Studnia"), (std::vector<std::string>{"O(0,0,3)"}));
}

TEST_F(CopyBlocksTest, ANameTheSourceLacksIsRefusedBeforeAnythingIsAsked) {
  const std::string target = ReadBytes(to_);
  bool asked = false;
  const auto outcome = KopiujBloki(from_, {"Zasuwa", "Brak"}, to_, [&](std::string_view) {
    asked = true;
    return true;
  });
  ASSERT_FALSE(outcome);
  EXPECT_THAT(outcome.error().message, ::testing::HasSubstr("nie ma bloku Brak"));
  EXPECT_FALSE(asked);
  EXPECT_EQ(ReadBytes(to_), target);
}

TEST_F(CopyBlocksTest, AMissingTargetIsMade) {
  const auto made = dir_ / "nowa.blk";
  const auto outcome =
      KopiujBloki(from_, {"Zasuwa", "Studnia"}, made, [](std::string_view) { return false; });
  ASSERT_TRUE(outcome) << outcome.error().message;
  EXPECT_THAT(*CzytajListeBlokow(made), ElementsAre("Zasuwa", "Studnia"));
  EXPECT_EQ(WczytajBlok(made, "Zasuwa").value()->unit, "cm");
}

}  // namespace
}  // namespace blok
