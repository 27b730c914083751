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
      ctx_.host().Komunikat("Oś odbicia ma zerową długość.");
      point_step_ = PointStep::kSecond;
      return;
    }
    ctx_.ApplyChanges(
        MirrorSelection(ctx_.host().drawing().records(), ctx_.host().selection(), p1_, p2_));
    ctx_.Reset();
  }

  // The selection stays where it is while the axis's first point is awaited.
  void PreviewShift(double /*dx*/, double /*dy*/) override {
    if (point_step_ == PointStep::kFirst) ctx_.PreviewSelectionMove(0, 0);
  }

  void PreviewSecond(Point cursor) override {
    const InteractionHost& host = ctx_.host();
    if (host.font() == nullptr) return;
    ctx_.PreviewSelectionMove(0, 0);
    for (const EditChange& change :
         MirrorSelection(host.drawing().records(), ctx_.host().selection(), p1_, cursor)) {
      PreviewMove(ctx_.overlay(), host.view(), *host.font(), change.line, host.reading_defaults(),
                  0, 0);
    }
  }
};

}  // namespace

std::unique_ptr<Command> MakeMirror(CommandContext& ctx) { return std::make_unique<Mirror>(ctx); }

}  // namespace blok
