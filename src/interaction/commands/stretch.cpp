// ro: the defining points inside the selection window moved by the displacement between two
// points.
#include "editing/transform.h"
#include "interaction/commands/selection_two_point.h"

namespace blok {
namespace {

class Stretch : public SelectionTwoPointCommand {
 public:
  explicit Stretch(CommandContext& ctx)
      : SelectionTwoPointCommand(ctx, "STRE", "Wskaż PROSTOKĄTEM rozciąganie") {}

  void Relative(double dx, double dy) override {
    Displace(static_cast<float>(dx), static_cast<float>(dy));
  }

 private:
  void Second() override {
    Displace(static_cast<float>(p2_.x - p1_.x), static_cast<float>(p2_.y - p1_.y));
  }
  void PreviewShift(double dx, double dy) override { ctx_.PreviewSelectionStretch(dx, dy); }

  void Displace(float dx, float dy) {
    ctx_.ApplyChanges(
        StretchSelection(ctx_.host().drawing().records(), ctx_.host().selection(), dx, dy));
    ctx_.Reset();
  }
};

}  // namespace

std::unique_ptr<Command> MakeStretch(CommandContext& ctx) { return std::make_unique<Stretch>(ctx); }

}  // namespace blok
