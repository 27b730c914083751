// wi: a regular polygon by its number of sides, then its centre and one vertex (or, after "o",
// the midpoint of one side: the polygon round a circle), or after "b" two points of one side
// with the polygon on their left; added as one line a side with the colour and thickness in
// force.
#include <cmath>

#include "interaction/commands/centre.h"
#include "model/command_text.h"
#include "model/cp1250.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

constexpr int kFewestSides = 3;
constexpr int kMostSides = 1000;

// The one-letter switch a step takes instead of a point, case aside.
bool IsSwitch(const std::string& entry, char letter) {
  return UpperCp1250(StripAllBlanks(entry)) == std::string(1, letter);
}

class Polygon : public CentreCommand {
 public:
  explicit Polygon(CommandContext& ctx) : CentreCommand(ctx, "WIELOKAT") {
    centre_step_ = CentreStep::kOwn;
    ctx_.Monit("Liczba boków");
  }

  Reply Typed(const std::string& entry) override {
    if (step_ == Step::kSides) {
      const std::optional<double> n = ParsujLiczbe(commands::Wrapped(entry));
      if (!n || *n != std::floor(*n) || *n < kFewestSides || *n > kMostSides) {
        return Reply::Said("Liczba boków musi być całkowita, od 3 do 1000.");
      }
      sides_ = static_cast<int>(*n);
      step_ = Step::kCentre;
      centre_step_ = CentreStep::kCentre;
      return Reply::Said("Wprowadzono liczbę boków " + std::to_string(sides_));
    }
    if (centre_step_ == CentreStep::kCentre && IsSwitch(entry, 'B')) {
      centre_step_ = CentreStep::kOwn;
      step_ = Step::kSideStart;
      // The machine asks for " X , Y" after a typed entry: the message says which point.
      return Reply::Said("Pierwszy punkt boku");
    }
    if (step_ == Step::kVertex && IsSwitch(entry, 'O')) {
      midpoint_ = true;
      return Reply::Said("Środek boku zamiast wierzchołka");
    }
    if (step_ == Step::kVertex || step_ == Step::kSideStart || step_ == Step::kSideEnd) {
      if (auto p = ParsujPunkt(commands::Wrapped(entry))) {
        StepPoint(p->point);
        return Reply::Said("Wprowadzono wsp. ");
      }
      return {};
    }
    return TypedCentre(entry);
  }

