// u: the objects of one selection gesture deleted.
#include "editing/chamfer_offset.h"
#include "interaction/commands/context.h"

namespace blok {
namespace {

class Delete : public Command {
 public:
  explicit Delete(CommandContext& ctx) : ctx_(ctx) {}

  Awaited Awaits() const override { return selecting_ ? Awaited::kSelection : Awaited::kNothing; }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      const Scene s = ctx_.scene();
      ctx_.ApplyChanges(DeleteSelection(s.drawing.records(), s.selection));
      ctx_.Redraw();
      selecting_ = false;
      ctx_.Reset();
    }
    return Released::kGoOn;
  }

  bool Preview(int x, int y) override {
    if (!selecting_) return false;
    ctx_.PickWithLabel(x, y, "Wskaż OBIEKT do usunięcia", -20);
    return true;
  }

  void Describe(Wskaz& w) const override { w.usun = w.wybor = Awaits() == Awaited::kSelection; }

 private:
  CommandContext& ctx_;
  bool selecting_ = true;
};

}  // namespace

std::unique_ptr<Command> MakeDelete(CommandContext& ctx) { return std::make_unique<Delete>(ctx); }

}  // namespace blok
