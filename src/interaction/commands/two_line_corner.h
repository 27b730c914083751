#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "editing/edit_change.h"
#include "interaction/commands/context.h"

namespace blok {

// The commands that take a value first (a click on the first line keeps the last one) and then
// two lines, and write the corner they make (za, fa): the picking of the lines, the preview
// while the second is sought and the one change that writes the corner are theirs alike.
class TwoLineCorner : public Command {
 public:
  struct Prompts {
    std::string_view first, second;              // in the prompt line
    std::string_view first_label, second_label;  // beside the cursor
  };
  struct Corner {
    EditChanges changes;
    std::string message;
  };

  Awaited Awaits() const override {
    return step_ == Step::kValue ? Awaited::kValue : Awaited::kObject;
  }
  void Press(int x, int y) override;
  bool Preview(int x, int y) override;
  void Describe(Wskaz& w) const override {
    w.Polecenie = std::string(name_);
    w.obiekt1 = first_;
  }

 protected:
  enum class Step { kValue, kFirst, kSecond };

  TwoLineCorner(CommandContext& ctx, std::string_view name, Prompts prompts)
      : ctx_(ctx), name_(name), prompts_(prompts) {}

  // The corner of the first line and this second one, clicked there; or why there is none.
  virtual std::expected<Corner, std::string> Make(int second, Point click) const = 0;
  // The corner drawn over the drawing as it would be written, when there is one.
  virtual void PreviewCorner(int second, Point click) = 0;

  void AwaitLine(Step step);

  CommandContext& ctx_;
  Step step_ = Step::kValue;
  int first_ = -1;
  Point click_ = kUnsetPoint;

 private:
  std::string_view name_;
  Prompts prompts_;
};

}  // namespace blok
