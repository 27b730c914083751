// ks and ws: the selection put on the system clipboard from a base point, and cut.
#include "interaction/commands/context.h"

namespace blok {
namespace {

class ClipboardCopy : public Command {
 public:
  Awaited Awaits() const override { return Awaited::kSelection; }
};

}  // namespace

std::unique_ptr<Command> MakeCopyToClipboard(CommandContext&) {
  return std::make_unique<ClipboardCopy>();
}
std::unique_ptr<Command> MakeCutToClipboard(CommandContext&) {
  return std::make_unique<ClipboardCopy>();
}

}  // namespace blok
