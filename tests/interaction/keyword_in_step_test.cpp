#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interaction/command_machine.h"
#include "interaction/commands/registry.h"
#include "support/machine_host.h"

namespace blok {
namespace {

using ::blok::testing::FakeHost;
using ::blok::testing::kCorner;

// An input on the way to a step: a typed entry, or (empty) a click on the first corner line.
using Inputs = std::vector<std::string>;
const std::string kClick;

void Feed(CommandMachine& machine, const Inputs& inputs) {
  for (const std::string& input : inputs) {
    if (input.empty()) {
      machine.Press(125, 100);
      machine.Release(125, 100);
    } else {
      machine.WykonajPolecenie(input);
    }
  }
}

// Every step of every command, reached by the inputs it needs.
const std::vector<Inputs> kSteps = {
    {"l"},
    {"l", "0,0"},
    {"p"},
    {"p", "1,1"},
    {"o"},
    {"o", "0,0"},
    {"a"},
    {"a", "0,0"},
    {"a", "0,0", "1"},
    {"a", "0,0", "1", "0"},
    {"t"},
    {"t", "0,0"},
    {"t", "0,0", "0"},
    {"wi"},
    {"wi", "5"},
    {"wi", "5", "0,0"},
    {"mo"},
    {"mo", kClick},
    {"mo", kClick, "0,0"},
    {"co"},
    {"co", kClick},
    {"co", kClick, "0,0"},
    {"ro"},
    {"u"},
    {"sc"},
    {"sc", kClick},
    {"sc", kClick, "0,0"},
    {"f"},
    {"f", kClick},
    {"tr"},
    {"tr", kClick},
    {"w"},
    {"w", kClick},
    {"od"},
    {"od", "0,0"},
    {"od", "0,0", "0,1"},
    {"od", "0,0", "0,1", kClick},
    {"ob"},
    {"ob", kClick},
    {"ob", kClick, "0,0"},
    {"ed"},
    {"odl"},
    {"odl", "0,0"},
    {"lu"},
    {"lu", kClick},
    {"lu", kClick, "1,1"},
    {"za"},
    {"za", "0.1"},
    {"za", "0.1", kClick},
    {"sz"},
    {"sz", kClick},
    {"sz", kClick, "2,2"},
};

// A keyword typed in any step ends the running command as Esc would and starts its own, with
// its own prompt; a step that takes free text takes it as the text first. (What a command
// remembers, as the last fillet radius, stays the same either way.)
TEST(KeywordInStepTest, StartsItsCommandFromEveryStep) {
  for (const CommandRow& row : Commands()) {
    for (std::string_view keyword : row.keywords) {
      if (keyword.empty()) continue;
      for (const Inputs& step : kSteps) {
        SCOPED_TRACE(std::string(keyword) + " after " + step.front() + ", step " +
                     std::to_string(step.size()));
        FakeHost host(kCorner);
        CommandMachine machine(host);
        Feed(machine, step);
        ASSERT_NE(machine.awaits(), Awaited::kNothing);
        // wi takes "o" after its centre as its own switch: the next point is a side's midpoint.
        if (keyword == "O" && step == Inputs{"wi", "5", "0,0"}) {
          machine.WykonajPolecenie(std::string(keyword));
          EXPECT_EQ(machine.wskaz().Polecenie, "WIELOKAT");
          continue;
        }
        const bool free_text = machine.awaits() == Awaited::kText;
        const size_t lines = host.scene().drawing.records().size();
        machine.WykonajPolecenie(std::string(keyword));

        FakeHost escaped_host(kCorner);
        CommandMachine escaped(escaped_host);
        Feed(escaped, step);
        escaped.AnulujPolecenie();
        escaped.WykonajPolecenie(std::string(keyword));

        EXPECT_EQ(host.scene().drawing.records().size(), lines + (free_text ? 1 : 0));
        EXPECT_EQ(host.prompt, escaped_host.prompt);
        EXPECT_EQ(machine.awaits(), escaped.awaits());
        EXPECT_EQ(machine.wskaz().Polecenie, escaped.wskaz().Polecenie);
      }
    }
  }
}

}  // namespace
}  // namespace blok
