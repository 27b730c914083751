// The block-file readers against the record rules written out plainly over the whole file's
// lines: a record starts at each start marker and ends at its end marker or just before the
// next start marker, else at the end of the file; an unclosed record leaves out the empty
// lines at its end from offset 12 on; a header field past the record's last line reads empty.
// Random files of marker, header, entity, empty and foreign lines, with either line end.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/text_file.h"
#include "support/test_dir.h"

namespace blok {
namespace {

using testing::TestDir;
using testing::WriteBytes;

struct Model {
  struct Record {
    std::string name, unit;
    std::vector<std::string> lines;
    size_t start, end, next;  // the start marker; past its last line; where scanning goes on
    bool closed;
  };
  std::vector<Record> records;
};

Model Read(const std::vector<std::string>& lines) {
  Model model;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != kBlockStartMarker) continue;
    size_t end = lines.size();  // just past the last line the record reads from
    size_t next = lines.size();
    for (size_t j = i + 1; j < lines.size(); ++j) {
      if (lines[j] == kBlockEndMarker) {
        end = j;
        next = j + 1;
        break;
      }
      if (lines[j] == kBlockStartMarker) {
        end = next = j;
        break;
      }
    }
    if (end == next) {  // not closed by its own end marker
      while (end > i + 12 && lines[end - 1].empty()) --end;
      next = end;
    }
    const auto field = [&](size_t offset) { return i + offset < end ? lines[i + offset] : ""; };
    Model::Record record{field(2), field(8), {}, i, end, next, end != next};
    for (size_t j = i + 12; j < end; ++j) record.lines.push_back(lines[j]);
    model.records.push_back(record);
    i = next - 1;
  }
  return model;
}

// The lines without the records of a name: each goes from its start marker on, and the empty
// line after a closed one with it. A kept record that ended at a removed one's start marker
// gets an end marker after its last line.
std::vector<std::string> Without(const std::vector<std::string>& lines, const Model& model,
                                 const std::string& name) {
  std::vector<std::string> kept;
  size_t from = 0;
  for (size_t r = 0; r < model.records.size(); ++r) {
    const Model::Record& record = model.records[r];
    if (record.name != name) continue;
    const Model::Record* before = r > 0 ? &model.records[r - 1] : nullptr;
    if (before && !before->closed && before->name != name && before->next <= record.start &&
        std::all_of(lines.begin() + before->end, lines.begin() + record.start,
                    [](const std::string& l) { return l.empty(); }) &&
        before->end >= from) {
      kept.insert(kept.end(), lines.begin() + from, lines.begin() + before->end);
      kept.emplace_back(kBlockEndMarker);
      from = before->end;
    }
    kept.insert(kept.end(), lines.begin() + from, lines.begin() + record.start);
    from = record.next;
    if (record.closed && from < lines.size() && lines[from].empty()) ++from;
  }
  kept.insert(kept.end(), lines.begin() + from, lines.end());
  return kept;
}

TEST(RecordRulesTest, ReadersFollowTheRulesOnRandomFiles) {
  const std::vector<std::string> kinds = {std::string(kBlockStartMarker),
                                          std::string(kBlockEndMarker),
                                          "",
                                          "",
                                          "Nazwa:",
                                          "A",
                                          "B",
                                          "m",
                                          "O(0,0,1)",
                                          "L(0,0)-(1,1)",
                                          "obca linia",
                                          std::string(kDrawingMarker)};
  std::mt19937 random(2026);
  TestDir dir;
  const auto file = dir / "lib.blk";
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::string> lines;
    std::string bytes;
    const size_t count = random() % 60;
    for (size_t n = 0; n < count; ++n) {
      // Whole records now and then, so that the rules meet well-formed ones too.
      if (random() % 8 == 0) {
        for (const std::string& line : BlockRecordLines(
                 {random() % 2 ? "A" : "B", "cm", {"O(1,1,1)", "", "K(0,0,0)"}, false, {}})) {
          lines.push_back(line);
        }
      } else {
        lines.push_back(kinds[random() % kinds.size()]);
      }
    }
    for (size_t n = 0; n < lines.size(); ++n) {
      bytes += lines[n];
      const bool last = n + 1 == lines.size();
      // A last line may end in a CR alone, or, unless it is empty (it would be no line), in
      // nothing.
      if (!last || random() % 3 != 0) {
        bytes += random() % 2 ? "\r\n" : "\n";
      } else if (lines[n].empty() || random() % 2) {
        bytes += "\r";
      }
    }
    WriteBytes(file, bytes);
    const Model model = Read(lines);

    std::vector<std::string> names;
    for (const auto& record : model.records) names.push_back(record.name);
    ASSERT_EQ(*CzytajListeBlokow(file), names);
    for (const std::string name : {"A", "B", "", "m"}) {
      std::optional<LoadedBlock> expected;
      for (const auto& record : model.records) {
        if (record.name == name) expected = LoadedBlock{name, record.unit, record.lines};
      }
      EXPECT_EQ(*WczytajBlok(file, name), expected) << '"' << name << '"';
    }
    const std::string removed = random() % 2 ? "A" : "B";
    ASSERT_TRUE(UsunBlokZPliku(file, removed, {.durable = false}));
    EXPECT_EQ(*ReadTextLines(file), Without(lines, model, removed)) << removed;
    // A block saved now leaves every other block reading as it did.
    const std::string other = removed == "A" ? "B" : "A";
    const auto before = *WczytajBlok(file, other);
    const auto nameless = *WczytajBlok(file, "");
    ASSERT_TRUE(ZastapBlok(file, {removed, "m", {"O(2,2,2)"}, false, {}}, {.durable = false}));
    EXPECT_EQ(*WczytajBlok(file, other), before);
    EXPECT_EQ(*WczytajBlok(file, ""), nameless);
  }
}

}  // namespace
}  // namespace blok
