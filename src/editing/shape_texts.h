#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/entity.h"

namespace blok {

// How the lines given are written: as a library file holds them, or as they are in memory.
enum class LineCoding { kCp1250, kUtf8 };

// The canonical texts of a drawing's shapes, as DrawingKey makes them, from lines as a library
// holds them (CP1250) or as memory holds them (UTF-8), walked from the last line up as the colour
// and thickness commands rule. Shapes written plainly, as nearly every library line is, are read
// straight off their digits, and commands met before are not read again; any other line goes
// through the full reading, so the texts are always the ones CanonicalText gives.
class ShapeTexts {
 public:
  explicit ShapeTexts(LineCoding coding = LineCoding::kCp1250) : coding_(coding) {}

  // A new drawing, from its last line: black and 0.1 in force.
  void Restart() { defaults_ = ReadingDefaults{}; }

  // The line just above the ones given since Restart: the canonical text of its shape (valid
  // until the next call), or nothing when it draws nothing.
  std::optional<std::string_view> Above(std::string_view line);
  // ShapeTextHash of what Above gives, found faster.
  std::optional<std::uint64_t> AboveHash(std::string_view line);

  // The text of a plain line, rectangle or circle that names its own colour and thickness,
  // which no command below it changes, wherever it stands; nothing for any other line.
  std::optional<std::string_view> Alone(std::string_view line);
  // ShapeTextHash of what Alone gives, found faster.
  std::optional<std::uint64_t> AloneHash(std::string_view line);

  // A line as it comes, for a signature: the hash of its text when it stands alone (as
  // AloneHash; a plain text or arc too, when its tail is one met before), the hash of its body
  // (inherits) when it is a shape written plainly without a tail, waiting only for the colour
  // and thickness in force; nothing for any other line, which is to be read at the end.
  struct QuickShape {
    std::uint64_t hash;
    bool inherits;
  };
  std::optional<QuickShape> Quick(std::string_view line);
  // The hash of the text of a line whose body Quick hashed, with the colour and thickness in
  // force; nothing when it draws nothing.
  std::optional<std::uint64_t> InheritedHash(std::uint64_t body_hash);

 private:
  // Longer lines are rare enough to leave to the full reading; the text of a shorter one fits.
  static constexpr size_t kLongestPlainLine = 160;

  std::optional<std::uint64_t> AloneHashOfOther(std::string_view line, size_t body);
  // body: the length of the line's canonical body, 0 when it has none (CanonicalBodyLength).
  bool Plain(std::string_view line, bool alone, size_t body);
  const char* PlainArcBody(std::string_view line);
  const char* PlainTextBody(std::string_view line);
  bool PlainTextOrArc(std::string_view line, const char* tail);
  std::uint64_t HashOfText(std::string_view text) const;
  bool PlainTail(const char* in, const char* end, char* out, bool alone);
  struct Inherited;
  const Inherited* InheritedTail();
  std::optional<QuickShape> QuickTextOrArc(std::string_view line, const char* tail_from);
  std::optional<std::string_view> ThicknessText(std::string_view field);
  std::optional<std::string_view> ThicknessText(float thickness);

  LineCoding coding_;
  ReadingDefaults defaults_;
  // Room for a text's characters written in UTF-8, three bytes for one of the code page's.
  std::array<char, 4 * kLongestPlainLine> plain_;
  std::string text_;
  std::string_view text_view_;
  // Thickness texts met before: a library uses a handful of thicknesses on every line. A
  // deque, so that the texts stay where they are as more are met.
  std::deque<std::pair<std::string, std::string>> thickness_fields_;
  std::deque<std::pair<float, std::string>> thickness_values_;
  // Tails that name both colour and thickness, as written and as the writer writes them.
  static constexpr size_t kTailsKept = 16;
  struct Tail {
    std::string written, text;
    std::uint64_t hash;  // of text
  };
  std::vector<Tail> tails_;
  // The tail of the last line that named no colour nor thickness, for the ones in force.
  struct Inherited {
    Colour colour;
    float thickness;
    std::string text;
    std::uint64_t hash;
  };
  std::optional<Inherited> inherited_;
  // Of the last plain text made: the length of its body, and the hash of its tail.
  size_t body_length_ = 0;
  std::optional<std::uint64_t> tail_hash_;
  // Colour and thickness commands met before, with what the full reading made of them.
  static constexpr size_t kCommandsKept = 16;
  static constexpr size_t kLongestKeptCommand = 40;
  struct KnownCommand {
    std::string line;
    std::optional<Colour> colour;
    std::optional<float> thickness;
  };
  std::vector<KnownCommand> commands_;
};

// A hash of a shape's canonical text.
std::uint64_t ShapeTextHash(std::string_view text);

// What stands for a drawing's DrawingKey when drawings are sorted into those that may be the
// same: one hash of its shapes' texts, in any order, and how many there are. Drawings with the
// same key have the same signature; two with the same signature are the same only when their
// keys say so.
struct DrawingSignature {
  std::uint64_t hash = 0;
  std::size_t shapes = 0;
  bool operator==(const DrawingSignature&) const = default;
};

// A drawing's signature made from its lines as they come, first to last, as a library is read:
// the lines that stand alone are taken at once, the others kept until the drawing ends, to be
// read from the last up.
class SignatureBuilder {
 public:
  explicit SignatureBuilder(LineCoding coding = LineCoding::kCp1250) : texts_(coding) {}
  void Start();
  void Line(std::string_view line);
  DrawingSignature Finish();

 private:
  void Add(std::uint64_t hash);

  ShapeTexts texts_;
  // The lines kept for the end, one after another; and for each, where it ends, or the hash
  // of its body when its text waits only for the colour and thickness in force.
  struct Held {
    size_t end;
    std::uint64_t body_hash;
    bool inherits;
  };
  std::string held_text_;
  std::vector<Held> held_;
  DrawingSignature signature_;
};

// DrawingKey of lines as they are written, CP1250 or UTF-8: the same key, without converting
// the lines or reading the plain ones in full.
std::string DrawingKeyOf(std::span<const std::string_view> lines,
                         LineCoding coding = LineCoding::kCp1250);
// The same through texts that may have read other drawings before, and know their tails.
std::string DrawingKeyOf(std::span<const std::string_view> lines, ShapeTexts& texts);

// The signature of a drawing whose lines are all at hand.
DrawingSignature SignatureOf(std::span<const std::string_view> lines,
                             LineCoding coding = LineCoding::kCp1250);
DrawingSignature SignatureOf(std::span<const std::string> lines, LineCoding coding);

}  // namespace blok
