// The editor's commands as a hurried user runs them, without a window: every byte stream is a
// sequence of events (commands, typed values, clicks, moves and drags at world points, keys,
// undo and redo, snaps, blocks loaded and started, pastes), and every question and dialog is
// answered from the stream as well. After every event the drawing holds only lines that read
// as entities, besides those the block came with; at the end, undoing everything gives back the
// block as it was loaded or started, and redoing everything gives back the newest drawing.
//
// The stream, one event after another (an event's first byte modulo the number of events):
//   0 K      a command: row K of the command table, typed as its first keyword
//   1 X Y    a left click at the world point (X/4, Y/4), X and Y signed bytes
//   2 X Y    the mouse moved there           3 X Y X Y  a drag from one point to the other
//   4 N ...  N bytes typed and entered       5 X Y      a point typed, "x,y"
//   6 V      a number typed                  7 K        a key: F1, F4, F8, Esc
//   8        Cofnij                          9          Naprzód
//   10 S     the snaps, grid and ortho from the bits of S
//   11 B     block B of the library loaded   12         a new block
//   13 X Y   a right click                   14         the Delete key
//   15 X Y   a double click                  16 N ...   N bytes on the clipboard, then pasted
// Every run starts a fresh editor on the same library, so that a failure replays alone.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor.h"
#include "editor_driver.h"
#include "fuzz_support.h"
#include "interaction/commands/registry.h"
#include "model/parsed_entity.h"

namespace {

using blok::fuzz::CancellingUi;
using blok::fuzz::NullSurface;
using blok::fuzz::ProgramDir;
using blok::fuzz::Require;

constexpr size_t kMaxEvents = 80;
constexpr int kEvents = 17;

// The bytes of the run, read one at a time; past the end, zeros.
class Stream {
 public:
  Stream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int Signed() { return static_cast<int8_t>(Byte()); }
  std::string Text() {
    const size_t length = std::min<size_t>(Byte(), 40);
    std::string text;
    for (size_t i = 0; i < length; ++i) text.push_back(static_cast<char>(Byte()));
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Answers every question and dialog from the stream: a question by any of its buttons, a name
// typed or not, a colour or none, an entity dialog applied as filled or left. Files are never
// chosen: nothing is opened, and saving goes no further than the library already open.
class StreamUi : public CancellingUi {
 public:
  explicit StreamUi(Stream& stream) : stream_(stream) {}

  blok::Answer Ask(const blok::Question&) override {
    switch (stream_.Byte() % 3) {
      case 0:
        return blok::Answer::kTak;
      case 1:
        return blok::Answer::kNie;
      default:
        return blok::Answer::kKasuj;
    }
  }
  std::optional<std::string> AskText(std::string_view, std::string_view,
                                     std::string_view initial) override {
    switch (stream_.Byte() % 3) {
      case 0:
        return std::nullopt;
      case 1:
        return std::string(initial);
      default:
        return stream_.Text();
    }
  }
  std::optional<blok::Colour> ChooseColour(blok::Colour) override {
    if (stream_.Byte() % 2 == 0) return std::nullopt;
    return static_cast<blok::Colour>(stream_.Byte() * 0x010203u) & 0xFFFFFF;
  }
  bool EditLine(blok::LineDialogModel& model) override { return Applied(model); }
  bool EditCircle(blok::CircleDialogModel& model) override { return Applied(model); }
  bool EditText(blok::TextDialogModel& model) override { return Applied(model); }
  bool ChangeProperties(blok::PropertiesDialogModel& model) override { return Applied(model); }
  void PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) override {
    clipboard = {std::string(entities), std::string(plain_text)};
  }
  blok::ClipboardContents ReadClipboard() override { return clipboard; }

  blok::ClipboardContents clipboard;

 private:
  template <typename Model>
  bool Applied(Model& model) {
    return stream_.Byte() % 2 == 0 && model.Apply().has_value();
  }
  Stream& stream_;
};

std::vector<std::string> Lines(blok::Editor& editor) {
  const auto lines = editor.block().drawing().lines();
  return {lines.begin(), lines.end()};
}

class Run {
 public:
  Run(const ProgramDir& program, const uint8_t* data, size_t size)
      : stream_(data, size), ui_(stream_), editor_(program.dir(), ui_, surface_) {
    Require(editor_.Start().has_value());
    editor_.OfferRecovery();
    editor_.view().FirstShow();
    editor_.OtworzOstatniPlik(program.library().string());
    Require(editor_.block().tools_enabled());
    Started();
  }

  void Events() {
    for (size_t count = 0; count < kMaxEvents && !stream_.done(); ++count) {
      Event(stream_.Byte() % kEvents);
      editor_.PaintPendingFrame();
      // A block loaded or started: the lines it came with are its own, read or not.
      if (!editor_.block().journal().CanUndo() && !editor_.block().journal().CanRedo()) {
        Started();
      }
      for (const std::string& line : Lines(editor_)) {
        const blok::ParsedEntity entity = blok::ParseEntity(line);
        Require((entity.kind != blok::EntityKind::kNone && entity.valid()) ||
                loaded_.contains(line));
      }
    }
  }

