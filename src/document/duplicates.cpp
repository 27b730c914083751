#include "document/duplicates.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ranges>
#include <unordered_map>
#include <utility>

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
  // The drawing of a record's lines, read already.
  std::string Of(std::span<const ParsedEntity> entities) {
    // The colour and thickness commands rule the lines above them: walk up from the last line.
    ReadingDefaults defaults;
    keys_.clear();
    spans_.clear();
    for (auto entity = entities.rbegin(); entity != entities.rend(); ++entity) {
      if (const auto* c = std::get_if<ColourRecord>(&entity->record); c && c->valid) {
        defaults.colour = c->colour;
      } else if (const auto* t = std::get_if<ThicknessRecord>(&entity->record); t && t->valid) {
        defaults.thickness = t->thickness;
      } else if (const size_t at = keys_.size();
                 IsShape(*entity) && AppendCanonicalShapeKey(keys_, *entity, defaults)) {
        spans_.emplace_back(at, keys_.size() - at);
      }
    }
    const auto key = [&](std::pair<size_t, size_t> span) {
      return std::string_view(keys_).substr(span.first, span.second);
    };
    std::ranges::sort(spans_, {}, key);
    // Each key behind its length: a text's is as long as its line.
    std::string drawing;
    for (const std::string_view shape : spans_ | std::views::transform(key)) {
      const auto size = static_cast<uint32_t>(shape.size());
      drawing.append(reinterpret_cast<const char*>(&size), sizeof size).append(shape);
    }
    return drawing;
  }

 private:
  std::string keys_;
  std::vector<std::pair<size_t, size_t>> spans_;  // of each shape's key in keys_
};

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
    count_ = 0;
  }
  void Line(std::string_view line) override {
    if (again_ && !drawings_.contains(record_)) return;
    if (count_ == entities_.size()) entities_.emplace_back();
    // The code page's first half is ASCII, as UTF-8's is: most lines need no conversion.
    const bool ascii =
        std::ranges::all_of(line, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    entities_[count_++] = ascii ? ParseEntity(line) : ParseEntity(Cp1250ToUtf8(line));
  }
  void End() override {
    const bool wanted = !again_ || drawings_.contains(record_);
    std::string drawing = wanted ? maker_.Of(std::span(entities_.data(), count_)) : "";
    if (!again_) hashes_.push_back(std::hash<std::string>{}(drawing));
    if (again_ && wanted) drawings_[record_] = std::move(drawing);
    ++record_;
  }
  bool ReadAgain() override {
    if (std::exchange(again_, true)) return false;
    record_ = 0;
    // A name's last record is its block, as the list has it (BlocksAsListed).
    std::unordered_map<std::string_view, size_t> listed_at;
    for (size_t record = 0; record < names_.size(); ++record) {
      const auto [it, added] = listed_at.try_emplace(names_[record], blocks_.size());
      if (added) blocks_.emplace_back();
      blocks_[it->second] = {it->first, record, blocks_[it->second].records + 1};
    }
    std::unordered_map<size_t, size_t> first_with_hash;  // a hash, the record first given it
    for (const NamedBlock& block : blocks_) {
      const auto [it, added] = first_with_hash.try_emplace(hashes_[block.record], block.record);
      if (!added) drawings_.insert({{it->second, {}}, {block.record, {}}});
    }
    return !drawings_.empty();
  }

  // In the order of their names' first records.
  const std::vector<NamedBlock>& blocks() const { return blocks_; }
  // Of the records whose drawings' hashes meet another's.
  const std::unordered_map<size_t, std::string>& drawings() const { return drawings_; }

 private:
  std::vector<std::string> names_;
  std::vector<size_t> hashes_;  // of every record's drawing
  std::vector<NamedBlock> blocks_;
  std::unordered_map<size_t, std::string> drawings_;
  DrawingMaker maker_;
  std::vector<ParsedEntity> entities_;  // of the record, reused from one to the next
  size_t count_ = 0;
  size_t record_ = 0;
  bool again_ = false;
};

void SortAsListed(auto& items, auto name_of) {
  std::ranges::sort(
      items, [&](const auto& a, const auto& b) { return BlockNameLess(name_of(a), name_of(b)); });
}

}  // namespace

std::string CanonicalDrawing(std::span<const std::string> lines) {
  return DrawingMaker().Of(ParseLines(lines));
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

Result<DuplicateReport> FindDuplicatesInFile(const std::filesystem::path& file) {
  DrawingReader reader;
  if (auto read = ReadBlockRecords(file, reader); !read) return std::unexpected(read.error());
  // Only the few names the report gives are put in the list's order: ordering a whole
  // library's names takes longer than finding its twins.
  DuplicateReport report;
  std::vector<DrawnBlock> blocks;
  for (const NamedBlock& block : reader.blocks()) {
    if (block.records > 1) report.repeated_names.emplace_back(block.name, block.records);
    if (reader.drawings().contains(block.record)) {
      blocks.push_back({block.name, reader.drawings().at(block.record)});
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
