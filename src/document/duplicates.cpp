#include "document/duplicates.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <unordered_map>

#include "document/canonical_text.h"
#include "document/library_rules.h"
#include "model/angles.h"
#include "model/cp1250.h"
#include "model/entity_writer.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"

namespace blok {

namespace {

template <typename T>
void AppendBytes(std::string& key, const T& value) {
  key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A number as the writer writes it; false for one it would not write.
bool AppendNumber(std::string& key, double value) {
  constexpr int kDecimals = PatternDecimals(kValuePattern).maximum;
  const auto rounded = WritableNumber(value) ? RoundToDecimals(value, kDecimals) : std::nullopt;
  if (!rounded) return false;
  AppendBytes(key, rounded->negative);
  AppendBytes(key, rounded->units);
  return true;
}

bool AppendNumbers(std::string& key, std::initializer_list<double> values) {
  return std::ranges::all_of(values, [&](double v) { return AppendNumber(key, v); });
}

// What CanonicalShapeText says, in fields instead of text: equal keys exactly where the texts
// are equal, without printing a number. False where it gives no text. A text shape is the
// writer's own line: whether a text reads back, and fits one, is the writer's to say.
bool AppendShapeKey(std::string& key, const ParsedEntity& entity, const ReadingDefaults& in_force) {
  const auto style = [&](Colour colour, float thickness) {
    const Colour c = ResolveColour(colour, in_force);
    AppendBytes(key, RgbColour(Red(c), Green(c), Blue(c)));  // all that K(r,g,b) shows
    return AppendNumber(key, ResolveThickness(thickness, in_force));
  };
  const EntityRecord& record = entity.record;
  if (const auto* s = std::get_if<SegmentRecord>(&record)) {
    key.push_back(entity.kind == EntityKind::kRectangle ? 'P' : 'L');
    return AppendNumbers(key, {s->x1, s->y1, s->x2, s->y2}) && style(s->colour, s->thickness);
  }
  if (const auto* c = std::get_if<CircleRecord>(&record)) {
    key.push_back('O');
    return AppendNumbers(key, {c->x, c->y, c->radius}) && style(c->colour, c->thickness);
  }
  if (const auto* a = std::get_if<ArcRecord>(&record)) {
    key.push_back('A');
    return AppendNumbers(key, {a->x, a->y, a->radius, a->start_angle / kDegreesToRadians,
                               a->end_angle / kDegreesToRadians}) &&
           style(a->colour, a->thickness);
  }
  auto text = CanonicalShapeText(entity, in_force);
  if (!text) return false;
  key.push_back('T');
  key.append(*text);
  return true;
}

// The drawing of a record's lines, read already.
std::string DrawingOf(std::span<const ParsedEntity> entities) {
  // The colour and thickness commands rule the lines above them: walk up from the last line.
  ReadingDefaults defaults;
  // Room for every line's key at once: a key is some fifty bytes, a text's a line's length.
  std::string keys;
  keys.reserve(entities.size() * 64);
  std::vector<std::pair<size_t, size_t>> spans;  // of each shape's key in keys
  spans.reserve(entities.size());
  for (auto entity = entities.rbegin(); entity != entities.rend(); ++entity) {
    if (const auto* c = std::get_if<ColourRecord>(&entity->record); c && c->valid) {
      defaults.colour = c->colour;
    } else if (const auto* t = std::get_if<ThicknessRecord>(&entity->record); t && t->valid) {
      defaults.thickness = t->thickness;
    } else if (IsShape(*entity)) {
      const size_t start = keys.size();
      if (AppendShapeKey(keys, *entity, defaults)) {
        spans.emplace_back(start, keys.size() - start);
      } else {
        keys.resize(start);
      }
    }
  }
  std::vector<std::string_view> shapes;
  shapes.reserve(spans.size());
  for (const auto& [start, size] : spans)
    shapes.push_back(std::string_view(keys).substr(start, size));
  std::ranges::sort(shapes);
  // Each key behind its length: a text's is as long as the text.
  std::string drawing;
  drawing.reserve(keys.size() + shapes.size() * sizeof(uint32_t));
  for (const std::string_view shape : shapes) {
    AppendBytes(drawing, static_cast<uint32_t>(shape.size()));
    drawing.append(shape);
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
