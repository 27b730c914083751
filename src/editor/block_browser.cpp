#include "editor/block_browser.h"

#include <algorithm>
#include <functional>
#include <map>
#include <ranges>

#include "document/duplicates.h"
#include "document/library_rules.h"
#include "model/cp1250.h"
#include "model/parsed_entity.h"

namespace blok {
namespace {

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

}  // namespace

std::u32string SearchForm(std::string_view text) {
  std::u32string form;
  form.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    // Most of a name is ASCII: a library of ten thousand names is searched through at open.
    if (const unsigned char byte = text[pos]; byte < 0x80) {
      form.push_back(byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte);
      ++pos;
      continue;
    }
    form.push_back(PolishBaseLetter(UpperCodePoint(DecodeUtf8(text, pos))));
  }
  return form;
}

void BlockFilter::SetNames(const std::vector<std::string>& names) {
  forms_.clear();
  forms_.reserve(names.size());
  for (const std::string& name : names) forms_.push_back(SearchForm(name));
  Apply();
}

void BlockFilter::SetText(std::string_view text) {
  text_ = text;
  form_ = SearchForm(text);
  while (!form_.empty() && IsBlank(form_.back())) form_.pop_back();
  const auto first = std::ranges::find_if_not(form_, IsBlank);
  form_.erase(form_.begin(), first);
  Apply();
}

void BlockFilter::Apply() {
  rows_.clear();
  rows_.reserve(forms_.size());
  for (size_t i = 0; i < forms_.size(); ++i) {
    if (forms_[i].find(form_) != std::u32string::npos) rows_.push_back(i);
  }
}

std::optional<size_t> BlockFilter::RowOf(size_t entry) const {
  const auto found = std::ranges::lower_bound(rows_, entry);
  if (found == rows_.end() || *found != entry) return std::nullopt;
  return static_cast<size_t>(found - rows_.begin());
}

uint64_t DrawingKey(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  return std::hash<std::string>{}(text);
}

size_t EntityCount(const std::vector<std::string>& lines) {
  return static_cast<size_t>(std::ranges::count_if(
      lines, [](const std::string& line) { return IsShape(ParseEntity(line)); }));
}

LoadedBlock WrittenBlock(const BlockToSave& block) {
  // The record's lines between its drawing marker and its end marker are what a reader finds.
  std::vector<std::string> record = BlockRecordLines(block);
  const auto drawing = std::ranges::find(record, kDrawingMarker);
  std::vector<std::string> lines(std::make_move_iterator(drawing + 1),
                                 std::make_move_iterator(record.end() - 1));
  return {block.name, block.unit, std::move(lines)};
}

LibraryContents::ReadBlocks::ReadBlocks(std::vector<LoadedBlock> blocks) {
  entries.reserve(blocks.size());
  for (LoadedBlock& block : blocks) entries.push_back(EntryOf(std::move(block)));
}

LibraryContents::Entry LibraryContents::EntryOf(LoadedBlock block) {
  Entry entry;
  entry.key = DrawingKey(block.lines);
  entry.drawing = CanonicalDrawing(block.lines);
  entry.block = std::move(block);
  return entry;
}

void LibraryContents::Reset() {
  entries_.clear();
  written_.clear();
  loaded_ = false;
  FindTwins();
}

void LibraryContents::Assign(ReadBlocks blocks) {
  entries_.clear();
  for (Entry& entry : blocks.entries) Store(std::move(entry));
  // Written after the read began, or before it: either way the file holds them now.
  for (const LoadedBlock& block : written_) Store(EntryOf(block));
  loaded_ = true;
  FindTwins();
}

void LibraryContents::Put(LoadedBlock block) {
  written_.push_back(block);
  Store(EntryOf(std::move(block)));
  FindTwins();
}

void LibraryContents::Store(Entry entry) {
  std::string name = entry.block.name;
  entries_.insert_or_assign(std::move(name), std::move(entry));
}

const LibraryContents::Entry* LibraryContents::Find(std::string_view name) const {
  const auto found = entries_.find(name);
  return found == entries_.end() ? nullptr : &found->second;
}

const std::vector<std::string>& LibraryContents::TwinsOf(std::string_view name) const {
  static const std::vector<std::string> kNone;
  const auto found = twins_.find(name);
  return found == twins_.end() ? kNone : found->second;
}

void LibraryContents::FindTwins() {
  twins_.clear();
  std::vector<DrawnBlock> blocks;
  blocks.reserve(entries_.size());
  for (const auto& [name, entry] : entries_) blocks.push_back({name, entry.drawing});
  for (std::vector<std::string>& names : SameDrawings(blocks)) {
    std::ranges::sort(names, BlockNameLess);
    for (const std::string& name : names) {
      std::vector<std::string>& twins = twins_[name];
      for (const std::string& other : names) {
        if (other != name) twins.push_back(other);
      }
    }
  }
}

std::string TwinNote(const std::vector<std::string>& twins) {
  if (twins.empty()) return {};
  constexpr size_t kNamed = 3;
  std::string note = "Ten sam rysunek co: ";
  for (size_t i = 0; i < twins.size() && i < kNamed; ++i) {
    if (i > 0) note += ", ";
    note += twins[i];
  }
  if (twins.size() > kNamed) {
    const size_t more = twins.size() - kNamed;
    // 2, 3, 4, 22... inne; 5, 12, 25... innych (one more is the only "inny").
    const bool few = more % 10 >= 2 && more % 10 <= 4 && (more % 100 < 12 || more % 100 > 14);
    note += " i " + std::to_string(more) + (more == 1 ? " inny" : few ? " inne" : " innych");
  }
  return note;
}

std::vector<size_t> PictureOrder(size_t first_visible, size_t last_visible, size_t row_count,
                                 size_t ahead) {
  std::vector<size_t> order;
  if (row_count == 0 || first_visible > last_visible || first_visible >= row_count) return order;
  last_visible = std::min(last_visible, row_count - 1);
  for (size_t row = first_visible; row <= last_visible; ++row) order.push_back(row);
  for (size_t step = 1; step <= ahead; ++step) {
    if (last_visible + step < row_count) order.push_back(last_visible + step);
    if (step <= first_visible) order.push_back(first_visible - step);
  }
  return order;
}

}  // namespace blok
