// Texts the user types: what the code page cannot hold is refused with its code point and asked
// for again, and an apostrophe is written so that the text reads back as typed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editing_session.h"
#include "model/entity_reader.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kSnowman =
    "Tekst zawiera znak „☃” (U+2603), którego nie ma w stronie kodowej 1250.";

class TypedTextsTest : public EditingSessionTest {
 protected:
  void Enter(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) editor_.CommandEntered(entry);
  }
  // The pane's two newest lines: the entry's echo and what was said of it.
  std::vector<std::string> Newest() {
    const auto& m = editor_.messages().lines();
    return {m.begin(), m.begin() + 2};
  }
};

TEST_F(TypedTextsTest, TextTheCodePageCannotHoldIsAskedForAgain) {
  Enter({"t", "1,2", "0", "ÓSEMKA żółw ☃"});
  EXPECT_THAT(Lines(), IsEmpty());
  EXPECT_THAT(Newest(), Contains("Anulowano tekst. " + kSnowman));
  EXPECT_EQ(ui_.prompt, "Wprowadz tekst");
  Enter({"ÓSEMKA żółw"});
  EXPECT_THAT(Lines(), ElementsAre("T(1,2,'ÓSEMKA żółw',0.6,0.5,0);K(0,0,0);GR(0,10)"));
}

TEST_F(TypedTextsTest, ApostropheIsWrittenSoTheTextReadsBack) {
  const struct {
    std::vector<std::string> entries;
    std::string text;
  } cases[] = {
      {{"t", "0,1", "0", "O'Neila 5"}, "O’Neila 5"},
      {{"t", "0,1", "0", "Rock'n roll"}, "Rock’n roll"},
      {{"T(0,1)_O'Neila 5"}, "O’Neila 5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entries.back());
    Draw({});
    Enter(c.entries);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(ReadText(Lines()[0], ReadingDefaults{}).text, c.text);
    EXPECT_THAT(Newest(), Contains(HasSubstr("apostrof zapisano jako ’")));
  }
}

TEST_F(TypedTextsTest, DirectEntryAndSourceRowRefuseWhatTheCodePageCannotHold) {
  Enter({"T(0,1)_a☃"});
  EXPECT_THAT(Lines(), IsEmpty());
  EXPECT_THAT(Newest(), Contains("Nieprawidłowy zapis. " + kSnowman));
  Enter({"T(0,1)_abc"});
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_FALSE(editor_.block().EditSourceLine(0, "T(0,1,'a☃',1,1,0)"));
  EXPECT_THAT(ui_.message_boxes, ElementsAre(kSnowman));
  EXPECT_EQ(ReadText(Lines()[0], ReadingDefaults{}).text, "abc");
}

}  // namespace
}  // namespace blok::testing
