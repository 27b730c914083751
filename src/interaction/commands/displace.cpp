// mo, co, ro: the selection moved, copied or stretched by the displacement between two points
// or from the relative panel.
#include "editing/transform.h"
#include "interaction/commands/selection_two_point.h"
#include "view/previews.h"

namespace blok {
namespace {

enum class Displacement { kMove, kCopy, kStretch };

class Displace : public SelectionTwoPointCommand {
 public:
  Displace(CommandContext& ctx, Displacement kind, std::string_view name,
           std::string_view pick_label)
      : SelectionTwoPointCommand(ctx, name, pick_label), kind_(kind) {}

  // The relative panel displaces at any step, the selection as it stands.
  void Relative(double dx, double dy) override {
    Apply(static_cast<float>(dx), static_cast<float>(dy));
  }

 private:
  void Second() override {
    Apply(static_cast<float>(p2_.x - p1_.x), static_cast<float>(p2_.y - p1_.y));
  }

  void PreviewShift(double dx, double dy) override {
    if (kind_ == Displacement::kStretch) {
      // What the operation will write: it decides which corners of a rectangle move.
      // A copy: the operation updates the selection's lines it is given.
      const Scene s = ctx_.scene();
      Selection selection = s.selection;
      ctx_.PreviewLines(StretchSelection(s.drawing.records(), selection, static_cast<float>(dx),
                                         static_cast<float>(dy)));
    } else {
      ctx_.PreviewSelectionMove(dx, dy);
    }
  }

  void Apply(float dx, float dy) {
    const Scene s = ctx_.scene();
    const auto records = s.drawing.records();
    Selection& selection = s.selection;
    switch (kind_) {
      case Displacement::kMove:
        ctx_.ApplyChanges(MoveSelection(records, selection, dx, dy));
        break;
      case Displacement::kCopy:
        ctx_.ApplyChanges(CopySelection(records, selection, dx, dy));
        break;
      case Displacement::kStretch:
        ctx_.ApplyChanges(StretchSelection(records, selection, dx, dy));
        break;
    }
    ctx_.Reset();
  }

  Displacement kind_;
};

}  // namespace

std::unique_ptr<Command> MakeMove(CommandContext& ctx) {
  return std::make_unique<Displace>(ctx, Displacement::kMove, "MOVE",
                                    "Wskaż OBIEKT do przesunięcia");
}
std::unique_ptr<Command> MakeCopy(CommandContext& ctx) {
  return std::make_unique<Displace>(ctx, Displacement::kCopy, "COPY", "Wskaż OBIEKT do kopiowania");
}
std::unique_ptr<Command> MakeStretch(CommandContext& ctx) {
  return std::make_unique<Displace>(ctx, Displacement::kStretch, "STRE",
                                    "Wskaż PROSTOKĄTEM rozciąganie");
}

}  // namespace blok
