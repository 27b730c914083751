// lu: mirrored copies of the selection about the axis through two points; the originals stay.
#include "editing/mirror.h"

#include "interaction/commands/selection_two_point.h"
#include "view/previews.h"

namespace blok {
namespace {

class Mirror : public SelectionTwoPointCommand {
 public:
  explicit Mirror(CommandContext& ctx)
      : SelectionTwoPointCommand(ctx, "LUSTRO", "Wskaż OBIEKT do odbicia") {}

 private:
  void Second() override {
    if (p1_.x == p2_.x && p1_.y == p2_.y) {
      // Nothing to reflect about: the second point is asked for again.
      ctx_.Komunikat("Oś odbicia ma zerową długość.");
      point_step_ = PointStep::kSecond;
      return;
    }
    const Scene s = ctx_.scene();
    ctx_.ApplyChanges(MirrorSelection(s.drawing.records(), s.selection, p1_, p2_));
    ctx_.Reset();
  }

  // The selection stays where it is while the axis's first point is awaited.
  void PreviewShift(double /*dx*/, double /*dy*/) override {
    if (point_step_ == PointStep::kFirst) ctx_.PreviewSelectionMove(0, 0);
  }

  void PreviewSecond(Point cursor) override {
    ctx_.PreviewSelectionMove(0, 0);
    const Scene s = ctx_.scene();
    ctx_.PreviewLines(MirrorSelection(s.drawing.records(), s.selection, p1_, cursor));
  }
};

}  // namespace

std::unique_ptr<Command> MakeMirror(CommandContext& ctx) { return std::make_unique<Mirror>(ctx); }

}  // namespace blok
