// o: a circle by its centre and radius.
#include "interaction/commands/centre.h"

namespace blok {
namespace {

class Circle : public CentreCommand {
 public:
  explicit Circle(CommandContext& ctx) : CentreCommand(ctx, "OKRAG") {}

  Reply Typed(const std::string& entry) override {
    if (centre_step_ == CentreStep::kRadius) return TypedRadius(entry);
    return TypedCentre(entry);
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (centre_step_ == CentreStep::kRadius) {
      PressRadius(x, y);
    }
  }

  bool Preview(int x, int y) override {
    if (centre_step_ == CentreStep::kRadius) {
      PreviewRadius(x, y);
      return true;
    }
    return centre_step_ == CentreStep::kCentre && PreviewCentre(x, y, "PUNKT ŚRODKOWY");
  }

 private:
  void AfterCentre() override {
    centre_step_ = CentreStep::kRadius;
    ctx_.Monit("Promień");
  }
  void AfterRadius() override {
    ctx_.Apply(DodajOkrag(p0_, r_, ctx_.Style()));
    ctx_.Reset();
  }
};

}  // namespace

std::unique_ptr<Command> MakeCircle(CommandContext& ctx) { return std::make_unique<Circle>(ctx); }

}  // namespace blok
