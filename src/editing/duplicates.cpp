#include "editing/duplicates.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_map>

#include "document/library_rules.h"
#include "editing/canonical.h"
#include "editing/shape_texts.h"
#include "model/cp1250.h"
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

namespace {

// The blocks as listed (BlocksAsListed), each by its record's index: the last record of each
// name, not yet in the list's order.
struct ListedRecord {
  size_t record;
  int records;
};

// For each key, the index of the first key equal to it: open addressing in one table, which
// a whole library's names or drawings fill faster than a map with a node for each.
template <typename Key, typename Hash>
std::vector<std::uint32_t> FirstEqual(const std::vector<Key>& keys, Hash hash) {
  constexpr std::uint32_t kFree = std::numeric_limits<std::uint32_t>::max();
  const size_t mask = std::bit_ceil(2 * keys.size() + 2) - 1;
  std::vector<std::uint32_t> slots(mask + 1, kFree);
  std::vector<std::uint32_t> first(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    size_t at = hash(keys[i]) & mask;
    while (slots[at] != kFree && !(keys[slots[at]] == keys[i])) at = (at + 1) & mask;
    if (slots[at] == kFree) slots[at] = static_cast<std::uint32_t>(i);
    first[i] = slots[at];
  }
  return first;
}

std::vector<ListedRecord> LastRecords(const std::vector<std::string>& names) {
  const std::vector<std::uint32_t> first = FirstEqual(
      names, [](const std::string& name) { return std::hash<std::string_view>{}(name); });
  std::vector<ListedRecord> listed;
  std::vector<std::uint32_t> listed_at(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    if (first[i] == i) {
      listed_at[i] = static_cast<std::uint32_t>(listed.size());
      listed.push_back({i, 1});
    } else {
      ListedRecord& block = listed[listed_at[first[i]]];
      block.record = i;
      ++block.records;
    }
  }
  return listed;
}

// A library read for its twins: every record's name and signature, and its lines kept while
// they fit in kept_bytes; then the keys of the blocks whose signatures meet, made from the
// lines kept, or from a second reading of a library too large to keep.
class TwinReading : public BlockRecordReader {
 public:
  // expected_bytes: the file's size, so that the lines kept are not copied as they grow.
  TwinReading(size_t kept_bytes, size_t expected_bytes) : kept_bytes_(kept_bytes) {
    if (expected_bytes <= kept_bytes) kept_.reserve(expected_bytes);
  }

  void Begin(std::string_view name) override {
    if (keying_) {
      lines_.clear();
      return;
    }
    // As it stands in the file: only the names the report gives are converted.
    names_.emplace_back(name);
    builder_.Start();
    if (keeping_) record_starts_.push_back(kept_.size());
  }
  void Line(std::string_view line) override {
    if (!keying_) {
      builder_.Line(line);
      if (keeping_) Keep(line);
    } else if (Wanted()) {
      lines_.emplace_back(line);
    }
  }
  void End() override {
    if (!keying_) {
      signatures_.push_back(builder_.Finish());
      return;
    }
    if (Wanted()) {
      const std::vector<std::string_view> lines(lines_.begin(), lines_.end());
      keys_[index_] = DrawingKeyOf(lines, key_texts_);
    }
    ++index_;
  }
  bool ReadAgain() override {
    if (keying_) return false;
    listed_ = LastRecords(names_);
    std::vector<DrawingSignature> drawings;
    drawings.reserve(listed_.size());
    for (const ListedRecord& block : listed_) drawings.push_back(signatures_[block.record]);
    const std::vector<std::uint32_t> first = FirstEqual(drawings, [](const DrawingSignature& s) {
      return s.hash ^ (s.shapes * 0x9e3779b97f4a7c15ULL);
    });
    std::vector<std::uint32_t> sharing(drawings.size());
    for (const std::uint32_t f : first) ++sharing[f];
    keys_.resize(names_.size());
    wanted_.resize(names_.size());
    bool any = false;
    for (size_t i = 0; i < listed_.size(); ++i) {
      // Nothing drawn is no symbol to share; a signature no other drawing has, no twin.
      if (drawings[i].shapes == 0 || sharing[first[i]] < 2) continue;
      wanted_[listed_[i].record] = true;
      any = true;
    }
    if (!keeping_) {
      keying_ = true;
      return any;
    }
    std::vector<std::string_view> lines;
    for (size_t record = 0; record < names_.size(); ++record) {
      if (!wanted_[record]) continue;
      lines.clear();
      const size_t end =
          record + 1 < record_starts_.size() ? record_starts_[record + 1] : kept_.size();
      std::string_view text = std::string_view(kept_).substr(0, end).substr(record_starts_[record]);
      for (size_t line_end; (line_end = text.find('\n')) != std::string_view::npos;) {
        lines.push_back(text.substr(0, line_end));
        text.remove_prefix(line_end + 1);
      }
      keys_[record] = DrawingKeyOf(lines, key_texts_);
    }
    return false;
  }

