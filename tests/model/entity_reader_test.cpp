#include "model/entity_reader.h"

#include <gtest/gtest.h>

#include <limits>

namespace blok {
namespace {

constexpr Colour kDefaultColour = 0x010203;
constexpr float kDefaultWeight = 0.7f;
const ReadingDefaults kDefaults{kDefaultColour, kDefaultWeight, ','};

TEST(ClassifyLineTest, KindsByTheirFirstCharacters) {
  const struct {
    const char* line;
    EntityKind kind;
  } cases[] = {
      {"L(1,2)-(3,4)", EntityKind::kLine},
      {"l(1,2)-(3,4)", EntityKind::kLine},
      {"  L (1,2)-(3,4)", EntityKind::kLine},
      {"P(1,2)-(3,4)", EntityKind::kRectangle},
      {"O(1,2,3)", EntityKind::kCircle},
      {"LUK(0,0,1,0,90)", EntityKind::kArc},
      {"luk (0,0,1,0,90)", EntityKind::kArc},
      {"T(0,0,'a',1,1,0)", EntityKind::kText},
      {"K(1,2,3)", EntityKind::kColour},
      {"k(czerwony)", EntityKind::kColour},
      {"GR(0.5)", EntityKind::kThickness},
      {"gr(0,5)", EntityKind::kThickness},
      {"GRUBOŚĆ(2)", EntityKind::kThickness},
      {"G R(1)", EntityKind::kThickness},  // blanks after the first character go first
      {"LINIA(1,2)", EntityKind::kNone},
      {"X(1,2)", EntityKind::kNone},
      {"// opis", EntityKind::kNone},
      {"", EntityKind::kNone},
      {"L", EntityKind::kNone},
      {"(L(1,2)", EntityKind::kNone},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyLine(c.line), c.kind) << c.line;
}

struct SegmentCase {
  const char* line;
  bool valid;
  double x1, y1, x2, y2;
  Colour colour;
  float thickness;
};

TEST(ReadSegmentTest, BodyAndTail) {
  const SegmentCase cases[] = {
      {"L(1,2)-(3,4);K(0,0,0);GR(0.1)", true, 1, 2, 3, 4, 0, 0.1f},
      {"  L ( 1 , 2 ) - ( 3 , 4 ) ; K ( 0 , 0 , 0 ) ; GR ( 0.1 ) ", true, 1, 2, 3, 4, 0, 0.1f},
      {"l(1,2)-(3,4)", true, 1, 2, 3, 4, kDefaultColour, kDefaultWeight},
      {"L(1,2)-(3,4);GR(0.5)", true, 1, 2, 3, 4, kDefaultColour, kDefaultWeight},
      {"L(1,2)-(3,4);K(RED);GR(0.5)", true, 1, 2, 3, 4, kDefaultColour, kDefaultWeight},
      {"L(1,2)-(3,4);k(255,0,0);GR(0.5)", true, 1, 2, 3, 4, kDefaultColour, kDefaultWeight},
      {"L(1,2)-(3,4);K(255,0,0);GR(0,5)", true, 1, 2, 3, 4, 0x0000FF, 0.5f},
      {"L(1,2)-(3,4);K(300,0,0);gr(2)", true, 1, 2, 3, 4, 44, 2},
      {"L(1,2)-(3,4);K(0,0,0);GR(x)", true, 1, 2, 3, 4, 0, kDefaultWeight},
      // A colour component that fails stays in front, so the thickness step misses its field.
      {"L(1,2)-(3,4);K(1,2,x);GR(0.5)", true, 1, 2, 3, 4, kDefaultColour, kDefaultWeight},
      {"L(0.5,-1.25)-(1e2,0);K(0,255,0);GR(0.25)", true, 0.5, -1.25, 100, 0, 0x00FF00, 0.25f},
      {"P(-2.0,-1.0)-(2.0,1.0);K(255,0,0);GR(0.1)", true, -2, -1, 2, 1, 0x0000FF, 0.1f},
      // The body stops in front of "a", so the tail steps land on the wrong characters.
      {"L(a,2)-(3,4);K(0,0,0);GR(1)", false, 0, 0, 0, 0, kDefaultColour, kDefaultWeight},
      {"L(1,2)-(3,y)", false, 0, 0, 0, 0, kDefaultColour, kDefaultWeight},
      // A second point not introduced by "(" one character after the first is not a line.
      {"L(1,2)(3,4)", false, 0, 0, 0, 0, kDefaultColour, kDefaultWeight},
      {"L(1,2)--(3,4)", false, 0, 0, 0, 0, kDefaultColour, kDefaultWeight},
      {"L(1,2)", false, 0, 0, 0, 0, kDefaultColour, kDefaultWeight},
      // Any one character stands between the points, a Polish letter too.
      {"L(1,2)ą(3,4)", true, 1, 2, 3, 4, kDefaultColour, kDefaultWeight},
  };
  for (const auto& c : cases) {
    const SegmentRecord r = ReadSegment(c.line, kDefaults);
    EXPECT_EQ(r.valid, c.valid) << c.line;
    if (c.valid) {
      EXPECT_EQ(r.x1, c.x1) << c.line;
      EXPECT_EQ(r.y1, c.y1) << c.line;
      EXPECT_EQ(r.x2, c.x2) << c.line;
      EXPECT_EQ(r.y2, c.y2) << c.line;
    }
    EXPECT_EQ(r.colour, c.colour) << c.line;
    EXPECT_EQ(r.thickness, c.thickness) << c.line;
  }
  EXPECT_EQ(ReadSegment("p(0,0)-(1,1)", kDefaults).kind, 'P');
}

TEST(ReadCircleTest, DecimalCommaOnlyBeforeTheClosingBracket) {
  CircleRecord r = ReadCircle("O(0,0,1,5)", kDefaults);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.radius, 1.5);
  r = ReadCircle("O(1,5,2,2)", kDefaults);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.x, 1);
  EXPECT_EQ(r.y, 5);
  EXPECT_EQ(r.radius, 2.2);
  r = ReadCircle("O(3,4,1.5);K(0,128,0);GR(0,25)", kDefaults);
  EXPECT_EQ(r.colour, 0x008000u);
  EXPECT_EQ(r.thickness, 0.25f);
  EXPECT_FALSE(ReadCircle("O(3,4)", kDefaults).valid);
  EXPECT_FALSE(ReadCircle("O(3,4,)", kDefaults).valid);
}

