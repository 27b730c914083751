// tr, w: an edge (a line, a rectangle, a circle or an arc), then any number of objects, each cut
// or lengthened against it where it was clicked.
#include <span>
#include <utility>

#include "editing/trim_curves.h"
#include "interaction/commands/context.h"

namespace blok {
namespace {

using Operation = TrimOutcome (*)(std::span<const ParsedEntity> records, int edge, int object,
                                  Point click);

class TrimOrExtend : public Command {
 public:
  TrimOrExtend(CommandContext& ctx, bool extend) : ctx_(ctx), extend_(extend) {}

  void Press(int x, int y) override {
    if (step_ == Step::kObject) {
      ctx_.RestoreView();
      const int index = ctx_.Pick(x, y);
      if (index < 0) return;
      const std::span<const ParsedEntity> records = ctx_.scene().drawing.records();
      if (!TakesAsObject(records, index, extend_)) return RefuseObject();
      object_ = index;
      const Operation operation = extend_ ? ExtendObject : TrimObject;
      TrimOutcome outcome = operation(records, edge_, object_, ctx_.Raw(x, y));
      if (!outcome.met) return ctx_.Komunikat("Brak przecięcia.");
      ctx_.ApplyChanges(std::move(outcome.changes));
      ctx_.Redraw();
    }
    if (step_ == Step::kEdge) {
      ctx_.RestoreView();
      const int index = ctx_.Pick(x, y);
      if (index < 0) return;
      if (!TakesAsEdge(ctx_.scene().drawing.records(), index)) return RefuseEdge();
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

  // A kind the step cannot take clicked: said, so the click is not taken for lost.
  void RefuseEdge() {
    ctx_.Komunikat(extend_ ? "Krawędzią wydłużenia może być linia, prostokąt, okrąg lub łuk."
                           : "Krawędzią tnącą może być linia, prostokąt, okrąg lub łuk.");
  }
  void RefuseObject() {
    ctx_.Komunikat(extend_ ? "Wydłuż bierze linie i łuki: okręgi, prostokąty i teksty pomija."
                           : "Utnij bierze linie, okręgi i łuki: prostokąty i teksty pomija.");
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
