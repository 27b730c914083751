#include "interaction/commands/two_line_corner.h"

namespace blok {

void TwoLineCorner::AwaitLine(Step step) {
  step_ = step;
  ctx_.SetPickCursor(true);
  ctx_.SetPrompt(step == Step::kSecond ? prompts_.second : prompts_.first);
}

void TwoLineCorner::Press(int x, int y) {
  ctx_.RestoreView();
  const int index = ctx_.Pick(x, y);
  if (!ctx_.IsLine(index)) return;
  if (step_ != Step::kSecond) {
    // A click before any value is typed keeps the last one.
    first_ = index;
    click_ = ctx_.Raw(x, y);
    return AwaitLine(Step::kSecond);
  }
  auto corner = Make(index, ctx_.Raw(x, y));
  if (!corner) {
    ctx_.Komunikat(corner.error());
    return AwaitLine(Step::kFirst);
  }
  ctx_.ApplyChanges(std::move(corner->changes));
  ctx_.Komunikat(corner->message);
  ctx_.Reset();
  ctx_.Redraw();
}

bool TwoLineCorner::Preview(int x, int y) {
  ctx_.RestoreView();
  const int index = ctx_.Pick(x, y);
  if (step_ == Step::kSecond) {
    ctx_.ShowEntity(first_);
    if (ctx_.IsLine(index) && index != first_) PreviewCorner(index, ctx_.Raw(x, y));
  }
  ctx_.Label(x, y - 20, step_ == Step::kSecond ? prompts_.second_label : prompts_.first_label);
  return true;
}

}  // namespace blok
