#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "interaction/snap.h"
#include "interaction/wskaz.h"

namespace blok {

// What a typed entry was taken as: by the running command, offered it as the value its step
// waits for, and in the end by the interpreter.
enum class Taken {
  kUnknown,      // no value of the step (and, in the end, no command either)
  kQuietly,      // taken with nothing to say but the echo: a text, a factor, the overlay switch
  kWithMessage,  // taken, or refused with the reason: the message follows the echo
};

struct Reply {
  Taken taken = Taken::kUnknown;
  std::string message;  // kWithMessage: the message

  static Reply Quietly() { return {Taken::kQuietly, {}}; }
  static Reply Said(std::string message) { return {Taken::kWithMessage, std::move(message)}; }
};

// What the step of a running command waits for. The point steps ask for " X , Y" in the
// prompt; a selection step starts a selection frame at every press. The names in brackets are
// the flags the "WSKAZ?" overlay shows for the step.
enum class Awaited {
  kNothing,
  kSelection,    // objects, by a click or a frame
  kObject,       // one object, by a click on it
  kSide,         // a click on the side to offset toward
  kCentre,       // a centre, insertion point or base point (szukajP0)
  kFirstPoint,   // a first point, or a polygon's vertex (szukajP1)
  kSecondPoint,  // a second point (szukajP2)
  kRadius,       // typed, or the distance to a click (szukajR)
  kAngle,        // the start angle of an arc, the angle of a text or a rotation (szukajA1)
  kEndAngle,     // the end angle of an arc (szukajA2)
  kValue,        // other numbers, typed: sides, rows and columns, spacing, a factor
  kText,         // the string of a text (SzukTekst)
};

constexpr bool IsPoint(Awaited awaited) {
  return awaited == Awaited::kCentre || awaited == Awaited::kFirstPoint ||
         awaited == Awaited::kSecondPoint;
}

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

  // What the step waits for.
  virtual Awaited Awaits() const = 0;
  // The entry as the value of the step; nothing taken by default.
  virtual Reply Typed(const std::string& /*entry*/) { return {}; }
  // Whether the step takes this upper-case keyword as its own switch (wi's "o" after the
  // centre) rather than letting it start its command.
  virtual bool Claims(std::string_view /*upper_entry*/) const { return false; }
  // The left button pressed (after the machine started a selection frame, if a selection is
  // awaited).
  virtual void Press(int /*x*/, int /*y*/) {}
  // The preview of the step while the mouse moves; false when the step has none.
  virtual bool Preview(int /*x*/, int /*y*/) { return false; }
  // The left button released while a selection is awaited.
  virtual Released Release(int /*x*/, int /*y*/) { return Released::kGoOn; }
  // A displacement from the relative-coordinate panel.
  virtual void Relative(double /*dx*/, double /*dy*/) {}
  // The reference of ortho and of the rubber band.
  virtual OrthoReference Ortho() const { return {}; }
  // The command's name, points and own step flags as the overlay and the tests read them; the
  // machine sets the flags of what is awaited.
  virtual void Describe(Wskaz& /*w*/) const {}
};

}  // namespace blok
