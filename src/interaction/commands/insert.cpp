// wb and wk: a library block, or what the clipboard holds, placed into the drawing: its origin
// at a point, then, for a block, a scale and a turn. The entities follow the cursor dotted, as
// they will be written.
#include "interaction/commands/insert.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "editing/transform.h"
#include "interaction/commands/centre.h"
#include "model/cp1250.h"
#include "model/polish_plural.h"
#include "model/unit.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

std::string Quoted(std::string_view name) { return "„" + std::string(name) + "”"; }

std::string Objects(size_t count) { return Counted(count, "obiekt", "obiekty", "obiektów"); }

// The entities to place, read once, with the factor from their unit to the block's.
class Placed {
 public:
  Placed(CommandContext& ctx, EntitySource source, size_t skipped = 0)
      : source_(std::move(source)), records_(ParseLines(source_.lines)), skipped_(skipped) {
    unit_ = ctx.host().BlockUnit();
    factor_ = MetresIn(source_.unit) / MetresIn(unit_);
  }

  bool empty() const { return std::ranges::none_of(records_, IsShape); }
  const std::string& name() const { return source_.name; }

  // The entities as they would be written, dotted on the overlay; those off the view are not
  // drawn.
  void Preview(CommandContext& ctx, Point at, double scale, double angle) const {
    const Scene s = ctx.scene();
    Canvas& overlay = ctx.overlay();
    overlay.SetPenStyle(PenStyle::kDotted);
    ReadingDefaults defaults = s.defaults;
    DrawEntities(overlay, s.view, PlacedEntities(records_, PlacementAt(at, scale, angle)), s.font,
                 defaults);
  }

  // Placed as one step: the message that says how many; nothing when none could be written,
  // which has been said.
  std::optional<std::string> Insert(CommandContext& ctx, Point at, double scale, double angle,
                                    std::string_view done) const {
    const EditChanges changes =
        AddsInOrder(PlacedEntities(records_, PlacementAt(at, scale, angle)));
    const size_t count = changes.size();
    if (!ctx.ApplyChanges(changes)) return std::nullopt;
    std::string message = std::string(done) + Objects(count);
    if (skipped_ > 0) message += ", pominięto " + Counted(skipped_, "linię", "linie", "linii");
    message += ".";
    if (source_.unit != unit_) {
      message += " Przeliczono z " + source_.unit + " na " + unit_ + ".";
    }
    ctx.Redraw();
    return message;
  }

 private:
  Placement PlacementAt(Point at, double scale, double angle) const {
    return {.x = at.x, .y = at.y, .scale = scale * factor_, .angle = angle};
  }

  EntitySource source_;
  std::vector<ParsedEntity> records_;
  size_t skipped_;  // lines of the clipboard that were no entities
  std::string unit_;
  double factor_ = 1;
};

class Placing : public CentreCommand {
 public:
  enum class Kind { kBlock, kPaste };

  // Without a source the block's name is asked for first.
  Placing(CommandContext& ctx, Kind kind, std::optional<Placed> placed)
      : CentreCommand(ctx, kind == Kind::kBlock ? "WSTAWBLOK" : "WKLEJ"),
        kind_(kind),
        placed_(std::move(placed)) {
    if (!placed_) {
      centre_step_ = CentreStep::kOwn;
      step_ = Step::kName;
      ctx_.Monit("Nazwa bloku");
    }
  }

  Reply Typed(const std::string& entry) override {
    switch (step_) {
      case Step::kName:
        return TypedName(entry);
      case Step::kScale:
        return TypedScale(entry);
      case Step::kAngle:
        return TypedAngle(entry);
      case Step::kPoint:
        break;
    }
    if (kind_ == Kind::kBlock) return TypedCentre(entry);
    // A paste ends with its point: what it did is the answer.
    auto p = ParsujPunkt(commands::Wrapped(entry));
    if (!p) return {};
    p0_ = p->point;
    return Finish(0);
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (step_ == Step::kAngle) {
      // The turn its preview showed.
      Say(Finish(Direction(ctx_.Pointed(x, y, Ortho()))));
    }
  }

