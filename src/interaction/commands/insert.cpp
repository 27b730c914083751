// wb and wk: a library block, or what the clipboard holds, placed into the drawing.
#include "interaction/commands/context.h"

namespace blok {

std::unique_ptr<Command> MakeInsertBlock(CommandContext&) { return nullptr; }
std::unique_ptr<Command> MakePaste(CommandContext&) { return nullptr; }

}  // namespace blok
