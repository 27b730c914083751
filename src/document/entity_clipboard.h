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

}  // namespace blok
