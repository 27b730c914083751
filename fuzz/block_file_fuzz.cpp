// The block-file operations on arbitrary file contents: none may crash, and removing and
// replacing a block must keep every other block as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "document/block_file.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "fuzz_support.h"

namespace {

using blok::fuzz::Require;
using blok::fuzz::WorkDir;

// The fuzzer explores file contents, not the disk: its replacements are not flushed.
constexpr blok::ReplaceOptions kExploring{.durable = false};

// How every listed block other than name loads now.
using Loads = std::vector<std::pair<std::string, std::optional<blok::LoadedBlock>>>;
Loads OthersThan(const std::filesystem::path& file, const std::vector<std::string>& names,
                 const std::string& name) {
  Loads loads;
  for (const auto& other : names) {
    if (other == name) continue;
    auto loaded = blok::WczytajBlok(file, other);
    Require(loaded.has_value() && loaded->has_value());
    loads.emplace_back(other, std::move(*loaded));
  }
  return loads;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path file = WorkDir() / "fuzz.blk";
  blok::fuzz::WriteFile(file, std::string_view(reinterpret_cast<const char*>(data), size));
  auto names = blok::CzytajListeBlokow(file);
  Require(names.has_value());
  // The file's size picks the block to work on, so that the fuzzer reaches every one of them.
  std::string name = names->empty() ? std::string("null") : (*names)[size % names->size()];
  if (name.find_first_of("\r\n") != std::string::npos || blok::BlockNameProblem(name)) {
    name = "null";  // no save takes it
  }
  Require(blok::WczytajBlok(file, name).has_value());

  // A record ends at its end marker or just before the next start marker, so whatever the file
  // holds, replacing or removing one block leaves every other block loading exactly as before.
  const Loads others = OthersThan(file, *names, name);
  const blok::BlockToSave block{name, "m", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)"}, true, {}};
  Require(blok::ZastapBlok(file, block, kExploring).has_value());
  const auto loaded = blok::WczytajBlok(file, name);
  Require(loaded.has_value() && loaded->has_value() && (*loaded)->lines == block.lines);
  Require(OthersThan(file, *names, name) == others);

  const auto removed = blok::UsunBlokZPliku(file, name, kExploring);
  Require(removed.has_value());
  Require(!blok::WczytajBlok(file, name)->has_value());
  Require(OthersThan(file, *names, name) == others);
  return 0;
}
