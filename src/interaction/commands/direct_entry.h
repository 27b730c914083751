#pragma once

#include <optional>
#include <string>

#include "interaction/commands/command.h"

namespace blok {

class CommandContext;

// L(x1,y1)-(x2,y2), P(...)-(...), O(x,y,r), LUK(x,y,r,a1,a2) and T(x,y)text typed straight
// into the command line: the entity added at once, and what the entry was taken as; nothing
// when it is none of them.
std::optional<Reply> DirectEntry(CommandContext& ctx, const std::string& entry);

}  // namespace blok
