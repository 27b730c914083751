#include "document/library_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>
#include <utility>

#include "document/block_file.h"
#include "model/cp1250.h"

namespace blok {
namespace {

constexpr std::pair<char32_t, char32_t> kPolishBases[] = {
    {U'Ą', U'A'}, {U'Ć', U'C'}, {U'Ę', U'E'}, {U'Ł', U'L'}, {U'Ń', U'N'},
    {U'Ó', U'O'}, {U'Ś', U'S'}, {U'Ź', U'Z'}, {U'Ż', U'Z'},
};
constexpr uint32_t kLetterWeight = 0x1000;
constexpr uint32_t kOtherWeight = 0x10000;

// Punctuation and digits come before letters; letters weigh three steps each so that a Polish
// letter (and Ż after Ź) fits between its base letter and the next one.
uint32_t Weight(char32_t code_point) {
  const char32_t upper = UpperCodePoint(code_point);
  if (upper >= U'A' && upper <= U'Z') return kLetterWeight + (upper - U'A') * 3;
  if (const char32_t base = PolishBaseLetter(upper); base != upper) {
    return kLetterWeight + (base - U'A') * 3 + (upper == U'Ż' ? 2 : 1);
  }
  return upper < 0x80 ? upper : kOtherWeight + upper;
}

}  // namespace

char32_t PolishBaseLetter(char32_t upper) {
  for (const auto& [letter, base] : kPolishBases) {
    if (upper == letter) return base;
  }
  return upper;
}

bool BlockNameLess(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const uint32_t wa = Weight(DecodeUtf8(a, i));
    const uint32_t wb = Weight(DecodeUtf8(b, j));
    if (wa != wb) return wa < wb;
  }
  if (i < a.size() || j < b.size()) return j < b.size();
  return a < b;
}

std::vector<ListedBlock> BlocksAsListed(const std::vector<LoadedBlock>& records) {
  std::vector<ListedBlock> listed;
  std::unordered_map<std::string_view, size_t> by_name;
  for (const LoadedBlock& block : records) {
    const auto [at, added] = by_name.try_emplace(block.name, listed.size());
    if (added) {
      listed.push_back({&block, 1});
    } else {
      // Loading the name finds its last record.
      listed[at->second].block = &block;
      ++listed[at->second].records;
    }
  }
  std::ranges::sort(listed, [](const ListedBlock& a, const ListedBlock& b) {
    return BlockNameLess(a.block->name, b.block->name);
  });
  return listed;
}

std::optional<std::string> NotInCodePage(std::string_view text) {
  const auto bad = FirstUnencodable(text);
  if (!bad) return std::nullopt;
  char code[24];
  if (bad->code_point == kBadCodePoint) {
    std::snprintf(code, sizeof(code), "0x%02X", static_cast<unsigned char>(text[bad->offset]));
    return std::string("niepoprawny zapis UTF-8 (bajt ") + code + ")";
  }
  std::snprintf(code, sizeof(code), "U+%04X", static_cast<unsigned>(bad->code_point));
  return "znak „" + std::string(text.substr(bad->offset, bad->length)) + "” (" + code +
         "), którego nie ma w stronie kodowej 1250";
}

std::optional<std::string> BlockNameProblem(std::string_view name) {
  if (const auto bad = NotInCodePage(name)) return "nazwa bloku zawiera " + *bad;
  // The name test and the removal read lines of at most this many characters.
  if (const size_t count = CharacterCount(name); count > kCutLineLength) {
    return "nazwa bloku ma " + std::to_string(count) + " znaków, a może mieć najwyżej " +
           std::to_string(kCutLineLength);
  }
  return std::nullopt;
}

bool BlockNameTooShort(std::string_view name) { return CharacterCount(name) < 3; }

}  // namespace blok
