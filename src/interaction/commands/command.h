#pragma once

#include <memory>
#include <string>

#include "interaction/snap.h"
#include "interaction/wskaz.h"

namespace blok {

// What a command made of a typed entry offered as the value its step waits for.
struct Consumed {
  std::string message;  // the interpreter's pending message; empty: not a usable value
  bool value = false;   // the entry was taken as a value without a message of its own
};

// What a release after a selection gesture left for the machine to do.
enum class Released {
  kGoOn,      // the machine ends the frame and asks for a point if the command waits for one
  kFinished,  // the command has ended itself; nothing more is done
};

// One interactive command while it runs: its own steps, the step functions that a click and a
// typed value share, the preview of the step and what the "WSKAZ?" overlay shows of it. The
// machine hands it every event in the order the interpreter and the mouse handling fix; a
// command that ends itself calls CommandContext::Reset and touches nothing of its own after.
class Command {
 public:
  virtual ~Command() = default;

  // The entry as the value of the step; nothing taken by default.
  virtual Consumed Typed(const std::string& /*entry*/) { return {}; }
  // The left button pressed (after the machine started a selection frame, if Selecting()).
  virtual void Press(int /*x*/, int /*y*/) {}
  // The preview of the step while the mouse moves; false when the step has none.
  virtual bool Preview(int /*x*/, int /*y*/) { return false; }
  // The left button released while Selecting().
  virtual Released Release(int /*x*/, int /*y*/) { return Released::kGoOn; }
  // A displacement from the relative-coordinate panel.
  virtual void Relative(double /*dx*/, double /*dy*/) {}
  // Objects are being selected: a press starts a selection frame.
  virtual bool Selecting() const { return false; }
  // The reference of ortho and of the rubber band.
  virtual OrthoReference Ortho() const { return {}; }
  // The command's name, steps and points as the overlay and the tests read them.
  virtual void Describe(Wskaz& w) const = 0;
};

}  // namespace blok
