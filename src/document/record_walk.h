#pragma once

// Inside the document layer: the walk over a library's records that its readers and writers
// share, and the guard of every file operation.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <string_view>

#include "document/block_file.h"
#include "document/line_stream.h"
#include "document/text_file.h"
#include "model/cp1250.h"
#include "model/error.h"

namespace blok::records {

// Offsets within a record, counted from its start marker.
constexpr size_t kNameOffset = 2;
constexpr size_t kUnitOffset = 8;
constexpr size_t kFirstEntityOffset = 12;

// Walks the records of a library as its lines stream past, in one pass and without keeping
// the file. A record ends at its end marker or just before the next start marker, whichever
// comes first, else at the end of the file: a record that lost its end marker never reaches
// into the next one. Empty lines at the end of such a record are the ones that open the next
// record (or were left by a removal), not its drawing, so that appending or removing a record
// after it does not change what it loads; they are known for what they are only at the next
// non-empty line, and are handed on then, as a range of the file.
//
// The visitor hears, in file order:
//   Begin(name)                       a record starts; name is its header's name line (CP1250),
//                                     empty where the record ends before it
//   Line(in_record, offset, text, bytes)
//                                     a line, inside a record at offset from its start marker
//                                     (the end marker included), or between records
//   Empties(in_record, offset, count, from, to)
//                                     count empty lines held back, the file's bytes [from, to)
//   End(terminated)                   the record is over; terminated by its own end marker
// Each returns Result<void>; the first failure stops the walk.
class RecordWalk {
 public:
  explicit RecordWalk(LineStream& stream) : stream_(stream) {}

  template <typename Visitor>
  Result<void> Run(Visitor& v) {
    for (;;) {
      auto more = stream_.Next();
      if (!more) return std::unexpected(more.error());
      if (!*more) break;
      if (auto done = Take(v, stream_.text(), stream_.bytes(), stream_.offset()); !done) {
        return done;
      }
    }
    return Finish(v);
  }

 private:
  struct Held {
    std::string text, bytes;
  };

  template <typename Visitor>
  Result<void> Take(Visitor& v, std::string_view text, std::string_view bytes, std::uint64_t at) {
    if (!in_record_) {
      if (text == kBlockStartMarker) return Open(text, bytes);
      return v.Line(false, 0, text, bytes);
    }
    if (holding_) {
      // The header's first lines wait until the name is known.
      const size_t offset = held_.size();
      if (text == kBlockEndMarker) {
        if (auto begun = Release(v, ""); !begun) return begun;
        if (auto line = v.Line(true, offset, text, bytes); !line) return line;
        return Close(v, true);
      }
      if (text == kBlockStartMarker) {
        if (auto begun = Release(v, ""); !begun) return begun;
        if (auto closed = Close(v, false); !closed) return closed;
        return Open(text, bytes);
      }
      held_.push_back({std::string(text), std::string(bytes)});
      if (held_.size() == kNameOffset + 1) return Release(v, held_.back().text);
      return {};
    }
    if (text == kBlockEndMarker) {
      if (auto flushed = FlushEmpties(v, true); !flushed) return flushed;
      if (auto line = v.Line(true, offset_, text, bytes); !line) return line;
      return Close(v, true);
    }
    if (text == kBlockStartMarker) {
      if (auto closed = Close(v, false); !closed) return closed;
      if (auto flushed = FlushEmpties(v, false); !flushed) return flushed;
      return Open(text, bytes);
    }
    if (text.empty() && offset_ >= kFirstEntityOffset) {
      if (empties_ == 0) {
        empties_offset_ = offset_;
        empties_from_ = at;
      }
      ++empties_;
      empties_to_ = at + bytes.size();
      ++offset_;
      return {};
    }
    if (auto flushed = FlushEmpties(v, true); !flushed) return flushed;
    return v.Line(true, offset_++, text, bytes);
  }

