// sz: copies of the selection in rows and columns: the counts typed ("3,4"), then the row and
// column spacing typed ("2,1.5") or shown by a click where the next cell's corner goes.
#include "editing/array.h"

#include <algorithm>
#include <cmath>

#include "interaction/commands/common.h"
#include "interaction/commands/context.h"
#include "interaction/typed_input.h"

namespace blok {
namespace {

constexpr std::uint64_t kMostCopies = 10000;
// Past this many lines the preview shows the first cells only.
constexpr std::uint64_t kMostPreviewed = 2000;

class Array : public Command {
 public:
  explicit Array(CommandContext& ctx) : ctx_(ctx) {}

  Awaited Awaits() const override {
    return step_ == Step::kSelect ? Awaited::kSelection : Awaited::kValue;
  }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      step_ = Step::kCounts;
      ctx_.SetPickCursor(false);
      corner_ = SelectionCorner();
      ctx_.Monit("Wiersze , Kolumny");
    }
    return Released::kGoOn;
  }

  Reply Typed(const std::string& entry) override {
    const std::optional<TypedPoint> typed = ParsujPunkt(commands::Wrapped(entry));
    if (step_ == Step::kCounts) {
      if (!typed) return {};
      return Reply::Said(TakeCounts(typed->point.x, typed->point.y));
    }
    if (step_ == Step::kSpacing && typed) {
      Build(typed->point.x, typed->point.y);
      return Reply::Said("Wprowadzono odstępy");
    }
    return {};
  }

  void Press(int x, int y) override {
    if (step_ != Step::kSpacing) return;
    const Point p = ctx_.Pointed(x, y, {corner_, true});
    Build(p.y - corner_.y, p.x - corner_.x);
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kSelect) {
      ctx_.PickWithLabel(x, y, "Wskaż OBIEKT do powielenia", -20);
      return true;
    }
    if (step_ != Step::kSpacing) return false;
    ctx_.RestoreView();
    const Point p = ctx_.Pointed(x, y, {corner_, true});
    const double row_spacing = p.y - corner_.y;
    const double column_spacing = p.x - corner_.x;
    const std::uint64_t per_cell = ctx_.scene().selection.count;
    std::uint64_t shown = 0;
    for (int r = 0; r < rows_; ++r) {
      for (int c = 0; c < columns_ && shown <= kMostPreviewed; ++c) {
        ctx_.PreviewSelectionMove(static_cast<float>(c * column_spacing),
                                  static_cast<float>(r * row_spacing));
        shown += per_cell;
      }
    }
    ctx_.Label(x, y - 35,
               "dy=" + commands::Fixed(row_spacing) + " dx=" + commands::Fixed(column_spacing));
    return true;
  }

  void Describe(Wskaz& w) const override {
    w.Polecenie = "SZYK";
    w.szukaj = Awaits() == Awaited::kSelection;
  }

 private:
  enum class Step { kSelect, kCounts, kSpacing };

  std::string TakeCounts(double rows, double columns) {
    const auto whole = [](double v) { return v >= 1 && v <= 1e6 && v == std::floor(v); };
    if (!whole(rows) || !whole(columns)) {
      return "Liczby wierszy i kolumn muszą być całkowite, od 1.";
    }
    const std::uint64_t copies =
        ArrayLineCount(ctx_.scene().selection, static_cast<int>(rows), static_cast<int>(columns));
    if (copies > kMostCopies) {
      return "Szyk dodałby " + std::to_string(copies) + " obiektów, najwięcej można " +
             std::to_string(kMostCopies) + ".";
    }
    rows_ = static_cast<int>(rows);
    columns_ = static_cast<int>(columns);
    step_ = Step::kSpacing;
    ctx_.Monit("Odstęp wierszy , kolumn");
    return "Wprowadzono wiersze " + std::to_string(rows_) + ", kolumny " + std::to_string(columns_);
  }

  void Build(double row_spacing, double column_spacing) {
    const Scene s = ctx_.scene();
    if (ctx_.ApplyChanges(ArraySelection(s.drawing.records(), s.selection, rows_, columns_,
                                         row_spacing, column_spacing))) {
      ctx_.Komunikat("Dodano szyk " + std::to_string(rows_) + " x " + std::to_string(columns_));
    }
    ctx_.Reset();
    ctx_.Redraw();
  }

  // The lower left corner of the selected entities' boxes: a click puts the next cell's there.
  Point SelectionCorner() const {
    const Scene s = ctx_.scene();
    const auto records = s.drawing.records();
    const auto& flags = s.selection.flags;
    Point corner{0, 0};
    bool any = false;
    for (size_t i = 0; i < records.size() && i < flags.size(); ++i) {
      const WorldBox& box = records[i].box;
      if (!flags[i] || box.empty()) continue;
      corner = any ? Point{std::min(corner.x, box.left), std::min(corner.y, box.bottom)}
                   : Point{box.left, box.bottom};
      any = true;
    }
    return corner;
  }

  CommandContext& ctx_;
  Step step_ = Step::kSelect;
  int rows_ = 0;
  int columns_ = 0;
  Point corner_ = kUnsetPoint;
};

}  // namespace

std::unique_ptr<Command> MakeArray(CommandContext& ctx) { return std::make_unique<Array>(ctx); }

}  // namespace blok
