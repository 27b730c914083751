// p: a rectangle through two opposite corners, written as its four sides.
#include "interaction/commands/two_point.h"

namespace blok {
namespace {

class Rectangle : public TwoPointCommand {
 public:
  explicit Rectangle(CommandContext& ctx) : TwoPointCommand(ctx, "PROST") {}

 private:
  void Second() override {
    ctx_.Apply(DodajProstokat(p1_, p2_, ctx_.Style()));
    ctx_.Reset();
  }
};

}  // namespace

std::unique_ptr<Command> MakeRectangle(CommandContext& ctx) {
  return std::make_unique<Rectangle>(ctx);
}

}  // namespace blok
