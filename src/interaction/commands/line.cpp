// l: lines from point to point, each end the start of the next, until the command ends.
#include "interaction/commands/two_point.h"

namespace blok {
namespace {

class Line : public TwoPointCommand {
 public:
  explicit Line(CommandContext& ctx) : TwoPointCommand(ctx, "LINIA") {}

  void Relative(double dx, double dy) override {
    if (point_step_ != PointStep::kSecond) return;
    p2_ = {p1_.x + dx, p1_.y + dy};
    ctx_.Apply(DodajLinie(p1_, p2_, ctx_.Style()));
    p1_ = p2_;
  }

 private:
  void Second() override {
    ctx_.Apply(DodajLinie(p1_, p2_, ctx_.Style()));
    p1_ = orto_ = p2_;
  }
};

}  // namespace

std::unique_ptr<Command> MakeLine(CommandContext& ctx) { return std::make_unique<Line>(ctx); }

}  // namespace blok
