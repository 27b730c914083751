#pragma once

#include <string_view>

#include "interaction/commands/two_point.h"

namespace blok {

// The commands that select objects first and then take two points (move, copy, stretch,
// mirror): the selection step with its hover label, then the two point steps.
class SelectionTwoPointCommand : public TwoPointCommand {
 public:
  SelectionTwoPointCommand(CommandContext& ctx, std::string_view name, std::string_view pick_label)
      : TwoPointCommand(ctx, name), pick_label_(pick_label) {
    point_step_ = PointStep::kNone;
  }

  Awaited Awaits() const override {
    return selecting_ ? Awaited::kSelection : TwoPointCommand::Awaits();
  }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      selecting_ = false;
      ctx_.SetPickCursor(false);
      point_step_ = PointStep::kFirst;
    }
    return Released::kGoOn;
  }

  bool Preview(int x, int y) override {
    if (!selecting_) return TwoPointCommand::Preview(x, y);
    ctx_.PickWithLabel(x, y, pick_label_, -20);
    return true;
  }

  void Describe(Wskaz& w) const override {
    TwoPointCommand::Describe(w);
    w.szukaj = Awaits() == Awaited::kSelection;
  }

 protected:
  bool selecting_ = true;

 private:
  std::string_view pick_label_;
};

}  // namespace blok
