#pragma once

// Inside the editing layer, for shape_texts.cpp alone: the byte-level reading behind
// ShapeTexts. Plain number fields and bodies of library lines are checked and written a word,
// or sixteen bytes, at a time, and the hashes of their texts made; every function is inline,
// as each runs on every line of a library.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/entity.h"

namespace blok::plain_scan {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

inline const char* QuickNumber(const char* p, const char* end, char delimiter, char*& out,
                               size_t most_integer_digits = 14);

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
  //
  // A field the reader takes into a float, or one that goes through a conversion and back
  // (an arc's angles), is plain only when it is small and has at most 4 decimals: then the
  // value read lies nearer its digits than half the fourth decimal, and is written as they are.
  bool Number(char delimiter, size_t most_integer_digits = 14, bool exact = false) {
    // Most fields have nothing to round: their digits as they stand, found a word at a time.
    if (const char* next = QuickNumber(in, end, delimiter, out, most_integer_digits)) {
      in = next;
      return true;
    }
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
    constexpr size_t kDecimals = 4;
    if (integer > most_integer_digits || integer + fraction > 15) return false;
    if (exact && fraction > kDecimals) return false;
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

  // A number field and its delimiter, both written.
  bool Field(char delimiter, size_t most_integer_digits = 14, bool exact = false) {
    if (!Number(delimiter, most_integer_digits, exact)) return false;
    Put(delimiter);
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

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

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

// Where the characters of a plain body stand among a line's first 64 bytes: bit i for byte i.
struct BodyMasks {
  std::uint64_t digits = 0;
  std::uint64_t zeros = 0;
  std::uint64_t points = 0;
  std::uint64_t minuses = 0;
  std::uint64_t commas = 0;
  std::uint64_t closes = 0;
};

// The high bit of each byte of a word gathered into the word's low 8 bits, byte 0 to bit 0.
inline std::uint64_t GatherHighBits(std::uint64_t high_bits) {
  return ((high_bits >> 7) * 0x0102040810204080ULL) >> 56;
}

// Worked out without a branch on what the bytes hold: a line's fields are of every length, and
// a guess at where one ends would go wrong as often as right. Sixteen bytes at a time where
// the processor compares them at once, else eight.
inline BodyMasks MasksOf(std::string_view line, size_t reach) {
  BodyMasks masks;
  const size_t size = std::min(line.size(), reach);
#if defined(__SSE2__)
  // The bytes from 16 * block on, the first drop of them left out.
  const auto add = [&](__m128i bytes, unsigned drop, size_t block) {
    const auto bits = [&](__m128i matches) {
      return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(matches)) >> drop)
             << (16 * block);
    };
    // Digits: signed compares, which every byte below 0x80 passes as it is.
    masks.digits |= bits(_mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                       _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1))));
    masks.zeros |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('0')));
    masks.points |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('.')));
    masks.minuses |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('-')));
    masks.commas |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(',')));
    masks.closes |= bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(')')));
  };
  const size_t whole = size / 16;
  for (size_t j = 0; j < whole; ++j) {
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + 16 * j)), 0, j);
  }
  if (const size_t left = size % 16; left > 0 && size >= 16) {
    // The last few as the end of the 16 bytes before the line's end, never past it.
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + size - 16)),
        static_cast<unsigned>(16 - left), whole);
  } else if (left > 0) {
    char copy[16] = {};
    std::memcpy(copy, line.data(), left);
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(copy)), 0, 0);
  }
#else
  const char* const end = line.data() + size;
  for (size_t j = 0; 8 * j < size; ++j) {
    const std::uint64_t word = Load8(line.data() + 8 * j, end);
    // A byte is a digit when its high half is 3 and its low half at most 9.
    const std::uint64_t not_digit_bits =
        ((word & 0xF0F0F0F0F0F0F0F0ULL) ^ 0x3030303030303030ULL) |
        (((word & 0x0F0F0F0F0F0F0F0FULL) + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL);
    const unsigned shift = static_cast<unsigned>(8 * j);
    masks.digits |= GatherHighBits(ZeroBytes(not_digit_bits)) << shift;
    masks.zeros |= GatherHighBits(ZeroBytes(word ^ (kOnes * '0'))) << shift;
    masks.points |= GatherHighBits(ZeroBytes(word ^ (kOnes * '.'))) << shift;
    masks.minuses |= GatherHighBits(ZeroBytes(word ^ (kOnes * '-'))) << shift;
    masks.commas |= GatherHighBits(ZeroBytes(word ^ (kOnes * ','))) << shift;
    masks.closes |= GatherHighBits(ZeroBytes(word ^ (kOnes * ')'))) << shift;
  }
#endif
  return masks;
}

// The first set bit of mask at or after from, or 64.
inline size_t NextAt(std::uint64_t mask, size_t from) {
  return from >= 64 ? 64
                    : static_cast<size_t>(std::countr_zero(mask & (~std::uint64_t{0} << from)));
}

// Whether the fields of a body are numbers as the writer writes them: no zeros in front, none
// behind the point, at most 4 decimals, never "-0", and few enough digits that the double read
// from them is written back as they stand. Every field at once, on bits: starts holds the
// bit of each field's first byte, ends that of its delimiter, and every field is shorter than
// kLongestField, which leaves the longest to the rest.
inline constexpr size_t kLongestField = 14;

