// Texts in letters the code page lacks, inserted from a DXF drawing: written in Latin ones and
// counted in the messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editor_fixture.h"

namespace blok::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

class DxfTextInsertTest : public EditorTest {
 protected:
  void Insert(std::string_view texts) {
    const std::filesystem::path dxf = dir_ / "napisy.dxf";
    WriteBytes(dxf,
               "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n"
               "0\nSECTION\n2\nENTITIES\n" +
                   std::string(texts) + "0\nENDSEC\n0\nEOF\n");
    StartDrawing("Opis", {"P(5,5)-(6,6)"});
    editor_.messages().Clear();
    editor_.block().SetUnit("m");
    ui_.open_paths = {dxf};
    editor_.library().WstawZDxf();
  }
};

TEST_F(DxfTextInsertTest, TextsInOtherLettersAreCountedInTheMessages) {
  const struct {
    const char* what;
    std::string texts;
    const char* count;  // nothing: no message of them
  } cases[] = {
      {"two Cyrillic among three",
       "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\nДата\n0\nTEXT\n10\n0\n20\n2\n40\n1\n1\nŁódź\n"
       "0\nMTEXT\n10\n0\n20\n4\n40\n1\n1\nПодпись\n",
       "Teksty spoza strony kodowej 1250 zapisano literami łacińskimi: 2"},
      {"Polish ones only", "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\nŁódź\n", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (&c != &cases[0]) ui_.answers = {Answer::kNie};  // the last block is not kept
    Insert(c.texts);
    const auto& messages = editor_.messages().lines();
    if (c.count) {
      EXPECT_THAT(messages, Contains(c.count));
      EXPECT_THAT(editor_.block().drawing().lines(), Contains(HasSubstr("'Data'")));
    } else {
      EXPECT_THAT(messages, Not(Contains(HasSubstr("strony kodowej"))));
    }
  }
}

}  // namespace
}  // namespace blok::testing
