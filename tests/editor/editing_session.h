#pragma once

#include <string>
#include <vector>

#include "editor/editor_fixture.h"

namespace blok::testing {

// One step of a session: a typed entry, a click at a world point, or a window drag.
struct Step {
  enum Kind { kType, kClick, kDrag } kind;
  std::string text;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
inline Step Type(std::string text) { return {Step::kType, std::move(text)}; }
inline Step ClickAt(double x, double y) { return {Step::kClick, "", x, y}; }
inline Step DragFrom(double x1, double y1, double x2, double y2) {
  return {Step::kDrag, "", x1, y1, x2, y2};
}

struct Session {
  const char* label;
  std::vector<std::string> drawing;  // oldest first
  std::vector<Step> steps;
  std::vector<std::string> lines;  // the drawing afterwards, line 0 first
};

// Editing commands driven as a user drives them: typed commands, clicks on entities and points
// of the grid, drags of a selection window, typed values.
class EditingSessionTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    OpenLibrary();
    editor_.view().FirstShow();
    editor_.PaintPendingFrame();
    editor_.preferences().SetGridSnap(true);
  }

  // A fresh block holding these lines, oldest first (the last one ends up as line 0).
  void Draw(const std::vector<std::string>& lines) {
    if (editor_.block().unsaved()) ui_.answers.push_back(Answer::kNie);
    editor_.NowyBlok();
    for (const std::string& line : lines) editor_.block().DodajObiekt(line);
    editor_.PaintPendingFrame();
  }

  PixelPoint Pixel(double x, double y) {
    return {editor_.view().transform().WorldToScreenX(x),
            editor_.view().transform().WorldToScreenY(y)};
  }
  void Click(double x, double y) {
    const PixelPoint p = Pixel(x, y);
    editor_.MouseMove(p.x, p.y);
    editor_.MouseDown(MouseButton::kLeft, p.x, p.y);
    editor_.MouseUp(MouseButton::kLeft, p.x, p.y);
  }
  void Drag(double x1, double y1, double x2, double y2) {
    const PixelPoint a = Pixel(x1, y1);
    const PixelPoint b = Pixel(x2, y2);
    editor_.MouseMove(a.x, a.y);
    editor_.MouseDown(MouseButton::kLeft, a.x, a.y);
    editor_.MouseMove(b.x, b.y);
    editor_.MouseUp(MouseButton::kLeft, b.x, b.y);
  }
  std::vector<std::string> Lines() {
    const auto& lines = editor_.block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  size_t Records() { return editor_.block().journal().lines().size() / 5; }
  // Cofnij until every record made since `before` records is undone (one click takes back one
  // command's changes).
  void UndoSince(size_t before) {
    for (int clicks = 0; clicks < 100 && static_cast<size_t>(editor_.block().journal().position() /
                                                             5) < Records() - before;
         ++clicks) {
      editor_.block().BCofnijClick();
    }
  }

  // Types, clicks and drags the steps in order.
  void Perform(const std::vector<Step>& steps);
};

inline void EditingSessionTest::Perform(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    switch (step.kind) {
      case Step::kType:
        editor_.CommandEntered(step.text);
        break;
      case Step::kClick:
        Click(step.x1, step.y1);
        break;
      case Step::kDrag:
        Drag(step.x1, step.y1, step.x2, step.y2);
        break;
    }
  }
}

}  // namespace blok::testing
