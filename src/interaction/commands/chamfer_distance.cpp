// fa: two lines cut back from their crossing by typed distances (the last pair offered again)
// and joined by a line in the colour and thickness in force; distances 0 and 0 make the sharp
// corner of f.
#include <utility>

#include "editing/chamfer_offset.h"
#include "interaction/commands/common.h"
#include "interaction/commands/two_line_corner.h"
#include "interaction/typed_input.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

constexpr std::string_view kFirstLine = "Wskaż pierwszą linię do fazki";
constexpr std::string_view kSecondLine = "Wskaż drugą linię do fazki";

// "d1;d2" with either decimal separator in each; "d1,d2" read as a typed point is read, the
// comma between the two; one number is both. Nothing when the entry is none of them.
std::optional<std::pair<double, double>> TypedDistances(const std::string& entry) {
  if (const size_t semicolon = entry.find(';'); semicolon != std::string::npos) {
    const std::optional<double> d1 = TypedNumber(entry.substr(0, semicolon));
    const std::optional<double> d2 = TypedNumber(entry.substr(semicolon + 1));
    if (!d1 || !d2) return std::nullopt;
    return std::pair{*d1, *d2};
  }
  if (entry.find(',') != std::string::npos) {
    const std::optional<TypedPoint> pair = ParsujPunkt(commands::Wrapped(entry));
    if (!pair || !pair->rest.empty()) return std::nullopt;
    return std::pair{pair->point.x, pair->point.y};
  }
  const std::optional<double> both = TypedNumber(entry);
  if (!both) return std::nullopt;
  return std::pair{*both, *both};
}

// A pair as the prompt offers it and as it may be typed back: "1,00;2,50".
std::string PairText(double d1, double d2) {
  return Fixed(d1, kFixed2Pattern8) + ";" + Fixed(d2, kFixed2Pattern8);
}

class DistanceChamferCommand : public TwoLineCorner {
 public:
  explicit DistanceChamferCommand(CommandContext& ctx)
      : TwoLineCorner(ctx, "FAZKA", {kFirstLine, kSecondLine, kFirstLine, kSecondLine}) {
    const CommandContext::Memory& m = ctx_.memory();
    ctx_.Monit("Odległości fazki <" + PairText(m.chamfer_first, m.chamfer_second) + ">");
  }

  Reply Typed(const std::string& entry) override {
    // The distances may be typed again until the first line is picked.
    if (step_ == Step::kSecond) return {};
    CommandContext::Memory& m = ctx_.memory();
    if (entry.find_first_not_of(' ') != std::string::npos) {
      const auto pair = TypedDistances(entry);
      if (!pair) return {};
      if (pair->first < 0 || pair->second < 0) {
        return Reply::Said("Odległość nie może być ujemna.");
      }
      m.chamfer_first = pair->first;
      m.chamfer_second = pair->second;
    }
    AwaitLine(Step::kFirst);
    return Reply::Said("Wprowadzono odległości " + PairText(m.chamfer_first, m.chamfer_second));
  }

 private:
  std::expected<DistanceChamfer, std::string> Result(int second, Point click) const {
    const CommandContext::Memory& m = ctx_.memory();
    return ChamferByDistances(ctx_.scene().drawing.records(), first_, second, click_, click,
                              m.chamfer_first, m.chamfer_second);
  }

  std::expected<Corner, std::string> Make(int second, Point click) const override {
    auto chamfer = Result(second, click);
    if (!chamfer) return std::unexpected(chamfer.error());
    const CommandContext::Memory& m = ctx_.memory();
    Corner corner{std::move(chamfer->changes),
                  "Sfazowano linie " + PairText(m.chamfer_first, m.chamfer_second)};
    if (Joined(*chamfer)) {
      WriterResult joining = DodajLinie(chamfer->first_end, chamfer->second_end, ctx_.Style());
      if (joining.lines.empty()) return std::unexpected(joining.message);
      corner.changes.push_back({EditChange::Kind::kAdd, -1, std::move(joining.lines.front())});
    }
    return corner;
  }

  static bool Joined(const DistanceChamfer& chamfer) {
    return chamfer.first_end.x != chamfer.second_end.x ||
           chamfer.first_end.y != chamfer.second_end.y;
  }

  // The two lines as they would be, and the joining line, drawn over the drawing.
  void PreviewCorner(int second, Point click) override {
    auto chamfer = Result(second, click);
    if (!chamfer) return;
    ctx_.PreviewLines(chamfer->changes);
    if (!Joined(*chamfer)) return;
    const Point a = chamfer->first_end;
    const Point b = chamfer->second_end;
    DrawSegment(ctx_.overlay(), ctx_.scene().view, commands::kRed, commands::kRubberThickness, a.x,
                a.y, b.x, b.y);
  }
};

}  // namespace

std::unique_ptr<Command> MakeDistanceChamfer(CommandContext& ctx) {
  return std::make_unique<DistanceChamferCommand>(ctx);
}

}  // namespace blok
