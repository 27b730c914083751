// p: a rectangle through two opposite corners, written as its four sides.
#include "interaction/commands/common.h"
#include "interaction/commands/two_point.h"
#include "view/renderer.h"

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

  // The rectangle the two corners make, not its diagonal.
  void RubberBand(Point c) override {
    const Point corners[] = {p1_, {p1_.x, c.y}, c, {c.x, p1_.y}};
    for (size_t i = 0; i < 4; ++i) {
      const Point a = corners[i];
      const Point b = corners[(i + 1) % 4];
      DrawSegment(ctx_.overlay(), ctx_.scene().view, commands::kGreen, 0, a.x, a.y, b.x, b.y);
    }
  }
};

}  // namespace

std::unique_ptr<Command> MakeRectangle(CommandContext& ctx) {
  return std::make_unique<Rectangle>(ctx);
}

}  // namespace blok
