// wb and wk: a library block, or what the clipboard holds, placed into the drawing.
#include "interaction/commands/context.h"

namespace blok {
namespace {

class Placing : public Command {
 public:
  Awaited Awaits() const override { return Awaited::kCentre; }
};

}  // namespace

std::unique_ptr<Command> MakeInsertBlock(CommandContext&) { return std::make_unique<Placing>(); }
std::unique_ptr<Command> MakePaste(CommandContext&) { return std::make_unique<Placing>(); }

}  // namespace blok
