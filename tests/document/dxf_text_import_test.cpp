// DXF texts as they come in: letters the code page lacks, and MTEXT set by its attachment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/dxf_import.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"

namespace blok {
namespace {

// A drawing in metres of one entity given as "code value" pairs, one a line: "40 0.6".
std::string DrawingOf(std::string_view pairs) {
  std::string out = "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n";
  out += "0\nSECTION\n2\nENTITIES\n";
  size_t at = 0;
  while (at < pairs.size()) {
    const size_t end = std::min(pairs.find('\n', at), pairs.size());
    const std::string_view pair = pairs.substr(at, end - at);
    const size_t space = pair.find(' ');
    out += std::string(pair.substr(0, space)) + "\n" + std::string(pair.substr(space + 1)) + "\n";
    at = end + 1;
  }
  return out + "0\nENDSEC\n0\nEOF\n";
}

DxfImportReport Imported(std::string_view pairs) {
  DxfImportOptions options;
  options.model_name = "rysunek";
  options.capital = {10, 50};  // an H 0.6 high on a text of height 1, its foot 0.12 above
  // Each character half the width long, so that centred and right-aligned lines can be told.
  options.text_length = [](std::string_view text, double width) {
    return 0.5 * width * static_cast<double>(CharacterCount(text));
  };
  auto report = ImportDxfBytes(DrawingOf(pairs), "t.dxf", options);
  EXPECT_TRUE(report.has_value()) << (report ? "" : report.error().message);
  return report ? *std::move(report) : DxfImportReport{};
}

TEST(DxfTextImport, TextsInOtherLettersAreWrittenInLatinOnesAndListed) {
  struct Case {
    const char* what;
    const char* entity;
    std::vector<std::string> texts;    // as the lines hold them, last line first
    std::vector<std::string> changed;  // as the report lists them
  } cases[] = {
      {"Cyrillic TEXT",
       "0 TEXT\n10 0\n20 0\n40 0.6\n1 Дата",
       {"Data"},
       {"blok rysunek: „Дата” → „Data”"}},
      {"Cyrillic MTEXT of two lines, the Polish one kept",
       "0 MTEXT\n10 0\n20 0\n40 0.6\n1 {\\fArial|b1;Дата}\\PŁódź",
       {"Łódź", "Data"},
       {"blok rysunek: „Дата” → „Data”"}},
      {"a code for a character",
       "0 TEXT\n10 0\n20 0\n40 0.6\n1 Ж\\U+0436 ok",
       {"Žž ok"},
       {"blok rysunek: „Жж ok” → „Žž ok”"}},
      {"a soft sign is an apostrophe, as the editor writes one",
       "0 TEXT\n10 0\n20 0\n40 0.6\n1 ПОДПИСЬ",
       {"PODPIS’"},
       {"blok rysunek: „ПОДПИСЬ” → „PODPIS’”"}},
      {"a text the code page holds is not listed",
       "0 TEXT\n10 0\n20 0\n40 0.6\n1 Zażółć",
       {"Zażółć"},
       {}},
  };
  for (const Case& c : cases) {
    const DxfImportReport report = Imported(c.entity);
    ASSERT_EQ(report.blocks.size(), 1u) << c.what;
    std::vector<std::string> texts;
    for (const std::string& line : report.blocks.front().lines) {
      const EntityRecord record = ReadEntity(line, ReadingDefaults{});
      if (const auto* t = std::get_if<TextRecord>(&record)) texts.push_back(t->text);
    }
    EXPECT_EQ(texts, c.texts) << c.what;
    EXPECT_EQ(report.changed_texts, c.changed) << c.what;
  }
}

// An MTEXT 0.6 high at (0,0), its lines one spacing (1.0) apart and 0.12 of descenders under the
// last: the box is 0.72 high for one line and 2.72 for three, its top on the point for
// attachments 1-3, its middle for 4-6, its bottom for 7-9. Each line starts where its text
// foot lies: the foot of the descenders, 0.12 below the baseline.
TEST(DxfTextImport, MtextIsSetInItsBoxByTheAttachment) {
  struct Case {
    int attachment;
    const char* text;
    std::vector<std::pair<double, double>> feet;  // first line first
  } cases[] = {
      {1, "Ab", {{0, -0.72}}},
      {2, "Ab", {{-0.5, -0.72}}},
      {3, "Ab", {{-1, -0.72}}},
      {4, "Ab", {{0, -0.36}}},
      {5, "Ab", {{-0.5, -0.36}}},
      {6, "Ab", {{-1, -0.36}}},
      {7, "Ab", {{0, 0}}},
      {8, "Ab", {{-0.5, 0}}},
      {9, "Ab", {{-1, 0}}},
      {1, "Ab\\PCdef\\PGh", {{0, -0.72}, {0, -1.72}, {0, -2.72}}},
      {2, "Ab\\PCdef\\PGh", {{-0.5, -0.72}, {-1, -1.72}, {-0.5, -2.72}}},
      {3, "Ab\\PCdef\\PGh", {{-1, -0.72}, {-2, -1.72}, {-1, -2.72}}},
      {4, "Ab\\PCdef\\PGh", {{0, 0.64}, {0, -0.36}, {0, -1.36}}},
      {5, "Ab\\PCdef\\PGh", {{-0.5, 0.64}, {-1, -0.36}, {-0.5, -1.36}}},
      {6, "Ab\\PCdef\\PGh", {{-1, 0.64}, {-2, -0.36}, {-1, -1.36}}},
      {7, "Ab\\PCdef\\PGh", {{0, 2}, {0, 1}, {0, 0}}},
      {8, "Ab\\PCdef\\PGh", {{-0.5, 2}, {-1, 1}, {-0.5, 0}}},
      {9, "Ab\\PCdef\\PGh", {{-1, 2}, {-2, 1}, {-1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.attachment) + " " + c.text);
    const DxfImportReport report = Imported("0 MTEXT\n10 0\n20 0\n40 0.6\n71 " +
                                            std::to_string(c.attachment) + "\n1 " + c.text);
    ASSERT_EQ(report.blocks.size(), 1u);
    const std::vector<std::string>& lines = report.blocks.front().lines;
    ASSERT_EQ(lines.size(), c.feet.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      const EntityRecord record = ReadEntity(lines[lines.size() - 1 - i], ReadingDefaults{});
      const auto* t = std::get_if<TextRecord>(&record);
      ASSERT_NE(t, nullptr);
      EXPECT_NEAR(t->x, c.feet[i].first, 1e-4) << "line " << i;
      EXPECT_NEAR(t->y, c.feet[i].second, 1e-4) << "line " << i;
    }
  }
}

// A TEXT 0.6 high aligned on (0,0), its descenders 0.12 deep: top and middle by its capitals,
// bottom at the foot of its descenders, Middle (72 = 4) halfway down all of it. "Abcd" is 2
// long; a text in other letters is as long as the letters that go in.
TEST(DxfTextImport, TextIsSetByItsJustification) {
  struct Case {
    int horizontal, vertical;
    const char* text;
    double x, y;  // the foot of its descenders, where the editor's text starts
  } cases[] = {
      {1, 0, "Abcd", -1, -0.12},   {0, 1, "Abcd", 0, 0},      {1, 1, "Abcd", -1, 0},
      {2, 1, "Abcd", -2, 0},       {0, 2, "Abcd", 0, -0.42},  {2, 2, "Abcd", -2, -0.42},
      {0, 3, "Abcd", 0, -0.72},    {1, 3, "Abcd", -1, -0.72}, {4, 0, "Abcd", -1, -0.36},
      {1, 0, "漢字", -1.5, -0.12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.horizontal) + " " + std::to_string(c.vertical) + " " + c.text);
    const DxfImportReport report =
        Imported("0 TEXT\n10 5\n20 5\n11 0\n21 0\n40 0.6\n72 " + std::to_string(c.horizontal) +
                 "\n73 " + std::to_string(c.vertical) + "\n1 " + c.text);
    ASSERT_EQ(report.blocks.size(), 1u);
    ASSERT_EQ(report.blocks.front().lines.size(), 1u);
    const EntityRecord record = ReadEntity(report.blocks.front().lines[0], ReadingDefaults{});
    const auto* t = std::get_if<TextRecord>(&record);
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(t->x, c.x, 1e-4);
    EXPECT_NEAR(t->y, c.y, 1e-4);
  }
}

}  // namespace
}  // namespace blok
