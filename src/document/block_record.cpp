// A block's record as it is written: its lines, its save time, and the check of its fields.
#include "document/block_record.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/library_rules.h"
#include "model/cp1250.h"

namespace blok {
namespace records {
namespace {

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

}  // namespace

Result<void> CheckFields(const std::filesystem::path& file, const BlockToSave& block) {
  const std::string refused = "Nie zapisano bloku w pliku " + file.string() + ": ";
  const auto has_break = [](std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
  };
  if (const auto problem = BlockNameProblem(block.name)) return Fail(refused + *problem);
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

}  // namespace records

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

}  // namespace blok
