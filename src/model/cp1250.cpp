#include "model/cp1250.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace blok {
namespace {

struct Cp1250Tables {
  std::array<char32_t, 256> to_unicode{};
  // (code point, byte) for the upper half, sorted by code point.
  std::array<std::pair<char32_t, unsigned char>, 128> from_unicode{};
  // Why the converter could not give the table; then the upper half is left as it is.
  std::optional<Error> problem;
};

// Bytes whose letters every converter of the code page must give: the Polish letters, which
// the libraries are full of. A converter that gives others is not one of this code page.
constexpr std::pair<unsigned char, char32_t> kPolishLetters[] = {
    {0xA5, 0x0104}, {0xC6, 0x0106}, {0xCA, 0x0118}, {0xA3, 0x0141}, {0xD1, 0x0143}, {0xD3, 0x00D3},
    {0x8C, 0x015A}, {0x8F, 0x0179}, {0xAF, 0x017B}, {0xB9, 0x0105}, {0xE6, 0x0107}, {0xEA, 0x0119},
    {0xB3, 0x0142}, {0xF1, 0x0144}, {0xF3, 0x00F3}, {0x9C, 0x015B}, {0x9F, 0x017A}, {0xBF, 0x017C},
};

Error ConverterMissing(std::string_view charset, std::string_view reason) {
  return Error{"Brak konwersji znaków " + std::string(charset) + " (" + std::string(reason) +
               "): polskie litery plików bibliotek byłyby odczytane i zapisane błędnie, więc "
               "żaden plik nie zostanie otwarty"};
}

// The table comes from the C library's converter, asked once per byte; bytes it does not
// define keep their own value as the code point, which keeps every byte of a file intact.
Cp1250Tables BuildTables(const char* charset) {
  Cp1250Tables tables;
  for (int b = 0; b < 256; ++b) tables.to_unicode[b] = static_cast<char32_t>(b);
  iconv_t cd = iconv_open("UTF-32LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    tables.problem = ConverterMissing(charset, std::strerror(errno));
  } else {
    for (int b = 0x80; b < 256; ++b) {
      char in = static_cast<char>(b);
      unsigned char out[8] = {};
      char* in_ptr = &in;
      size_t in_left = 1;
      char* out_ptr = reinterpret_cast<char*>(out);
      size_t out_left = sizeof(out);
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1) &&
          out_left == sizeof(out) - 4) {
        tables.to_unicode[b] = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 |
                                                     static_cast<uint32_t>(out[3]) << 24);
      }
    }
    iconv_close(cd);
    for (const auto& [byte, letter] : kPolishLetters) {
      if (tables.to_unicode[byte] != letter) {
        tables.problem = ConverterMissing(charset, "inne litery niż oczekiwane");
        break;
      }
    }
  }
  for (int b = 0x80; b < 256; ++b) {
    tables.from_unicode[b - 0x80] = {tables.to_unicode[b], static_cast<unsigned char>(b)};
  }
  std::sort(tables.from_unicode.begin(), tables.from_unicode.end());
  return tables;
}

constexpr const char* kCharset = "CP1250";

const Cp1250Tables& Tables() {
  static const Cp1250Tables tables = BuildTables(kCharset);
  return tables;
}

}  // namespace

std::optional<Error> CodePageProblem() { return Tables().problem; }

std::optional<Error> CodePageProblem(const char* charset) { return BuildTables(charset).problem; }

char32_t Cp1250ToCodePoint(unsigned char byte) { return Tables().to_unicode[byte]; }

unsigned char CodePointToCp1250(char32_t code_point) {
  if (code_point < 0x80) return static_cast<unsigned char>(code_point);
  const auto& table = Tables().from_unicode;
  auto it = std::lower_bound(table.begin(), table.end(),
                             std::pair<char32_t, unsigned char>{code_point, 0});
  if (it != table.end() && it->first == code_point) return it->second;
  return '?';
}

char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || pos + length > text.size()) {
    ++pos;
    return kBadCodePoint;
  }
  char32_t cp = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      pos += i;
      return kBadCodePoint;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  pos += length;
  // Overlong forms and surrogates are not characters.
  static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    return kBadCodePoint;
  }
  return cp;
}

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); ++count) DecodeUtf8(text, pos);
  return count;
}

