// o: a circle by its centre and radius.
#include "interaction/commands/centre.h"

namespace blok {
namespace {

class Circle : public CentreCommand {
 public:
  explicit Circle(CommandContext& ctx) : CentreCommand(ctx, "OKRAG") {}

  Consumed Typed(const std::string& entry) override {
    std::string message;
    if (awaiting_radius_) message = TypedRadius(entry);
    TypedCentre(entry, message);
    return {message, false};
  }

  void Press(int x, int y) override {
    if (awaiting_centre_) {
      PressCentre(x, y);
    } else if (awaiting_radius_) {
      PressRadius(x, y);
    }
  }

  bool Preview(int x, int y) override {
    if (awaiting_radius_) {
      PreviewRadius(x, y);
      return true;
    }
    return awaiting_centre_ && PreviewCentre(x, y, "PUNKT ŚRODKOWY");
  }

 private:
  void AfterCentre() override {
    awaiting_radius_ = true;
    ctx_.Monit("Promień");
  }
  void AfterRadius() override { ctx_.Apply(DodajOkrag(p0_, r_, ctx_.Style())); }
};

}  // namespace

std::unique_ptr<Command> MakeCircle(CommandContext& ctx) { return std::make_unique<Circle>(ctx); }

}  // namespace blok