  template <typename Visitor>
  Result<void> Finish(Visitor& v) {
    if (!in_record_) return {};
    if (holding_) {
      if (auto begun = Release(v, ""); !begun) return begun;
    }
    if (auto closed = Close(v, false); !closed) return closed;
    return FlushEmpties(v, false);
  }

  Result<void> Open(std::string_view text, std::string_view bytes) {
    in_record_ = true;
    holding_ = true;
    held_.clear();
    held_.push_back({std::string(text), std::string(bytes)});
    return {};
  }

  template <typename Visitor>
  Result<void> Release(Visitor& v, std::string_view name) {
    if (auto begun = v.Begin(name); !begun) return begun;
    holding_ = false;
    offset_ = 0;
    for (const Held& line : held_) {
      if (auto done = v.Line(true, offset_++, line.text, line.bytes); !done) return done;
    }
    held_.clear();
    return {};
  }

  template <typename Visitor>
  Result<void> Close(Visitor& v, bool terminated) {
    in_record_ = false;
    return v.End(terminated);
  }

  template <typename Visitor>
  Result<void> FlushEmpties(Visitor& v, bool in_record) {
    if (empties_ == 0) return {};
    const size_t count = std::exchange(empties_, 0);
    return v.Empties(in_record, empties_offset_, count, empties_from_, empties_to_);
  }

  LineStream& stream_;
  bool in_record_ = false;
  bool holding_ = false;
  std::vector<Held> held_;
  size_t offset_ = 0;
  size_t empties_ = 0;
  size_t empties_offset_ = 0;
  std::uint64_t empties_from_ = 0, empties_to_ = 0;
};

// A visitor that takes no interest in a kind of event.
struct Indifferent {
  Result<void> Begin(std::string_view) { return {}; }
  Result<void> Line(bool, size_t, std::string_view, std::string_view) { return {}; }
  Result<void> Empties(bool, size_t, size_t, std::uint64_t, std::uint64_t) { return {}; }
  Result<void> End(bool) { return {}; }
};

// Whether a header's name line (CP1250) is the name sought (UTF-8): compared as the readers
// read it, converted.
inline bool SameName(std::string_view name_line, std::string_view name) {
  return Cp1250ToUtf8(name_line) == name;
}

// Runs a walk over the file as it stands.
template <typename Visitor>
Result<void> Walk(const std::filesystem::path& file, Visitor& visitor) {
  auto fd = OpenTextFile(file);
  if (!fd) return std::unexpected(fd.error());
  LineStream stream(fd->get(), file.string());
  return RecordWalk(stream).Run(visitor);
}

// Collects the records of the file, each whole when it ends; `wanted` picks them by name.
struct BlockCollector : Indifferent {
  std::function<bool(std::string_view)> wanted;
  std::function<void(LoadedBlock&&)> take;
  bool reading = false;
  LoadedBlock current;
  Result<void> Begin(std::string_view name_line) {
    current = LoadedBlock{Cp1250ToUtf8(name_line), "", {}};
    reading = wanted(current.name);
    return {};
  }
  Result<void> Line(bool in_record, size_t offset, std::string_view text, std::string_view) {
    // The end marker closes the record; it is neither its unit nor a line of its drawing.
    if (!in_record || !reading || text == kBlockEndMarker) return {};
    if (offset == kUnitOffset) current.unit = Cp1250ToUtf8(text);
    if (offset >= kFirstEntityOffset) current.lines.push_back(Cp1250ToUtf8(text));
    return {};
  }
  Result<void> Empties(bool in_record, size_t, size_t count, std::uint64_t, std::uint64_t) {
    if (in_record && reading) current.lines.insert(current.lines.end(), count, "");
    return {};
  }
  Result<void> End(bool) {
    if (reading) take(std::move(current));
    reading = false;
    return {};
  }
};

// Runs one file operation; a file too big for the memory is a message, never an exception.
template <typename Operation>
auto Guarded(const std::filesystem::path& file, Operation operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return Fail("Nie można obsłużyć pliku " + file.string() + ": za mało pamięci");
  }
}

}  // namespace blok::records
