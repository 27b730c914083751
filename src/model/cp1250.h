#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

namespace blok {

// Code page 1250 at the file boundary. Memory holds UTF-8; files hold single bytes.
// The mapping is lossless for every byte: the five bytes CP1250 leaves undefined map to the
// code points of the same value, so a foreign byte survives a load and a save unchanged.

// Why the code page cannot be converted on this system (the C library has no converter for
// it, or one that gives other letters), or nothing when it can. Without it every byte above
// ASCII would read as a wrong character and be written back as another, so no file may be
// read or written then: the editor says so at start, and blk refuses to run.
std::optional<Error> CodePageProblem();
// The same check for the converter of the named character set: what the code page's check
// would say if the C library's converter gave that one.
std::optional<Error> CodePageProblem(const char* charset);

// Converts CP1250 bytes to UTF-8.
std::string Cp1250ToUtf8(std::string_view bytes);

// Converts UTF-8 to CP1250. A character CP1250 cannot hold, and a malformed UTF-8 sequence,
// becomes '?'.
std::string Utf8ToCp1250(std::string_view text);

// Text as the code page holds it, still in UTF-8: what the user types enters the drawing so.
// Each character the code page cannot hold becomes "?", and lost lists them in order (a
// malformed sequence as kBadCodePoint), so that a caller can tell the user what was dropped.
struct CodePageFit {
  std::string text;
  std::vector<char32_t> lost;
};
CodePageFit FitToCodePage(std::string_view text);

// The CP1250 byte of one Unicode code point, or '?' when it has none.
unsigned char CodePointToCp1250(char32_t code_point);

// The Unicode code point of one CP1250 byte.
char32_t Cp1250ToCodePoint(unsigned char byte);

// Decodes one UTF-8 character at pos and moves pos past it; a malformed sequence gives
// kBadCodePoint and moves pos past at least one byte.
inline constexpr char32_t kBadCodePoint = 0xFFFFFFFF;
char32_t DecodeUtf8(std::string_view text, size_t& pos);

// Appends one code point to UTF-8 text.
void AppendUtf8(std::string& out, char32_t code_point);

// The first character of UTF-8 text that would not survive Utf8ToCp1250: one the code page
// cannot hold, or a malformed sequence (code_point kBadCodePoint). Nothing when every one
// converts.
struct UnencodableCharacter {
  size_t offset = 0;  // bytes before it
  size_t length = 0;  // its bytes
  char32_t code_point = kBadCodePoint;
};
std::optional<UnencodableCharacter> FirstUnencodable(std::string_view text);

// Characters of the text as the code page counts them: one for every UTF-8 sequence (a
// malformed byte counts as one, as it becomes '?').
size_t CharacterCount(std::string_view text);

// The first n characters of the text (all of it when shorter), never cut inside a UTF-8
// sequence.
std::string CutToCharacters(std::string_view text, size_t n);

// The capital of a letter of the code page; anything else unchanged.
char32_t UpperCodePoint(char32_t code_point);

// Upper case in code page 1250 terms (Polish letters included), applied to UTF-8 text.
std::string UpperCp1250(std::string_view text);

}  // namespace blok