inline bool CanonicalFields(const BodyMasks& m, std::uint64_t starts, std::uint64_t ends) {
  // Each field's bytes: from its start up to its delimiter (ends - starts, the fields apart).
  const std::uint64_t fields = ends - starts;
  const std::uint64_t signs = starts & m.minuses;
  // The first byte after the sign: a digit, so that no field is empty nor starts at its point.
  const std::uint64_t firsts = (starts & ~m.minuses) | (signs << 1);
  // A zero in front stands alone, or before the point; alone, without a sign.
  const std::uint64_t zero_firsts = firsts & m.zeros;
  // The decimals: up to four digits after each point, and the delimiter after them.
  const std::uint64_t points = m.points & fields;
  const std::uint64_t d1 = (points << 1) & m.digits;
  const std::uint64_t d2 = (d1 << 1) & m.digits;
  const std::uint64_t d3 = (d2 << 1) & m.digits;
  const std::uint64_t d4 = (d3 << 1) & m.digits;
  const std::uint64_t decimals = d1 | d2 | d3 | d4;
  const std::uint64_t last_decimals = decimals & ~(decimals >> 1);
  const std::uint64_t faults =
      (fields & ~(m.digits | m.points | signs)) |   // only digits, a point and a sign in front
      (firsts & ~m.digits) |                        // a digit first
      ((zero_firsts << 1) & ~(m.points | ends)) |   // "0", "0.x", never "01"
      ((signs << 1) & zero_firsts & (ends >> 1)) |  // never "-0"
      ((points << 1) & ~m.digits) |                 // a digit after the point
      ((d4 << 1) & m.digits) |                      // at most four
      ((last_decimals << 1) & ~ends) |              // then the delimiter: one point a field
      (last_decimals & m.zeros);                    // no zero behind
  return faults == 0;
}

// The length of a line's, rectangle's or circle's body ("L(" to its last ")") when every
// number in it is its own canonical text, so that the body is the canonical body; 0 when it is
// not; kBeyond when its delimiters do not all stand among the first reach bytes. The fields
// end where the reader ends them: at the first delimiter after the one before.
inline constexpr size_t kBeyond = 64;

inline size_t BodyWithin(std::string_view line, size_t reach) {
  const BodyMasks masks = MasksOf(line, reach);
  const auto bit = [](size_t at) { return std::uint64_t{1} << at; };
  // The delimiters in order, each found by clearing the one before: in a canonical body the
  // first delimiter after one is the kind the reader looks for next, as no field holds one.
  std::uint64_t delimiters = (masks.commas | masks.closes) & ~std::uint64_t{3};
  const auto next = [&] {
    const auto at = static_cast<size_t>(std::countr_zero(delimiters));
    delimiters &= delimiters - 1;
    return at;
  };
  const auto is = [](std::uint64_t kind, size_t at) { return ((kind >> at) & 1) != 0; };
  const size_t c1 = next();
  if (line[0] == 'O') {
    const size_t c2 = next();
    const size_t r = next();
    if (r >= 64) return kBeyond;
    if (!is(masks.commas, c1) || !is(masks.commas, c2) || !is(masks.closes, r) ||
        c1 - 2 > kLongestField || c2 - c1 - 1 > kLongestField || r - c2 - 1 > kLongestField) {
      return 0;
    }
    return CanonicalFields(masks, bit(2) | bit(c1 + 1) | bit(c2 + 1), bit(c1) | bit(c2) | bit(r))
               ? r + 1
               : 0;
  }
  const size_t r1 = next();
  const size_t c2 = next();
  const size_t r2 = next();
  if (r2 >= 64) return kBeyond;
  if (!is(masks.commas, c1) || !is(masks.closes, r1) || !is(masks.commas, c2) ||
      !is(masks.closes, r2) || line[r1 + 1] != '-' || line[r1 + 2] != '(' || c2 < r1 + 3 ||
      c1 - 2 > kLongestField || r1 - c1 - 1 > kLongestField || c2 - r1 - 3 > kLongestField ||
      r2 - c2 - 1 > kLongestField) {
    return 0;
  }
  return CanonicalFields(masks, bit(2) | bit(c1 + 1) | bit(r1 + 3) | bit(c2 + 1),
                         bit(c1) | bit(r1) | bit(c2) | bit(r2))
             ? r2 + 1
             : 0;
}

// The body's length as above, 0 for a body beyond the line's first 64 bytes, which is left to
// the rest. Most bodies end within 32, looked at first.
inline size_t CanonicalBodyLength(std::string_view line) {
  constexpr size_t kShortBody = 32;
  size_t body = BodyWithin(line, kShortBody);
  if (body == kBeyond && line.size() > kShortBody) body = BodyWithin(line, 64);
  return body == kBeyond ? 0 : body;
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
inline const char* QuickNumber(const char* p, const char* end, char delimiter, char*& out,
                               size_t most_integer_digits) {
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
  if (fraction > 4 || integer > most_integer_digits || integer + fraction > 15) return nullptr;
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

inline std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 30;
  h *= 0xbf58476d1ce4e5b9ULL;
  h ^= h >> 27;
  h *= 0x94d049bb133111ebULL;
  return h ^ (h >> 31);
}

// A hash of a few dozen bytes, eight at a time, not yet mixed. The last few are read as a
// whole word, masked, where the text goes on after them.
inline std::uint64_t HashBytes(std::string_view bytes, const char* text_end) {
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

inline std::uint64_t BodyTailHash(std::string_view body, const char* text_end,
                                  std::uint64_t tail_hash) {
  return Mix(HashBytes(body, text_end) ^ tail_hash);
}

}  // namespace blok::plain_scan
