// The block-file operations on arbitrary file contents: none may crash, and removing and
// replacing a block must keep every other block as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "document/block_file.h"
#include "document/text_file.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::filesystem::path& WorkDir() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "blok-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr);
    return std::filesystem::path(pattern);
  }();
  return dir;
}

// Whether every record ends with its end marker before the next one starts. Only then do the
// records stand apart, so that replacing one cannot change what another loads.
bool WellFormed(const std::vector<std::string>& lines) {
  bool open = false;
  for (const std::string& line : lines) {
    if (line == blok::kBlockStartMarker) {
      if (open) return false;
      open = true;
    } else if (line == blok::kBlockEndMarker) {
      open = false;
    }
  }
  return !open;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path file = WorkDir() / "fuzz.blk";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const bool well_formed = WellFormed(*blok::ReadTextLines(file));
  auto names = blok::CzytajListeBlokow(file);
  Require(names.has_value());
  std::string name = names->empty() ? std::string("null") : names->front();
  if (name.find_first_of("\r\n") != std::string::npos) name = "null";
  Require(blok::BlokIstnieje(file, name).has_value());
  Require(blok::WczytajBlok(file, name).has_value());

  // Replace the first block; every other listed block must load exactly as before.
  std::vector<std::pair<std::string, std::optional<blok::LoadedBlock>>> others;
  for (const auto& other : *names) {
    if (other != name && other.find_first_of("\r\n") == std::string::npos) {
      others.emplace_back(other, *blok::WczytajBlok(file, other));
    }
  }
  const blok::BlockToSave block{name, "m", {"L(0,0)-(1,1);K(0,0,0);GR(0,10)"}, true, {}};
  Require(blok::ZastapBlok(file, block).has_value());
  const auto loaded = blok::WczytajBlok(file, name);
  Require(loaded.has_value() && loaded->has_value() && (*loaded)->lines == block.lines);
  for (const auto& [other, before] : others) {
    if (!well_formed) break;
    const auto after = blok::WczytajBlok(file, other);
    Require(after.has_value());
    // A block whose header sits inside the replaced one's drawing goes with it; any other
    // block is untouched.
    if (after->has_value()) Require(before.has_value() && before->lines == (*after)->lines);
  }
  Require(blok::UsunBlokZPliku(file, name).has_value());
  Require(!*blok::BlokIstnieje(file, name));
  return 0;
}
