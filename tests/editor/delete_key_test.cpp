// The Delete key as README's table of keys tells it: it starts u, and pressed again while u
// still waits for its selection it ends it; a deletion ends u by itself.
#include <string>
#include <vector>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

class DeleteKeyTest : public EditingSessionTest {};

TEST_F(DeleteKeyTest, StartsOrEndsDelete) {
  struct Case {
    const char* keys;  // D: Delete, c: a click on the circle, e: a click on nothing, l: "l"
    bool deletes;
    bool runs_after;
  };
  const Case cases[] = {
      {"D", false, true},  {"DD", false, false}, {"DeD", false, false}, {"Dc", true, false},
      {"DcD", true, true}, {"lD", false, true},  {"DDD", false, true},
  };
  Draw({"O(5,5,1)"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    editor_.CommandKey(Key::kEscape);
    if (Lines().empty()) editor_.block().DodajObiekt("O(5,5,1)");
    for (const char* key = c.keys; *key != 0; ++key) {
      switch (*key) {
        case 'D':
          editor_.DeleteKey();
          break;
        case 'c':
          Click(6, 5);
          break;
        case 'e':
          Click(-7, -7);
          break;
        case 'l':
          editor_.CommandEntered("l");
          break;
      }
    }
    EXPECT_EQ(Lines().empty(), c.deletes);
    EXPECT_EQ(editor_.machine().wskaz().usun, c.runs_after);
  }
}

}  // namespace
}  // namespace blok::testing
