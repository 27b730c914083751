#include "editing/shape_texts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>

#include "editing/canonical.h"
#include "model/cp1250.h"
#include "model/entity_reader.h"
#include "model/entity_writer.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"

namespace blok {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reading of plain lines: a cursor over the line and one over the text written.
struct PlainCursor {
  const char* in;
  const char* end;
  char* out;

  bool Take(char c) {
    if (in == end || *in != c) return false;
    ++in;
    return true;
  }
  void Put(char c) { *out++ = c; }
  void Put(std::string_view s) {
    std::memcpy(out, s.data(), s.size());
    out += s.size();
  }

  // A plain number field ending at delimiter, which the reader would take whole: optional
  // sign, digits with at most one "." or "," among them (not "," where "," ends the field), at
  // most 15 digits once the zeros in front and the zeros behind the point are left out, at most
  // 14 of them before the point. Such a field reads as the double whose shortest form is its
  // digits, so what AppendPattern writes of that double at kValuePattern (rounded half away
  // from zero at the fourth decimal, zeros behind dropped, never "-0") follows from the digits
  // alone. False for any other field, which the full reading takes.
  bool Number(char delimiter) {
    const char* p = in;
    const char* const stop = end;
    bool negative = false;
    if (p < stop && (*p == '+' || *p == '-')) negative = *p++ == '-';
    const char* integer_from = p;
    while (p < stop && IsDigit(*p)) ++p;
    const char* integer_to = p;
    const char* fraction_from = p;
    const char* fraction_to = p;
    if (p < stop && (*p == '.' || (*p == ',' && delimiter != ','))) {
      fraction_from = ++p;
      while (p < stop && IsDigit(*p)) ++p;
      fraction_to = p;
    }
    if (p == stop || *p != delimiter) return false;
    if (integer_from == integer_to && fraction_from == fraction_to) return false;
    in = p + 1;
    while (integer_from < integer_to && *integer_from == '0') ++integer_from;
    while (fraction_to > fraction_from && fraction_to[-1] == '0') --fraction_to;
    const size_t integer = static_cast<size_t>(integer_to - integer_from);
    const size_t fraction = static_cast<size_t>(fraction_to - fraction_from);
    if (integer > 14 || integer + fraction > 15) return false;
    constexpr size_t kDecimals = 4;
    if (fraction <= kDecimals) {
      // Nothing to round: the digits as they stand.
      char* o = out;
      if (negative && integer + fraction > 0) *o++ = '-';
      if (integer == 0) *o++ = '0';
      for (const char* d = integer_from; d < integer_to; ++d) *o++ = *d;
      if (fraction > 0) {
        *o++ = '.';
        for (const char* d = fraction_from; d < fraction_to; ++d) *o++ = *d;
      }
      out = o;
      return true;
    }
    // The integer digits and the decimals kept, behind one place for a carry.
    char digits[1 + 14 + kDecimals];
    digits[0] = '0';
    std::memcpy(digits + 1, integer_from, integer);
    size_t kept = std::min(fraction, kDecimals);
    std::memcpy(digits + 1 + integer, fraction_from, kept);
    if (fraction > kDecimals && fraction_from[kDecimals] >= '5') {
      size_t k = integer + kept;
      for (; digits[k] == '9'; --k) digits[k] = '0';
      ++digits[k];
    }
    while (kept > 0 && digits[integer + kept] == '0') --kept;
    const bool carried = digits[0] != '0';
    if (negative && (carried || integer > 0 || kept > 0)) Put('-');
    if (carried) {
      Put({digits, integer + 1});
    } else if (integer == 0) {
      Put('0');
    } else {
      Put({digits + 1, integer});
    }
    if (kept > 0) {
      Put('.');
      Put({digits + 1 + integer, kept});
    }
    return true;
  }

