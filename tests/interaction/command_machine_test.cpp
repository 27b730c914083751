#include "interaction/command_machine.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/machine_host.h"

namespace blok {
namespace {

using ::blok::testing::FakeHost;
using ::blok::testing::kCorner;

// A typed entry, or (with no text) a click at a world point: press and release at its pixel.
struct Step {
  std::string text;
  double x = 0, y = 0;
  Awaited after = Awaited::kNothing;
};

Step Type(std::string text, Awaited after) { return {std::move(text), 0, 0, after}; }
Step Click(double x, double y, Awaited after) { return {"", x, y, after}; }

void Perform(CommandMachine& machine, const Step& step) {
  if (!step.text.empty()) {
    machine.WykonajPolecenie(step.text);
    return;
  }
  const int px = 100 + static_cast<int>(step.x * 100);
  const int py = 100 - static_cast<int>(step.y * 100);
  machine.Press(px, py);
  machine.Release(px, py);
}

struct AwaitsCase {
  const char* name;
  std::vector<Step> steps;
};

void PrintTo(const AwaitsCase& c, std::ostream* os) { *os << c.name; }

class AwaitsTest : public ::testing::TestWithParam<AwaitsCase> {};

// What decides the prompt's " X , Y" and whether a press starts a selection frame.
TEST_P(AwaitsTest, EachStepAwaitsItsOwn) {
  FakeHost host(kCorner);
  CommandMachine machine(host);
  for (size_t i = 0; i < GetParam().steps.size(); ++i) {
    const Step& step = GetParam().steps[i];
    Perform(machine, step);
    EXPECT_EQ(machine.awaits(), step.after) << "after step " << i << " \"" << step.text << "\"";
  }
}

using A = Awaited;

INSTANTIATE_TEST_SUITE_P(
    Commands, AwaitsTest,
    ::testing::Values(
        AwaitsCase{"Line",
                   {Type("l", A::kFirstPoint), Type("0,0", A::kSecondPoint),
                    Type("1,1", A::kSecondPoint), Click(0.3, 0.3, A::kSecondPoint)}},
        AwaitsCase{
            "Rectangle",
            {Type("p", A::kFirstPoint), Click(1, 1, A::kSecondPoint), Type("2,2", A::kNothing)}},
        AwaitsCase{
            "Measure",
            {Type("odl", A::kFirstPoint), Type("0,0", A::kSecondPoint), Type("3,4", A::kNothing)}},
        AwaitsCase{"Circle",
                   {Type("o", A::kCentre), Type("0,0", A::kRadius), Type("1", A::kNothing)}},
        AwaitsCase{"CircleByClicks",
                   {Type("o", A::kCentre), Click(1, 1, A::kRadius), Click(1, 0, A::kNothing)}},
        AwaitsCase{"Arc",
                   {Type("a", A::kCentre), Type("0,0", A::kRadius), Type("1", A::kAngle),
                    Type("0", A::kEndAngle), Type("90", A::kNothing)}},
        AwaitsCase{"Text",
                   {Type("t", A::kCentre), Type("0,0", A::kAngle), Type("0", A::kText),
                    Type("napis", A::kNothing)}},
        AwaitsCase{"Polygon",
                   {Type("wi", A::kValue), Type("2", A::kValue), Type("5", A::kCentre),
                    Type("0,0", A::kFirstPoint), Type("1,0", A::kNothing)}},
        AwaitsCase{"Move",
                   {Type("mo", A::kSelection), Click(0.25, 0, A::kFirstPoint),
                    Type("0,0", A::kSecondPoint), Type("1,0", A::kNothing)}},
        AwaitsCase{
            "MirrorAsksAgainForAZeroAxis",
            {Type("lu", A::kSelection), Click(0.25, 0, A::kFirstPoint),
             Type("1,1", A::kSecondPoint), Type("1,1", A::kSecondPoint), Type("2,2", A::kNothing)}},
        AwaitsCase{"Rotate",
                   {Type("ob", A::kSelection), Click(0.25, 0, A::kCentre), Type("0,0", A::kAngle),
                    Type("90", A::kNothing)}},
        AwaitsCase{"Scale",
                   {Type("sc", A::kSelection), Click(0.25, 0, A::kCentre), Type("0,0", A::kValue),
                    Type("2", A::kNothing)}},
        AwaitsCase{"Array",
                   {Type("sz", A::kSelection), Click(0.25, 0, A::kValue), Type("2,2", A::kValue),
                    Type("1,1", A::kNothing)}},
        AwaitsCase{"Delete", {Type("u", A::kSelection), Click(0.25, 0, A::kNothing)}},
        AwaitsCase{
            "EditMissesThenPicks",
            {Type("ed", A::kSelection), Click(3, 3, A::kSelection), Click(0.25, 0, A::kNothing)}},
        AwaitsCase{"Chamfer",
                   {Type("f", A::kObject), Click(3, 3, A::kObject), Click(0.25, 0, A::kObject),
                    Click(0, 0.25, A::kNothing)}},
        AwaitsCase{
            "TrimTakesObjectsUntilEnded",
            {Type("tr", A::kObject), Click(0.25, 0, A::kObject), Click(0, 0.25, A::kObject)}},
        AwaitsCase{"OffsetByTwoPoints",
                   {Type("od", A::kFirstPoint), Type("0,0", A::kSecondPoint),
                    Type("0,1", A::kObject), Click(0.25, 0, A::kSide), Click(0.25, 1, A::kSide)}},
        AwaitsCase{"OffsetByADistance", {Type("od", A::kFirstPoint), Type("2", A::kObject)}},
        AwaitsCase{"Fillet",
                   {Type("za", A::kRadius), Type("0.1", A::kObject), Click(0.25, 0, A::kObject),
                    Click(0, 0.25, A::kNothing)}},
        AwaitsCase{"FilletClickKeepsTheLastRadius",
                   {Type("za", A::kRadius), Click(0.25, 0, A::kObject)}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EntryCase {
  const char* name;
  std::vector<std::string> before;  // typed first
  std::string entry;
  bool from_control;
  Taken taken;
  Awaited after;
  bool open = true;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class EntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryTest, TakenAs) {
  const EntryCase& c = GetParam();
  FakeHost host(kCorner);
  host.open = c.open;
  CommandMachine machine(host);
  for (const std::string& entry : c.before) machine.WykonajPolecenie(entry);
  EXPECT_EQ(machine.WykonajPolecenie(c.entry, c.from_control), c.taken);
  EXPECT_EQ(machine.awaits(), c.after);
  // A point step asks for one; a reset leaves the bare prompt.
  EXPECT_EQ(host.prompt == "Wprowadz  X , Y", IsPoint(c.after)) << host.prompt;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryTest,
    ::testing::Values(
        EntryCase{"NoFileOpen", {}, "l", false, Taken::kWithMessage, A::kNothing, false},
        EntryCase{"Gibberish", {}, "xyz", false, Taken::kUnknown, A::kNothing},
        EntryCase{"Keyword", {}, "l", false, Taken::kWithMessage, A::kFirstPoint},
        EntryCase{"PointOfTheStep", {"l"}, "1,2", false, Taken::kWithMessage, A::kSecondPoint},
        EntryCase{"NoValueEndsTheCommand", {"l"}, "abc", false, Taken::kUnknown, A::kNothing},
        EntryCase{"ControlTextIsNoValue", {"l"}, "1,2", true, Taken::kUnknown, A::kNothing},
        EntryCase{"ControlRestartsItsCommand",
                  {"l", "0,0"},
                  "l",
                  true,
                  Taken::kWithMessage,
                  A::kFirstPoint},
        EntryCase{
            "TextTakenQuietly", {"t", "0,0", "0"}, "napis", false, Taken::kQuietly, A::kNothing},
        // The text is written, then the keyword starts its command.
        EntryCase{
            "TextThatIsAKeyword", {"t", "0,0", "0"}, "o", false, Taken::kWithMessage, A::kCentre},
        EntryCase{"FactorBeforeAnySelection", {"sc"}, "2", false, Taken::kUnknown, A::kNothing},
        EntryCase{"RefusedWithTheReason", {"wi"}, "2", false, Taken::kWithMessage, A::kValue},
        EntryCase{"NegativeRadiusRefused", {"za"}, "-1", false, Taken::kWithMessage, A::kRadius},
        EntryCase{"DirectLine", {}, "L(0,0)-(1,1)", false, Taken::kWithMessage, A::kNothing},
        EntryCase{"DirectLineRefused", {}, "L(0,0)-(1", false, Taken::kWithMessage, A::kNothing},
        EntryCase{"OverlaySwitch", {}, "wskaz?", false, Taken::kQuietly, A::kNothing},
        EntryCase{"OverlaySwitchEndsTheStep", {"o"}, "WSKAZ?", false, Taken::kQuietly, A::kNothing},
        EntryCase{"Help", {}, "?", false, Taken::kWithMessage, A::kNothing}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EntryTest, WhatEachVerdictSays) {
  FakeHost host(kCorner);
  CommandMachine machine(host);
  machine.WykonajPolecenie("xyz");
  machine.WykonajPolecenie("wskaz?");
  machine.WykonajPolecenie("o");
  EXPECT_EQ(host.messages, (std::vector<std::string>{"xyz         <- nieznane polecenie.", "wskaz?",
                                                     "o", "Rysuj okrąg ... ."}));
}

// The Delete key asks which command runs: another keyword's command is not it, and a command
// that was replaced or reset no longer runs.
TEST(RunsTest, TheCommandOfAKeyword) {
  FakeHost host(kCorner);
  CommandMachine machine(host);
  EXPECT_FALSE(machine.Runs("U"));
  machine.WykonajPolecenie("u");
  EXPECT_TRUE(machine.Runs("U"));
  EXPECT_FALSE(machine.Runs("L"));
  EXPECT_FALSE(machine.Runs("NIEMA"));
  machine.WykonajPolecenie("l");
  EXPECT_FALSE(machine.Runs("U"));
  EXPECT_TRUE(machine.Runs("L"));
  machine.AnulujPolecenie();
  EXPECT_FALSE(machine.Runs("L"));
}

}  // namespace
}  // namespace blok
