// The editor driven as a user drives it: typed entries, control texts, keys, the relative panel,
// mouse presses, drags and the wheel anywhere on or off the paint box, the view buttons, the snap
// switches and the setting boxes, undo and redo, frames drawn in between. Whatever comes in, it
// must never crash.
//
// The input is a script, one operation a line: the first byte says what, the rest is its text.
//   >TEXT  typed entry (Enter in E_Polecenie)      !TEXT  control text (kControlTexts)
//   kK     key: 1 F1, 4 F4, 8 F8, e Esc            dP DX|DY  relative panel, P: p polar, - not
//   DB X Y / UB X Y  mouse down / up, B: l m r     M X Y  move       C X Y  double click
//   w N    wheel notches                           zZ  zoom: i in, o out, a all, w window, p pan
//   sSV    switch S (e m i c g o d b) to V (0 1)   g/G/t/h/x TEXT  grid step, grid size,
//   cN     colour                                   thickness, text height, text width
//   u / r  undo / redo                             f  paint the pending frame
//   bN     load block N of the library             n  new block      q  Rezygnuj
//   S W H  resize the paint box and show it again
// Every run starts a fresh editor on the same library, so that a crash replays alone.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "editor/editor.h"
#include "editor/ui.h"
#include "editor_driver.h"
#include "fuzz_support.h"
#include "view/null_canvas.h"
#include "view/surface.h"

namespace {

using blok::fuzz::CancellingUi;
using blok::fuzz::NullSurface;
using blok::fuzz::ProgramDir;
using blok::fuzz::Require;

constexpr size_t kMaxOperations = 64;

constexpr std::string_view kControlTexts[] = {"l",   "p",  "o",  "a",  "t",  "mo", "co", "u",
                                              "ro",  "sc", "f",  "tr", "w",  "od", "ob", "ed",
                                              "odl", "?",  "lu", "za", "sz", "wi"};

// Reads the numbers of an operation's text one after another; what is not a number reads as 0,
// and a number beyond int saturates, as a far pixel would.
class Numbers {
 public:
  explicit Numbers(std::string_view text) : text_(text) {}
  int Next() {
    const std::string token = Token();
    const long long value = std::strtoll(token.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
  }

 private:
  std::string Token() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ' ') ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }
  std::string_view text_;
  size_t pos_ = 0;
};

blok::MouseButton Button(char c) {
  switch (c) {
    case 'l':
      return blok::MouseButton::kLeft;
    case 'm':
      return blok::MouseButton::kMiddle;
    case 'r':
      return blok::MouseButton::kRight;
    default:
      return static_cast<blok::MouseButton>(static_cast<unsigned char>(c) % 3);
  }
}

std::string ControlText(std::string_view text) {
  for (const std::string_view control : kControlTexts) {
    if (control == text) return std::string(control);
  }
  unsigned sum = 0;
  for (const char c : text) sum += static_cast<unsigned char>(c);
  return std::string(kControlTexts[sum % std::size(kControlTexts)]);
}

void Switch(blok::Editor& editor, char which, bool on) {
  switch (which) {
    case 'e':
      return editor.preferences().SetSnap(blok::Snap::kEnd, on);
    case 'm':
      return editor.preferences().SetSnap(blok::Snap::kMiddle, on);
    case 'i':
      return editor.preferences().SetSnap(blok::Snap::kIntersection, on);
    case 'c':
      return editor.preferences().SetSnap(blok::Snap::kCentre, on);
    case 'g':
      return editor.preferences().SetGridSnap(on);
    case 'o':
      return editor.preferences().SetOrtho(on);
    case 'd':
      return editor.preferences().SetDrawGrid(on);
    case 'b':
      return editor.preferences().SetBasePoint(on);
  }
}