  // A colour component as written, one to three digits ending at delimiter.
  std::optional<int> Component(char delimiter) {
    int value = 0;
    const char* from = in;
    while (in < end && IsDigit(*in) && in - from < 3) value = value * 10 + (*in++ - '0');
    if (in == from || !Take(delimiter)) return std::nullopt;
    return value;
  }
  void PutByte(int value) {
    if (value >= 100) Put(static_cast<char>('0' + value / 100));
    if (value >= 10) Put(static_cast<char>('0' + value / 10 % 10));
    Put(static_cast<char>('0' + value % 10));
  }
  void PutColour(Colour colour) {
    Put(";K(");
    PutByte(Red(colour));
    Put(',');
    PutByte(Green(colour));
    Put(',');
    PutByte(Blue(colour));
    Put(");GR(");
  }
};

// How many digits stand at p: eight bytes at a time where the line has them, so that numbers
// of every length cost the same, without a guess at their length to go wrong.
inline size_t DigitRun(const char* p, const char* end) {
  static_assert(std::endian::native == std::endian::little);
  size_t n = 0;
  for (; end - p >= 8; p += 8, n += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    // A byte is a digit when its high half is 3 and its low half at most 9; other bytes leave
    // bits set here.
    const std::uint64_t not_digits =
        ((word & 0xF0F0F0F0F0F0F0F0ULL) ^ 0x3030303030303030ULL) |
        (((word & 0x0F0F0F0F0F0F0F0FULL) + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL);
    if (not_digits != 0) return n + static_cast<size_t>(std::countr_zero(not_digits) / 8);
  }
  for (; p < end && IsDigit(*p); ++p) ++n;
  return n;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Up to eight bytes at p as one word, the first in its lowest byte; nothing past end is read.
inline std::uint64_t Load8(const char* p, const char* end) {
  std::uint64_t word = 0;
  if (end - p >= 8) {
    std::memcpy(&word, p, 8);
  } else {
    for (size_t i = 0; p + i < end; ++i) {
      word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
  }
  return word;
}

// The high bit of every zero byte of the word.
inline std::uint64_t ZeroBytes(std::uint64_t word) {
  return ~(((word & ~kHighBits) + ~kHighBits) | word) & kHighBits;
}

// Whether the n bytes at p are a number field as the writer writes it (no zeros in front, no
// zeros behind the point, at most 4 decimals, never "-0"), at most 8 bytes long: then it is
// its own canonical text. Worked out on one word, so that the fields of a line are looked at
// side by side rather than one after the other.
[[gnu::always_inline]] inline bool CanonicalField(const char* p, const char* end, size_t n) {
  if (n == 0 || n > 8) return false;
  std::uint64_t word = Load8(p, end);
  const bool negative = (word & 0xFF) == '-';
  word >>= 8 * negative;  // never all 64 bits: a shift by 8 at most
  n -= negative;
  if (n == 0) return false;
  const std::uint64_t kept = n == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
  word &= kept;
  const std::uint64_t kept_high = kept & kHighBits;
  // A byte is a digit when its high half is 3 and its low half at most 9.
  const std::uint64_t not_digit_bits =
      ((word & 0xF0F0F0F0F0F0F0F0ULL) ^ 0x3030303030303030ULL) |
      (((word & 0x0F0F0F0F0F0F0F0FULL) + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL);
  const std::uint64_t not_digits = ~ZeroBytes(not_digit_bits) & kept_high;
  const std::uint64_t points = ZeroBytes(word ^ (kOnes * '.')) & kept_high;
  if ((not_digits & ~points) != 0 || (points & (points - 1)) != 0) return false;
  const char first = static_cast<char>(word & 0xFF);
  if (points == 0) return first != '0' || (n == 1 && !negative);
  const size_t point = static_cast<size_t>(std::countr_zero(points) / 8);
  const char last = static_cast<char>((word >> (8 * (n - 1))) & 0xFF);
  return point > 0 && n - 1 - point >= 1 && n - 1 - point <= 4 && last != '0' &&
         (first != '0' || point == 1);
}

// Where the first byte c stands at or after p: its distance from p, or end - p.
inline size_t Find(const char* p, const char* end, char c) {
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  const char* at = p;
  for (; end - at >= 8; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    if (const std::uint64_t found = ZeroBytes(word ^ pattern)) {
      return static_cast<size_t>(at - p) + static_cast<size_t>(std::countr_zero(found) / 8);
    }
  }
  while (at < end && *at != c) ++at;
  return static_cast<size_t>(at - p);
}

// The length of a line's, rectangle's or circle's body ("L(" to its last ")") when every
// number in it is its own canonical text, so that the body is the canonical body; else 0. The
// fields end where the reader ends them: at the first delimiter after the one before.
inline size_t CanonicalBodyLength(std::string_view line) {
  const char* const b = line.data();
  const char* const end = b + line.size();
  const auto after = [&](size_t at, char c) {
    at = std::min(at, line.size());
    return at + Find(b + at, end, c);
  };
  const size_t c1 = after(2, ',');
  if (line[0] == 'O') {
    const size_t c2 = after(c1 + 1, ',');
    const size_t r = after(c2 + 1, ')');
    if (r >= line.size()) return 0;
    const bool canonical = CanonicalField(b + 2, end, c1 - 2) &
                           CanonicalField(b + c1 + 1, end, c2 - c1 - 1) &
                           CanonicalField(b + c2 + 1, end, r - c2 - 1);
    return canonical ? r + 1 : 0;
  }
  const size_t r1 = after(c1 + 1, ')');
  if (r1 + 3 >= line.size() || b[r1 + 1] != '-' || b[r1 + 2] != '(') return 0;
  const size_t c2 = after(r1 + 3, ',');
  const size_t r2 = after(c2 + 1, ')');
  if (r2 >= line.size()) return 0;
  const bool canonical =
      CanonicalField(b + 2, end, c1 - 2) & CanonicalField(b + c1 + 1, end, r1 - c1 - 1) &
      CanonicalField(b + r1 + 3, end, c2 - r1 - 3) & CanonicalField(b + c2 + 1, end, r2 - c2 - 1);
  return canonical ? r2 + 1 : 0;
}

// How many of the n bytes at p are zero digits, from the front.
inline size_t LeadingZeros(const char* p, size_t n) {
  size_t zeros = 0;
  while (zeros < n && p[zeros] == '0') ++zeros;
  return zeros;
}

// Copies n bytes, n at most 16, where both sides have 16 bytes to spare.
inline void CopyShort(char* to, const char* from, size_t n, bool room) {
  if (room) {
    std::memcpy(to, from, 16);
  } else {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  }
}

// The quick way through the commonest number fields: a plain number (see
// PlainCursor::Number) whose decimals, without the zeros behind them, are at most 4, so that
// nothing rounds. Writes its canonical text at out; past the field and its delimiter, or
// nullptr for any other field.
inline const char* QuickNumber(const char* p, const char* end, char delimiter, char*& out) {
  const bool negative = p < end && *p == '-';
  p += (p < end && (*p == '-' || *p == '+'));
  const char* integer_from = p;
  size_t integer = DigitRun(p, end);
  p += integer;
  const char* fraction_from = p;
  size_t fraction = 0;
  if (p < end && (*p == '.' || (*p == ',' && delimiter != ','))) {
    fraction_from = ++p;
    fraction = DigitRun(p, end);
    p += fraction;
  }
  if (p == end || *p != delimiter || integer + fraction == 0) return nullptr;
  const size_t zeros = LeadingZeros(integer_from, integer);
  integer_from += zeros;
  integer -= zeros;
  while (fraction > 0 && fraction_from[fraction - 1] == '0') --fraction;
  if (fraction > 4 || integer > 14 || integer + fraction > 15) return nullptr;
  char* o = out;
  if (negative && integer + fraction > 0) *o++ = '-';
  if (integer == 0) {
    *o++ = '0';
  } else {
    CopyShort(o, integer_from, integer, end - integer_from >= 16);
    o += integer;
  }
  if (fraction > 0) {
    *o++ = '.';
    CopyShort(o, fraction_from, fraction, end - fraction_from >= 16);
    o += fraction;
  }
  out = o;
  return p + 1;
}

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 30;
  h *= 0xbf58476d1ce4e5b9ULL;
  h ^= h >> 27;
  h *= 0x94d049bb133111ebULL;
  return h ^ (h >> 31);
}

// A hash of a few dozen bytes, eight at a time, not yet mixed. The last few are read as a
// whole word, masked, where the text goes on after them.
std::uint64_t HashBytes(std::string_view bytes, const char* text_end) {
  constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15ULL;
  std::uint64_t h = bytes.size() * kMultiplier;
  const char* p = bytes.data();
  size_t left = bytes.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ word) * kMultiplier;
  }
  std::uint64_t word = 0;
  if (left > 0 && text_end - p >= 8) {
    std::memcpy(&word, p, 8);
    word &= ~std::uint64_t{0} >> (64 - 8 * left);
  } else {
    for (size_t i = 0; i < left; ++i) {
      word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    }
  }
  return (h ^ word) * kMultiplier;
}

std::uint64_t BodyTailHash(std::string_view body, const char* text_end, std::uint64_t tail_hash) {
  return Mix(HashBytes(body, text_end) ^ tail_hash);
}

}  // namespace

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
  if (const size_t body = CanonicalBodyLength(line); body > 0) {
    const std::string_view tail = line.substr(body);
    for (const Tail& known : tails_) {
      if (known.written == tail) {
        return BodyTailHash(line.substr(0, body), line.data() + line.size(), known.hash);
      }
    }
  }
  // Many of the others have plain numbers, short: the body written quickly.
  const char* p = line.data() + 2;
  const char* const end = line.data() + line.size();
  char* o = plain_.data();
  *o++ = line[0];
  *o++ = '(';
  if (line[0] == 'O') {
    if ((p = QuickNumber(p, end, ',', o)) && (*o++ = ',', p = QuickNumber(p, end, ',', o))) {
      *o++ = ',';
      p = QuickNumber(p, end, ')', o);
    }
  } else if ((p = QuickNumber(p, end, ',', o)) && (*o++ = ',', p = QuickNumber(p, end, ')', o))) {
    // The reader passes over one character between the points, whatever it is.
    if (end - p >= 2 && p[1] == '(') {
      *o++ = ')';
      *o++ = '-';
      *o++ = '(';
      if ((p = QuickNumber(p + 2, end, ',', o))) {
        *o++ = ',';
        p = QuickNumber(p, end, ')', o);
      }
    } else {
      p = nullptr;
    }
  }
  if (p != nullptr) {
    *o++ = ')';
    const std::string_view tail(p, static_cast<size_t>(end - p));
    for (const Tail& known : tails_) {
      if (known.written == tail) {
        return BodyTailHash(std::string_view(plain_.data(), static_cast<size_t>(o - plain_.data())),
                            plain_.data() + plain_.size(), known.hash);
      }
    }
  }
  if (const auto text = Alone(line)) return ShapeTextHash(*text);
  return std::nullopt;
}

