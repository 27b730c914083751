// ks and ws: the selection put on the system clipboard from a base point, and cut.
#include "interaction/commands/context.h"

namespace blok {

std::unique_ptr<Command> MakeCopyToClipboard(CommandContext&) { return nullptr; }
std::unique_ptr<Command> MakeCutToClipboard(CommandContext&) { return nullptr; }

}  // namespace blok