TEST(ReadArcTest, AnglesInRadians) {
  ArcRecord r = ReadArc("LUK(0,0,2,0,90);K(0,0,128);GR(0,10)", kDefaults);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.radius, 2);
  EXPECT_EQ(r.start_angle, 0);
  EXPECT_DOUBLE_EQ(r.end_angle, 90 * 0.01745329252);
  EXPECT_EQ(r.colour, 0x800000u);
  EXPECT_EQ(r.thickness, 0.1f);
  r = ReadArc("LUK(0,0,1,350,10)", kDefaults);
  EXPECT_DOUBLE_EQ(r.start_angle, 350 * 0.01745329252);
  EXPECT_DOUBLE_EQ(r.end_angle, 10 * 0.01745329252);
  EXPECT_TRUE(ReadArc("LUK (1,2,3,4,5)", kDefaults).valid);
  // Three letters without a body are not an arc.
  EXPECT_FALSE(ReadArc("LUKASZ", kDefaults).valid);
  EXPECT_FALSE(ReadArc("LUK(0,0,1,0)", kDefaults).valid);
}

struct TextCase {
  const char* line;
  bool valid;
  const char* text;
};

TEST(ReadTextTest, QuotedTextKeepsWhatIsInside) {
  const TextCase cases[] = {
      {"T(1,2,'Opis bloku',0.6,0.5,0);K(0,0,0);GR(0,10)", true, "Opis bloku"},
      {"T(0,0,'a, b',1,1,0)", true, "a, b"},
      {"T(0,0,'it's',1,1,0)", true, "it's"},
      {"T(0,0,'  x  ',1,1,0)", true, "  x  "},
      {"T ( 0 , 0 , 'Zażółć gęślą' , 1 , 1 , 0 )", true, "Zażółć gęślą"},
      {"T(0,0,'',1,1,0)", true, ""},
      {"T(0,0,'abc',1,1,0", false, ""},    // the angle reads from nothing
      {"T(0,0,'a',b',1,1,0)", false, ""},  // the text ends at "'," and the rest is misread
      {"T(0,0,'abc,1,1,0)", false, ""},    // no end of the text at all
      {"T(x,0,'abc',1,1,0)", false, ""},
      {"T(0,0,'it's',1 ,1,0)", true, "it's"},  // blanks around a number are harmless
  };
  for (const auto& c : cases) {
    const TextRecord r = ReadText(c.line, kDefaults);
    EXPECT_EQ(r.valid, c.valid) << c.line;
    if (c.valid) {
      EXPECT_EQ(r.text, c.text) << c.line;
    }
  }
  const TextRecord r = ReadText("T(1,2,'x',0.6,0.5,33.3);K(0,0,0);GR(0,10)", kDefaults);
  EXPECT_EQ(r.x, 1);
  EXPECT_EQ(r.y, 2);
  EXPECT_EQ(r.height, 0.6f);
  EXPECT_EQ(r.width, 0.5f);
  EXPECT_EQ(r.angle, 33.3f);
  EXPECT_EQ(r.thickness, 0.1f);
}

TEST(ReadTextTest, TextIsCutTo255Characters) {
  const std::string long_text(300, 'a');
  const TextRecord r = ReadText("T(0,0,'" + long_text + "',1,1,0)", kDefaults);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.text, std::string(255, 'a'));
  std::string polish;
  for (int i = 0; i < 300; ++i) polish += "ż";
  const TextRecord p = ReadText("T(0,0,'" + polish + "',1,1,0)", kDefaults);
  EXPECT_EQ(p.text.size(), 255u * 2);  // characters, not bytes
}

struct ColourCase {
  const char* line;
  bool valid;
  Colour colour;
};

