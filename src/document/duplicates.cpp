#include "document/duplicates.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

#include "document/canonical_text.h"
#include "document/library_rules.h"
#include "model/cp1250.h"
#include "model/parsed_entity.h"

namespace blok {
namespace {

// The drawing of a record's lines, read already.
std::string DrawingOf(std::span<const ParsedEntity> entities) {
  // The colour and thickness commands rule the lines above them: walk up from the last line.
  ReadingDefaults defaults;
  std::vector<std::string> shapes;
  shapes.reserve(entities.size());
  for (auto entity = entities.rbegin(); entity != entities.rend(); ++entity) {
    if (const auto* c = std::get_if<ColourRecord>(&entity->record); c && c->valid) {
      defaults.colour = c->colour;
    } else if (const auto* t = std::get_if<ThicknessRecord>(&entity->record); t && t->valid) {
      defaults.thickness = t->thickness;
    } else if (auto key = IsShape(*entity) ? CanonicalShapeKey(*entity, defaults) : std::nullopt) {
      shapes.push_back(std::move(*key));
    }
  }
  std::ranges::sort(shapes);
  // Each key behind its length: a text's is as long as its line.
  std::string drawing;
  for (const std::string& shape : shapes) {
    const auto size = static_cast<uint32_t>(shape.size());
    drawing.append(reinterpret_cast<const char*>(&size), sizeof size).append(shape);
  }
  return drawing;
}

}  // namespace

std::string CanonicalDrawing(std::span<const std::string> lines) {
  std::vector<ParsedEntity> entities;
  entities.reserve(lines.size());
  for (const std::string& line : lines) entities.push_back(ParseEntity(line));
  return DrawingOf(entities);
}

std::vector<std::vector<std::string>> SameDrawings(std::span<const DrawnBlock> blocks) {
  // Drawings are hashed; where two hashes meet, the map compares the whole drawings, so that
  // no two blocks are twins by a hash alone.
  std::unordered_map<std::string_view, size_t> group_of;
  std::vector<std::vector<std::string>> groups;
  for (const DrawnBlock& block : blocks) {
    if (block.drawing.empty()) continue;
    const auto [it, added] = group_of.try_emplace(block.drawing, groups.size());
    if (added) groups.emplace_back();
    groups[it->second].emplace_back(block.name);
  }
  std::erase_if(groups, [](const auto& group) { return group.size() < 2; });
  return groups;
}

namespace {

// Every record's name and drawing as the file streams past: a library's lines are not all
// kept at once.
class DrawingReader : public BlockRecordReader {
 public:
  void Begin(std::string_view name) override {
    names_.push_back(Cp1250ToUtf8(name));
    count_ = 0;
  }
  void Line(std::string_view line) override {
    if (count_ == entities_.size()) entities_.emplace_back();
    // The code page's first half is ASCII, as UTF-8's is: most lines need no conversion.
    const bool ascii =
        std::ranges::all_of(line, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    entities_[count_++] = ascii ? ParseEntity(line) : ParseEntity(Cp1250ToUtf8(line));
  }
  void End() override { drawings_.push_back(DrawingOf(std::span(entities_.data(), count_))); }

  // Of every record, in file order.
  const std::vector<std::string>& names() const { return names_; }
  const std::vector<std::string>& drawings() const { return drawings_; }

 private:
  std::vector<std::string> names_;
  std::vector<std::string> drawings_;
  std::vector<ParsedEntity> entities_;  // of the record, reused from one to the next
  size_t count_ = 0;
};

void SortAsListed(auto& items, auto name_of) {
  std::ranges::sort(
      items, [&](const auto& a, const auto& b) { return BlockNameLess(name_of(a), name_of(b)); });
}

}  // namespace

Result<DuplicateReport> FindDuplicatesInFile(const std::filesystem::path& file) {
  DrawingReader reader;
  if (auto read = ReadBlockRecords(file, reader); !read) return std::unexpected(read.error());
  // A name's last record is its block, as the list has it (BlocksAsListed). Only the few names
  // the report gives are put in the list's order: ordering a whole library's names takes
  // longer than finding its twins.
  std::unordered_map<std::string_view, std::pair<size_t, int>> last;  // record, records
  std::vector<std::string_view> names;
  for (size_t record = 0; record < reader.names().size(); ++record) {
    const auto [it, added] = last.try_emplace(reader.names()[record], record, 0);
    if (added) names.push_back(it->first);
    it->second = {record, it->second.second + 1};
  }
  DuplicateReport report;
  std::vector<DrawnBlock> blocks;
  for (const std::string_view name : names) {
    const auto [record, records] = last.at(name);
    if (records > 1) report.repeated_names.emplace_back(name, records);
    blocks.push_back({name, reader.drawings()[record]});
  }
  report.same_drawings = SameDrawings(blocks);
  for (auto& group : report.same_drawings) SortAsListed(group, std::identity{});
  SortAsListed(report.same_drawings, [](const auto& group) { return group.front(); });
  SortAsListed(report.repeated_names, [](const auto& repeated) { return repeated.first; });
  return report;
}

std::vector<std::string> DuplicateReportLines(const DuplicateReport& report) {
  std::vector<std::string> lines;
  for (const auto& group : report.same_drawings) {
    std::string line = "Ten sam rysunek:";
    for (size_t i = 0; i < group.size(); ++i) line += (i == 0 ? " " : " | ") + group[i];
    lines.push_back(std::move(line));
  }
  for (const auto& [name, count] : report.repeated_names) {
    lines.push_back("Nazwa zapisana " + std::to_string(count) + " razy: " + name);
  }
  return lines;
}

}  // namespace blok
