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

// A record's drawing, made in buffers kept from one record to the next: the keys of its shapes
// one after another, and views of them to sort.
class DrawingMaker {
 public:
  // The drawing of a record's lines, read already; it holds until the next.
  std::string_view Of(std::span<const ParsedEntity> entities) {
    // The colour and thickness commands rule the lines above them: walk up from the last line.
    ReadingDefaults defaults;
    keys_.clear();
    ends_.clear();
    for (auto entity = entities.rbegin(); entity != entities.rend(); ++entity) {
      if (const auto* c = std::get_if<ColourRecord>(&entity->record); c && c->valid) {
        defaults.colour = c->colour;
      } else if (const auto* t = std::get_if<ThicknessRecord>(&entity->record); t && t->valid) {
        defaults.thickness = t->thickness;
      } else if (IsShape(*entity) && AppendCanonicalShapeKey(keys_, *entity, defaults)) {
        ends_.push_back(keys_.size());
      }
    }
    shapes_.clear();
    for (size_t begin = 0; const size_t end : ends_) {
      shapes_.emplace_back(keys_.data() + begin, end - begin);
      begin = end;
    }
    std::ranges::sort(shapes_);
    // Each key behind its length: a text's is as long as its line.
    drawing_.clear();
    for (const std::string_view shape : shapes_) {
      const auto size = static_cast<uint32_t>(shape.size());
      drawing_.append(reinterpret_cast<const char*>(&size), sizeof size).append(shape);
    }
    return drawing_;
  }

 private:
  std::string keys_;
  std::vector<size_t> ends_;
  std::vector<std::string_view> shapes_;
  std::string drawing_;
};

}  // namespace

std::string CanonicalDrawing(std::span<const std::string> lines) {
  std::vector<ParsedEntity> entities;
  entities.reserve(lines.size());
  for (const std::string& line : lines) entities.push_back(ParseEntity(line));
  return std::string(DrawingMaker().Of(entities));
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

// A block as the list offers it: a name's last record, and how many records bear the name.
struct NamedBlock {
  std::string_view name;
  size_t record = 0;
  int records = 0;
};

// Every record's name and drawing as the file streams past: a library's lines are not all
// kept at once. The first reading keeps only a hash of each drawing; a second one makes again
// the drawings of the blocks whose hashes meet, and only those are compared whole.
class DrawingReader : public BlockRecordReader {
 public:
  void Begin(std::string_view name) override {
    if (!again_) names_.push_back(Cp1250ToUtf8(name));
    wanted_ = !again_ || drawings_.contains(record_);
    count_ = 0;
  }
  void Line(std::string_view line) override {
    if (!wanted_) return;
    if (count_ == entities_.size()) entities_.emplace_back();
    // The code page's first half is ASCII, as UTF-8's is: most lines need no conversion.
    const bool ascii =
        std::ranges::all_of(line, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    entities_[count_++] = ascii ? ParseEntity(line) : ParseEntity(Cp1250ToUtf8(line));
  }
  void End() override {
    if (wanted_) {
      const std::string_view drawing = maker_.Of(std::span(entities_.data(), count_));
      if (again_) {
        drawings_[record_] = drawing;
      } else {
        hashes_.push_back(drawing.empty() ? std::nullopt
                                          : std::optional(std::hash<std::string_view>{}(drawing)));
      }
    }
    ++record_;
  }
  bool ReadAgain() override {
    if (again_) return false;
    again_ = true;
    record_ = 0;
    // A name's last record is its block, as the list has it (BlocksAsListed).
    std::unordered_map<std::string_view, size_t> listed_at;
    for (size_t record = 0; record < names_.size(); ++record) {
      const auto [it, added] = listed_at.try_emplace(names_[record], blocks_.size());
      if (added) blocks_.push_back({it->first});
      blocks_[it->second].record = record;
      ++blocks_[it->second].records;
    }
    std::unordered_map<size_t, size_t> first_with_hash;  // a hash, the record first given it
    for (const NamedBlock& block : blocks_) {
      const auto hash = hashes_[block.record];
      if (!hash) continue;
      const auto [it, added] = first_with_hash.try_emplace(*hash, block.record);
      if (added) continue;
      drawings_[it->second];
      drawings_[block.record];
    }
    return !drawings_.empty();
  }

  // In the order of their names' first records.
  const std::vector<NamedBlock>& blocks() const { return blocks_; }
  // Of the records whose drawings' hashes meet another's.
  const std::unordered_map<size_t, std::string>& drawings() const { return drawings_; }

 private:
  std::vector<std::string> names_;
  std::vector<std::optional<size_t>> hashes_;  // nothing for a drawing of nothing
  std::vector<NamedBlock> blocks_;
  std::unordered_map<size_t, std::string> drawings_;
  DrawingMaker maker_;
  std::vector<ParsedEntity> entities_;  // of the record, reused from one to the next
  size_t count_ = 0;
  size_t record_ = 0;
  bool again_ = false;
  bool wanted_ = true;
};

void SortAsListed(auto& items, auto name_of) {
  std::ranges::sort(
      items, [&](const auto& a, const auto& b) { return BlockNameLess(name_of(a), name_of(b)); });
}

}  // namespace

Result<DuplicateReport> FindDuplicatesInFile(const std::filesystem::path& file) {
  DrawingReader reader;
  if (auto read = ReadBlockRecords(file, reader); !read) return std::unexpected(read.error());
  // Only the few names the report gives are put in the list's order: ordering a whole
  // library's names takes longer than finding its twins.
  DuplicateReport report;
  std::vector<DrawnBlock> blocks;
  for (const NamedBlock& block : reader.blocks()) {
    if (block.records > 1) report.repeated_names.emplace_back(block.name, block.records);
    if (const auto drawing = reader.drawings().find(block.record);
        drawing != reader.drawings().end()) {
      blocks.push_back({block.name, drawing->second});
    }
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