  // The records' names, CP1250.
  const std::vector<std::string>& names() const { return names_; }
  const std::vector<ListedRecord>& listed() const { return listed_; }
  // The key of a record whose signature another block shares, else nothing.
  const std::optional<std::string>& key(size_t record) const { return keys_[record]; }

 private:
  bool Wanted() const { return index_ < wanted_.size() && wanted_[index_]; }

  void Keep(std::string_view line) {
    if (kept_.size() + line.size() + 1 > kept_bytes_) {
      keeping_ = false;
      kept_ = {};
      record_starts_ = {};
      return;
    }
    // A line never holds the line feed that ends it in the file.
    kept_.append(line);
    kept_.push_back('\n');
  }

  const size_t kept_bytes_;
  bool keeping_ = true;
  bool keying_ = false;
  std::vector<std::string> names_;
  std::vector<DrawingSignature> signatures_;
  SignatureBuilder builder_;
  ShapeTexts key_texts_;
  // Every line read, each behind a line feed; where each record's first begins.
  std::string kept_;
  std::vector<size_t> record_starts_;
  std::vector<ListedRecord> listed_;
  std::vector<bool> wanted_;
  std::vector<std::optional<std::string>> keys_;
  size_t index_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace

Result<DuplicateReport> FindDuplicatesInFile(const std::filesystem::path& file,
                                             std::size_t kept_bytes) {
  std::error_code size_error;
  const std::uintmax_t size = std::filesystem::file_size(file, size_error);
  TwinReading reading(kept_bytes, size_error ? 0 : static_cast<size_t>(size));
  if (auto read = ReadBlockRecords(file, reading); !read) return std::unexpected(read.error());
  DuplicateReport report;
  std::unordered_map<std::string, size_t> group_of;  // drawing key -> index into groups
  std::vector<std::vector<std::string>> groups;
  for (const ListedRecord& block : reading.listed()) {
    const std::string& name = reading.names()[block.record];
    if (block.records > 1) report.repeated_names.emplace_back(Cp1250ToUtf8(name), block.records);
    const auto& key = reading.key(block.record);
    if (!key || key->empty()) continue;
    const auto [it, added] = group_of.try_emplace(*key, groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(Cp1250ToUtf8(name));
  }
  // Only the few blocks the report names are put in the list's order: ordering a whole
  // library's names takes longer than reading it.
  const auto name_less = [](std::string_view a, std::string_view b) { return BlockNameLess(a, b); };
  for (auto& group : groups) {
    if (group.size() < 2) continue;
    std::ranges::sort(group, name_less);
    report.same_drawings.push_back(std::move(group));
  }
  std::ranges::sort(
      report.same_drawings, name_less,
      [](const std::vector<std::string>& group) -> const std::string& { return group.front(); });
  std::ranges::sort(report.repeated_names, name_less,
                    [](const auto& repeated) -> const std::string& { return repeated.first; });
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