std::optional<std::string_view> ShapeTexts::Alone(std::string_view line) {
  if (line.size() > 2 && line[1] == '(' && (line[0] == 'L' || line[0] == 'P' || line[0] == 'O') &&
      Plain(line, true)) {
    return text_view_;
  }
  return std::nullopt;
}

std::optional<std::string_view> ShapeTexts::Above(std::string_view line) {
  if (line.size() > 2 && line[1] == '(' && (line[0] == 'L' || line[0] == 'P' || line[0] == 'O') &&
      Plain(line, false)) {
    return text_view_;
  }
  // The code page's first half is ASCII, as UTF-8's is: such a line needs no conversion.
  const bool ascii = std::all_of(line.begin(), line.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  const ParsedEntity entity =
      coding_ == LineCoding::kUtf8 || ascii ? ParseEntity(line) : ParseEntity(Cp1250ToUtf8(line));
  if (const auto* c = std::get_if<ColourRecord>(&entity.record); c && c->valid) {
    defaults_.colour = c->colour;
    return std::nullopt;
  }
  if (const auto* t = std::get_if<ThicknessRecord>(&entity.record); t && t->valid) {
    defaults_.thickness = t->thickness;
    return std::nullopt;
  }
  if (!IsShape(entity)) return std::nullopt;
  auto text = CanonicalText(Resolved(entity, defaults_));
  if (!text) return std::nullopt;
  text_ = std::move(*text);
  return text_view_ = text_;
}

// A line, rectangle or circle without blanks, every number plain, and its tail nothing,
// ";K(r,g,b)" or ";K(r,g,b);GR(t)" as the writers write it: the reader would take its fields
// as they stand, so its canonical text is made from them here. Alone: only with both colour and
// thickness named.
bool ShapeTexts::Plain(std::string_view line, bool alone) {
  // A blank is no part of a plain number nor of a plain tail, so a line with one never passes.
  if (line.size() > kLongestPlainLine) return false;
  const char kind = line[0];
  PlainCursor c{line.data() + 2, line.data() + line.size(), plain_.data()};
  c.Put(kind);
  c.Put('(');
  if (kind == 'O') {
    if (!c.Number(',')) return false;
    c.Put(',');
    if (!c.Number(',')) return false;
    c.Put(',');
    if (!c.Number(')')) return false;
    c.Put(')');
  } else {
    if (!c.Number(',')) return false;
    c.Put(',');
    if (!c.Number(')')) return false;
    // The reader passes over one character between the points, whatever it is.
    if (c.in == c.end) return false;
    ++c.in;
    if (!c.Take('(')) return false;
    c.Put(")-(");
    if (!c.Number(',')) return false;
    c.Put(',');
    if (!c.Number(')')) return false;
    c.Put(')');
  }
  // The tail: a library has a handful, one on nearly every line, each with the same text.
  const std::string_view tail(c.in, static_cast<size_t>(c.end - c.in));
  for (const Tail& known : tails_) {
    if (known.written == tail) {
      c.Put(known.text);
      text_view_ = std::string_view(plain_.data(), static_cast<size_t>(c.out - plain_.data()));
      return true;
    }
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
  if (thickness_field && tails_.size() < kTailsKept) {
    const std::string_view text(tail_from, static_cast<size_t>(c.out - tail_from));
    tails_.push_back({std::string(tail), std::string(text), Mix(HashBytes(text, c.out))});
  }
  text_view_ = std::string_view(plain_.data(), static_cast<size_t>(c.out - plain_.data()));
  return true;
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
  held_.clear();
  held_ends_.clear();
  signature_ = {};
}

void SignatureBuilder::Line(std::string_view line) {
  if (const auto hash = texts_.AloneHash(line)) return Add(*hash);
  // Comments, blank and unreadable lines are of no kind; nothing to keep.
  if (ClassifyLine(line) == EntityKind::kNone) return;
  held_.append(line);
  held_ends_.push_back(held_.size());
}

DrawingSignature SignatureBuilder::Finish() {
  texts_.Restart();
  for (size_t i = held_ends_.size(); i-- > 0;) {
    const size_t from = i == 0 ? 0 : held_ends_[i - 1];
    if (const auto text =
            texts_.Above(std::string_view(held_).substr(from, held_ends_[i] - from))) {
      Add(ShapeTextHash(*text));
    }
  }
  return signature_;
}

void SignatureBuilder::Add(std::uint64_t hash) {
  // A sum of mixed hashes: the same whatever the order of the shapes, and a shape drawn twice
  // counts twice.
  signature_.hash += hash;
  ++signature_.shapes;
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
