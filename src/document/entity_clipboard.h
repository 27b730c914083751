#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Entities on the system clipboard. A copy puts two forms there at once: the plain entity lines,
// which any program can paste and from which any program's lines can be pasted back, and our own
// form, which also carries the unit their numbers are in.

namespace blok {

inline constexpr std::string_view kEntitiesMimeType = "application/x-blokedit-entities";

// What the clipboard holds: our own form when it is there, and its plain text.
struct ClipboardContents {
  std::optional<std::string> entities;
  std::string text;
};

// Both forms of entity lines whose numbers are in unit: the lines one to a line, and our own
// form, the unit's line ("JEDNOSTKA cm") before them.
ClipboardContents ClipboardForms(std::span<const std::string> lines, std::string_view unit);

// What a paste takes from the clipboard: the lines that read as entities (colour and thickness
// commands among them), the unit of our own form (nothing for plain text, which is taken as in
// the block's own unit), and how many other lines there were; blank lines are not counted.
struct LinesToPaste {
  std::vector<std::string> lines;
  std::optional<std::string> unit;
  size_t skipped = 0;
};
LinesToPaste ReadLinesToPaste(const ClipboardContents& contents);

}  // namespace blok
