#pragma once

// The block panel as a library browser: which entries of the block list the filter lets
// through, what each listed block looks like (its lines, as the file holds them), and the
// bookkeeping for the small pictures beside the names, which only the window can draw.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/block_file.h"

namespace blok {

// The form a name is searched in: capitals, each Polish letter as its base letter, so that
// "zolw" finds "Żółw". Characters outside the code page's letters stay as they are.
std::u32string SearchForm(std::string_view text);

// The entries of the block list that E_FiltrBlokow lets through: those whose name holds the
// filter's text (blanks at its ends dropped) in search form. Rows keep the list's order; row i
// shows entry rows()[i]. An empty filter lets every entry through.
class BlockFilter {
 public:
  // The names changed (a file opened, a block saved under a new name).
  void SetNames(const std::vector<std::string>& names);
  void SetText(std::string_view text);
  const std::string& text() const { return text_; }
  const std::vector<size_t>& rows() const { return rows_; }
  // The row showing the entry, or nothing when the filter hides it.
  std::optional<size_t> RowOf(size_t entry) const;

 private:
  void Apply();

  std::vector<std::u32string> forms_;  // one per name
  std::string text_;
  std::u32string form_;
  std::vector<size_t> rows_;
};

// Identifies a drawing by its lines: equal lines, equal key; a block saved with other lines
// gets another key, so a picture made for the old ones is never shown for the new.
uint64_t DrawingKey(const std::vector<std::string>& lines);

// Lines that draw something (not colour or thickness commands, not unreadable lines).
size_t EntityCount(const std::vector<std::string>& lines);

// The block a save put into the file, as a reader would find it there.
LoadedBlock WrittenBlock(const BlockToSave& block);

// The blocks of the open file as loading would find them: for a name saved twice, the later.
// Reading every block of a large library takes a while, so it is filled in after the names are
// shown; what the editor writes meanwhile is kept and wins over the read.
class LibraryContents {
 public:
  struct Entry {
    LoadedBlock block;
    uint64_t key = 0;
    std::string drawing;  // CanonicalDrawing, for the twins
  };
  // The file's blocks in file order (WczytajWszystkieBloki), each made an entry where they are
  // read: the drawings of a large library take a while, which the reading thread spends.
  struct ReadBlocks {
    ReadBlocks() = default;
    ReadBlocks(std::vector<LoadedBlock> blocks);  // NOLINT(google-explicit-constructor)
    ReadBlocks(std::initializer_list<LoadedBlock> blocks)
        : ReadBlocks(std::vector<LoadedBlock>(blocks)) {}
    std::vector<Entry> entries;
  };

  // Another file: nothing known.
  void Reset();
  bool loaded() const { return loaded_; }
  void Assign(ReadBlocks blocks);
  // A block just written into the file.
  void Put(LoadedBlock block);
  // Nothing when the block is not known (yet).
  const Entry* Find(std::string_view name) const;
  // The other blocks that draw the same as the named one, as Duplikaty finds them, in the
  // list's order; empty when it has none. Found again whenever the contents change.
  const std::vector<std::string>& TwinsOf(std::string_view name) const;

 private:
  static Entry EntryOf(LoadedBlock block);
  void Store(Entry entry);
  void FindTwins();

  std::map<std::string, Entry, std::less<>> entries_;
  std::vector<LoadedBlock> written_;  // since Reset, to lay over a read that comes later
  bool loaded_ = false;
  std::map<std::string, std::vector<std::string>, std::less<>> twins_;
};

// What a row's twin mark says: "Ten sam rysunek co: NAZWA", up to three names and how many more.
std::string TwinNote(const std::vector<std::string>& twins);

// The rows whose pictures are wanted, most urgent first: those on screen top to bottom, then
// alternately below and above them, up to `ahead` rows each way, so that a scroll finds them
// ready. Rows past row_count are left out.
std::vector<size_t> PictureOrder(size_t first_visible, size_t last_visible, size_t row_count,
                                 size_t ahead);

// Pictures by drawing key, at most `capacity` of them: storing one more drops the one used
// longest ago.
template <typename Picture>
class PictureCache {
 public:
  explicit PictureCache(size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

  // The picture, now the most recently used; nullptr when it is not kept.
  const Picture* Find(uint64_t key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return &found->second->second;
  }
  bool Contains(uint64_t key) const { return index_.contains(key); }

  // Stores or replaces the picture; returns the keys dropped to make room.
  std::vector<uint64_t> Insert(uint64_t key, Picture picture) {
    if (const auto found = index_.find(key); found != index_.end()) {
      found->second->second = std::move(picture);
      order_.splice(order_.begin(), order_, found->second);
      return {};
    }
    order_.emplace_front(key, std::move(picture));
    index_.emplace(key, order_.begin());
    std::vector<uint64_t> dropped;
    while (order_.size() > capacity_) {
      dropped.push_back(order_.back().first);
      index_.erase(order_.back().first);
      order_.pop_back();
    }
    return dropped;
  }

  void Clear() {
    order_.clear();
    index_.clear();
  }
  size_t size() const { return order_.size(); }
  size_t capacity() const { return capacity_; }

 private:
  using Order = std::list<std::pair<uint64_t, Picture>>;
  size_t capacity_;
  Order order_;  // most recently used first
  std::unordered_map<uint64_t, typename Order::iterator> index_;
};

}  // namespace blok
