// za: two lines joined by an arc of a typed radius (the last one offered again), each trimmed or
// lengthened to where the arc touches it; radius 0 makes a plain corner as f does.
#include "editing/fillet.h"

#include <cmath>

#include "interaction/commands/common.h"
#include "interaction/commands/context.h"
#include "interaction/typed_input.h"
#include "view/previews.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

class Fillet : public Command {
 public:
  explicit Fillet(CommandContext& ctx) : ctx_(ctx) {
    ctx_.Monit("Promień <" + Fixed(ctx_.memory().fillet_radius, kFixed2Pattern8) + ">");
  }

  // The radius (a click on the first line instead keeps the last one), then the two lines.
  Awaited Awaits() const override {
    return step_ == Step::kRadius ? Awaited::kRadius : Awaited::kObject;
  }

  Reply Typed(const std::string& entry) override {
    // A radius may be typed again until the first line is picked.
    if (step_ == Step::kSecond) return {};
    const std::optional<double> r = ParsujLiczbe(commands::Wrapped(entry));
    if (!r) return {};
    if (*r < 0 || !std::isfinite(*r)) return Reply::Said("Promień nie może być ujemny.");
    ctx_.memory().fillet_radius = *r;
    step_ = Step::kFirst;
    ctx_.SetPickCursor(true);
    ctx_.SetPrompt("Wskaż pierwszą linię");
    return Reply::Said("Wprowadzono promien R=" + Fixed(*r, kFixed2Pattern8));
  }

  void Press(int x, int y) override {
    ctx_.RestoreView();
    const int index = ctx_.Pick(x, y);
    if (!ctx_.IsLine(index)) return;
    if (step_ != Step::kSecond) {
      // A click before any radius is typed takes the last one.
      first_ = index;
      click_ = ctx_.Raw(x, y);
      step_ = Step::kSecond;
      ctx_.SetPickCursor(true);
      ctx_.SetPrompt("Wskaż drugą linię");
      return;
    }
    auto fillet = Result(index, ctx_.Raw(x, y));
    if (!fillet) {
      ctx_.Komunikat(fillet.error());
      step_ = Step::kFirst;
      return;
    }
    EditChanges changes = std::move(fillet->changes);
    std::string message = "Zaokrąglono linie R=" + Fixed(fillet->radius, kFixed2Pattern8);
    if (fillet->radius > 0) {
      WriterResult arc = ArcLine(*fillet);
      if (arc.lines.empty()) {
        ctx_.Komunikat(arc.message);
        step_ = Step::kFirst;
        return;
      }
      changes.push_back({EditChange::Kind::kAdd, -1, std::move(arc.lines.front())});
    }
    ctx_.ApplyChanges(std::move(changes));
    ctx_.Komunikat(message);
    ctx_.Reset();
    ctx_.Redraw();
  }

  bool Preview(int x, int y) override {
    ctx_.RestoreView();
    const int index = ctx_.Pick(x, y);
    if (step_ == Step::kSecond) {
      ctx_.ShowEntity(first_);
      if (ctx_.IsLine(index) && index != first_) PreviewResult(index, ctx_.Raw(x, y));
    }
    ctx_.Label(x, y - 20,
               step_ == Step::kSecond ? "Wskaż drugą linię do zaokrąglenia"
                                      : "Wskaż pierwszą linię do zaokrąglenia");
    return true;
  }

  void Describe(Wskaz& w) const override {
    w.Polecenie = "ZAOKR";
    w.obiekt1 = first_;
  }

 private:
  enum class Step { kRadius, kFirst, kSecond };

  std::expected<FilletResult, std::string> Result(int second, Point click) const {
    return FilletLines(ctx_.scene().drawing.records(), first_, second, click_, click,
                       ctx_.memory().fillet_radius);
  }

  WriterResult ArcLine(const FilletResult& fillet) const {
    // The writer takes an end below the start as going once round.
    const double end = fillet.end >= kTwoPi ? fillet.end - kTwoPi : fillet.end;
    return DodajLuk(fillet.centre, static_cast<float>(fillet.radius),
                    static_cast<float>(fillet.start), static_cast<float>(end), 0, ctx_.Style());
  }

  // The two lines as they would be, and the arc, drawn over the drawing.
  void PreviewResult(int second, Point click) {
    auto fillet = Result(second, click);
    if (!fillet) return;
    ctx_.PreviewLines(fillet->changes);
    if (fillet->radius > 0) {
      DrawArc(ctx_.overlay(), ctx_.scene().view, commands::kRed, 0, fillet->centre.x,
              fillet->centre.y, fillet->radius, fillet->start, fillet->end);
    }
  }

  CommandContext& ctx_;
  Step step_ = Step::kRadius;
  int first_ = -1;
  Point click_ = kUnsetPoint;
};

}  // namespace

std::unique_ptr<Command> MakeFillet(CommandContext& ctx) { return std::make_unique<Fillet>(ctx); }

}  // namespace blok
