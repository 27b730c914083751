#pragma once

#include <optional>
#include <string>

namespace blok {

class CommandContext;

// L(x1,y1)-(x2,y2), P(...)-(...) and T(x,y)text typed straight into the command line: the
// entity added at once. The message to say, or nothing when the entry is none of them.
std::optional<std::string> DirectEntry(CommandContext& ctx, const std::string& entry);

}  // namespace blok
