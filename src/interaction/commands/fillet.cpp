// za: two lines joined by an arc of a typed radius (the last one offered again), each trimmed or
// lengthened to where the arc touches it; radius 0 makes a plain corner as f does.
#include "editing/fillet.h"

#include <cmath>

#include "interaction/commands/common.h"
#include "interaction/commands/two_line_corner.h"
#include "interaction/typed_input.h"
#include "view/previews.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

class Fillet : public TwoLineCorner {
 public:
  explicit Fillet(CommandContext& ctx)
      : TwoLineCorner(
            ctx, "ZAOKR",
            {"Wskaż pierwszą linię", "Wskaż drugą linię", "Wskaż pierwszą linię do zaokrąglenia",
             "Wskaż drugą linię do zaokrąglenia"}) {
    ctx_.Monit("Promień <" + Fixed(ctx_.memory().fillet_radius, kFixed2Pattern8) + ">");
  }

  Awaited Awaits() const override {
    return step_ == Step::kValue ? Awaited::kRadius : Awaited::kObject;
  }

  Reply Typed(const std::string& entry) override {
    // A radius may be typed again until the first line is picked.
    if (step_ == Step::kSecond) return {};
    const std::optional<double> r = ParsujLiczbe(commands::Wrapped(entry));
    if (!r) return {};
    if (*r < 0 || !std::isfinite(*r)) return Reply::Said("Promień nie może być ujemny.");
    ctx_.memory().fillet_radius = *r;
    AwaitLine(Step::kFirst);
    return Reply::Said("Wprowadzono promien R=" + Fixed(*r, kFixed2Pattern8));
  }

 private:
  std::expected<FilletResult, std::string> Result(int second, Point click) const {
    return FilletLines(ctx_.scene().drawing.records(), first_, second, click_, click,
                       ctx_.memory().fillet_radius);
  }

  std::expected<Corner, std::string> Make(int second, Point click) const override {
    auto fillet = Result(second, click);
    if (!fillet) return std::unexpected(fillet.error());
    Corner corner{std::move(fillet->changes),
                  "Zaokrąglono linie R=" + Fixed(fillet->radius, kFixed2Pattern8)};
    if (fillet->radius > 0) {
      WriterResult arc = ArcLine(*fillet);
      if (arc.lines.empty()) return std::unexpected(arc.message);
      corner.changes.push_back({EditChange::Kind::kAdd, -1, std::move(arc.lines.front())});
    }
    return corner;
  }

  WriterResult ArcLine(const FilletResult& fillet) const {
    // The writer takes an end below the start as going once round.
    const double end = fillet.end >= kTwoPi ? fillet.end - kTwoPi : fillet.end;
    return DodajLuk(fillet.centre, static_cast<float>(fillet.radius),
                    static_cast<float>(fillet.start), static_cast<float>(end), 0, ctx_.Style());
  }

  // The two lines as they would be, and the arc, drawn over the drawing.
  void PreviewCorner(int second, Point click) override {
    auto fillet = Result(second, click);
    if (!fillet) return;
    ctx_.PreviewLines(fillet->changes);
    if (fillet->radius > 0) {
      DrawArc(ctx_.overlay(), ctx_.scene().view, commands::kRed, 0, fillet->centre.x,
              fillet->centre.y, fillet->radius, fillet->start, fillet->end);
    }
  }
};

}  // namespace

std::unique_ptr<Command> MakeFillet(CommandContext& ctx) { return std::make_unique<Fillet>(ctx); }

}  // namespace blok
