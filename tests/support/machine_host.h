#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/journal.h"
#include "interaction/interaction_host.h"
#include "support/editing_support.h"
#include "support/fake_surface.h"

namespace blok::testing {

// The Editor's part as the machine sees it: a drawing behind a journal, the view of
// HundredPixelView(), an empty font, and the message pane and prompt as lists.
class FakeHost : public InteractionHost {
 public:
  explicit FakeHost(std::vector<std::string> lines) { drawing_.Load(std::move(lines)); }

  Scene scene() override { return {drawing_, view_, font_, defaults_, settings_, selection_}; }
  bool BlockOpen() const override { return open; }
  Selection& selection() override { return selection_; }
  bool ApplyChanges(EditChanges changes) override {
    ::blok::testing::Apply(journal_, changes);
    return true;
  }
  void Komunikat(std::string text) override { messages.push_back(std::move(text)); }
  void SetOstatniePolecenie(std::string) override {}
  void Redraw() override {}
  Surface& surface() override { return surface_; }
  void OpenEntityEditor(int) override {}
  void ChangeProperties() override {}
  void SetPickCursor(bool) override {}
  void SetPrompt(std::string_view caption) override { prompt = caption; }
  void FocusCommandEntry() override {}
  void ShowRelativePanel(bool) override {}
  void ShowHelp(const std::vector<std::string>&) override {}
  void ShowMessageBox(std::string_view) override {}

  bool open = true;
  std::vector<std::string> messages;
  std::string prompt;

 private:
  Drawing drawing_;
  Journal journal_{drawing_};
  ViewTransform view_ = HundredPixelView();
  StrokeFont font_;
  ReadingDefaults defaults_;
  Settings settings_;
  Selection selection_;
  FakeSurface surface_;
};

// Two lines that meet at the origin: one along x, one along y, half a unit each.
inline const std::vector<std::string> kCorner = {"L(0,0)-(0.5,0)", "L(0,0)-(0,0.5)"};

}  // namespace blok::testing
