#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace blok {

struct LoadedBlock;

// Alphabetical order of block names as a Polish reader expects it: case does not matter and
// each Polish letter follows its base letter (a, ą, b, c, ć, ...). Names equal but for case
// fall back to their bytes, so the order is total.
bool BlockNameLess(std::string_view a, std::string_view b);

// What stops text from going into a code page 1250 file as it is ("znak „☃” (U+2603), którego
// nie ma w stronie kodowej 1250", or a malformed UTF-8 byte), or nothing. Such a character
// would be written as "?".
std::optional<std::string> NotInCodePage(std::string_view text);

// Why no block can be saved under this name, or nothing: a character the code page cannot hold
// (the block could not be found again by the name it was given), or more characters than the
// readers of a name line take. Every save of a block asks this.
std::optional<std::string> BlockNameProblem(std::string_view name);
// The editor's own rule on top: it saves, loads and copies no block under a name of fewer than
// 3 characters.
bool BlockNameTooShort(std::string_view name);

// The base letter of a capital Polish letter (Ą is A, Ż is Z); any other code point as it is.
char32_t PolishBaseLetter(char32_t upper);

// A block as the list offers it and loading finds it: the last record of its name, and how
// many records of the file carry that name.
struct ListedBlock {
  const LoadedBlock* block;
  int records;
};
// The blocks of a file's records (WczytajWszystkieBloki), one per name, in the list's order.
std::vector<ListedBlock> BlocksAsListed(const std::vector<LoadedBlock>& records);

}  // namespace blok
