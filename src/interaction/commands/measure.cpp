// odl: the distance, offsets and direction between two points, said in the message pane.
#include "interaction/commands/common.h"
#include "interaction/commands/two_point.h"

namespace blok {
namespace {

using commands::Fixed;

class Measure : public TwoPointCommand {
 public:
  explicit Measure(CommandContext& ctx) : TwoPointCommand(ctx, "ODL") {}

 private:
  void Second() override {
    const double dx = p2_.x - p1_.x;
    const double dy = p2_.y - p1_.y;
    ctx_.Komunikat("l= " + Fixed(PointDistance(p1_.x, p1_.y, p2_.x, p2_.y)) + "  dx=" + Fixed(dx) +
                   " dy=" + Fixed(dy) + "  kat= " +
                   Fixed(DirectionAngle(p1_.x, p1_.y, p2_.x, p2_.y) * kDegreesPerRadian, "0.0"));
    ctx_.Reset();
  }
};

}  // namespace

std::unique_ptr<Command> MakeMeasure(CommandContext& ctx) { return std::make_unique<Measure>(ctx); }

}  // namespace blok
