// The shortcut through plain lines gives the texts, and so the keys, of the full reading.
#include "editing/shape_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editing/duplicates.h"
#include "model/cp1250.h"

namespace blok {
namespace {

// The drawing's key as DrawingKey writes it, from the texts ShapeTexts gives (UTF-8 lines).
std::string KeyThroughShapeTexts(const std::vector<std::string>& lines) {
  ShapeTexts texts;
  texts.Restart();
  std::vector<std::string> shapes;
  for (size_t i = lines.size(); i-- > 0;) {
    if (const auto text = texts.Above(Utf8ToCp1250(lines[i]))) shapes.emplace_back(*text);
  }
  std::ranges::sort(shapes);
  std::string key;
  for (const std::string& shape : shapes) key.append(shape).push_back('\n');
  return key;
}

DrawingSignature Signature(const std::vector<std::string>& lines) {
  std::vector<std::string> bytes;
  for (const std::string& line : lines) bytes.push_back(Utf8ToCp1250(line));
  const std::vector<std::string_view> views(bytes.begin(), bytes.end());
  return SignatureOf(views);
}

// Lines of every kind whose reading is easy to get wrong, each under a colour and a thickness
// command so that the defaults matter.
TEST(ShapeTextsTest, TrickyLinesReadAsTheFullReadingReadsThem) {
  const char* const lines[] = {
      "L(0,0)-(1,1)",
      "L(0,0)-(1,1);K(0,0,0);GR(0,1)",
      "L(0.00004,-0.00004)-(0.00005,-0.00005);K(0,0,0);GR(0.1)",     // rounding, "-0"
      "L(0.99995,9.99996)-(99999.99995,-0.99995);K(0,0,0);GR(0.1)",  // carries
      "L(007.1000,-0)-(+3,.5);K(0,0,0);GR(0.1)",
      "L(01.5,-00.25)-(0.5,-0.5);K(0,0,0);GR(0.1)",  // zeros, signs, no digit before the point
      "L(5.,1,5)-(2,2);K(1,2,3);GR(2)",              // "1,5" reads as 1.5 before ")"
      "L(1,5,2)-(2,2)",                              // but not before ","
      "L(0,0)_(1,1);K(0,0,0);GR(0,1)",               // any character between the points
      "L(0,0)(1,1);K(0,0,0);GR(0,1)",                // none: unreadable
      "L(0,0)€(1,1);K(0,0,0);GR(0,1)",               // one character, whatever its bytes
      "L(0,0)-(1,1);K(300,-1,+2);GR(0,1)",           // components taken as bytes
      "L(0,0)-(1,1);K(01,2,3);GR(0,1)",
      "L(0,0)-(1,1);K(1,2,3)",                      // thickness from the command below
      "L(0,0)-(1,1);GR(0,5)",                       // no colour: the thickness does not count
      "L(0,0)-(1,1);K(1,2,3);GR(1e20)",             // beyond what the writer writes
      "L(0,0)-(1,1);K(1,2,3);GR(999999999999999)",  // a float that rounds up to 1e15
      "L(0,0)-(1,1);K(1,2,3);GR(0,123456789)",
      "L(0,0)-(1,1);K(1,2,3);GR(0,1)x",
      "L(0,0)-(1,1);K(1,2,3);gr(0,1)",
      "L(0,0)-(1,1);k(1,2,3);GR(0,1)",
      "L(0,0)-(1,1)x",
      "L(0,0)-(1,1);",
      "l(0,0)-(1,1)",
      "L (0, 0) - (1, 1) ; K(1,2,3)",
      "P(1e3,0)-(2,2);K(0,0,0);GR(0,1)",
      "P(12345678901234,0)-(123456789012345,0);K(0,0,0);GR(0,1)",
      "P(1234567890.12345,0)-(9999999999.99995,0);K(0,0,0);GR(0,1)",
      "P(99999999999999.9,0)-(0.000000000001,0);K(0,0,0);GR(0,1)",
      "P(1.2.3,0)-(1,1)",
      "O(0,0,1)",
      "O(0,0,1.00005);K(255,0,0)",
      "O(-0,-0.0,-0.00001);K(0,0,0);GR(0,25)",
      "O(,0,1)",
      "O(0,0,1",
      "LUK(0,0,1,0,90);K(0,0,0);GR(0,1)",
      "T(0,0,'Ąb;c',1,1,0);K(0,0,0);GR(0,1)",
      "K(255,0,0)",
      "K(czerwony)",
      "GR(0,5)",
      "// komentarz",
      "",
      "X(1,2)",
  };
  for (const char* line : lines) {
    const std::vector<std::string> drawing = {line, "K(10,20,30)", "GR(0,35)"};
    EXPECT_EQ(KeyThroughShapeTexts(drawing), DrawingKey(drawing)) << line;
    // Lines in memory give the signature lines in a file give.
    EXPECT_EQ(SignatureOf(std::span<const std::string>(drawing), LineCoding::kUtf8),
              Signature(drawing))
        << line;
    // A line that stands alone gives the hash of its text wherever it stands.
    ShapeTexts texts;
    const std::string bytes = Utf8ToCp1250(line);
    if (const auto hash = texts.AloneHash(bytes)) {
      ShapeTexts fresh;
      fresh.Restart();
      const auto text = fresh.Above(bytes);
      ASSERT_TRUE(text) << line;
      EXPECT_EQ(*hash, ShapeTextHash(*text)) << line;
      // And again, with its tail known from the line before.
      EXPECT_EQ(texts.AloneHash(bytes), hash) << line;
    }
  }
}

// Drawings put together at random from tricky numbers, tails and lines: the key through the
// shortcut is the full reading's, and drawings with the same key have the same signature.
TEST(ShapeTextsTest, RandomDrawingsGiveTheKeysOfTheFullReading) {
  const std::vector<std::string> numbers = {"0",
                                            "-0",
                                            "1",
                                            "+3",
                                            ".5",
                                            "5.",
                                            "-2.5",
                                            "1,5",
                                            "0.0001",
                                            "0.00005",
                                            "0.00004",
                                            "-0.00005",
                                            "0.99995",
                                            "1.00004",
                                            "1.00006",
                                            "12.3400",
                                            "007",
                                            "01.5",
                                            "-00.25",
                                            "1e2",
                                            "100",
                                            "99.9999",
                                            "99.99995",
                                            "123456789012345",
                                            "12345678901234.5",
                                            "0.1234567890123",
                                            "1.2.3",
                                            "",
                                            "a"};
  const std::vector<std::string> tails = {
      "",          ";K(0,0,0);GR(0,1)",       ";K(0,0,0);GR(0.1)", ";K(0,0,0);GR(0,10)",
      ";K(1,2,3)", ";K(255,255,255);GR(0.5)", ";GR(0,5)",          ";K(1,2,3);GR(1e9)",
      "x",         ";K(1,2);GR(0,1)"};
  std::mt19937 random(20261208);
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
  };
  const auto line = [&]() -> std::string {
    switch (std::uniform_int_distribution<int>(0, 9)(random)) {
      case 0:
      case 1:
      case 2:
        return "L(" + pick(numbers) + "," + pick(numbers) + ")-(" + pick(numbers) + "," +
               pick(numbers) + ")" + pick(tails);
      case 3:
        return "P(" + pick(numbers) + "," + pick(numbers) + ")-(" + pick(numbers) + "," +
               pick(numbers) + ")" + pick(tails);
      case 4:
      case 5:
        return "O(" + pick(numbers) + "," + pick(numbers) + "," + pick(numbers) + ")" + pick(tails);
      case 6:
        return "K(" + std::to_string(random() % 300) + ",0,0)";
      case 7:
        return "GR(" + pick(numbers) + ")";
      case 8:
        return "LUK(0,0," + pick(numbers) + ",0," + pick(numbers) + ")" + pick(tails);
      default:
        return random() % 2 ? "// uwaga" : "";
    }
  };
  for (int drawing = 0; drawing < 3000; ++drawing) {
    std::vector<std::string> lines(std::uniform_int_distribution<size_t>(1, 6)(random));
    for (std::string& l : lines) l = line();
    const std::string key = DrawingKey(lines);
    ASSERT_EQ(KeyThroughShapeTexts(lines), key) << ::testing::PrintToString(lines);
    // The same shapes in another order, each with its colour and thickness named.
    std::vector<std::string> shuffled;
    ShapeTexts texts;
    texts.Restart();
    for (size_t i = lines.size(); i-- > 0;) {
      if (const auto text = texts.Above(lines[i])) shuffled.emplace_back(*text);
    }
    std::ranges::shuffle(shuffled, random);
    ASSERT_EQ(DrawingKey(shuffled), key);
    EXPECT_EQ(Signature(shuffled), Signature(lines)) << ::testing::PrintToString(lines);
    EXPECT_EQ(Signature(lines).shapes > 0, !key.empty());
  }
}

}  // namespace
}  // namespace blok
