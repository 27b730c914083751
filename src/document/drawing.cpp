#include "document/drawing.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "model/cp1250.h"

namespace blok {
namespace {

// Room made in front of line 0 at least, so that a small drawing does not grow on every add.
constexpr size_t kLeastFrontRoom = 16;

// The elements [front, front + index) step one place towards the front, opening a slot at
// front + index - 1; the caller has made sure the slot front - 1 is spare.
template <class T>
void ShiftFrontPartDown(std::vector<T>& v, size_t front, size_t index) {
  const auto first = v.begin() + static_cast<std::ptrdiff_t>(front);
  std::move(first, first + static_cast<std::ptrdiff_t>(index), first - 1);
}

// The elements [front, front + index) step one place towards the back over the element at
// front + index, leaving the slot at front moved-from.
template <class T>
void ShiftFrontPartUp(std::vector<T>& v, size_t front, size_t index) {
  const auto first = v.begin() + static_cast<std::ptrdiff_t>(front);
  std::move_backward(first, first + static_cast<std::ptrdiff_t>(index),
                     first + static_cast<std::ptrdiff_t>(index) + 1);
}

// Keeps the elements of [front, end) whose flag (indexed from front) is 0, in order, and drops
// the rest from the end.
template <class T>
void KeepUnflagged(std::vector<T>& v, size_t front, const std::vector<std::uint8_t>& erased) {
  size_t to = front;
  for (size_t from = front; from < v.size(); ++from) {
    if (erased[from - front] != 0) continue;
    if (to != from) v[to] = std::move(v[from]);
    ++to;
  }
  v.resize(to);
}

// Opens the slots `at` (ascending indices from front, each into the grown range) and moves the
// elements between them one by one towards the back, in a single pass from the end.
template <class T>
void OpenSlots(std::vector<T>& v, size_t front, std::span<const size_t> at) {
  size_t from = v.size();
  v.resize(v.size() + at.size());
  size_t to = v.size();
  size_t next = at.size();
  while (next > 0) {
    --to;
    if (to - front == at[next - 1]) {
      --next;
    } else {
      v[to] = std::move(v[--from]);
    }
  }
}

template <class T>
void GrowFrontOf(std::vector<T>& v, size_t front, size_t room) {
  std::vector<T> grown;
  grown.reserve(room + v.size() - front);
  grown.resize(room);
  grown.insert(grown.end(), std::make_move_iterator(v.begin() + static_cast<std::ptrdiff_t>(front)),
               std::make_move_iterator(v.end()));
  v = std::move(grown);
}

}  // namespace

void Drawing::Load(std::vector<std::string> lines) {
  ++revision_;
  lines_ = std::move(lines);
  // A reader's growth leaves up to as much room again; an open block keeps its lines for long.
  lines_.shrink_to_fit();
  front_ = 0;
  records_.clear();
  records_.reserve(lines_.size());
  for (const std::string& line : lines_) records_.push_back(ParseEntity(line));
  boxes_.clear();
  boxes_.reserve(records_.size());
  for (const ParsedEntity& record : records_) boxes_.push_back(CompactBoxOf(record));
}

void Drawing::Clear() {
  ++revision_;
  lines_.clear();
  records_.clear();
  boxes_.clear();
  front_ = 0;
}

void Drawing::GrowFront() {
  const size_t room = std::max(size(), kLeastFrontRoom);
  GrowFrontOf(lines_, front_, room);
  GrowFrontOf(records_, front_, room);
  GrowFrontOf(boxes_, front_, room);
  front_ = room;
}

void Drawing::Insert(size_t index, std::string line, ParsedEntity record) {
  ++revision_;
  const CompactBox box = CompactBoxOf(record);
  const size_t at = front_ + index;
  if (index > size() / 2) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
    boxes_.insert(boxes_.begin() + static_cast<std::ptrdiff_t>(at), box);
    return;
  }
  if (front_ == 0) GrowFront();
  ShiftFrontPartDown(lines_, front_, index);
  ShiftFrontPartDown(records_, front_, index);
  ShiftFrontPartDown(boxes_, front_, index);
  --front_;
  lines_[front_ + index] = std::move(line);
  records_[front_ + index] = std::move(record);
  boxes_[front_ + index] = box;
}

ParsedEntity Drawing::Erase(size_t index) {
  ++revision_;
  ParsedEntity erased = std::move(records_[front_ + index]);
  if (index >= size() / 2) {
    const size_t at = front_ + index;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(at));
    boxes_.erase(boxes_.begin() + static_cast<std::ptrdiff_t>(at));
    return erased;
  }
  ShiftFrontPartUp(lines_, front_, index);
  ShiftFrontPartUp(records_, front_, index);
  ShiftFrontPartUp(boxes_, front_, index);
  // A spare slot keeps no text of its own.
  std::string().swap(lines_[front_]);
  records_[front_] = ParsedEntity{};
  boxes_[front_] = CompactBox{};
  ++front_;
  return erased;
}

void Drawing::EraseAll(std::span<const size_t> indices, std::vector<std::string>& lines,
                       std::vector<ParsedEntity>& records) {
  ++revision_;
  std::vector<std::uint8_t> erased(size(), 0);
  for (const size_t index : indices) {
    erased[index] = 1;
    lines.push_back(std::move(lines_[front_ + index]));
    records.push_back(std::move(records_[front_ + index]));
  }
  KeepUnflagged(lines_, front_, erased);
  KeepUnflagged(records_, front_, erased);
  KeepUnflagged(boxes_, front_, erased);
}

void Drawing::InsertAll(std::span<const size_t> indices, std::span<std::string> lines,
                        std::span<ParsedEntity> records) {
  ++revision_;
  OpenSlots(lines_, front_, indices);
  OpenSlots(records_, front_, indices);
  OpenSlots(boxes_, front_, indices);
  for (size_t k = 0; k < indices.size(); ++k) {
    const size_t at = front_ + indices[k];
    lines_[at] = std::move(lines[k]);
    records_[at] = std::move(records[k]);
    boxes_[at] = CompactBoxOf(records_[at]);
  }
}

void Drawing::Exchange(size_t index, std::string& line, ParsedEntity& record) {
  ++revision_;
  std::swap(records_[front_ + index], record);
  std::swap(lines_[front_ + index], line);
  boxes_[front_ + index] = CompactBoxOf(records_[front_ + index]);
}

void Drawing::Exchange(size_t index, std::string_view line, ParsedEntity& record) {
  ++revision_;
  std::swap(records_[front_ + index], record);
  lines_[front_ + index].assign(line);
  boxes_[front_ + index] = CompactBoxOf(records_[front_ + index]);
}

bool Drawing::IsBlank() const {
  const std::span<const std::string> all = lines();
  size_t length = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (i > 0) length += 2;
    length += CharacterCount(all[i]);  // characters of the file, not bytes of UTF-8
    if (length > 5) return false;
  }
  return true;
}

}  // namespace blok
