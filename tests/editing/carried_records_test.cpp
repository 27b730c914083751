// The records an operation hands over beside its lines are the lines read: the journal and the
// previews take them instead of reading the lines again.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "editing/mirror.h"
#include "editing/transform.h"

namespace blok {
namespace {

// Every field of a record, numbers in hexadecimal so that equal texts mean equal bits.
std::string Described(const ParsedEntity& e) {
  std::string out;
  const auto number = [&](double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, " %a", v);
    out += buffer;
  };
  const auto tail = [&](const auto& r) {
    out += " colour " + std::to_string(r.colour) + " index " + std::to_string(r.index);
    number(r.thickness);
    out += r.valid ? " valid" : " invalid";
  };
  out += "kind " + std::to_string(static_cast<int>(e.kind));
  std::visit(
      [&](const auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, SegmentRecord>) {
          out += std::string(" segment ") + r.kind;
          for (double v : {r.x1, r.y1, r.x2, r.y2}) number(v);
          tail(r);
        } else if constexpr (std::is_same_v<R, CircleRecord>) {
          for (double v : {r.x, r.y, r.radius}) number(v);
          tail(r);
        } else if constexpr (std::is_same_v<R, ArcRecord>) {
          for (double v : {r.x, r.y, r.radius, r.start_angle, r.end_angle}) number(v);
          tail(r);
        } else if constexpr (std::is_same_v<R, TextRecord>) {
          out += " '" + r.text + "'";
          for (double v : {r.x, r.y, double{r.height}, double{r.width}, double{r.angle}}) number(v);
          tail(r);
        } else {
          out += " other";
        }
      },
      e.record);
  out += " box";
  for (double v : {e.box.left, e.box.right, e.box.bottom, e.box.top}) number(v);
  return out;
}

// Every kind, with and without its tail, numbers that round half way, past 2^53 units and
// close to a turn, texts with what the format reads specially, under colour and thickness
// commands (which rule the lines above them).
const std::vector<std::string> kLines = {
    "L(0.00005,-0.00005)-(12345.6789,-98765.4321)",
    "L(1,2)-(3,4);K(10,20,30);GR(0.35)",
    "L(123456789012.3456,1)-(2,-3);K(1,1,1);GR(0.05)",
    "L(999999999999.99994,-999999999999.99996)-(0.1,0.2)",
    "K(200,100,50)",
    "P(-1.5,-2.5)-(3.25,4.75)",
    "P(10,5)-(0,0);K(255,0,0)",
    "O(1.11115,2.22225,3.33335)",
    "O(0,0,0.00004);K(1,2,3);GR(1.23456)",
    "GR(0.7)",
    "LUK(5,5,2,30,300)",
    "LUK(1.5,2.5,3,359.99999,0.00001);K(0,128,0);GR(0.5)",
    "T(1,2,'Zażółć gęślą jaźń',2.5,1.2,45)",
    "T(-3.33333,4.44444,'x''y (a);K(1,2,3);GR(5) 100%',0.123456,-1,359.99999);K(0,0,255);GR(0.25)",
    "T(0,0,'  blanks  ',1,1,0)",
    "nonsense",
};

using Operation = std::function<EditChanges(std::span<const ParsedEntity>, Selection&)>;

struct OperationCase {
  const char* name;
  Operation operation;
};

const std::vector<OperationCase> kOperations = {
    {"move", [](auto r, Selection& s) { return MoveSelection(r, s, 1.5f, -2.5f); }},
    {"move by a third", [](auto r, Selection& s) { return MoveSelection(r, s, 1 / 3.f, 0.1f); }},
    {"copy", [](auto r, Selection& s) { return CopySelection(r, s, 0.1f, 0.2f); }},
    {"stretch", [](auto r, Selection& s) { return StretchSelection(r, s, 0.7f, -0.3f); }},
    {"rotate", [](auto r, Selection& s) { return RotateSelection(r, s, 1, 1, 0.5235988f); }},
    {"rotate square", [](auto r, Selection& s) { return RotateSelection(r, s, 1, 1, 1.5707964f); }},
    {"scale", [](auto r, Selection& s) { return ScaleSelection(r, s, 2, 2, 0.3f); }},
    {"scale negative", [](auto r, Selection& s) { return ScaleSelection(r, s, -1, 3, -2); }},
    {"mirror",
     [](auto r, Selection& s) {
       return MirrorSelection(r, s, {0, 0}, {1, 2});
     }},
    {"mirror level",
     [](auto r, Selection& s) {
       return MirrorSelection(r, s, {0, 1}, {5, 1});
     }},
    {"properties",
     [](auto r, Selection& s) {
       return ChangeSelectionProperties(
           r, s, {.colour = true, .height = true, .colour_value = 0x123456, .height_value = 3.3f});
     }},
    {"insert",
     [](auto r, Selection&) {
       return AddsInOrder(PlacedEntities(r, {.x = 7, .y = -7, .scale = 0.6, .angle = 0.3}));
     }},
};

class CarriedRecord : public ::testing::TestWithParam<OperationCase> {};

TEST_P(CarriedRecord, IsTheLineRead) {
  Drawing drawing;
  drawing.Load(kLines);
  Selection selection;
  selection.flags.assign(drawing.size(), 1);
  selection.count = kLines.size();
  selection.window = {-2, 4, -3, 5};
  const EditChanges changes = GetParam().operation(drawing.records(), selection);
  ASSERT_EQ(changes.unwritable, 0u);
  ASSERT_FALSE(changes.empty());
  for (const EditChange& change : changes) {
    SCOPED_TRACE(change.line);
    ASSERT_TRUE(change.record.has_value());
    EXPECT_EQ(Described(*change.record), Described(ParseEntity(change.line)));
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, CarriedRecord, ::testing::ValuesIn(kOperations),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) c = c == ' ' ? '_' : c;
                           return name;
                         });

}  // namespace
}  // namespace blok
