#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/drawing.h"
#include "editing/edit_change.h"
#include "interaction/settings.h"
#include "interaction/wskaz.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/surface.h"
#include "view/view_transform.h"

namespace blok {

// What the command machine needs of the Editor that owns it: the drawing and the one door for
// changing it, the message pane, the view, and the few things it asks of the window.
class InteractionHost {
 public:
  virtual ~InteractionHost() = default;

  // A block file is open, so drawing commands may start.
  virtual bool BlockOpen() const = 0;
  virtual const Drawing& drawing() const = 0;
  virtual void DodajObiekt(std::string line) = 0;
  virtual void Komunikat(std::string text) = 0;
  virtual void Redraw() = 0;
  virtual const Settings& settings() const = 0;
  virtual const ViewTransform& view() const = 0;
  virtual Surface& surface() = 0;
  virtual const StrokeFont* font() const = 0;
  virtual void SetOstatniePolecenie(std::string entry) = 0;
  // The selection list and flags, emptied by every reset.
  virtual Selection& selection() = 0;
  // What the last redraw left: the colour and thickness of lines that give none.
  virtual const ReadingDefaults& reading_defaults() const = 0;
  // An operation's changes, through the journal, in order.
  virtual void ApplyChanges(EditChanges changes) = 0;
  // The entity's dialog, filled from its line; confirmed, it rewrites the line.
  virtual void OpenEntityEditor(int index) = 0;
  // "Zmiana cech" for the selection.
  virtual void ChangeProperties() = 0;

  virtual void SetPickCursor(bool pick) = 0;
  virtual void SetPrompt(std::string_view caption) = 0;
  virtual void FocusCommandEntry() = 0;
  virtual void ShowRelativePanel(bool visible) = 0;
  virtual void ShowHelp(const std::vector<std::string>& lines) = 0;
  virtual void ShowMessageBox(std::string_view text) = 0;
};

// The typed command line and the step machine of the interactive commands: the interpreter,
// the typed values, the steps that mouse presses and typed values share, and the preview
// that follows the mouse. The Editor forwards what pan and zoom did not take.
class CommandMachine {
 public:
  explicit CommandMachine(InteractionHost& host) : host_(host) {}

  const Wskaz& wskaz() const { return wskaz_; }
  const TekstRoboczy& tekst_roboczy() const { return tekst_roboczy_; }

  // Resets the running command.
  void AnulujPolecenie();
  // Shows a prompt in L_Polecenie.
  void Monit(std::string_view text);
  // Interprets one entry. An entry sent by a control (button, menu item, F1, the help label)
  // is never taken as a value: it always starts its command.
  void WykonajPolecenie(const std::string& entry, bool from_control = false);
  // The relative-coordinate panel's values, as typed.
  void WprowadzDxDy(std::string_view dx_text, std::string_view dy_text, bool polar);

  // The left button pressed on Podglad (not taken by pan or zoom).
  void Press(int x, int y);
  // The mouse moved over Podglad (not taken by pan or zoom): the selection frame being dragged,
  // or the preview of the step.
  void Move(int x, int y);
  // The left button released (not taken by pan or zoom): the end of a selection.
  void Release(int x, int y);
  // A double click: the entity under the last press in its dialog, whatever command runs.
  void DoubleClick();

  // The state overlay, written into the image at every redraw while "WSKAZ?" has it on.
  void DrawStateOverlay(Canvas& image) const;

  static const std::vector<std::string>& HelpLines();

 private:
  struct Consumed {
    std::string message;  // the interpreter's pending message; empty: not a usable value
    bool value = false;   // the entry was taken as a value without a message of its own
  };

  // The typed-argument stage: hands the entry to the running command as a value.
  Consumed TypedArgument(const std::string& entry);
  // The keyword table; nothing when the entry is no keyword.
  std::optional<std::string> StartCommand(const std::string& upper_entry);
  // L(...)-(...), P(...)-(...) and T(x,y) text; nothing when the entry is none of them.
  std::optional<std::string> DirectEntry(const std::string& entry);

  // The steps that a click and a typed value share.
  void KrokP0(Point point);
  std::string KrokP1(Point point);
  std::string KrokP2(Point point);
  void KrokR(float r);
  void KrokA1(float a);
  void KrokA2(double side, float a);

  // Adds what a writer made and reports it; a conversion error goes to a message box.
  void Apply(const struct WriterResult& result);
  struct EntityStyle Style() const;

  // The point input: the cursor snapped to objects, the grid or (full) ortho, with its marker
  // and label drawn on the overlay.
  Point PunktWskazany(int x, int y);
  Point PunktBezOrto(int x, int y);
  Point RawPoint(int x, int y) const;
  struct SnapSettings Snaps() const;

  // Press-step blocks and preview rows; see the tables in the .cpp.
  void PressOffsetSide(int x, int y);
  void PressOffsetObject(int x, int y);
  void PressPointStep(int x, int y);
  void PressScaleBase(int x, int y);
  void PressEdit(int x, int y);
  void PressChamferSecond(int x, int y);
  void PressChamferFirst(int x, int y);
  void PressTrimObject(int x, int y);
  void PressTrimEdge(int x, int y);
  void PressExtendObject(int x, int y);
  void PressExtendEdge(int x, int y);
  using LineOperation = EditChanges (*)(std::span<const ParsedEntity> records, int edge, int object,
                                        Point click);
  void PressEdgeObject(bool Wskaz::*object_stage, LineOperation operation, int x, int y);
  void PressEdge(bool Wskaz::*edge_stage, bool Wskaz::*object_stage, int x, int y);
  bool PreviewRotation(int x, int y);
  bool PreviewChamfer(int x, int y);
  bool PreviewOffsetSide(int x, int y);
  bool PreviewPickLabel(int x, int y);
  bool PreviewScaleBase(int x, int y);
  bool PreviewEdgeObject(int x, int y);
  bool PreviewEdit(int x, int y);
  bool PreviewRadius(int x, int y);
  bool PreviewTextAngle(int x, int y);
  bool PreviewArcStart(int x, int y);
  bool PreviewArcEnd(int x, int y);
  bool PreviewSecondPoint(int x, int y);
  bool PreviewFirstPoint(int x, int y);
  bool PreviewCentre(int x, int y);

  void Label(int px, int py, std::string_view text);
  // The entity under the pixel, highlighted on the overlay; -1 when none is within reach.
  int Pick(int x, int y);
  bool IsLine(int index) const;
  // The selection's lines drawn as they would be after the step (in place for a zero shift).
  void PreviewSelectionMove(double dx, double dy);
  void PreviewSelectionStretch(double dx, double dy);
  // Moves, copies or stretches the selection by the displacement, then resets.
  void ApplyDisplacement(float dx, float dy);
  // Selects into the selection list by the gesture from the press to (x, y).
  bool SelectByGesture(int x, int y);
  // Draws the entity obiekt1 dotted in place.
  void ShowObject1();
  void DrawWorkingText(Canvas& canvas, double x, double y, float angle);

  InteractionHost& host_;
  Wskaz wskaz_;
  TekstRoboczy tekst_roboczy_;
  PixelPoint press_;  // the last press of the left button
  PixelPoint frame_start_;
};

}  // namespace blok
