// Duplikaty's shortcut on arbitrary library contents: every drawing's texts are the full
// reading's, the quick hash of a line is the hash of its text, and the one-pass report is the
// plain one.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "editing/duplicates.h"
#include "editing/shape_texts.h"
#include "fuzz_support.h"
#include "model/cp1250.h"

namespace {

using blok::fuzz::Require;
using blok::fuzz::WorkDir;

// Checks each record's drawing as it streams past.
class Checker : public blok::BlockRecordReader {
 public:
  void Begin(std::string_view) override { lines_.clear(); }
  void Line(std::string_view line) override { lines_.emplace_back(line); }
  void End() override {
    blok::ShapeTexts texts;
    texts.Restart();
    std::vector<std::string> shapes;
    std::vector<std::string> utf8;
    blok::ShapeTexts hashes;
    hashes.Restart();
    for (size_t i = lines_.size(); i-- > 0;) {
      const auto text = texts.Above(lines_[i]);
      if (text) shapes.emplace_back(*text);
      const auto hash = hashes.AboveHash(lines_[i]);
      Require(hash.has_value() == text.has_value() &&
              (!hash || *hash == blok::ShapeTextHash(*text)));
      blok::ShapeTexts alone;
      if (const auto hash = alone.AloneHash(lines_[i])) {
        blok::ShapeTexts fresh;
        fresh.Restart();
        const auto text = fresh.Above(lines_[i]);
        Require(text.has_value() && *hash == blok::ShapeTextHash(*text));
      }
    }
    for (const std::string& line : lines_) utf8.push_back(blok::Cp1250ToUtf8(line));
    std::ranges::sort(shapes);
    std::string key;
    for (const std::string& shape : shapes) key.append(shape).push_back('\n');
    Require(key == blok::DrawingKey(utf8));
    const std::vector<std::string_view> views(lines_.begin(), lines_.end());
    Require(key == blok::DrawingKeyOf(views));
    Require(blok::SignatureOf(std::span<const std::string>(utf8), blok::LineCoding::kUtf8) ==
            blok::SignatureOf(std::span<const std::string>(lines_), blok::LineCoding::kCp1250));
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path file = WorkDir() / "fuzz.blk";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  Checker checker;
  Require(blok::ReadBlockRecords(file, checker).has_value());
  const auto fast = blok::FindDuplicatesInFile(file);
  // A library too large to keep in memory is read twice, to the same report.
  const auto twice = blok::FindDuplicatesInFile(file, 0);
  Require(twice.has_value() && fast.has_value());
  Require(twice->same_drawings == fast->same_drawings);
  const auto records = blok::WczytajWszystkieBloki(file);
  Require(fast.has_value() && records.has_value());
  const blok::DuplicateReport plain = blok::FindDuplicates(*records);
  Require(fast->same_drawings == plain.same_drawings);
  Require(fast->repeated_names == plain.repeated_names);
  return 0;
}
