#include "document/block_file.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <new>

#include "document/text_file.h"
#include "model/cp1250.h"

namespace blok {
namespace {

// Offsets within a record, counted from its start marker.
constexpr size_t kNameOffset = 2;
constexpr size_t kUnitOffset = 8;
constexpr size_t kFirstEntityOffset = 12;

// Where one record lies in the file's lines. A record ends at its end marker or just before the
// next start marker, whichever comes first, else at the end of the file: a record that lost its
// end marker never reaches into the next one.
struct RecordSpan {
  size_t start = 0;         // the start marker
  size_t end = 0;           // just past the record: past its end marker, or its last line
  size_t body_end = 0;      // just past its last entity line
  bool terminated = false;  // closed by its own end marker
};

std::vector<RecordSpan> Records(const std::vector<std::string>& lines) {
  std::vector<RecordSpan> records;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != kBlockStartMarker) continue;
    RecordSpan record{i, lines.size(), lines.size(), false};
    for (size_t j = i + 1; j < lines.size(); ++j) {
      if (lines[j] == kBlockEndMarker) {
        record = {i, j + 1, j, true};
        break;
      }
      if (lines[j] == kBlockStartMarker) {
        record.end = record.body_end = j;
        break;
      }
    }
    if (!record.terminated) {
      // Empty lines at the end of an unclosed record are the ones that open the next record (or
      // were left by a removal), not its drawing: appending or removing a record after it must
      // not change what it loads.
      while (record.body_end > i + kFirstEntityOffset && lines[record.body_end - 1].empty()) {
        --record.body_end;
      }
      record.end = record.body_end;
    }
    records.push_back(record);
    i = record.end - 1;
  }
  return records;
}

// A header line of the record; lines outside it (past the end of the file, or cut off by a lost
// end marker) read as empty, so the fixed skips of a header never fail.
std::string_view Field(const std::vector<std::string>& lines, const RecordSpan& record,
                       size_t offset) {
  const size_t i = record.start + offset;
  return i < record.body_end ? std::string_view(lines[i]) : std::string_view();
}

// Only the name line of a header names a block; any other line equal to the name (the group
// value "null", an entity line) does not.
bool IsNamed(const std::vector<std::string>& lines, const RecordSpan& record,
             std::string_view name) {
  return Field(lines, record, kNameOffset) == name;
}

std::string Encode(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) AppendTextLine(bytes, line);
  return bytes;
}

// The file's lines without the blocks of that name, and how many went. After a closed record the
// empty line that would have opened the next one goes too, but only when it is empty: nothing
// else is lost.
std::vector<std::string> WithoutBlock(const std::vector<std::string>& lines, std::string_view name,
                                      size_t& removed) {
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  size_t next = 0;
  for (const RecordSpan& record : Records(lines)) {
    if (!IsNamed(lines, record, name)) continue;
    kept.insert(kept.end(), lines.begin() + next, lines.begin() + record.start);
    next = record.end;
    if (record.terminated && next < lines.size() && lines[next].empty()) ++next;
    ++removed;
  }
  kept.insert(kept.end(), lines.begin() + next, lines.end());
  return kept;
}

// What a written line would read back as, when it is one of the lines readers look for: a name,
// unit or entity line that reads as a start or end marker would cut the record short or open a
// false one, and every block after it would be read wrong.
std::optional<std::string_view> MarkerItForges(std::string_view line) {
  if (line.size() < kBlockStartMarker.size()) return std::nullopt;  // the shorter marker
  const std::string written = Utf8ToCp1250(line);
  if (written == kBlockStartMarker) return "znacznikiem początku bloku";
  if (written == kBlockEndMarker) return "znacznikiem końca bloku";
  return std::nullopt;
}

Result<void> CheckFields(const std::filesystem::path& file, const BlockToSave& block) {
  const std::string refused = "Nie zapisano bloku w pliku " + file.string() + ": ";
  const auto has_break = [](std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
  };
  if (has_break(block.name) || has_break(block.unit)) {
    return Fail(refused + "nazwa i jednostka nie mogą zawierać końca wiersza");
  }
  if (const auto marker = MarkerItForges(block.name)) {
    return Fail(refused + "nazwa jest " + std::string(*marker));
  }
  if (const auto marker = MarkerItForges(block.unit)) {
    return Fail(refused + "jednostka jest " + std::string(*marker));
  }
  for (size_t i = 0; i < block.lines.size(); ++i) {
    if (has_break(block.lines[i])) {
      return Fail(refused + "linia rysunku zawiera koniec wiersza");
    }
    if (const auto marker = MarkerItForges(block.lines[i])) {
      return Fail(refused + "linia rysunku " + std::to_string(i + 1) + " jest " +
                  std::string(*marker));
    }
  }
  return {};
}

// Bytes of the file as they stand, or empty for a file that does not exist yet.
Result<std::vector<std::string>> ExistingLines(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return std::vector<std::string>{};
  return ReadTextLines(file);
}