namespace {
size_t Utf8Length(char32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }
}  // namespace

std::string Cp1250ToUtf8(std::string_view bytes) {
  const auto& table = Tables().to_unicode;
  // Sized exactly: an open block holds its lines, a million of them in a large one. Made at
  // its size and emptied, since a reserve beyond the short form's room would double that room.
  size_t size = 0;
  for (char c : bytes) size += Utf8Length(table[static_cast<unsigned char>(c)]);
  std::string out(size, '\0');
  out.clear();
  for (char c : bytes) AppendUtf8(out, table[static_cast<unsigned char>(c)]);
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

CodePageFit FitToCodePage(std::string_view text) {
  CodePageFit fit;
  fit.text.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = DecodeUtf8(text, pos);
    const unsigned char byte = cp == kBadCodePoint ? '?' : CodePointToCp1250(cp);
    // '?' is its own byte; any other character that comes out as '?' is lost.
    if (byte == '?' && cp != U'?') fit.lost.push_back(cp);
    AppendUtf8(fit.text, Cp1250ToCodePoint(byte));
  }
  return fit;
}

std::string Utf8ToCp1250(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = DecodeUtf8(text, pos);
    out.push_back(static_cast<char>(cp == kBadCodePoint ? '?' : CodePointToCp1250(cp)));
  }
  return out;
}

std::optional<UnencodableCharacter> FirstUnencodable(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t cp = DecodeUtf8(text, pos);
    // '?' is its own byte; any other code point that comes out as '?' has none.
    if (cp == kBadCodePoint || (cp >= 0x80 && CodePointToCp1250(cp) == '?')) {
      return UnencodableCharacter{start, pos - start, cp};
    }
  }
  return std::nullopt;
}

std::string UpperCp1250(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = DecodeUtf8(text, pos);
    if (cp == kBadCodePoint) {
      out.push_back('?');
      continue;
    }
    AppendUtf8(out, UpperCodePoint(cp));
  }
  return out;
}

char32_t UpperCodePoint(char32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if (cp < 0x80) return cp;
  // The lower-case letters of the code page and their capitals.
  static constexpr std::pair<char32_t, char32_t> kPairs[] = {
      {0x0161, 0x0160}, {0x015B, 0x015A}, {0x0165, 0x0164}, {0x017E, 0x017D}, {0x017A, 0x0179},
      {0x0142, 0x0141}, {0x0105, 0x0104}, {0x015F, 0x015E}, {0x013E, 0x013D}, {0x017C, 0x017B},
      {0x0155, 0x0154}, {0x00E1, 0x00C1}, {0x00E2, 0x00C2}, {0x0103, 0x0102}, {0x00E4, 0x00C4},
      {0x013A, 0x0139}, {0x0107, 0x0106}, {0x00E7, 0x00C7}, {0x010D, 0x010C}, {0x00E9, 0x00C9},
      {0x0119, 0x0118}, {0x00EB, 0x00CB}, {0x011B, 0x011A}, {0x00ED, 0x00CD}, {0x00EE, 0x00CE},
      {0x010F, 0x010E}, {0x0111, 0x0110}, {0x0144, 0x0143}, {0x0148, 0x0147}, {0x00F3, 0x00D3},
      {0x00F4, 0x00D4}, {0x0151, 0x0150}, {0x00F6, 0x00D6}, {0x0159, 0x0158}, {0x016F, 0x016E},
      {0x00FA, 0x00DA}, {0x0171, 0x0170}, {0x00FC, 0x00DC}, {0x00FD, 0x00DD}, {0x0163, 0x0162},
  };
  for (const auto& [lower, upper] : kPairs) {
    if (cp == lower) return upper;
  }
  return cp;
}

std::string CutToCharacters(std::string_view text, size_t n) {
  size_t pos = 0;
  for (size_t k = 0; k < n && pos < text.size(); ++k) DecodeUtf8(text, pos);
  return std::string(text.substr(0, pos));
}

}  // namespace blok
