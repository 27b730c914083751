// tr, w: an edge, a line, then any number of objects, each cut or lengthened against it where
// it was clicked.
#include "editing/trim_extend.h"

#include "interaction/commands/context.h"

namespace blok {
namespace {

using LineOperation = EditChanges (*)(std::span<const ParsedEntity> records, int edge, int object,
                                      Point click);

class TrimOrExtend : public Command {
 public:
  TrimOrExtend(CommandContext& ctx, bool extend) : ctx_(ctx), extend_(extend) {}

  void Press(int x, int y) override {
    if (step_ == Step::kObject) {
      ctx_.RestoreView();
      const int index = ctx_.Pick(x, y);
      if (index < 0) return;
      if (!ctx_.IsLine(index)) return RefuseKind();
      object_ = index;
      const LineOperation operation = extend_ ? ExtendLine : TrimLine;
      ctx_.ApplyChanges(operation(ctx_.scene().drawing.records(), edge_, object_, ctx_.Raw(x, y)));
      ctx_.Redraw();
    }
    if (step_ == Step::kEdge) {
      ctx_.RestoreView();
      const int index = ctx_.Pick(x, y);
      if (index < 0) return;
      if (!ctx_.IsLine(index)) return RefuseKind();
      edge_ = index;
      step_ = Step::kObject;
    }
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kEdge) {
      ctx_.PickWithLabel(
          x, y, extend_ ? "Wskaż krawędź wydłużenia (linie)." : "Wskaż krawędź tnącą (linia).", 20);
      return true;
    }
    ctx_.RestoreView();
    ctx_.ShowEntity(edge_);
    ctx_.Pick(x, y);
    ctx_.Label(x, y + 20,
               extend_ ? "Wskaż OBIEKT do wydłużenia (linie)." : "Wskaż obiekt do cięcia (linie).");
    return true;
  }

  // The edge, then each object.
  Awaited Awaits() const override { return Awaited::kObject; }
  void Describe(Wskaz& w) const override {
    if (!extend_) {
      w.tnijKrawedz = step_ == Step::kEdge;
      w.tnijObiekt = step_ == Step::kObject;
    }
    w.obiekt1 = edge_;
    w.obiekt2 = object_;
  }

 private:
  enum class Step { kEdge, kObject };

  // A circle, an arc, a rectangle or a text clicked: said, so the click is not taken for lost.
  void RefuseKind() {
    ctx_.Komunikat(extend_ ? "Wydłuż bierze tylko linie: okręgi, łuki, prostokąty i teksty pomija."
                           : "Utnij bierze tylko linie: okręgi, łuki, prostokąty i teksty pomija.");
  }

  CommandContext& ctx_;
  bool extend_;
  Step step_ = Step::kEdge;
  int edge_ = -1;
  int object_ = -1;
};

}  // namespace

std::unique_ptr<Command> MakeTrim(CommandContext& ctx) {
  return std::make_unique<TrimOrExtend>(ctx, false);
}
std::unique_ptr<Command> MakeExtend(CommandContext& ctx) {
  return std::make_unique<TrimOrExtend>(ctx, true);
}

}  // namespace blok
