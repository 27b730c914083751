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

  Awaited Awaits() const override {
    if (centre_step_ == CentreStep::kCentre) return Awaited::kCentre;
    return centre_step_ == CentreStep::kRadius ? Awaited::kRadius : OwnAwaits();
  }
  OrthoReference Ortho() const override { return {orto_, has_orto_}; }
  void Describe(Wskaz& w) const override {
    w.Polecenie = name_;
    w.p0 = p0_;
    w.P1 = p1_;
    w.P2 = p2_;
    w.ORTOJest = orto_;
    w.maOrto = has_orto_;
  }

 protected:
  // What the unit's own steps wait for.
  virtual Awaited OwnAwaits() const { return Awaited::kNothing; }
  // What follows the centre: the next step and its prompt.
  virtual void AfterCentre() = 0;

  void StepCentre(Point point) {
    p0_ = orto_ = point;
    has_orto_ = true;
    centre_step_ = CentreStep::kOwn;
    AfterCentre();
    ctx_.Redraw();
    ctx_.LabelAtPoint(point, commands::XY(point));
  }
  void PressCentre(int x, int y) { StepCentre(ctx_.PointedWithoutOrtho(x, y)); }
  // The typed centre, when the step waits for it and the entry is a point.
  Reply TypedCentre(const std::string& entry) {
    if (centre_step_ != CentreStep::kCentre) return {};
    auto p = ParsujPunkt(commands::Wrapped(entry));
    if (!p) return {};
    StepCentre(p->point);
    return Reply::Said("Wprowadzono wsp. ");
  }
  // The centre's preview: the snapped cursor and what it is the point of.
  Point PreviewCentre(int x, int y) {
    ctx_.RestoreView();
    return ctx_.PointedWithoutOrtho(x, y);
  }
  bool PreviewCentre(int x, int y, std::string_view label) {
    PreviewCentre(x, y);
    ctx_.Label(x, y - 40, label);
    return true;
  }

  // The radius step of a circle or an arc: a typed number or the distance to a click.
  virtual void AfterRadius() {}
  void StepRadius(float r) {
    centre_step_ = CentreStep::kOwn;
    r_ = r;
    AfterRadius();
    ctx_.Redraw();
  }
  Reply TypedRadius(const std::string& entry) {
    auto r = ParsujLiczbe(commands::Wrapped(entry));
    if (!r) return {};
    StepRadius(static_cast<float>(*r));
    return Reply::Said("Wprowadzono promien R=" + commands::Fixed(*r, kFixed2Pattern8));
  }
  void PressRadius(int x, int y) {
    p1_ = ctx_.Pointed(x, y, Ortho());
    StepRadius(static_cast<float>(PointDistance(p0_.x, p0_.y, p1_.x, p1_.y)));
  }
  // The rubber circle through the cursor.
  void PreviewRadius(int x, int y);

  CommandContext& ctx_;
  std::string_view name_;
  // Where the shared steps stand; kOwn: at one of the unit's own steps.
  enum class CentreStep { kOwn, kCentre, kRadius };
  CentreStep centre_step_ = CentreStep::kCentre;
  Point p0_ = kUnsetPoint;
  Point p1_ = kUnsetPoint;
  Point p2_ = kUnsetPoint;
  Point orto_ = kUnsetPoint;
  bool has_orto_ = false;
  float r_ = 0;
};

}  // namespace blok
