#include "document/journal.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace blok {

void Journal::Add(Kind kind, size_t index, std::string line, std::string old_line,
                  ParsedEntity aside) {
  records_.erase(records_.end() - static_cast<std::ptrdiff_t>(undone_), records_.end());
  undone_ = 0;
  records_.push_back({kind, open_step_ != 0 ? open_step_ : next_step_++, index, std::move(line),
                      std::move(old_line), std::move(aside)});
}

std::vector<std::string> Journal::lines() const {
  std::vector<std::string> text;
  text.reserve(records_.size() * kRecordLines);
  for (auto r = records_.rbegin(); r != records_.rend(); ++r) {
    switch (r->kind) {
      case Kind::kAdd:
        text.insert(text.end(), {"dodaj", r->line, "", ""});
        break;
      case Kind::kDelete:
        text.insert(text.end(), {"usun", std::to_string(r->index), r->line, ""});
        break;
      case Kind::kChange:
        text.insert(text.end(), {"zmien", std::to_string(r->index), r->line, r->old_line});
        break;
    }
    text.emplace_back("---");
  }
  return text;
}

void Journal::DodajObiekt(std::string line) {
  ParsedEntity record = ParseEntity(line);
  DodajObiekt(std::move(line), std::move(record));
}

void Journal::DodajObiekt(std::string line, ParsedEntity record) {
  Add(Kind::kAdd, 0, line, {}, {});
  drawing_.Insert(0, std::move(line), std::move(record));
}

bool Journal::UsunObiekt(int index) {
  if (index < 0 || static_cast<size_t>(index) >= drawing_.size()) return false;
  std::string line = drawing_[index];
  ParsedEntity erased = drawing_.Erase(index);
  Add(Kind::kDelete, static_cast<size_t>(index), std::move(line), {}, std::move(erased));
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
  Add(Kind::kChange, static_cast<size_t>(index), std::move(kept), std::move(line),
      std::move(record));
  return true;
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
    Add(Kind::kDelete, at[k], std::move(lines[k]), {}, std::move(records[k]));
  }
  return at.size();
}

bool Journal::UndoDeletes(uint32_t step) {
  // The run of deletes at the top, undone in turn, puts each line back at a greater index than
  // the one before: then the lines take their places in one pass.
  std::vector<size_t> at;
  for (size_t k = records_.size() - undone_; k-- > 0;) {
    const Record& r = records_[k];
    if (r.step != step || r.kind != Kind::kDelete || (!at.empty() && r.index <= at.back()) ||
        r.index > drawing_.size() + at.size()) {
      break;
    }
    at.push_back(r.index);
  }
  if (at.size() < 2) return false;
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  lines.reserve(at.size());
  records.reserve(at.size());
  for (size_t k = 0; k < at.size(); ++k) {
    Record& r = ToUndo();
    lines.push_back(r.line);
    records.push_back(std::exchange(r.aside, {}));
    ++undone_;
  }
  drawing_.InsertAll(at, lines, records);
  return true;
}

bool Journal::RedoDeletes(uint32_t step) {
  // Redone in turn, the deletes of a run at descending indices go in one pass.
  std::vector<size_t> at;
  for (size_t k = records_.size() - undone_; k < records_.size(); ++k) {
    const Record& r = records_[k];
    if (r.step != step || r.kind != Kind::kDelete ||
        (at.empty() ? r.index >= drawing_.size() : r.index >= at.back())) {
      break;
    }
    at.push_back(r.index);
  }
  if (at.size() < 2) return false;
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  lines.reserve(at.size());
  records.reserve(at.size());
  drawing_.EraseAll(at, lines, records);
  for (size_t k = 0; k < at.size(); ++k) {
    ToRedo().aside = std::move(records[k]);
    --undone_;
  }
  return true;
}

bool Journal::Undo() {
  if (!CanUndo()) return false;
  Record& r = ToUndo();
  if (r.kind == Kind::kAdd && !drawing_.empty()) {
    r.aside = drawing_.Erase(0);
  } else if (r.kind == Kind::kDelete && InDrawing(r.index, true)) {
    drawing_.Insert(r.index, r.line, std::exchange(r.aside, {}));
  } else if (r.kind == Kind::kChange && InDrawing(r.index, false)) {
    drawing_.Exchange(r.index, std::string_view(r.old_line), r.aside);
  } else {
    return false;
  }
  ++undone_;
  return true;
}

bool Journal::Redo() {
  if (!CanRedo()) return false;
  Record& r = ToRedo();
  if (r.kind == Kind::kAdd) {
    drawing_.Insert(0, r.line, std::exchange(r.aside, {}));
  } else if (r.kind == Kind::kDelete && InDrawing(r.index, false)) {
    r.aside = drawing_.Erase(r.index);
  } else if (r.kind == Kind::kChange && InDrawing(r.index, false)) {
    drawing_.Exchange(r.index, std::string_view(r.line), r.aside);
  } else {
    return false;
  }
  --undone_;
  return true;
}

bool Journal::UndoStep() {
  if (!CanUndo()) return false;
  const uint32_t step = ToUndo().step;
  bool stepped = false;
  while (CanUndo() && ToUndo().step == step && (UndoDeletes(step) || Undo())) stepped = true;
  return stepped;
}

bool Journal::RedoStep() {
  if (!CanRedo()) return false;
  const uint32_t step = ToRedo().step;
  bool stepped = false;
  while (CanRedo() && ToRedo().step == step && (RedoDeletes(step) || Redo())) stepped = true;
  return stepped;
}

void Journal::Clear() {
  records_.clear();
  undone_ = 0;
}

}  // namespace blok
