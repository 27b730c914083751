#pragma once

#include <string>
#include <string_view>

#include "interaction/commands/command.h"
#include "interaction/commands/context.h"

namespace blok {

// The commands that take a first and a second point (line, rectangle, measure, offset's
// distance, move, copy, stretch): the two steps that a click and a typed point share, and the
// rubber band between them. A bare typed number at the first step is a distance along x from
// the origin.
class TwoPointCommand : public Command {
 public:
  TwoPointCommand(CommandContext& ctx, std::string_view name) : ctx_(ctx), name_(name) {}

  Awaited Awaits() const override;
  Reply Typed(const std::string& entry) override;
  void Press(int x, int y) override;
  bool Preview(int x, int y) override;
  OrthoReference Ortho() const override { return {orto_, has_orto_}; }
  void Describe(Wskaz& w) const override;

 protected:
  enum class PointStep { kNone, kFirst, kSecond };

  // What the second point does; it may end the command.
  virtual void Second() = 0;
  // The selection drawn displaced while a point is awaited (move, copy, stretch).
  virtual void PreviewShift(double /*dx*/, double /*dy*/) {}
  // The rubber band from the first point to the snapped cursor: a line unless the command
  // draws another shape.
  virtual void RubberBand(Point cursor);
  // What the second point at the snapped cursor would make (mirror).
  virtual void PreviewSecond(Point /*cursor*/) {}

  std::string StepFirst(Point point);
  std::string StepSecond(Point point);

  CommandContext& ctx_;
  std::string_view name_;
  PointStep point_step_ = PointStep::kFirst;
  Point p1_ = kUnsetPoint;
  Point p2_ = kUnsetPoint;
  Point orto_ = kUnsetPoint;
  bool has_orto_ = false;
};

}  // namespace blok
