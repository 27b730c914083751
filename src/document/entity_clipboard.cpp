#include "document/entity_clipboard.h"

#include "model/parsed_entity.h"
#include "model/unit.h"

namespace blok {
namespace {

constexpr std::string_view kUnitHead = "JEDNOSTKA ";

// The text's lines, each without its line end; a last line end ends no empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool Blank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

void TakeLines(std::span<const std::string_view> lines, LinesToPaste& paste) {
  paste.lines.reserve(lines.size());
  for (std::string_view line : lines) {
    if (Blank(line)) continue;
    const ParsedEntity entity = ParseEntity(line);
    if (entity.kind != EntityKind::kNone && entity.valid()) {
      paste.lines.emplace_back(line);
    } else {
      ++paste.skipped;
    }
  }
}

}  // namespace

ClipboardContents ClipboardForms(std::span<const std::string> lines, std::string_view unit) {
  ClipboardContents contents;
  for (const std::string& line : lines) {
    contents.text += line;
    contents.text += '\n';
  }
  contents.entities = std::string(kUnitHead) + std::string(unit) + "\n" + contents.text;
  return contents;
}

LinesToPaste ReadLinesToPaste(const ClipboardContents& contents) {
  LinesToPaste paste;
  // Our own form only when its unit reads: anything may hold our type's name.
  if (contents.entities) {
    const std::vector<std::string_view> lines = SplitLines(*contents.entities);
    if (!lines.empty() && lines.front().starts_with(kUnitHead)) {
      const std::string_view unit = lines.front().substr(kUnitHead.size());
      if (IsUnit(unit)) {
        paste.unit = std::string(unit);
        TakeLines(std::span(lines).subspan(1), paste);
        return paste;
      }
    }
  }
  TakeLines(SplitLines(contents.text), paste);
  return paste;
}

}  // namespace blok