// Runs one file operation; a file too big for the memory is a message, never an exception.
template <typename Operation>
auto Guarded(const std::filesystem::path& file, Operation operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return Fail("Nie można obsłużyć pliku " + file.string() + ": za mało pamięci");
  }
}

}  // namespace

SaveTime SaveTime::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string SaveTime::Date() const {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%04d-%02d-%02d", year, month, day);
  return buffer;
}

std::string SaveTime::Time() const {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%02d:%02d:%02d", hour, minute, second);
  return buffer;
}

Result<std::vector<std::string>> CzytajListeBlokow(const std::filesystem::path& file) {
  return Guarded(file, [&]() -> Result<std::vector<std::string>> {
    auto lines = ReadTextLines(file);
    if (!lines) return std::unexpected(lines.error());
    std::vector<std::string> names;
    for (const RecordSpan& record : Records(*lines)) {
      names.emplace_back(Field(*lines, record, kNameOffset));
    }
    return names;
  });
}

Result<bool> BlokIstnieje(const std::filesystem::path& file, std::string_view name) {
  return Guarded(file, [&]() -> Result<bool> {
    auto lines = ReadTextLines(file);
    if (!lines) return std::unexpected(lines.error());
    for (const RecordSpan& record : Records(*lines)) {
      if (IsNamed(*lines, record, name)) return true;
    }
    return false;
  });
}

Result<std::optional<LoadedBlock>> WczytajBlok(const std::filesystem::path& file,
                                               std::string_view name) {
  return Guarded(file, [&]() -> Result<std::optional<LoadedBlock>> {
    auto lines = ReadTextLines(file);
    if (!lines) return std::unexpected(lines.error());
    // Several blocks of one name: the last one in the file wins.
    const std::vector<RecordSpan> records = Records(*lines);
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
      if (!IsNamed(*lines, *record, name)) continue;
      LoadedBlock block{std::string(name), std::string(Field(*lines, *record, kUnitOffset)), {}};
      const size_t first = record->start + kFirstEntityOffset;
      if (first < record->body_end) {
        block.lines.assign(lines->begin() + first, lines->begin() + record->body_end);
      }
      return block;
    }
    return std::nullopt;
  });
}

std::vector<std::string> BlockRecordLines(const BlockToSave& block) {
  std::vector<std::string> out = {"",
                                  std::string(kBlockStartMarker),
                                  std::string(kNameLabel),
                                  block.name,
                                  block.time.Date(),
                                  block.time.Time(),
                                  std::string(kGroupLabel),
                                  std::string(kGroupValue),
                                  std::string(kUnitLabel),
                                  block.unit,
                                  std::string(kHeaderEnd),
                                  "",
                                  std::string(kDrawingMarker)};
  // An empty or one-character last line is the editor's trailing line end, not an entity.
  size_t count = block.lines.size();
  if (count > 0 && CharacterCount(block.lines.back()) <= 1) --count;
  for (size_t i = 0; i < count; ++i) {
    std::string_view line = block.lines[i];
    if (block.cut_at_255) {
      // Cut by characters of the file, never inside a UTF-8 sequence.
      size_t bytes = 0;
      for (size_t k = 0; k < kCutLineLength && bytes < line.size(); ++k) {
        DecodeUtf8(line, bytes);
      }
      line = line.substr(0, bytes);
    }
    out.emplace_back(line);
  }
  out.emplace_back(kBlockEndMarker);
  return out;
}

Result<size_t> UsunBlokZPliku(const std::filesystem::path& file, std::string_view name) {
  return Guarded(file, [&]() -> Result<size_t> {
    auto lines = ReadTextLines(file);
    if (!lines) return std::unexpected(lines.error());
    size_t removed = 0;
    std::vector<std::string> kept = WithoutBlock(*lines, name, removed);
    // Nothing to remove: the file is not rewritten (its line ends, its inode stay).
    if (removed == 0) return 0;
    if (auto written = ReplaceFileContents(file, Encode(kept)); !written) {
      return std::unexpected(written.error());
    }
    return removed;
  });
}

Result<void> DopiszBlok(const std::filesystem::path& file, const BlockToSave& block) {
  return Guarded(file, [&]() -> Result<void> {
    if (auto checked = CheckFields(file, block); !checked) return checked;
    auto lines = ExistingLines(file);
    if (!lines) return std::unexpected(lines.error());
    for (std::string& line : BlockRecordLines(block)) lines->push_back(std::move(line));
    return ReplaceFileContents(file, Encode(*lines));
  });
}

Result<void> ZastapBlok(const std::filesystem::path& file, const BlockToSave& block) {
  return Guarded(file, [&]() -> Result<void> {
    if (auto checked = CheckFields(file, block); !checked) return checked;
    auto lines = ReadTextLines(file);
    if (!lines) return std::unexpected(lines.error());
    size_t removed = 0;
    std::vector<std::string> kept = WithoutBlock(*lines, block.name, removed);
    for (std::string& line : BlockRecordLines(block)) kept.push_back(std::move(line));
    return ReplaceFileContents(file, Encode(kept));
  });
}

}  // namespace blok
