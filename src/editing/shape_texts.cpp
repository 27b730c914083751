#include "editing/shape_texts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "editing/canonical.h"
#include "editing/plain_scan.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/entity_writer.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"

namespace blok {

using plain_scan::BodyTailHash;
using plain_scan::CanonicalBodyLength;
using plain_scan::HashBytes;
using plain_scan::Mix;
using plain_scan::PlainCursor;

std::uint64_t ShapeTextHash(std::string_view text) {
  // The body and the tail apart: a line written as the writer writes it keeps its body as it
  // is, and its tail is one of a few.
  const size_t tail = std::min(text.find(';'), text.size());
  const char* const end = text.data() + text.size();
  return BodyTailHash(text.substr(0, tail), end, Mix(HashBytes(text.substr(tail), end)));
}

std::optional<std::uint64_t> ShapeTexts::AloneHash(std::string_view line) {
  // Alone, a line names its thickness: a line without one (and nearly every line that leaves
  // its colour and thickness to the commands below it) is passed over at once.
  if (line.size() <= 2 || line.size() > kLongestPlainLine || line[1] != '(' ||
      (line[0] != 'L' && line[0] != 'P' && line[0] != 'O') ||
      line.find(";GR(") == std::string_view::npos) {
    return std::nullopt;
  }
  // Most lines of a library were written by the writer: their body is its canonical body, and
  // their tail one of a few, whose text and hash are known.
  const size_t body = CanonicalBodyLength(line);
  if (body > 0) {
    const std::string_view tail = line.substr(body);
    for (const Tail& known : tails_) {
      if (known.written == tail) {
        return BodyTailHash(line.substr(0, body), line.data() + line.size(), known.hash);
      }
    }
  }
  return AloneHashOfOther(line, body);
}

// AloneHash of a line, rectangle or circle naming its thickness whose body is not canonical
// (body 0) or whose tail is not one met before.
std::optional<std::uint64_t> ShapeTexts::AloneHashOfOther(std::string_view line, size_t body) {
  if (!Plain(line, true, body)) return std::nullopt;
  return HashOfText(text_view_);
}

std::optional<std::string_view> ShapeTexts::Alone(std::string_view line) {
  if (line.size() > 2 && line[1] == '(' && (line[0] == 'L' || line[0] == 'P' || line[0] == 'O') &&
      Plain(line, true, CanonicalBodyLength(line))) {
    return text_view_;
  }
  return std::nullopt;
}

std::optional<std::string_view> ShapeTexts::Above(std::string_view line) {
  if (line.size() > 2 && line[1] == '(') {
    const char kind = line[0];
    if ((kind == 'L' || kind == 'P' || kind == 'O') &&
        Plain(line, false, CanonicalBodyLength(line))) {
      return text_view_;
    }
    if (kind == 'T' && PlainTextOrArc(line, PlainTextBody(line))) return text_view_;
  } else if (line.starts_with("LUK(") && PlainTextOrArc(line, PlainArcBody(line))) {
    return text_view_;
  }
  // A library sets its colours and thicknesses with a handful of commands, written alike.
  const bool command =
      line.size() <= kLongestKeptCommand && (line.starts_with("K(") || line.starts_with("GR("));
  if (command) {
    for (const KnownCommand& known : commands_) {
      if (known.line != line) continue;
      if (known.colour) defaults_.colour = *known.colour;
      if (known.thickness) defaults_.thickness = *known.thickness;
      return std::nullopt;
    }
  }
  // The code page's first half is ASCII, as UTF-8's is: such a line needs no conversion.
  const bool ascii = std::all_of(line.begin(), line.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  const ParsedEntity entity =
      coding_ == LineCoding::kUtf8 || ascii ? ParseEntity(line) : ParseEntity(Cp1250ToUtf8(line));
  if (const auto* c = std::get_if<ColourRecord>(&entity.record)) {
    if (command && commands_.size() < kCommandsKept) {
      commands_.push_back(
          {std::string(line), c->valid ? std::optional(c->colour) : std::nullopt, std::nullopt});
    }
    if (c->valid) defaults_.colour = c->colour;
    return std::nullopt;
  }
  if (const auto* t = std::get_if<ThicknessRecord>(&entity.record)) {
    if (command && commands_.size() < kCommandsKept) {
      commands_.push_back(
          {std::string(line), std::nullopt, t->valid ? std::optional(t->thickness) : std::nullopt});
    }
    if (t->valid) defaults_.thickness = t->thickness;
    return std::nullopt;
  }
  if (!IsShape(entity)) return std::nullopt;
  auto text = CanonicalText(Resolved(entity, defaults_));
  if (!text) return std::nullopt;
  text_ = std::move(*text);
  return text_view_ = text_;
}

std::optional<std::uint64_t> ShapeTexts::AboveHash(std::string_view line) {
  tail_hash_.reset();
  const auto text = Above(line);
  if (!text) return std::nullopt;
  return HashOfText(*text);
}

std::uint64_t ShapeTexts::HashOfText(std::string_view text) const {
  // A plain line's tail, and so its hash, is known; the body is hashed as ShapeTextHash
  // would, up to the first ";" (which a text may hold before its tail).
  if (tail_hash_ && text.find(';') == body_length_) {
    return BodyTailHash(text.substr(0, body_length_), text.data() + text.size(), *tail_hash_);
  }
  return ShapeTextHash(text);
}

bool ShapeTexts::PlainTextOrArc(std::string_view line, const char* tail) {
  return tail != nullptr &&
         PlainTail(tail, line.data() + line.size(), plain_.data() + body_length_, false);
}

// A line, rectangle or circle without blanks, every number plain, and its tail nothing,
// ";K(r,g,b)" or ";K(r,g,b);GR(t)" as the writers write it: the reader would take its fields
// as they stand, so its canonical text is made from them here. Alone: only with both colour and
// thickness named.
bool ShapeTexts::Plain(std::string_view line, bool alone, size_t body) {
  // A blank is no part of a plain number nor of a plain tail, so a line with one never passes.
  if (line.size() > kLongestPlainLine) return false;
  // As the writer wrote it, the body is its own text.
  if (body > 0) {
    std::memcpy(plain_.data(), line.data(), body);
    return PlainTail(line.data() + body, line.data() + line.size(), plain_.data() + body, alone);
  }
  const char kind = line[0];
  PlainCursor c{line.data() + 2, line.data() + line.size(), plain_.data()};
  c.Put(kind);
  c.Put('(');
  if (kind == 'O') {
    if (!c.Field(',') || !c.Field(',') || !c.Field(')')) return false;
  } else {
    if (!c.Field(',') || !c.Field(')')) return false;
    // The reader passes over one character between the points, whatever it is.
    if (c.in == c.end) return false;
    ++c.in;
    if (!c.Take('(')) return false;
    c.Put("-(");
    if (!c.Field(',') || !c.Field(')')) return false;
  }
  return PlainTail(c.in, c.end, c.out, alone);
}

// The body of an arc written plainly, as Plain takes a circle's, written at the front of
// plain_; where its tail begins in the line, or nullptr. Its angles are read in degrees and written
// back from radians, which moves them by a trifle: only angles that have no decimal beyond the
// fourth to be rounded by that trifle are taken.
const char* ShapeTexts::PlainArcBody(std::string_view line) {
  if (line.size() > kLongestPlainLine) return nullptr;
  constexpr size_t kAngleDigits = 6;
  PlainCursor c{line.data() + 4, line.data() + line.size(), plain_.data()};
  c.Put("LUK(");
  if (!c.Field(',') || !c.Field(',') || !c.Field(',') || !c.Field(',', kAngleDigits, true) ||
      !c.Field(')', kAngleDigits, true)) {
    return nullptr;
  }
  body_length_ = static_cast<size_t>(c.out - plain_.data());
  return c.in;
}

// The body of a text written plainly, as PlainArcBody: a plain position, a text between two quotes
// with none inside it (a quote inside changes which blanks the reader keeps), and a plain height,
// width and angle. Those three are read as floats: only values below 1000 with at most 4 decimals
// are taken, which a float holds nearer than half the fourth decimal.
const char* ShapeTexts::PlainTextBody(std::string_view line) {
  if (line.size() > kLongestPlainLine) return nullptr;
  constexpr size_t kSingleDigits = 3;
  PlainCursor c{line.data() + 2, line.data() + line.size(), plain_.data()};
  c.Put("T(");
  if (!c.Field(',') || !c.Field(',') || !c.Take('\'')) return nullptr;
  const char* const close = std::find(c.in, c.end, '\'');
  if (c.end - close < 2 || close[1] != ',') return nullptr;
  const std::string_view text(c.in, static_cast<size_t>(close - c.in));
  // A line break in a text is refused by the writer; the full reading says so.
  if (text.find_first_of("\r\n") != std::string_view::npos) return nullptr;
  c.Put('\'');
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
  if (coding_ == LineCoding::kCp1250 && !ascii) {
    c.Put(Cp1250ToUtf8(text));
  } else {
    c.Put(text);
  }
  c.Put("',");
  c.in = close + 2;
  if (!c.Field(',', kSingleDigits, true) || !c.Field(',', kSingleDigits, true) ||
      !c.Field(')', kSingleDigits, true)) {
    return nullptr;
  }
  body_length_ = static_cast<size_t>(c.out - plain_.data());
  return c.in;
}

// The tail of a plain line from in to end, its text written at out behind the body's.
bool ShapeTexts::PlainTail(const char* in, const char* end, char* out, bool alone) {
  PlainCursor c{in, end, out};
  body_length_ = static_cast<size_t>(out - plain_.data());
  tail_hash_.reset();
  const auto done = [&](std::string_view text, std::uint64_t hash) {
    c.Put(text);
    tail_hash_ = hash;
    text_view_ = std::string_view(plain_.data(), static_cast<size_t>(c.out - plain_.data()));
    return true;
  };
  // The tail: a library has a handful, one on nearly every line, each with the same text.
  const std::string_view tail(c.in, static_cast<size_t>(c.end - c.in));
  for (const Tail& known : tails_) {
    if (known.written == tail) return done(known.text, known.hash);
  }
  // Lines without one take the colour and thickness in force.
  if (tail.empty() && !alone) {
    const Inherited* inherited = InheritedTail();
    return inherited != nullptr && done(inherited->text, inherited->hash);
  }
  char* const tail_from = c.out;
  // Else the colour and thickness it gives, or leaves to the commands below.
  Colour colour = defaults_.colour;
  std::optional<std::string_view> thickness_field;
  if (c.in != c.end) {
    if (!c.Take(';') || !c.Take('K') || !c.Take('(')) return false;
    const auto r = c.Component(',');
    if (!r) return false;
    const auto g = c.Component(',');
    if (!g) return false;
    const auto b = c.Component(')');
    if (!b) return false;
    colour = RgbColour(*r, *g, *b);
    if (c.in != c.end) {
      if (!c.Take(';') || !c.Take('G') || !c.Take('R') || !c.Take('(')) return false;
      const char* close = c.end - 1;
      if (close < c.in || *close != ')') return false;
      thickness_field = std::string_view(c.in, static_cast<size_t>(close - c.in));
      if (thickness_field->find(')') != std::string_view::npos) return false;
    }
  }
  if (alone && !thickness_field) return false;
  c.PutColour(colour);
  const std::optional<std::string_view> thickness =
      thickness_field ? ThicknessText(*thickness_field) : ThicknessText(defaults_.thickness);
  if (!thickness) return false;
  c.Put(*thickness);
  c.Put(')');
  const std::string_view text(tail_from, static_cast<size_t>(c.out - tail_from));
  if (thickness_field && tails_.size() < kTailsKept) {
    tails_.push_back({std::string(tail), std::string(text), Mix(HashBytes(text, c.out))});
    tail_hash_ = tails_.back().hash;
  }
  text_view_ = std::string_view(plain_.data(), static_cast<size_t>(c.out - plain_.data()));
  return true;
}

// The tail of a line that names no colour nor thickness, with the ones in force: the same for
// many lines. Nothing when the thickness in force is one the writer refuses, as it refuses
// the line then.
const ShapeTexts::Inherited* ShapeTexts::InheritedTail() {
  if (inherited_ && inherited_->colour == defaults_.colour &&
      std::memcmp(&inherited_->thickness, &defaults_.thickness, sizeof(float)) == 0) {
    return &*inherited_;
  }
  const std::optional<std::string_view> thickness = ThicknessText(defaults_.thickness);
  if (!thickness) return nullptr;
  std::array<char, 2 * kLongestPlainLine> text;
  PlainCursor c{nullptr, nullptr, text.data()};
  c.PutColour(defaults_.colour);
  c.Put(*thickness);
  c.Put(')');
  const std::string_view written(text.data(), static_cast<size_t>(c.out - text.data()));
  inherited_ = Inherited{defaults_.colour, defaults_.thickness, std::string(written),
                         Mix(HashBytes(written, text.data() + text.size()))};
  return &*inherited_;
}

std::optional<ShapeTexts::QuickShape> ShapeTexts::Quick(std::string_view line) {
  if (line.size() <= 2 || line.size() > kLongestPlainLine) return std::nullopt;
  if (line[0] == 'T' && line[1] == '(') return QuickTextOrArc(line, PlainTextBody(line));
  if (line.starts_with("LUK(")) return QuickTextOrArc(line, PlainArcBody(line));
  if (line[1] != '(' || (line[0] != 'L' && line[0] != 'P' && line[0] != 'O')) {
    return std::nullopt;
  }
  const size_t body = CanonicalBodyLength(line);
  const char* const end = line.data() + line.size();
  if (body == line.size()) return QuickShape{HashBytes(line, end), true};
  if (body > 0) {
    const std::string_view tail = line.substr(body);
    for (const Tail& known : tails_) {
      if (known.written == tail) {
        return QuickShape{BodyTailHash(line.substr(0, body), end, known.hash), false};
      }
    }
  }
  // Alone, a line names its thickness; one without is kept whole.
  if (line.find(";GR(") == std::string_view::npos) return std::nullopt;
  if (const auto hash = AloneHashOfOther(line, body)) return QuickShape{*hash, false};
  return std::nullopt;
}

// Quick for a text or an arc whose body is written at the front of plain_ and whose tail
// begins at tail: one met before, or none (when no ";" in the body would move where its hash
// splits the text).
std::optional<ShapeTexts::QuickShape> ShapeTexts::QuickTextOrArc(std::string_view line,
                                                                 const char* tail_from) {
  if (tail_from == nullptr) return std::nullopt;
  const std::string_view body(plain_.data(), body_length_);
  const std::string_view tail(tail_from,
                              static_cast<size_t>(line.data() + line.size() - tail_from));
  if (tail.empty()) {
    if (body.find(';') != std::string_view::npos) return std::nullopt;
    return QuickShape{HashBytes(body, plain_.data() + plain_.size()), true};
  }
  for (const Tail& known : tails_) {
    if (known.written != tail) continue;
    std::memcpy(plain_.data() + body_length_, known.text.data(), known.text.size());
    tail_hash_ = known.hash;
    return QuickShape{HashOfText(std::string_view(plain_.data(), body_length_ + known.text.size())),
                      false};
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ShapeTexts::InheritedHash(std::uint64_t body_hash) {
  const Inherited* tail = InheritedTail();
  if (tail == nullptr) return std::nullopt;
  return Mix(body_hash ^ tail->hash);
}

// The thickness a plain field gives, as the writer prints the float it is read into. Only
// thicknesses of a sensible size: a float read from a huge field may round up past what the
// writer takes, which the full reading knows to refuse.
std::optional<std::string_view> ShapeTexts::ThicknessText(std::string_view field) {
  for (const auto& [known, text] : thickness_fields_) {
    if (known == field) return text;
  }
  constexpr double kLargestPlainThickness = 1e6;
  std::array<char, kLongestPlainLine> digits;
  std::string field_end(field);
  field_end.push_back(')');
  PlainCursor check{field_end.data(), field_end.data() + field_end.size(), digits.data()};
  if (!check.Number(')')) return std::nullopt;
  const auto value = ParseNumber(field);
  if (!value || !(std::fabs(*value) < kLargestPlainThickness)) return std::nullopt;
  thickness_fields_.emplace_back(field, FormatPattern(static_cast<float>(*value), kValuePattern));
  return thickness_fields_.back().second;
}

// The thickness in force from a command below, or 0.1; nothing when the writer would refuse it.
std::optional<std::string_view> ShapeTexts::ThicknessText(float thickness) {
  for (const auto& [known, text] : thickness_values_) {
    if (std::memcmp(&known, &thickness, sizeof thickness) == 0) return text;
  }
  if (!WritableNumber(thickness)) return std::nullopt;
  thickness_values_.emplace_back(thickness, FormatPattern(thickness, kValuePattern));
  return thickness_values_.back().second;
}

void SignatureBuilder::Start() {
  held_text_.clear();
  held_.clear();
  signature_ = {};
}

void SignatureBuilder::Line(std::string_view line) {
  if (const auto quick = texts_.Quick(line)) {
    if (!quick->inherits) return Add(quick->hash);
    held_.push_back({.end = held_text_.size(), .body_hash = quick->hash, .inherits = true});
    return;
  }
  // Comments, blank and unreadable lines are of no kind; nothing to keep.
  if (ClassifyLine(line) == EntityKind::kNone) return;
  held_text_.append(line);
  held_.push_back({.end = held_text_.size(), .body_hash = 0, .inherits = false});
}

DrawingSignature SignatureBuilder::Finish() {
  texts_.Restart();
  size_t to = held_text_.size();
  for (size_t i = held_.size(); i-- > 0;) {
    const Held& held = held_[i];
    if (held.inherits) {
      if (const auto hash = texts_.InheritedHash(held.body_hash)) Add(*hash);
      continue;
    }
    const size_t from = i == 0 ? 0 : held_[i - 1].end;
    if (const auto hash = texts_.AboveHash(std::string_view(held_text_).substr(from, to - from))) {
      Add(*hash);
    }
    to = from;
  }
  return signature_;
}

void SignatureBuilder::Add(std::uint64_t hash) {
  // A sum of mixed hashes: the same whatever the order of the shapes, and a shape drawn twice
  // counts twice.
  signature_.hash += hash;
  ++signature_.shapes;
}

std::string DrawingKeyOf(std::span<const std::string_view> lines, ShapeTexts& texts) {
  texts.Restart();
  // The texts one after another, then put in order by where each stands.
  std::string all;
  std::vector<std::pair<size_t, size_t>> shapes;
  for (size_t i = lines.size(); i-- > 0;) {
    if (const auto text = texts.Above(lines[i])) {
      shapes.emplace_back(all.size(), text->size());
      all.append(*text);
    }
  }
  const auto text = [&](const std::pair<size_t, size_t>& at) {
    return std::string_view(all).substr(at.first, at.second);
  };
  std::ranges::sort(shapes, {}, text);
  std::string key;
  key.reserve(all.size() + shapes.size());
  for (const auto& shape : shapes) key.append(text(shape)).push_back('\n');
  return key;
}

std::string DrawingKeyOf(std::span<const std::string_view> lines, LineCoding coding) {
  ShapeTexts texts(coding);
  return DrawingKeyOf(lines, texts);
}

DrawingSignature SignatureOf(std::span<const std::string_view> lines, LineCoding coding) {
  SignatureBuilder builder(coding);
  builder.Start();
  for (const std::string_view line : lines) builder.Line(line);
  return builder.Finish();
}

DrawingSignature SignatureOf(std::span<const std::string> lines, LineCoding coding) {
  SignatureBuilder builder(coding);
  builder.Start();
  for (const std::string& line : lines) builder.Line(line);
  return builder.Finish();
}

}  // namespace blok
