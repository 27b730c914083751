// t: a text by its insertion point, its angle and then the text itself, with the text sizes in
// force; the text follows the cursor until it is placed.
#include "interaction/commands/centre.h"
#include "view/previews.h"

namespace blok {
namespace {

using commands::Fixed;

class Text : public CentreCommand {
 public:
  explicit Text(CommandContext& ctx) : CentreCommand(ctx, "TEKST") {
    working_.height = ctx.scene().settings.text_height;
    working_.width = ctx.scene().settings.text_width;
  }

  Reply Typed(const std::string& entry) override {
    if (step_ == Step::kText) {
      const Settings& s = ctx_.scene().settings;
      const WriterResult result =
          DodajTekst(p0_, a1_, entry, s.text_height_text, s.text_width_text, ctx_.Style());
      // A text refused for itself is asked for again, to be typed anew.
      if (result.lines.empty() && !result.error && !entry.empty()) {
        ctx_.Monit("tekst");
        return Reply::Said(result.message);
      }
      ctx_.Apply(result);
      ctx_.Reset();
      ctx_.Redraw();
      return Reply::Quietly();
    }
    if (step_ == Step::kAngle) {
      auto degrees = ParsujLiczbe(commands::Wrapped(entry));
      if (!degrees) return {};
      StepAngle(static_cast<float>(*degrees * kRadiansPerDegree));
      return Reply::Said("Wprowadzono kat A1=" + Fixed(*degrees, kFixed2Pattern8));
    }
    return TypedCentre(entry);
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (step_ == Step::kAngle) {
      p1_ = ctx_.Pointed(x, y, Ortho());
      StepAngle(static_cast<float>(DirectionAngle(p0_.x, p0_.y, p1_.x, p1_.y)));
    }
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kAngle) {
      ctx_.RestoreView();
      const Point p = ctx_.Pointed(x, y, Ortho());
      DrawWorking(p0_, commands::Degrees(DirectionAngle(p0_.x, p0_.y, p.x, p.y)));
      return true;
    }
    if (centre_step_ == CentreStep::kCentre) {
      const Point p = PreviewCentre(x, y);
      DrawWorking(p, working_.angle);
      ctx_.Label(x, y - 40, "PUNKT WSTAWIENIA TEKSTU");
      return true;
    }
    return false;
  }

 private:
  enum class Step { kInsertion, kAngle, kText };

  Awaited OwnAwaits() const override {
    if (step_ == Step::kAngle) return Awaited::kAngle;
    return step_ == Step::kText ? Awaited::kText : Awaited::kNothing;
  }

  void AfterCentre() override {
    step_ = Step::kAngle;
    ctx_.Monit("Kąt [st]");
  }

  void StepAngle(float a) {
    a1_ = a;
    step_ = Step::kText;
    working_.angle = commands::Degrees(a);
    ctx_.Monit("tekst");
  }

  void DrawWorking(Point at, float angle) {
    const Scene s = ctx_.scene();
    WorkingText(ctx_.overlay(), s.view, s.font, working_.text, s.settings.colour, kDefaultThickness,
                working_.height, working_.width, angle, at.x, at.y);
  }

  Step step_ = Step::kInsertion;
  float a1_ = 0;
  TekstRoboczy working_;
};

}  // namespace

std::unique_ptr<Command> MakeText(CommandContext& ctx) {
  // The text sizes are read when the text is written: a box that holds no number would throw
  // away the text typed for it, so the command does not start.
  const Settings& s = ctx.scene().settings;
  for (const std::string& size : {s.text_height_text, s.text_width_text}) {
    if (!TypedNumber(size)) {
      ctx.ShowMessageBox("\"" + size + "\" nie jest poprawną liczbą.");
      return nullptr;
    }
  }
  return std::make_unique<Text>(ctx);
}

}  // namespace blok
