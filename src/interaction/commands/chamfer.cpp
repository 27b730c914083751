// f: two lines cut or lengthened to meet where their infinite lines cross.
#include "editing/chamfer_offset.h"
#include "interaction/commands/context.h"

namespace blok {
namespace {

class Chamfer : public Command {
 public:
  explicit Chamfer(CommandContext& ctx) : ctx_(ctx) {}

  void Press(int x, int y) override {
    if (step_ == Step::kSecond) {
      ctx_.RestoreView();
      const int index = ctx_.Pick(x, y);
      if (!ctx_.IsLine(index)) return;
      second_ = index;
      ctx_.ApplyChanges(
          ChamferLines(ctx_.scene().drawing.records(), first_, second_, ctx_.Raw(x, y), click_));
      step_ = Step::kDone;
      ctx_.Redraw();
      ctx_.Reset();
    }
    if (step_ == Step::kFirst) {
      ctx_.RestoreView();
      const int index = ctx_.Pick(x, y);
      if (!ctx_.IsLine(index)) return;
      first_ = index;
      click_ = ctx_.Raw(x, y);
      step_ = Step::kSecond;
    }
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kDone) return false;
    ctx_.PickWithLabel(x, y,
                       step_ == Step::kFirst ? "Wskaż pierwszą linię do fazowania"
                                             : "Wskaż drugą linię do fazowania",
                       -20);
    return true;
  }

  Awaited Awaits() const override {
    return step_ == Step::kDone ? Awaited::kNothing : Awaited::kObject;
  }
  void Describe(Wskaz& w) const override {
    w.fazuj2 = step_ == Step::kSecond;
    w.obiekt1 = first_;
    w.obiekt2 = second_;
  }

 private:
  enum class Step { kFirst, kSecond, kDone };

  CommandContext& ctx_;
  Step step_ = Step::kFirst;
  int first_ = -1;
  int second_ = -1;
  Point click_ = kUnsetPoint;
};

}  // namespace

std::unique_ptr<Command> MakeChamfer(CommandContext& ctx) { return std::make_unique<Chamfer>(ctx); }

}  // namespace blok