void Run(blok::Editor& editor, NullSurface& surface, char op, std::string_view text) {
  const char first = text.empty() ? '\0' : text.front();
  const std::string_view rest = text.empty() ? text : text.substr(1);
  switch (op) {
    case '>':
      return editor.CommandEntered(std::string(text));
    case '!':
      return editor.ControlCommand(ControlText(text));
    case 'k': {
      constexpr blok::Key kKeys[] = {blok::Key::kF1, blok::Key::kF4, blok::Key::kF8,
                                     blok::Key::kEscape};
      switch (first) {
        case '1':
          return editor.CommandKey(blok::Key::kF1);
        case '4':
          return editor.CommandKey(blok::Key::kF4);
        case '8':
          return editor.CommandKey(blok::Key::kF8);
        case 'e':
          return editor.CommandKey(blok::Key::kEscape);
      }
      return editor.CommandKey(kKeys[static_cast<unsigned char>(first) % 4]);
    }
    case 'd': {
      const size_t bar = rest.find('|');
      const std::string_view dx = rest.substr(0, bar);
      const std::string_view dy = bar == std::string_view::npos ? "" : rest.substr(bar + 1);
      return editor.WprowadzDxDy(dx, dy, first == 'p');
    }
    case 'D': {
      Numbers n(rest);
      const int x = n.Next();
      return editor.MouseDown(Button(first), x, n.Next());
    }
    case 'U': {
      Numbers n(rest);
      const int x = n.Next();
      editor.MouseUp(Button(first), x, n.Next());
      return;
    }
    case 'M': {
      Numbers n(text);
      const int x = n.Next();
      return editor.MouseMove(x, n.Next());
    }
    case 'C': {
      Numbers n(text);
      const int x = n.Next();
      return editor.DoubleClick(x, n.Next());
    }
    case 'w':
      return editor.view().Wheel(Numbers(text).Next());
    case 'W': {
      // The Widok menu's options, told by the first character's low bits, then a wheel at a
      // pixel and a block loaded.
      editor.view().options().zoom_at_cursor = (first & 1) != 0;
      editor.view().options().fit_after_load = (first & 2) != 0;
      Numbers n(rest);
      const int notches = n.Next();
      const int x = n.Next();
      editor.view().Wheel(notches, x, n.Next());
      return editor.WczytajWybranyBlok();
    }
    case 'z':
      switch (first) {
        case 'i':
          return editor.view().ZoomIn();
        case 'o':
          return editor.view().ZoomOut();
        case 'a':
          return editor.view().ZoomAll();
        case 'w':
          return editor.view().BeginZoomWindow();
        case 'p':
          return editor.view().BeginPan();
      }
      return;
    case 's':
      return Switch(editor, first, !rest.empty() && rest.front() == '1');
    case 'g':
      return editor.preferences().SetGridStepText(text);
    case 'G':
      return editor.preferences().SetGridSizeText(text);
    case 't':
      editor.preferences().SetThicknessText(text);
      return;
    case 'h':
      editor.preferences().SetTextHeightText(text);
      return;
    case 'x':
      editor.preferences().SetTextWidthText(text);
      return;
    case 'c':
      // The colour dialog gives 0x00BBGGRR only.
      return editor.preferences().SetColour(static_cast<blok::Colour>(Numbers(text).Next()) &
                                            0xFFFFFF);
    case 'u':
      return editor.block().BCofnijClick();
    case 'r':
      return editor.block().BPrzodClick();
    case 'f':
      return editor.PaintPendingFrame();
    case 'b': {
      const int index = Numbers(text).Next();
      editor.library().SelectBlock(index < 0 ? std::nullopt : std::optional<size_t>(index));
      return editor.WczytajWybranyBlok();
    }
    case 'n':
      return editor.NowyBlok();
    case 'q':
      return editor.Rezygnuj();
    case 'S': {
      // A paint box is never negative, but it may be squeezed to nothing.
      Numbers n(text);
      const int width = std::clamp(n.Next(), 0, 8000);
      surface.Resize(width, std::clamp(n.Next(), 0, 8000));
      return editor.view().FirstShow();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ProgramDir program;
  CancellingUi ui;
  NullSurface surface;
  blok::Editor editor(program.dir(), ui, surface);
  Require(editor.Start().has_value());
  editor.OfferRecovery();
  editor.view().FirstShow();
  editor.OtworzOstatniPlik(program.library().string());
  Require(editor.block().tools_enabled());
  editor.PaintPendingFrame();

  const std::string_view script(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  for (size_t count = 0; count < kMaxOperations && start < script.size(); ++count) {
    size_t end = script.find('\n', start);
    if (end == std::string_view::npos) end = script.size();
    const std::string_view line = script.substr(start, end - start);
    start = end + 1;
    if (!line.empty()) Run(editor, surface, line.front(), line.substr(1));
  }
  editor.PaintPendingFrame();
  return 0;
}
