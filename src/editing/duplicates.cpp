#include "editing/duplicates.h"

#include <algorithm>
#include <unordered_map>

#include "document/library_rules.h"
#include "editing/canonical.h"
#include "model/parsed_entity.h"

namespace blok {

std::string DrawingKey(std::span<const std::string> lines) {
  std::vector<ParsedEntity> records;
  records.reserve(lines.size());
  for (const std::string& line : lines) records.push_back(ParseEntity(line));
  // The colour and thickness commands rule the lines above them: walk up from the last line.
  ReadingDefaults defaults;
  std::vector<std::string> shapes;
  for (size_t i = records.size(); i-- > 0;) {
    const ParsedEntity& entity = records[i];
    if (const auto* c = std::get_if<ColourRecord>(&entity.record); c && c->valid) {
      defaults.colour = c->colour;
    } else if (const auto* t = std::get_if<ThicknessRecord>(&entity.record); t && t->valid) {
      defaults.thickness = t->thickness;
    } else if (IsShape(entity)) {
      if (auto text = CanonicalText(Resolved(entity, defaults))) shapes.push_back(std::move(*text));
    }
  }
  std::sort(shapes.begin(), shapes.end());
  std::string key;
  for (const std::string& shape : shapes) key.append(shape).push_back('\n');
  return key;
}

DuplicateReport FindDuplicates(const std::vector<LoadedBlock>& records) {
  DuplicateReport report;
  std::unordered_map<std::string, size_t> group_of;  // drawing key -> index into groups
  std::vector<std::vector<std::string>> groups;
  for (const ListedBlock& listed : BlocksAsListed(records)) {
    if (listed.records > 1) report.repeated_names.emplace_back(listed.block->name, listed.records);
    const std::string key = DrawingKey(listed.block->lines);
    if (key.empty()) continue;  // nothing drawn is no symbol to share
    const auto [it, added] = group_of.try_emplace(key, groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(listed.block->name);
  }
  for (auto& group : groups) {
    if (group.size() > 1) report.same_drawings.push_back(std::move(group));
  }
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
