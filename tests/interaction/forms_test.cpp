// Circles and arcs typed straight into the command line, as the writer makes their lines, and
// wi's "o" switch on its way through the machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interaction/command_machine.h"
#include "interaction/entity_writers.h"
#include "support/machine_host.h"

namespace blok {
namespace {

using ::blok::testing::FakeHost;

using Lines = std::vector<std::string>;

TEST(DirectShapeTest, TypedCircleOrArc) {
  const EntityStyle black{0, "0,10"};
  const EntityStyle red{0x0000FF, "0.35"};
  const std::string refused = "Nieprawidłowy zapis!";
  const struct {
    const char* entry;
    EntityStyle style;
    Lines lines;
    std::string message;
  } cases[] = {
      {"O(0,0,3)", black, {"O(0,0,3);K(0,0,0);GR(0,10)"}, "Dodaj okrąg."},
      {"o( 1.5 , -2 , 0,25 )", red, {"O(1.5,-2,0.25);K(255,0,0);GR(0.35)"}, "Dodaj okrąg."},
      {"O(0,0,3);K(0,128,0);GR(0,5)", red, {"O(0,0,3);K(0,128,0);GR(0.5)"}, "Dodaj okrąg."},
      {"O(0,0,3);K(0,128,0)", red, {"O(0,0,3);K(0,128,0);GR(0.35)"}, "Dodaj okrąg."},
      {"LUK(0,0,1,0,90)", black, {"LUK(0,0,1,0,90);K(0,0,0);GR(0,10)"}, "Dodaj łuk."},
      // An end below the start goes once round, as the reader draws it: kept as typed.
      {"Luk(1,2,3,300,30);K(0,0,255);GR(1)",
       black,
       {"LUK(1,2,3,300,30);K(0,0,255);GR(1)"},
       "Dodaj łuk."},
      {"LUK(0,0,2.5,-45,45.5)", red, {"LUK(0,0,2.5,-45,45.5);K(255,0,0);GR(0.35)"}, "Dodaj łuk."},
      {"O(0,a,3)", black, {}, refused},
      {"O(0,0)", black, {}, refused},
      {"LUK(0,0,1,90)", black, {}, refused},
      {"LUK(0,0,1,0,90", black, {}, refused},
      {"O(0,0,0)", black, {}, "Anulowano okrąg (R=0)."},
      {"O(0,0,-2)", black, {}, "Anulowano okrąg (R=0)."},
      {"LUK(0,0,1,45,45)", black, {}, "Anulowano łuk (A1=A2 lub R=0)."},
      {"LUK(0,0,0,0,90)", black, {}, "Anulowano łuk (A1=A2 lub R=0)."},
      {"L(0,0)-(1,1)", black, {}, refused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    const WriterResult r = DirectShape(c.entry, c.style);
    EXPECT_EQ(r.lines, c.lines);
    EXPECT_EQ(r.message, c.message);
    EXPECT_FALSE(r.error.has_value());
  }
}

// "o" at wi's vertex step is the polygon's switch; anywhere else, and from a control, it is
// the circle command.
TEST(PolygonSwitchTest, OIsTheCircleCommandButAfterTheCentre) {
  const struct {
    std::vector<std::string> before;
    bool from_control;
    const char* running;
  } cases[] = {
      {{"wi", "5", "0,0"}, false, "WIELOKAT"},
      {{"wi", "5", "0,0"}, true, "OKRAG"},
      {{"wi", "5"}, false, "OKRAG"},
      {{"wi"}, false, "OKRAG"},
      {{"l"}, false, "OKRAG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before.size());
    FakeHost host({});
    CommandMachine machine(host);
    for (const std::string& entry : c.before) machine.WykonajPolecenie(entry);
    machine.WykonajPolecenie("o", c.from_control);
    EXPECT_EQ(machine.wskaz().Polecenie, c.running);
  }
}

}  // namespace
}  // namespace blok
