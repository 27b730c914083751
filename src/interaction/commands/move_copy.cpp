// mo, co: the selection moved, or copied, by the displacement between two points.
#include "editing/transform.h"
#include "interaction/commands/selection_two_point.h"

namespace blok {
namespace {

class MoveOrCopy : public SelectionTwoPointCommand {
 public:
  MoveOrCopy(CommandContext& ctx, bool copy)
      : SelectionTwoPointCommand(
            ctx, copy ? "COPY" : "MOVE",
            copy ? "Wskaż OBIEKT do kopiowania" : "Wskaż OBIEKT do przesunięcia"),
        copy_(copy) {}

  // The relative panel displaces at any step, the selection as it stands.
  void Relative(double dx, double dy) override {
    Displace(static_cast<float>(dx), static_cast<float>(dy));
  }

 private:
  void Second() override {
    Displace(static_cast<float>(p2_.x - p1_.x), static_cast<float>(p2_.y - p1_.y));
  }
  void PreviewShift(double dx, double dy) override { ctx_.PreviewSelectionMove(dx, dy); }

  void Displace(float dx, float dy) {
    const auto records = ctx_.host().drawing().records();
    Selection& selection = ctx_.host().selection();
    ctx_.ApplyChanges(copy_ ? CopySelection(records, selection, dx, dy)
                            : MoveSelection(records, selection, dx, dy));
    ctx_.Reset();
  }

  bool copy_;
};

}  // namespace

std::unique_ptr<Command> MakeMove(CommandContext& ctx) {
  return std::make_unique<MoveOrCopy>(ctx, false);
}
std::unique_ptr<Command> MakeCopy(CommandContext& ctx) {
  return std::make_unique<MoveOrCopy>(ctx, true);
}

}  // namespace blok
