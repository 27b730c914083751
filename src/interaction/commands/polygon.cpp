// wi: a regular polygon by its number of sides, its centre and one vertex, added as one line a
// side with the colour and thickness in force.
#include <cmath>

#include "interaction/commands/centre.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

constexpr int kFewestSides = 3;
constexpr int kMostSides = 1000;

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
    if (step_ == Step::kVertex) {
      if (auto p = ParsujPunkt(commands::Wrapped(entry))) {
        StepVertex(p->point);
        return Reply::Said("Wprowadzono wsp. ");
      }
      return {};
    }
    return TypedCentre(entry);
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (step_ == Step::kVertex) {
      StepVertex(ctx_.Pointed(x, y, Ortho()));
    }
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kVertex) {
      ctx_.RestoreView();
      const Point p = ctx_.Pointed(x, y, Ortho());
      const std::vector<Point>& corners = Corners(p);
      const ViewTransform& view = ctx_.scene().view;
      for (size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i];
        const Point b = corners[(i + 1) % corners.size()];
        DrawSegment(ctx_.overlay(), view, commands::kRed, commands::kRubberThickness, a.x, a.y, b.x,
                    b.y);
      }
      ctx_.Label(x, y - 40, " R=" + Fixed(PointDistance(p0_.x, p0_.y, p.x, p.y)));
      return true;
    }
    return centre_step_ == CentreStep::kCentre && PreviewCentre(x, y, "PUNKT ŚRODKOWY");
  }

 private:
  enum class Step { kSides, kCentre, kVertex };

  Awaited OwnAwaits() const override {
    if (step_ == Step::kSides) return Awaited::kValue;
    return step_ == Step::kVertex ? Awaited::kFirstPoint : Awaited::kNothing;
  }

  void AfterCentre() override {
    step_ = Step::kVertex;
    ctx_.Monit("Wierzchołek");
  }

  // The vertices, the first at `vertex`, counter-clockwise about the centre, in a buffer kept
  // for the run: the preview asks for them at every mouse move.
  const std::vector<Point>& Corners(Point vertex) {
    const double r = PointDistance(p0_.x, p0_.y, vertex.x, vertex.y);
    const double start = std::atan2(vertex.y - p0_.y, vertex.x - p0_.x);
    std::vector<Point>& corners = corners_;
    corners.clear();
    corners.push_back(vertex);
    for (int i = 1; i < sides_; ++i) {
      const double a = start + kTwoPi * i / sides_;
      corners.push_back({p0_.x + r * std::cos(a), p0_.y + r * std::sin(a)});
    }
    return corners;
  }

  void StepVertex(Point vertex) {
    p1_ = vertex;
    const std::vector<Point>& corners = Corners(vertex);
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
      result.message =
          "Dodano wielokąt " + std::to_string(sides_) + " boków  " + FormatXY(p0_.x, p0_.y) +
          " R=" + Fixed(PointDistance(p0_.x, p0_.y, vertex.x, vertex.y), kFixed2Pattern6);
    }
    ctx_.Apply(result);
    ctx_.Reset();
    ctx_.Redraw();
  }

  Step step_ = Step::kSides;
  int sides_ = 0;
  std::vector<Point> corners_;
};

}  // namespace

std::unique_ptr<Command> MakePolygon(CommandContext& ctx) { return std::make_unique<Polygon>(ctx); }

}  // namespace blok
