// od: a distance typed or shown by two points, then an object, then any number of clicks on the
// side to offset toward; each click offsets the copy the last one made.
#include "editing/chamfer_offset.h"
#include "interaction/commands/two_point.h"
#include "view/previews.h"

namespace blok {
namespace {

class Offset : public TwoPointCommand {
 public:
  explicit Offset(CommandContext& ctx) : TwoPointCommand(ctx, "OFFSET") {}

  void Press(int x, int y) override {
    if (step_ == Step::kSide) {
      if (object_ >= 0) {
        EditChanges changes =
            OffsetEntity(ctx_.scene().drawing.records(), object_, distance_, ctx_.Raw(x, y));
        const bool made = !changes.empty();
        ctx_.ApplyChanges(std::move(changes));
        // The copy just made is line 0: further clicks offset it again. A click that made
        // nothing keeps the object it had.
        if (made) object_ = 0;
      }
      ctx_.Redraw();
    }
    if (step_ == Step::kObject) {
      ctx_.RestoreView();
      ctx_.SetPickCursor(false);
      if (const int index = ctx_.Pick(x, y); index >= 0) {
        object_ = index;
        step_ = Step::kSide;
      }
    }
    TwoPointCommand::Press(x, y);
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kSide) {
      ctx_.RestoreView();
      ctx_.ShowEntity(object_);
      const Scene s = ctx_.scene();
      if (auto line = OffsetPreviewLine(s.drawing.records(), object_, distance_, ctx_.Raw(x, y))) {
        PreviewMove(ctx_.overlay(), s.view, s.font, *line, s.defaults, 0, 0);
      }
      ctx_.Label(x, y - 20, "Wskaż KIERUNEK odsunięcia");
      return true;
    }
    if (step_ == Step::kObject) {
      ctx_.PickWithLabel(x, y, "Wskaż OBIEKT do odsunięcia", -20);
      return true;
    }
    return TwoPointCommand::Preview(x, y);
  }

  Awaited Awaits() const override {
    if (step_ == Step::kObject) return Awaited::kObject;
    return step_ == Step::kSide ? Awaited::kSide : TwoPointCommand::Awaits();
  }
  void Describe(Wskaz& w) const override {
    TwoPointCommand::Describe(w);
    w.obiekt1 = object_;
  }

 private:
  enum class Step { kDistance, kObject, kSide };

  void Second() override {
    distance_ = static_cast<float>(PointDistance(p1_.x, p1_.y, p2_.x, p2_.y));
    step_ = Step::kObject;
    point_step_ = PointStep::kNone;
    ctx_.SetPickCursor(true);
  }

  Step step_ = Step::kDistance;
  float distance_ = 0;
  int object_ = -1;
};

}  // namespace

std::unique_ptr<Command> MakeOffset(CommandContext& ctx) { return std::make_unique<Offset>(ctx); }

}  // namespace blok
