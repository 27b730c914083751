#pragma once

#include <string>
#include <string_view>

#include "interaction/commands/command.h"
#include "interaction/commands/common.h"
#include "interaction/commands/context.h"
#include "interaction/typed_input.h"

namespace blok {

// The commands that start from one point, a centre, an insertion point or a base point (circle,
// arc, text, rotate), then take a radius or an angle about it.
class CentreCommand : public Command {
 public:
  CentreCommand(CommandContext& ctx, std::string_view name) : ctx_(ctx), name_(name) {}

  OrthoReference Ortho() const override { return {orto_, has_orto_}; }
  void Describe(Wskaz& w) const override {
    w.Polecenie = name_;
    w.szukajP0 = awaiting_centre_;
    w.p0 = p0_;
    w.P1 = p1_;
    w.P2 = p2_;
    w.ORTOJest = orto_;
    w.maOrto = has_orto_;
  }

 protected:
  // What follows the centre: the next step and its prompt.
  virtual void AfterCentre() = 0;

  void StepCentre(Point point) {
    p0_ = orto_ = point;
    has_orto_ = true;
    awaiting_centre_ = false;
    AfterCentre();
    ctx_.host().Redraw();
    ctx_.LabelAtPoint(point, commands::XY(point));
  }
  void PressCentre(int x, int y) { StepCentre(ctx_.PointedWithoutOrtho(x, y)); }
  // The typed centre; empty when the entry is no point.
  std::string TypedCentre(const std::string& entry) {
    if (auto p = ParsujPunkt(commands::Wrapped(entry))) {
      StepCentre(p->point);
      return "Wprowadzono wsp. ";
    }
    return {};
  }
  // The centre's preview: the snapped cursor and what it is the point of.
  Point PreviewCentre(int x, int y) {
    ctx_.RestoreView();
    return ctx_.PointedWithoutOrtho(x, y);
  }

  CommandContext& ctx_;
  std::string_view name_;
  bool awaiting_centre_ = true;
  Point p0_ = kUnsetPoint;
  Point p1_ = kUnsetPoint;
  Point p2_ = kUnsetPoint;
  Point orto_ = kUnsetPoint;
  bool has_orto_ = false;
};

}  // namespace blok