  // Every change taken back gives the block as it came; every one made again, the newest
  // drawing the history holds.
  void UndoAndRedoEverything() {
    editor_.CommandKey(blok::Key::kEscape);
    RedoEverything();
    const std::vector<std::string> newest = Lines(editor_);
    for (size_t i = 0; i < 100000 && editor_.block().journal().CanUndo(); ++i) {
      editor_.block().BCofnijClick();
    }
    Require(!editor_.block().journal().CanUndo());
    Require(Lines(editor_) == start_);
    RedoEverything();
    Require(Lines(editor_) == newest);
  }

 private:
  void RedoEverything() {
    for (size_t i = 0; i < 100000 && editor_.block().journal().CanRedo(); ++i) {
      editor_.block().BPrzodClick();
    }
    Require(!editor_.block().journal().CanRedo());
  }

  void Started() {
    start_ = Lines(editor_);
    loaded_ = std::set<std::string>(start_.begin(), start_.end());
  }

  // A world point of signed bytes, a quarter of a unit apart, as a pixel of the view.
  blok::PixelPoint Pixel() {
    const double x = stream_.Signed() / 4.0;
    const double y = stream_.Signed() / 4.0;
    const blok::ViewTransform& view = editor_.view().transform();
    return {view.WorldToScreenX(x), view.WorldToScreenY(y)};
  }

  void Click(blok::MouseButton button, blok::PixelPoint p) {
    editor_.MouseMove(p.x, p.y);
    editor_.MouseDown(button, p.x, p.y);
    editor_.MouseUp(button, p.x, p.y);
  }

  void Event(int event) {
    switch (event) {
      case 0: {
        const auto commands = blok::Commands();
        return editor_.CommandEntered(
            blok::ControlText(commands[stream_.Byte() % commands.size()]));
      }
      case 1:
        return Click(blok::MouseButton::kLeft, Pixel());
      case 2: {
        const blok::PixelPoint p = Pixel();
        return editor_.MouseMove(p.x, p.y);
      }
      case 3: {
        const blok::PixelPoint a = Pixel();
        const blok::PixelPoint b = Pixel();
        editor_.MouseMove(a.x, a.y);
        editor_.MouseDown(blok::MouseButton::kLeft, a.x, a.y);
        editor_.MouseMove(b.x, b.y);
        editor_.MouseUp(blok::MouseButton::kLeft, b.x, b.y);
        return;
      }
      case 4:
        return editor_.CommandEntered(stream_.Text());
      case 5: {
        const int x = stream_.Signed();
        const int y = stream_.Signed();
        return editor_.CommandEntered(std::to_string(x / 4.0) + "," + std::to_string(y / 4.0));
      }
      case 6:
        return editor_.CommandEntered(std::to_string(stream_.Signed() / 8.0));
      case 7: {
        constexpr blok::Key kKeys[] = {blok::Key::kF1, blok::Key::kF4, blok::Key::kF8,
                                       blok::Key::kEscape};
        return editor_.CommandKey(kKeys[stream_.Byte() % 4]);
      }
      case 8:
        return editor_.block().BCofnijClick();
      case 9:
        return editor_.block().BPrzodClick();
      case 10: {
        const uint8_t bits = stream_.Byte();
        constexpr blok::Snap kSnaps[] = {blok::Snap::kEnd, blok::Snap::kMiddle,
                                         blok::Snap::kIntersection, blok::Snap::kCentre};
        for (size_t i = 0; i < std::size(kSnaps); ++i) {
          editor_.preferences().SetSnap(kSnaps[i], (bits >> i & 1) != 0);
        }
        editor_.preferences().SetGridSnap((bits & 16) != 0);
        editor_.preferences().SetOrtho((bits & 32) != 0);
        return;
      }
      case 11:
        editor_.library().SelectBlock(stream_.Byte() % 3);
        return editor_.WczytajWybranyBlok();
      case 12:
        return editor_.NowyBlok();
      case 13:
        return Click(blok::MouseButton::kRight, Pixel());
      case 14:
        return editor_.DeleteKey();
      case 15: {
        const blok::PixelPoint p = Pixel();
        return editor_.DoubleClick(p.x, p.y);
      }
      case 16: {
        std::string text = stream_.Text();
        ui_.clipboard = {stream_.Byte() % 2 == 0 ? std::optional<std::string>(text) : std::nullopt,
                         text};
        return editor_.CommandEntered("wk");
      }
    }
  }

  Stream stream_;
  StreamUi ui_;
  NullSurface surface_;
  blok::Editor editor_;
  std::vector<std::string> start_;
  std::set<std::string> loaded_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ProgramDir program;
  program.RestoreLibrary();
  Run run(program, data, size);
  run.Events();
  run.UndoAndRedoEverything();
  return 0;
}