TEST(ReadColourCommandTest, NumbersAndNames) {
  const ColourCase cases[] = {
      {"K(255,0,0)", true, 0x0000FF},  {"k(255,0,0)", true, 0x0000FF},
      {"K(300,0,0)", true, 44},        {"K(-1,0,0)", true, 255},
      {"K(czerwony)", true, 0x0000FF}, {"K(Zielony)", true, 0x008000},
      {"K(żółty)", true, 0x00FFFF},    {"K(ŻOŁTY)", true, 0x00FFFF},
      {"K(zołty)", true, 0x00FFFF},    {"K(niebieski)", true, 0x800000},
      {"K(Biały)", true, 0xFFFFFF},    {"K(black)", true, 0},
      {"K(YELLOW)", false, 0},         {"K(1,2)", false, 0},
      {"K(1,2,3", false, 0},           {"K(a,b,c)", false, 0},
      {"K(czerwony", false, 0},        {"K()", false, 0},
  };
  for (const auto& c : cases) {
    const ColourRecord r = ReadColourCommand(c.line, kDefaults);
    EXPECT_EQ(r.valid, c.valid) << c.line;
    if (c.valid) {
      EXPECT_EQ(r.colour, c.colour) << c.line;
    }
  }
}

TEST(ReadThicknessCommandTest, NumberUpToTheBracket) {
  EXPECT_EQ(ReadThicknessCommand("GR(0,35)", kDefaults).thickness, 0.35f);
  EXPECT_EQ(ReadThicknessCommand("GR(0.35)", kDefaults).thickness, 0.35f);
  EXPECT_TRUE(ReadThicknessCommand("gr ( 2 )", kDefaults).valid);
  EXPECT_FALSE(ReadThicknessCommand("GRUBOŚĆ(2)", kDefaults).valid);
  EXPECT_FALSE(ReadThicknessCommand("GR(0.35", kDefaults).valid);
  EXPECT_FALSE(ReadThicknessCommand("GR()", kDefaults).valid);
}

// Thickness and a text's height, width and angle are floats; coordinates and radii doubles.
TEST(ReadersTest, SingleFieldsBeyondTheFloatRangeDoNotConvert) {
  constexpr float kLargest = std::numeric_limits<float>::max();
  const struct {
    const char* line;
    bool valid;
    float thickness;
  } cases[] = {
      {"GR(1e39)", false, kDefaultThickness},
      {"GR(-3.4028235e38)", true, -kLargest},          // the largest float as written reads back
      {"GR(3.4028236e38)", false, kDefaultThickness},  // past half a step above it
      {"L(0,0)-(1,1);K(0,0,0);GR(1e39)", true, kDefaultWeight},  // a tail field falls back
      {"T(0,0,'a',1,1,0);K(0,0,0);GR(3.4028235e38)", true, kLargest},
      {"T(0,0,'a',1e39,1,0)", false, kDefaultWeight},
      {"T(0,0,'a',1,-1e39,0)", false, kDefaultWeight},
      {"T(0,0,'a',1,1,1e39)", false, kDefaultWeight},
      {"T(1e300,0,'a',3.4e38,1e-50,0)", true, kDefaultWeight},
      {"O(0,0,1e39)", true, kDefaultWeight},
  };
  for (const auto& c : cases) {
    const EntityRecord r = ReadEntity(c.line, kDefaults);
    EXPECT_EQ(IsValid(r), c.valid) << c.line;
    const float thickness = std::visit(
        [](const auto& e) {
          if constexpr (requires { e.thickness; }) {
            return e.thickness;
          } else {
            return -1.0f;
          }
        },
        r);
    EXPECT_EQ(thickness, c.thickness) << c.line;
  }
}

TEST(ReadEntityTest, DispatchesByKind) {
  EXPECT_TRUE(std::holds_alternative<SegmentRecord>(ReadEntity("P(0,0)-(1,1)", kDefaults)));
  EXPECT_TRUE(std::holds_alternative<ArcRecord>(ReadEntity("LUK(0,0,1,0,1)", kDefaults)));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(ReadEntity("// x", kDefaults)));
  EXPECT_TRUE(IsValid(ReadEntity("GR(1)", kDefaults)));
  EXPECT_FALSE(IsValid(ReadEntity("X(1,2)", kDefaults)));
}

TEST(ReadersTest, PointSeparatorReadsTheSame) {
  const ReadingDefaults point{0, 0.1f, '.'};
  EXPECT_EQ(ReadCircle("O(0,0,1,5)", point).radius, 1.5);
  EXPECT_EQ(ReadThicknessCommand("GR(0,35)", point).thickness, 0.35f);
}

TEST(FormatColourTest, BytesLowestFirst) {
  EXPECT_EQ(FormatColour(0x00FFFF), "K(255,255,0)");
  EXPECT_EQ(FormatColour(0), "K(0,0,0)");
  EXPECT_EQ(FormatColour(0x800000), "K(0,0,128)");
  EXPECT_EQ(ReadColourCommand(FormatColour(0x123456), kDefaults).colour, 0x123456u);
}

}  // namespace
}  // namespace blok
