#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "document/drawing.h"
#include "document/journal.h"

namespace blok {
namespace {

// Everything a parsed line holds, as text, so that two parses compare field by field (a missing
// thickness is NaN, which == would never find equal) and a mismatch reads well.
std::string Describe(const ParsedEntity& e) {
  std::ostringstream out;
  out.precision(17);
  out << "kind " << static_cast<int>(e.kind) << " box " << e.box.left << ".." << e.box.right << ","
      << e.box.bottom << ".." << e.box.top << " ";
  std::visit(
      [&](const auto& r) {
        using Record = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<Record, std::monostate>) {
          out << "none";
        } else if constexpr (std::is_same_v<Record, SegmentRecord>) {
          out << "segment " << r.kind << " " << r.x1 << " " << r.y1 << " " << r.x2 << " " << r.y2;
        } else if constexpr (std::is_same_v<Record, CircleRecord>) {
          out << "circle " << r.x << " " << r.y << " " << r.radius;
        } else if constexpr (std::is_same_v<Record, ArcRecord>) {
          out << "arc " << r.x << " " << r.y << " " << r.radius << " " << r.start_angle << " "
              << r.end_angle;
        } else if constexpr (std::is_same_v<Record, TextRecord>) {
          out << "text " << r.x << " " << r.y << " '" << r.text << "' " << r.height << " "
              << r.width << " " << r.angle;
        } else if constexpr (std::is_same_v<Record, ColourRecord>) {
          out << "colour " << r.colour;
        } else {
          out << "thickness " << r.thickness;
        }
        if constexpr (!std::is_same_v<Record, std::monostate>) out << " valid " << r.valid;
        if constexpr (requires { r.index; }) {
          out << " colour " << r.colour << " thickness " << r.thickness;
        }
      },
      e.record);
  return out.str();
}

// The records must stay the lines parsed, position by position.
void ExpectRecordsMatchLines(const Drawing& drawing, const std::string& step) {
  ASSERT_EQ(drawing.records().size(), drawing.lines().size()) << step;
  for (size_t i = 0; i < drawing.size(); ++i) {
    EXPECT_EQ(Describe(drawing.records()[i]), Describe(ParseEntity(drawing.lines()[i])))
        << step << ", line " << i << ": " << drawing.lines()[i];
  }
}

// One step of a script: "load", "add <line>", "delete <i>", "replace <i> <line>", "undo",
// "redo", "clear".
void Apply(Drawing& drawing, Journal& journal, const std::string& step) {
  std::istringstream in(step);
  std::string verb;
  in >> verb;
  int index = 0;
  std::string line;
  if (verb == "load") {
    drawing.Load({"L(0,0)-(1,1)", "O(1,2,3);K(255,0,0)", "GR(2)", "T(1,2,'ab',1,1,0)",
                  "P(0,0)-(4,4);K(0,0,0);GR(1)"});
  } else if (verb == "add") {
    std::getline(in >> std::ws, line);
    journal.DodajObiekt(line);
  } else if (verb == "delete") {
    in >> index;
    ASSERT_TRUE(journal.UsunObiekt(index)) << step;
  } else if (verb == "replace") {
    in >> index;
    std::getline(in >> std::ws, line);
    ASSERT_TRUE(journal.ZmienObiekt(index, line)) << step;
  } else if (verb == "undo") {
    ASSERT_TRUE(journal.Undo()) << step;
  } else if (verb == "redo") {
    ASSERT_TRUE(journal.Redo()) << step;
  } else if (verb == "clear") {
    drawing.Clear();
  } else {
    FAIL() << "unknown step " << step;
  }
}

struct ScriptCase {
  const char* name;
  std::vector<std::string> steps;
  size_t final_size;
};

class RecordsFollowTheLines : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(RecordsFollowTheLines, AfterEveryStep) {
  Drawing drawing;
  Journal journal(drawing);
  for (const std::string& step : GetParam().steps) {
    Apply(drawing, journal, step);
    ExpectRecordsMatchLines(drawing, step);
  }
  EXPECT_EQ(drawing.size(), GetParam().final_size);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, RecordsFollowTheLines,
    ::testing::Values(
        ScriptCase{
            "LoadReplacesEverything", {"add L(9,9)-(8,8)", "add K(1,2,3)", "load", "load"}, 5},
        ScriptCase{"AddsGoOnTop",
                   {"add L(1,1)-(2,2)", "add O(0,0,1)", "add LUK(0,0,1,0,90);K(1,1,1)",
                    "add T(0,0,'x',1,1,0)"},
                   4},
        ScriptCase{"AddsUndoneAndRedone",
                   {"load", "add O(5,5,1)", "add GR(3)", "undo", "undo", "redo", "redo"},
                   7},
        ScriptCase{"DeleteFirstMiddleLastAndBack",
                   {"load", "delete 0", "delete 1", "delete 2", "undo", "undo", "undo", "redo",
                    "redo", "redo"},
                   2},
        ScriptCase{"ReplaceChangesKind",
                   {"load", "replace 1 T(5,5,'zz',2,1,45)", "replace 3 L(7,7)-(8,8)",
                    "replace 0 K(czerwony)", "undo", "undo", "undo", "redo"},
                   5},
        ScriptCase{"ReplaceWithUnreadableAndBack",
                   {"load", "replace 2 L(a,b)-(c,d)", "replace 2 // note", "undo", "undo"},
                   5},
        ScriptCase{
            "TailsGivenAndMissing",
            {"add L(0,0)-(1,1)", "add L(0,0)-(1,1);K(9,8,7)", "add L(0,0)-(1,1);K(9,8,7);GR(2)",
             "replace 2 L(0,0)-(1,1);K(9,8,7);GR(0,5)", "undo"},
            3},
        ScriptCase{"NewChangeAfterUndo",
                   {"load", "delete 4", "replace 0 O(0,0,9)", "undo", "undo", "add P(1,1)-(2,2)",
                    "delete 5"},
                   5},
        ScriptCase{"ClearThenAdd", {"load", "clear", "add O(1,1,1)"}, 1}),
    [](const auto& info) { return info.param.name; });

// Changes at every depth of drawings of every size, against the plain list of lines each
// change and undo should leave (a copy of the drawing kept per recorded change). Adds, deletes
// and their undos work near line 0 and near the end, and grow the room in front of line 0.
struct ModelCase {
  const char* name;
  unsigned seed;
  int loaded;  // lines loaded first
  int steps;
};

class ChangesAtAnyDepth : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ChangesAtAnyDepth, LeaveTheLinesAPlainListWould) {
  const ModelCase& c = GetParam();
  std::mt19937 random(c.seed);
  const auto pick = [&](size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random);
  };
  const std::vector<std::string> kinds{
      "L(0,0)-(1,{})", "O(0,0,{})", "P(0,0)-({},2)", "LUK(0,0,1,0,{})", "T(0,0,'{}',1,1,0)",
      "K({},0,0)",     "x{}"};
  int serial = 0;
  const auto new_line = [&] {
    std::string line = kinds[pick(kinds.size())];
    line.replace(line.find("{}"), 2, std::to_string(++serial));
    return line;
  };

  Drawing drawing;
  Journal journal(drawing);
  std::vector<std::string> loaded;
  for (int i = 0; i < c.loaded; ++i) loaded.push_back(new_line());
  drawing.Load(loaded);
  // states[k] is the drawing after k recorded changes; at is the one shown.
  std::vector<std::vector<std::string>> states{loaded};
  size_t at = 0;
  const auto record = [&](std::vector<std::string> next) {
    states.resize(at + 1);
    states.push_back(std::move(next));
    ++at;
  };

  for (int step = 0; step < c.steps; ++step) {
    std::vector<std::string> lines = states[at];
    const int what = static_cast<int>(pick(10));
    std::string done;
    if (what < 3 || lines.empty()) {
      std::string line = new_line();
      done = "add " + line;
      journal.DodajObiekt(line);
      lines.insert(lines.begin(), line);
      record(std::move(lines));
    } else if (what < 5) {
      const size_t i = pick(lines.size());
      done = "delete " + std::to_string(i);
      ASSERT_TRUE(journal.UsunObiekt(static_cast<int>(i)));
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      record(std::move(lines));
    } else if (what < 6) {
      const size_t i = pick(lines.size());
      std::string line = new_line();
      done = "replace " + std::to_string(i) + " " + line;
      ASSERT_TRUE(journal.ZmienObiekt(static_cast<int>(i), line));
      lines[i] = line;
      record(std::move(lines));
    } else if (what < 9) {
      done = "undo";
      EXPECT_EQ(journal.Undo(), at > 0);
      if (at > 0) --at;
    } else {
      done = "redo";
      EXPECT_EQ(journal.Redo(), at + 1 < states.size());
      if (at + 1 < states.size()) ++at;
    }
    const std::string where = "step " + std::to_string(step) + ": " + done;
    ASSERT_EQ(std::vector<std::string>(drawing.lines().begin(), drawing.lines().end()), states[at])
        << where;
    ExpectRecordsMatchLines(drawing, where);
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ChangesAtAnyDepth,
                         ::testing::Values(ModelCase{"FromEmpty", 1, 0, 800},
                                           ModelCase{"FromAFewLines", 2, 3, 800},
                                           ModelCase{"FromALoadedBlock", 3, 60, 800}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace blok