  bool Claims(std::string_view upper_entry) const override {
    return step_ == Step::kVertex && upper_entry == "O";
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (step_ == Step::kSideStart) {
      StepPoint(ctx_.PointedWithoutOrtho(x, y));
    } else if (step_ == Step::kVertex || step_ == Step::kSideEnd) {
      StepPoint(ctx_.Pointed(x, y, Ortho()));
    }
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kSideStart) return PreviewCentre(x, y, "PIERWSZY PUNKT BOKU");
    if (step_ == Step::kVertex || step_ == Step::kSideEnd) {
      ctx_.RestoreView();
      const Placement placed = Placed(ctx_.Pointed(x, y, Ortho()));
      const std::vector<Point>& corners = Corners(placed);
      const ViewTransform& view = ctx_.scene().view;
      for (size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i];
        const Point b = corners[(i + 1) % corners.size()];
        DrawSegment(ctx_.overlay(), view, commands::kRed, commands::kRubberThickness, a.x, a.y, b.x,
                    b.y);
      }
      ctx_.Label(x, y - 40, " R=" + Fixed(Radius(placed)));
      return true;
    }
    return centre_step_ == CentreStep::kCentre && PreviewCentre(x, y, "PUNKT ŚRODKOWY (b – bok)");
  }

 private:
  enum class Step { kSides, kCentre, kVertex, kSideStart, kSideEnd };

  // The centre and the first vertex; the others follow counter-clockwise.
  struct Placement {
    Point centre;
    Point vertex;
  };

  Awaited OwnAwaits() const override {
    if (step_ == Step::kSides) return Awaited::kValue;
    if (step_ == Step::kSideEnd) return Awaited::kSecondPoint;
    return step_ == Step::kVertex || step_ == Step::kSideStart ? Awaited::kFirstPoint
                                                               : Awaited::kNothing;
  }

  void AfterCentre() override {
    step_ = Step::kVertex;
    ctx_.Monit("Wierzchołek (o – środek boku)");
  }

  static double Radius(const Placement& p) {
    return PointDistance(p.centre.x, p.centre.y, p.vertex.x, p.vertex.y);
  }

  // Where the polygon goes for the point of the step: a vertex, the midpoint of a side, or the
  // second end of the side from side_start_ (the polygon on the left of the way to it).
  Placement Placed(Point p) const {
    const double half_angle = kPi / sides_;
    if (step_ == Step::kSideEnd) {
      const Point a = p1_;
      const double side = PointDistance(a.x, a.y, p.x, p.y);
      if (!(side > 0)) return {a, a};
      const double apothem = side / (2 * std::tan(half_angle));
      const Point left{-(p.y - a.y) / side, (p.x - a.x) / side};
      return {{(a.x + p.x) / 2 + apothem * left.x, (a.y + p.y) / 2 + apothem * left.y}, a};
    }
    if (!midpoint_) return {p0_, p};
    // The side's ends lie half a side's angle either way of its midpoint, farther out.
    const double r = PointDistance(p0_.x, p0_.y, p.x, p.y) / std::cos(half_angle);
    const double a = std::atan2(p.y - p0_.y, p.x - p0_.x) - half_angle;
    return {p0_, {p0_.x + r * std::cos(a), p0_.y + r * std::sin(a)}};
  }

  // The vertices, the first at the placement's vertex, counter-clockwise about its centre, in
  // a buffer kept for the run: the preview asks for them at every mouse move.
  const std::vector<Point>& Corners(const Placement& placed) {
    const Point c = placed.centre;
    const double r = Radius(placed);
    const double start = std::atan2(placed.vertex.y - c.y, placed.vertex.x - c.x);
    corners_.clear();
    corners_.push_back(placed.vertex);
    for (int i = 1; i < sides_; ++i) {
      const double a = start + kTwoPi * i / sides_;
      corners_.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return corners_;
  }

  void StepPoint(Point p) {
    if (step_ == Step::kSideStart) {
      p1_ = orto_ = p;
      has_orto_ = true;
      step_ = Step::kSideEnd;
      ctx_.Monit("Drugi punkt boku");
      ctx_.Redraw();
      ctx_.LabelAtPoint(p, commands::XY(p));
      return;
    }
    const Placement placed = Placed(p);
    p0_ = placed.centre;
    (step_ == Step::kSideEnd ? p2_ : p1_) = p;
    Write(placed);
  }

  void Write(const Placement& placed) {
    const std::vector<Point>& corners = Corners(placed);
    WriterResult result;
    for (size_t i = 0; i < corners.size(); ++i) {
      WriterResult side = DodajLinie(corners[i], corners[(i + 1) % corners.size()], ctx_.Style());
      if (side.lines.empty()) {
        result = {{}, "Anulowano wielokąt.", {}};
        break;
      }
      result.lines.push_back(std::move(side.lines.front()));
    }
    if (!result.lines.empty()) {
      result.message = "Dodano wielokąt " + std::to_string(sides_) + " boków  " +
                       FormatXY(placed.centre.x, placed.centre.y) +
                       " R=" + Fixed(Radius(placed), kFixed2Pattern6);
    }
    ctx_.Apply(result);
    ctx_.Reset();
    ctx_.Redraw();
  }

  Step step_ = Step::kSides;
  int sides_ = 0;
  bool midpoint_ = false;  // the vertex step's point is a side's midpoint
  std::vector<Point> corners_;
};

}  // namespace

std::unique_ptr<Command> MakePolygon(CommandContext& ctx) { return std::make_unique<Polygon>(ctx); }

}  // namespace blok
