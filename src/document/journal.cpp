#include "document/journal.h"

#include <charconv>
#include <utility>
#include <vector>

namespace blok {
namespace {

constexpr int32_t kRecordLines = 5;

}  // namespace

void Journal::Record(const char* kind, std::string second, std::string third, std::string fourth,
                     ParsedEntity aside) {
  // A new change discards the undone records: redo is no longer possible.
  lines_.erase(lines_.begin(), lines_.begin() + position_);
  aside_.erase(aside_.begin(), aside_.begin() + position_ / kRecordLines);
  steps_.erase(steps_.begin(), steps_.begin() + position_ / kRecordLines);
  position_ = 0;
  lines_.push_front("---");
  lines_.push_front(std::move(fourth));
  lines_.push_front(std::move(third));
  lines_.push_front(std::move(second));
  lines_.push_front(kind);
  aside_.push_front(std::move(aside));
  steps_.push_front(open_step_ != 0 ? open_step_ : next_step_++);
}

void Journal::DodajObiekt(std::string line) {
  ParsedEntity record = ParseEntity(line);
  DodajObiekt(std::move(line), std::move(record));
}

void Journal::DodajObiekt(std::string line, ParsedEntity record) {
  Record("dodaj", line, "", "", {});
  drawing_.Insert(0, std::move(line), std::move(record));
}

bool Journal::UsunObiekt(int index) {
  if (index < 0 || static_cast<size_t>(index) >= drawing_.size()) return false;
  std::string line = drawing_[index];
  ParsedEntity erased = drawing_.Erase(index);
  Record("usun", std::to_string(index), std::move(line), "", std::move(erased));
  return true;
}

bool Journal::ZmienObiekt(int index, std::string line) {
  if (index < 0 || static_cast<size_t>(index) >= drawing_.size()) return false;
  ParsedEntity record = ParseEntity(line);
  return ZmienObiekt(index, std::move(line), std::move(record));
}

bool Journal::ZmienObiekt(int index, std::string line, ParsedEntity record) {
  if (index < 0 || static_cast<size_t>(index) >= drawing_.size()) return false;
  std::string kept = line;
  drawing_.Exchange(index, line, record);
  Record("zmien", std::to_string(index), std::move(kept), std::move(line), std::move(record));
  return true;
}

const std::string& Journal::LineAt(int32_t index) const {
  static const std::string kNone;
  return index >= 0 && static_cast<size_t>(index) < lines_.size() ? lines_[index] : kNone;
}

bool Journal::NumberAt(int32_t journal_line, size_t& index) const {
  const std::string& text = LineAt(journal_line);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
  return ec == std::errc() && end == text.data() + text.size();
}

bool Journal::IndexAt(int32_t journal_line, bool allow_end, size_t& index) const {
  if (!NumberAt(journal_line, index)) return false;
  return index < drawing_.size() || (allow_end && index == drawing_.size());
}

size_t Journal::UsunObiekty(std::span<const int> indices) {
  // Descending indices address the drawing as it is: all of them go in one pass.
  bool descending = indices.size() > 1 && indices.back() >= 0 &&
                    static_cast<size_t>(indices.front()) < drawing_.size();
  for (size_t k = 1; descending && k < indices.size(); ++k) {
    descending = indices[k] < indices[k - 1];
  }
  if (!descending) {
    size_t deleted = 0;
    while (deleted < indices.size() && UsunObiekt(indices[deleted])) ++deleted;
    return deleted;
  }
  const std::vector<size_t> at(indices.begin(), indices.end());
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  lines.reserve(at.size());
  records.reserve(at.size());
  drawing_.EraseAll(at, lines, records);
  for (size_t k = 0; k < at.size(); ++k) {
    Record("usun", std::to_string(at[k]), std::move(lines[k]), "", std::move(records[k]));
  }
  return at.size();
}

bool Journal::UndoDeletes(uint32_t step) {
  // The run of deletes at the top, undone in turn, puts each line back at a greater index than
  // the one before: then the lines take their places in one pass.
  std::vector<size_t> at;
  for (int32_t p = position_; p < static_cast<int32_t>(lines_.size()); p += kRecordLines) {
    size_t index = 0;
    if (steps_[p / kRecordLines] != step || LineAt(p) != "usun" || !NumberAt(p + 1, index) ||
        (!at.empty() && index <= at.back()) || index > drawing_.size() + at.size()) {
      break;
    }
    at.push_back(index);
  }
  if (at.size() < 2) return false;
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  lines.reserve(at.size());
  records.reserve(at.size());
  for (size_t k = 0; k < at.size(); ++k) {
    const int32_t p = position_ + static_cast<int32_t>(k) * kRecordLines;
    lines.push_back(LineAt(p + 2));
    records.push_back(std::exchange(aside_[p / kRecordLines], {}));
  }
  drawing_.InsertAll(at, lines, records);
  position_ += static_cast<int32_t>(at.size()) * kRecordLines;
  return true;
}

bool Journal::RedoDeletes(uint32_t step) {
  // Redone in turn, the deletes of a run at descending indices go in one pass.
  std::vector<size_t> at;
  for (int32_t p = position_ - kRecordLines; p >= 0; p -= kRecordLines) {
    size_t index = 0;
    if (steps_[p / kRecordLines] != step || LineAt(p) != "usun" || !NumberAt(p + 1, index) ||
        (at.empty() ? index >= drawing_.size() : index >= at.back())) {
      break;
    }
    at.push_back(index);
  }
  if (at.size() < 2) return false;
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  lines.reserve(at.size());
  records.reserve(at.size());
  drawing_.EraseAll(at, lines, records);
  for (size_t k = 0; k < at.size(); ++k) {
    aside_[(position_ - kRecordLines) / kRecordLines - static_cast<int32_t>(k)] =
        std::move(records[k]);
  }
  position_ -= static_cast<int32_t>(at.size()) * kRecordLines;
  return true;
}

bool Journal::Undo() {
  if (!CanUndo()) return false;
  const std::string& kind = LineAt(position_);
  ParsedEntity& aside = aside_[position_ / kRecordLines];
  size_t index = 0;
  if (kind == "dodaj" && !drawing_.empty()) {
    aside = drawing_.Erase(0);
  } else if (kind == "usun" && IndexAt(position_ + 1, true, index)) {
    drawing_.Insert(index, LineAt(position_ + 2), std::exchange(aside, {}));
  } else if (kind == "zmien" && IndexAt(position_ + 1, false, index)) {
    drawing_.Exchange(index, std::string_view(LineAt(position_ + 3)), aside);
  } else {
    return false;
  }
  position_ += kRecordLines;
  return true;
}

bool Journal::Redo() {
  if (position_ < kRecordLines) return false;
  const std::string& kind = LineAt(position_ - 5);
  ParsedEntity& aside = aside_[position_ / kRecordLines - 1];
  size_t index = 0;
  if (kind == "dodaj") {
    drawing_.Insert(0, LineAt(position_ - 4), std::exchange(aside, {}));
  } else if (kind == "usun" && IndexAt(position_ - 4, false, index)) {
    aside = drawing_.Erase(index);
  } else if (kind == "zmien" && IndexAt(position_ - 4, false, index)) {
    drawing_.Exchange(index, std::string_view(LineAt(position_ - 3)), aside);
  } else {
    return false;
  }
  position_ -= kRecordLines;
  return true;
}

bool Journal::UndoStep() {
  if (!CanUndo()) return false;
  const uint32_t step = steps_[position_ / kRecordLines];
  bool stepped = false;
  while (CanUndo() && steps_[position_ / kRecordLines] == step && (UndoDeletes(step) || Undo())) {
    stepped = true;
  }
  return stepped;
}

bool Journal::RedoStep() {
  if (position_ < kRecordLines) return false;
  const uint32_t step = steps_[position_ / kRecordLines - 1];
  bool stepped = false;
  while (position_ >= kRecordLines && steps_[position_ / kRecordLines - 1] == step &&
         (RedoDeletes(step) || Redo())) {
    stepped = true;
  }
  return stepped;
}

void Journal::Clear() {
  lines_.clear();
  aside_.clear();
  steps_.clear();
  position_ = 0;
}

}  // namespace blok
