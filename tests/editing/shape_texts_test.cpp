// The shortcut through plain lines gives the texts, and so the keys, of the full reading.
#include "editing/shape_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editing/duplicates.h"
#include "model/cp1250.h"

namespace blok {
namespace {

// The drawing's key as DrawingKey writes it, from the texts ShapeTexts gives (UTF-8 lines),
// through texts that may have read other drawings before. Each hash AboveHash gives on the
// way is checked against the text's.
std::string KeyThroughShapeTexts(const std::vector<std::string>& lines, ShapeTexts& texts,
                                 ShapeTexts& hashes) {
  texts.Restart();
  hashes.Restart();
  std::vector<std::string> shapes;
  for (size_t i = lines.size(); i-- > 0;) {
    const std::string bytes = Utf8ToCp1250(lines[i]);
    const auto text = texts.Above(bytes);
    if (text) shapes.emplace_back(*text);
    const auto hash = hashes.AboveHash(bytes);
    EXPECT_EQ(hash.has_value(), text.has_value()) << lines[i];
    if (hash && text) {
      EXPECT_EQ(*hash, ShapeTextHash(*text)) << lines[i];
    }
  }
  std::ranges::sort(shapes);
  std::string key;
  for (const std::string& shape : shapes) key.append(shape).push_back('\n');
  return key;
}

std::string KeyThroughShapeTexts(const std::vector<std::string>& lines) {
  ShapeTexts texts;
  ShapeTexts hashes;
  return KeyThroughShapeTexts(lines, texts, hashes);
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
      "P(12345678901234.5678,0)-(0,0);K(0,0,0);GR(0,1)",  // more digits than a double holds
      "L(12.5,-3.25)-(100.125,7.5);K(0,0,0);GR(0,1)",     // fields past the first 16 bytes
      "L(12.5,-3.25)-(100.1250,7.5);K(0,0,0);GR(0,1)",
      "L(12.5,-3.25)-(100.125,7.50);K(0,0,0);GR(0,1)",
      "O(123456.789,-98765.4321,0.50);K(0,0,0);GR(0,1)",
      "L(1234567.1234,-7654321.4321)-(1111111.1111,-2222222.2222);K(0,0,0);GR(0,1)",
      "L(1234567.1234,-7654321.4321)-(1111111.1111,-2222222.2220);K(0,0,0);GR(0,1)",
      "L(12345678901234,-12345678901234)-(12345678901234,-1234567890123.5);K(0,0,0);GR(0,1)",
      "P(1.2.3,0)-(1,1)",
      "O(0,0,1)",
      "O(0,0,1.00005);K(255,0,0)",
      "O(-0,-0.0,-0.00001);K(0,0,0);GR(0,25)",
      "O(,0,1)",
      "O(0,0,1",
      "LUK(0,0,1,0,90);K(0,0,0);GR(0,1)",
      "LUK(0,0,0.5,359.9999,-0.0001)",
      "LUK(0,0,1,0.00005,90)",  // an angle to round: the full reading
      "LUK(0,0,1,0.01485,90)",  // read and written back just below the half
      "LUK(0,0,1,0,0.02965)",
      "LUK(0,0,1,123456.7,-999999.9999)",  // angles as large as the shortcut takes them
      "LUK(0,0,1,1234567.5,0);K(1,2,3)",   // and larger
      "LUK(0,0,1,0,90,5)",                 // "90,5" is one number before ")"
      "LUK(0,0,1,0,90)x",
      "LUK(0,0,1,0)",
      "T(0,0,'Ąb;c',1,1,0);K(0,0,0);GR(0,1)",
      "T(1.089,0.198,'Sk 3',0.396,0.297,0);K(0,0,0);GR(0,10)",
      "T(0,0,'',1,1,0)",
      "T(0,0,'it''s',1,1,0)",  // a quote inside: blanks read otherwise
      "T(0,0,' a  b ',1,1,0)",
      "T(0,0,'Zażółć gęślą',1,1,0)",
      "T(0,0,'a',999.9999,0.00005,-45)",  // sizes are floats: rounding
      "T(0,0,'a',1000,123.4567,0.1)",
      "T(0,0,'a',1,1,0.00004)",
      "T(0,0,'a',+1,01,-0)",
      "T(0,0,'a',1,1,0",
      "T(0,0,'a',1,1)",
      "T(0,0,'a' ,1,1,0)",
      "T(0,0,x',1,1,0)",
      "T(0,0,'a,1,1,0)",
      "T(0,0,'a\tb',1,1,0);K(1,2,3)",
      "K(255,0,0)",
      "K(czerwony)",
      "K(ŻÓŁTY)",
      "K(1,2,3,4)",
      "K(255,0,0)x",
      "GR(0,5)",
      "GR(,5)",
      "GR(0,5)x",
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
  const std::vector<std::string> texts = {"", "Sk 1", "Ąę", "a;b", "x'y"};
  std::mt19937 random(20261208);
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
  };
  const auto line = [&]() -> std::string {
    switch (std::uniform_int_distribution<int>(0, 10)(random)) {
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
      case 9:
        return "T(" + pick(numbers) + ",0,'" + pick(texts) + "'," + pick(numbers) + ",1," +
               pick(numbers) + ")" + pick(tails);
      default:
        return random() % 2 ? "// uwaga" : "";
    }
  };
  // As a library is read: one reader for every drawing, keeping what it has met.
  ShapeTexts library_texts;
  ShapeTexts library_hashes;
  for (int drawing = 0; drawing < 3000; ++drawing) {
    std::vector<std::string> lines(std::uniform_int_distribution<size_t>(1, 6)(random));
    for (std::string& l : lines) l = line();
    const std::string key = DrawingKey(lines);
    ASSERT_EQ(KeyThroughShapeTexts(lines), key) << ::testing::PrintToString(lines);
    ASSERT_EQ(KeyThroughShapeTexts(lines, library_texts, library_hashes), key)
        << ::testing::PrintToString(lines);
    // The same shapes in another order, each with its colour and thickness named.
    std::vector<std::string> shuffled;
    ShapeTexts texts(LineCoding::kUtf8);  // the lines here are as memory holds them
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
