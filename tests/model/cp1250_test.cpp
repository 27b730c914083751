#include "model/cp1250.h"

#include <gtest/gtest.h>

namespace blok {
namespace {

// Without a converter that gives the code page's letters nothing may be read or written; the
// check must say which and why, and must not pass a converter of another code page.
TEST(Cp1250Test, AConverterThatIsMissingOrWrongIsAProblem) {
  struct Case {
    const char* charset;
    const char* says;  // nothing: usable
  };
  const Case cases[] = {
      {"CP1250", nullptr},
      {"ISO-8859-2", "inne litery"},  // the same letters, most of them at other bytes
      {"CP1252", "inne litery"},
      {"NO-SUCH-CODE-PAGE", "NO-SUCH-CODE-PAGE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.charset);
    const auto problem = CodePageProblem(c.charset);
    if (!c.says) {
      EXPECT_FALSE(problem) << problem->message;
      continue;
    }
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->message.find(c.says), std::string::npos) << problem->message;
    EXPECT_NE(problem->message.find("polskie litery"), std::string::npos) << problem->message;
  }
  // The converter the program itself uses works here, or every other test would be moot.
  const auto own = CodePageProblem();
  EXPECT_FALSE(own) << own->message;
}

TEST(Cp1250Test, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = Cp1250ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1250(utf8), all);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(CodePointToCp1250(Cp1250ToCodePoint(static_cast<unsigned char>(b))), b) << b;
  }
}

TEST(Cp1250Test, PolishLettersAndUndefinedBytes) {
  EXPECT_EQ(Utf8ToCp1250("ąćęłńóśźż"), "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
  EXPECT_EQ(Utf8ToCp1250("ĄĆĘŁŃÓŚŹŻ"), "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
  EXPECT_EQ(Cp1250ToUtf8("Zak\xB3"
                         "ad \xB0"),
            "Zakład °");
  // Bytes the code page leaves undefined keep their value as the code point.
  for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) EXPECT_EQ(Cp1250ToCodePoint(b), b);
  EXPECT_EQ(Cp1250ToCodePoint(0x80), U'€');
}

TEST(Cp1250Test, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp1250("a€b"),
            "a\x80"
            "b");
  EXPECT_EQ(Utf8ToCp1250("日本"), "??");
  EXPECT_EQ(Utf8ToCp1250("x\xC3"), "x?");        // cut sequence
  EXPECT_EQ(Utf8ToCp1250("\xC0\xAF"), "?");      // overlong form
  EXPECT_EQ(Utf8ToCp1250("\xED\xA0\x80"), "?");  // surrogate
  EXPECT_EQ(Utf8ToCp1250("\xFF"), "?");
}

// What the user types enters the drawing as the file will give it back, and the characters
// lost on the way are named in order.
TEST(Cp1250Test, FittingToTheCodePageNamesWhatIsLost) {
  const struct {
    const char* text;
    const char* fitted;
    std::vector<char32_t> lost;
  } cases[] = {
      {"Zażółć gęślą jaźń", "Zażółć gęślą jaźń", {}},
      {"what?", "what?", {}},  // a question mark typed is kept, not lost
      {"π≈3 €", "??3 €", {U'π', U'≈'}},
      {"a\xFF"
       "b日",
       "a?b?",
       {kBadCodePoint, U'日'}},
      {"\xC2\x81", "\xC2\x81", {}},  // an undefined byte's code point keeps its byte
      {"", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const CodePageFit fit = FitToCodePage(c.text);
    EXPECT_EQ(fit.text, c.fitted);
    EXPECT_EQ(fit.lost, c.lost);
    EXPECT_EQ(fit.text, Cp1250ToUtf8(Utf8ToCp1250(c.text)));
  }
}

TEST(Cp1250Test, UpperCase) {
  EXPECT_EQ(UpperCp1250("żółty"), "ŻÓŁTY");
  EXPECT_EQ(UpperCp1250("Zielony"), "ZIELONY");
  EXPECT_EQ(UpperCp1250("ščř1"), "ŠČŘ1");
}

}  // namespace
}  // namespace blok
