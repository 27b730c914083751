#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "editing/edit_change.h"
#include "interaction/commands/command.h"
#include "interaction/entity_writers.h"
#include "interaction/interaction_host.h"
#include "interaction/snap.h"
#include "view/canvas.h"

namespace blok {

class CommandMachine;

// What a running command may use: the scene it reads, the point input with its snaps, picking,
// the overlay's labels and previews, the one road of its changes into the journal, and the few
// things it asks of the window. Owned by the machine for the whole run.
class CommandContext {
 public:
  CommandContext(InteractionHost& host, CommandMachine& machine) : host_(host), machine_(machine) {}

  // The drawing, view, font, reading defaults, settings and selection, for this event.
  Scene scene() const { return host_.scene(); }
  // The library's blocks, the block's unit and the clipboard, as InteractionHost says.
  InteractionHost& host() { return host_; }

  // Ends the running command as Esc does.
  void Reset();
  // Asks for a value in L_Polecenie: "Wprowadz " and the text.
  void Monit(std::string_view text);

  // The point input: the cursor snapped to objects, the grid or (full) ortho, with its marker
  // and label drawn on the overlay; without ortho for the first point of a command.
  Point Pointed(int x, int y, const OrthoReference& ortho);
  Point PointedWithoutOrtho(int x, int y);
  Point Raw(int x, int y) const;

  // The entity under the pixel, highlighted on the overlay; -1 when none is within reach.
  int Pick(int x, int y);
  // The same with the entity's thickness shown beside it.
  int PickShowingThickness(int x, int y);
  // A readable line of the drawing.
  bool IsLine(int index) const;
  // Selects into the selection list by the gesture from the frame's press to (x, y): whether
  // the step has its selection. A gesture with Shift adds to what earlier ones gathered (a
  // click on a selected entity takes it out), says the count and lets the step wait on; the
  // next gesture without Shift adds what it catches and ends the step.
  bool SelectByGesture(int x, int y);
  // Whether the gesture under way adds to a selection rather than making one: Shift is held,
  // or Shift gathered a selection in this step.
  bool growing() const { return adding_ || gathered_; }

  void RestoreView();
  Canvas& overlay();
  void Label(int px, int py, std::string_view text);
  // The hover pick of a command that waits for a click on one object, with what to pick.
  void PickWithLabel(int x, int y, std::string_view label, int offset);
  // The selection's lines drawn as they would be after the step (in place for a zero shift).
  void PreviewSelectionMove(double dx, double dy);
  // The selected entities highlighted where they are: drawn dotted in their own colour over
  // their solid selves they would not show.
  void ShowSelection();
  // The lines of an operation's changes drawn as they would be written (stretch, mirror,
  // fillet).
  void PreviewLines(const EditChanges& changes);
  // Entity `index` drawn dotted in place.
  void ShowEntity(int index);
  // A point's label at its own pixel.
  void LabelAtPoint(Point p, std::string_view text);

  // The colour and thickness in force for new entities.
  EntityStyle Style() const;
  // Adds what a writer made, through the journal, and reports it; a conversion error goes to
  // a message box.
  void Apply(const WriterResult& result);
  // An operation's changes, through the journal, in order; false when none were applied.
  bool ApplyChanges(EditChanges changes) { return host_.ApplyChanges(std::move(changes)); }

  // What a command asks of the window, as InteractionHost says.
  void Komunikat(std::string text) { host_.Komunikat(std::move(text)); }
  void Redraw() { host_.Redraw(); }
  void SetPickCursor(bool pick) { host_.SetPickCursor(pick); }
  void SetPrompt(std::string_view caption) { host_.SetPrompt(caption); }
  void ShowRelativePanel(bool visible) { host_.ShowRelativePanel(visible); }
  void ShowMessageBox(std::string_view text) { host_.ShowMessageBox(text); }
  void OpenEntityEditor(int index) { host_.OpenEntityEditor(index); }
  void ChangeProperties() { host_.ChangeProperties(); }

  // The selection frame: started by a press while a command selects, ended by the release.
  bool framing() const { return framing_; }
  PixelPoint frame_start() const { return frame_start_; }
  void StartFrame(int x, int y) {
    frame_start_ = {x, y};
    framing_ = true;
  }
  void EndFrame() { framing_ = false; }

  // What commands remember between their runs, for the whole run of the program.
  struct Memory {
    double fillet_radius = 0;
    // fa's distances, on the first and on the second line picked.
    double chamfer_first = 1;
    double chamfer_second = 1;
  };
  Memory& memory() { return memory_; }

 private:
  // Shift's part, for the machine that routes the mouse and the command line.
  friend class CommandMachine;
  // Whether the gesture under way adds (Shift held).
  void SetAdding(bool adding) { adding_ = adding; }
  // Whether Shift gathered a selection that is not empty, for empty Enter to end.
  bool HasGathered() { return gathered_ && !host_.selection().empty(); }
  // While set, a gesture takes the gathered selection as it is, catching nothing.
  void TakeGathered(bool take) { taking_gathered_ = take; }
  // The gathered selection drawn dotted: the overlay has just been wiped.
  void ShowGathered();
  // Every reset forgets it.
  void ForgetGathered() { adding_ = gathered_ = taking_gathered_ = false; }

  InteractionHost& host_;
  CommandMachine& machine_;
  PixelPoint frame_start_;
  bool framing_ = false;
  bool adding_ = false;
  bool gathered_ = false;
  bool taking_gathered_ = false;
  Selection caught_;  // what one gesture caught, before it is added to the selection
  Memory memory_;
};

}  // namespace blok
