// Duplikaty on arbitrary library contents: the report of the file is what its blocks, read
// whole, say (every pair of listed blocks with one drawing grouped, nothing else), and the
// block list's twin marks say the same.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "document/canonical_text.h"
#include "document/duplicates.h"
#include "document/library_rules.h"
#include "editor/block_browser.h"
#include "fuzz_support.h"
#include "model/parsed_entity.h"

namespace {

using blok::fuzz::Require;
using blok::fuzz::WorkDir;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path file = WorkDir() / "fuzz.blk";
  blok::fuzz::WriteFile(file, std::string_view(reinterpret_cast<const char*>(data), size));
  const auto report = blok::FindDuplicatesInFile(file);
  const auto records = blok::WczytajWszystkieBloki(file);
  Require(report.has_value() && records.has_value());
  // The groups as the blocks' drawings make them, by an ordered map, not a hash.
  std::map<std::string, std::vector<std::string>> by_drawing;
  std::vector<std::pair<std::string, int>> repeated;
  std::vector<std::string> first_of_drawing;  // in the list's order
  for (const blok::ListedBlock& listed : blok::BlocksAsListed(*records)) {
    if (listed.records > 1) repeated.emplace_back(listed.block->name, listed.records);
    const std::string drawing = blok::CanonicalDrawing(listed.block->lines);
    if (drawing.empty()) continue;
    auto& names = by_drawing[drawing];
    if (names.empty()) first_of_drawing.push_back(drawing);
    names.push_back(listed.block->name);
  }
  std::vector<std::vector<std::string>> groups;
  for (const std::string& drawing : first_of_drawing) {
    if (by_drawing[drawing].size() > 1) groups.push_back(by_drawing[drawing]);
  }
  Require(report->same_drawings == groups);
  // A shape's key is equal to another's exactly when the writer's texts of the two are.
  std::vector<std::string> lines;
  for (const blok::LoadedBlock& record : *records) {
    for (const std::string& line : record.lines) {
      if (lines.size() < 48) lines.push_back(line);
    }
  }
  std::vector<std::string> keys;
  std::vector<std::optional<std::string>> texts;
  for (const std::string& line : lines) {
    keys.push_back(blok::CanonicalDrawing(std::span(&line, 1)));
    texts.push_back(blok::CanonicalShapeText(blok::ParseEntity(line), {}));
  }
  for (size_t a = 0; a < lines.size(); ++a) {
    for (size_t b = 0; b < lines.size(); ++b) {
      Require((keys[a] == keys[b]) == (texts[a] == texts[b]));
    }
  }
  Require(report->repeated_names == repeated);
  // Every name of a group has the others of its group as its twins, and no name outside the
  // groups has any.
  blok::LibraryContents library;
  library.Assign(*records);
  size_t grouped = 0;
  for (const auto& group : groups) {
    grouped += group.size();
    for (const std::string& name : group) {
      Require(library.TwinsOf(name).size() + 1 == group.size());
    }
  }
  size_t with_twins = 0;
  for (const blok::ListedBlock& listed : blok::BlocksAsListed(*records)) {
    with_twins += library.TwinsOf(listed.block->name).empty() ? 0 : 1;
  }
  Require(with_twins == grouped);
  return 0;
}