  bool Preview(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      const Point p = PreviewCentre(x, y);
      placed_->Preview(ctx_, p, 1, 0);
      return true;
    }
    if (step_ == Step::kScale) {
      ctx_.RestoreView();
      placed_->Preview(ctx_, p0_, 1, 0);
      return true;
    }
    if (step_ == Step::kAngle) {
      ctx_.RestoreView();
      const Point p = ctx_.Pointed(x, y, Ortho());
      const double angle = Direction(p);
      placed_->Preview(ctx_, p0_, scale_, angle);
      ctx_.LabelAtPoint(p0_, "alfa = " + Fixed(angle * kDegreesPerRadian, kFixed2Pattern7));
      return true;
    }
    return false;
  }

 private:
  enum class Step { kName, kPoint, kScale, kAngle };

  Awaited OwnAwaits() const override {
    switch (step_) {
      case Step::kName:
        return Awaited::kText;
      case Step::kScale:
        return Awaited::kValue;
      case Step::kAngle:
        return Awaited::kAngle;
      case Step::kPoint:
        break;
    }
    return Awaited::kNothing;
  }

  void AfterCentre() override {
    if (kind_ == Kind::kPaste) return Say(Finish(0));
    step_ = Step::kScale;
    ctx_.Monit("Skala (Enter: 1)");
  }

  Reply TypedName(const std::string& entry) {
    const std::vector<std::string> names = ctx_.host().BlockNames();
    if (entry.empty()) return Reply::Said("Wpisz nazwę bloku z listy bloków (Tab uzupełnia).");
    if (std::ranges::find(names, entry) == names.end()) {
      return Reply::Said("W pliku nie ma bloku " + Quoted(entry) + ".");
    }
    std::optional<EntitySource> source = ctx_.host().BlockToInsert(entry);
    if (!source) return Reply::Said("Nie wczytano bloku " + Quoted(entry) + ".");
    Placed placed(ctx_, std::move(*source));
    if (placed.empty()) return Reply::Said("Blok " + Quoted(entry) + " nie zawiera obiektów.");
    placed_.emplace(std::move(placed));
    step_ = Step::kPoint;
    centre_step_ = CentreStep::kCentre;
    return Reply::Said("Blok " + Quoted(entry) + ": wskaż punkt wstawienia.");
  }

  Reply TypedScale(const std::string& entry) {
    double scale = 1;
    if (!entry.empty()) {
      const std::optional<double> typed = ParsujLiczbe(commands::Wrapped(entry));
      if (!typed) return {};
      if (!(*typed > 0) || !std::isfinite(static_cast<float>(*typed))) {
        return Reply::Said("Skala musi być liczbą większą od zera.");
      }
      scale = *typed;
    }
    scale_ = scale;
    step_ = Step::kAngle;
    ctx_.Monit("Kąt obrotu (Enter: 0)");
    return Reply::Said("Skala " + Fixed(scale_, kFixed2Pattern8) + ".");
  }

  Reply TypedAngle(const std::string& entry) {
    double degrees = 0;
    if (!entry.empty()) {
      const std::optional<double> typed = ParsujLiczbe(commands::Wrapped(entry));
      if (!typed) return {};
      if (!std::isfinite(static_cast<float>(*typed))) return {};
      degrees = *typed;
    }
    return Finish(degrees * kRadiansPerDegree);
  }

  double Direction(Point p) const {
    return VectorAngle(static_cast<float>(p0_.x), static_cast<float>(p0_.y),
                       static_cast<float>(p.x), static_cast<float>(p.y));
  }

  // Placed, and the command ended: what it did, as the answer to a typed value.
  Reply Finish(double angle) {
    const std::string done =
        kind_ == Kind::kPaste ? "Wklejono " : "Wstawiono blok " + Quoted(placed_->name()) + ": ";
    std::optional<std::string> message = placed_->Insert(ctx_, p0_, scale_, angle, done);
    ctx_.Reset();
    return message ? Reply::Said(std::move(*message)) : Reply::Quietly();
  }
  // The same after a click.
  void Say(Reply reply) {
    if (!reply.message.empty()) ctx_.Komunikat(std::move(reply.message));
  }

  Kind kind_;
  Step step_ = Step::kPoint;
  std::optional<Placed> placed_;
  double scale_ = 1;
};

// The library block of that name, refused with the reason said.
std::optional<Placed> BlockToPlace(CommandContext& ctx, const std::string& name) {
  std::optional<EntitySource> source = ctx.host().BlockToInsert(name);
  if (!source) return std::nullopt;
  Placed placed(ctx, std::move(*source));
  if (placed.empty()) {
    ctx.Komunikat("Blok " + Quoted(name) + " nie zawiera obiektów.");
    return std::nullopt;
  }
  return placed;
}

}  // namespace

void InsertDroppedBlock(CommandContext& ctx, const std::string& name, int x, int y) {
  std::optional<Placed> placed = BlockToPlace(ctx, name);
  if (!placed) return;
  const Point at = ctx.PointedWithoutOrtho(x, y);
  if (auto message = placed->Insert(ctx, at, 1, 0, "Wstawiono blok " + Quoted(name) + ": ")) {
    ctx.Komunikat(std::move(*message));
  }
}

std::unique_ptr<Command> MakeInsertBlock(CommandContext& ctx) {
  const std::string name = ctx.host().SelectedBlockName();
  if (name.empty()) return std::make_unique<Placing>(ctx, Placing::Kind::kBlock, std::nullopt);
  std::optional<Placed> placed = BlockToPlace(ctx, name);
  if (!placed) return nullptr;
  return std::make_unique<Placing>(ctx, Placing::Kind::kBlock, std::move(placed));
}

std::unique_ptr<Command> MakePaste(CommandContext& ctx) {
  LinesToPaste paste = ReadLinesToPaste(ctx.host().ReadClipboard());
  EntitySource source{.name = {},
                      .unit = paste.unit.value_or(ctx.host().BlockUnit()),
                      .lines = std::move(paste.lines)};
  Placed placed(ctx, std::move(source), paste.skipped);
  if (placed.empty()) {
    ctx.Komunikat("Schowek nie zawiera obiektów do wklejenia.");
    return nullptr;
  }
  return std::make_unique<Placing>(ctx, Placing::Kind::kPaste, std::move(placed));
}

}  // namespace blok
