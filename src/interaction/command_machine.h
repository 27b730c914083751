#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/commands/command.h"
#include "interaction/commands/context.h"
#include "interaction/interaction_host.h"
#include "interaction/wskaz.h"
#include "view/canvas.h"

namespace blok {

struct CommandRow;

// The typed command line and the running command: the interpreter's stages, and the press,
// move and release handling, each handed on to the command that runs. The commands themselves
// are units of commands/, found through the registry. The Editor forwards what pan and zoom did
// not take.
class CommandMachine {
 public:
  explicit CommandMachine(InteractionHost& host) : host_(host), ctx_(host, *this) {}

  // The running command's state as the "WSKAZ?" overlay shows it, built from its step.
  const Wskaz& wskaz() const;
  // What the running command's step waits for; nothing when none runs.
  Awaited awaits() const;
  // Whether the command that an upper-case keyword starts is the one running.
  bool Runs(std::string_view upper_keyword) const;

  // Tab in the command line: what the typed text completes to, a block's name while the step
  // asks for one, else a command's keyword; nothing when none or several fit.
  std::optional<std::string> Complete(std::string_view typed) const;

  // Resets the running command.
  void AnulujPolecenie();
  // A block of the library dropped on Podglad at the pixel: the running command reset, the
  // block placed there as a click would place it.
  void DropBlock(const std::string& name, int x, int y);
  // Shows a prompt in L_Polecenie.
  void Monit(std::string_view text);
  // Interprets one entry: what it was taken as. An entry sent by a control (button, menu item,
  // F1, the help label) is never taken as a value: it always starts its command.
  Taken WykonajPolecenie(const std::string& entry, bool from_control = false);
  // The relative-coordinate panel's values, as typed.
  void WprowadzDxDy(std::string_view dx_text, std::string_view dy_text, bool polar);

  // The left button pressed on Podglad (not taken by pan or zoom); adding: with Shift held,
  // which in a selection step adds to the selection.
  void Press(int x, int y, bool adding = false);
  // The mouse moved over Podglad (not taken by pan or zoom): the selection frame being dragged,
  // or the preview of the step.
  void Move(int x, int y);
  // The left button released (not taken by pan or zoom): the end of a selection gesture.
  void Release(int x, int y, bool adding = false);
  // A double click: the entity under the last press in its dialog, whatever command runs.
  void DoubleClick();

  // The state overlay, written into the image at every redraw while "WSKAZ?" has it on.
  void DrawStateOverlay(Canvas& image) const;

 private:
  // Starts the row's command, if it makes one; its start message.
  std::string StartCommand(const CommandRow& row);
  bool Selecting() const { return awaits() == Awaited::kSelection; }

  InteractionHost& host_;
  CommandContext ctx_;
  std::unique_ptr<Command> running_;
  const CommandRow* running_row_ = nullptr;  // whose command running_ is
  // A command that ended itself lives on until the event that ended it is over.
  std::unique_ptr<Command> retired_;
  bool pokaz_stan_ = false;  // the state overlay; survives every reset
  PixelPoint press_;         // the last press of the left button
  mutable Wskaz state_;
};

}  // namespace blok
