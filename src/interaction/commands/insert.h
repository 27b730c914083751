#pragma once

#include <string>

#include "interaction/commands/context.h"

namespace blok {

// A block of the open library dropped on the view: placed with its origin at the pixel, snapped
// as a click is, at scale 1 and unturned, as one step of Cofnij, and said in the message pane.
void InsertDroppedBlock(CommandContext& ctx, const std::string& name, int x, int y);

}  // namespace blok
