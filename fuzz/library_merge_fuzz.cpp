// blk merge on arbitrary libraries: the input is base, ours and theirs, split at form feeds.
// The merge may refuse, and then its output is left as it was; what it writes reads back as it
// said, one block a name, and nothing either side changed is lost.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "document/library_diff.h"
#include "document/library_merge.h"
#include "fuzz_support.h"

namespace {

using blok::fuzz::ReadFile;
using blok::fuzz::Require;
using blok::fuzz::WorkDir;
using blok::fuzz::WriteFile;

constexpr blok::ReplaceOptions kExploring{.durable = false};

// A block of one side is in the result: its drawing under any name, or a drawing the merge
// took for the same under its own name.
bool Kept(const blok::LoadedBlock& block, const std::vector<blok::LoadedBlock>& result) {
  for (const blok::LoadedBlock& merged : result) {
    if (blok::SameContent(block, merged)) return true;
    if (merged.name == block.name && blok::SameDrawing(block, merged)) return true;
  }
  return false;
}

const blok::LoadedBlock* Named(const std::vector<blok::LoadedBlock>& blocks,
                               std::string_view name) {
  for (const blok::LoadedBlock& block : blocks) {
    if (block.name == name) return &block;
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t first = input.find('\f');
  const size_t second = first == std::string_view::npos ? first : input.find('\f', first + 1);
  const std::string_view parts[3] = {
      input.substr(0, first),
      first == std::string_view::npos ? "" : input.substr(first + 1, second - first - 1),
      second == std::string_view::npos ? "" : input.substr(second + 1)};
  const std::filesystem::path files[3] = {WorkDir() / "base.blk", WorkDir() / "ours.blk",
                                          WorkDir() / "theirs.blk"};
  for (int i = 0; i < 3; ++i) WriteFile(files[i], parts[i]);
  // As git runs the driver: the result replaces ours' copy.
  const std::filesystem::path out = WorkDir() / "merged.blk";
  WriteFile(out, parts[1]);

  const auto merged = blok::MergeLibraryFiles(files[0], files[1], files[2], out, kExploring);
  if (!merged) {
    Require(!merged.error().message.empty());
    Require(ReadFile(out) == parts[1]);
    return 0;
  }
  const auto written = blok::ReadBlocksByName(out);
  Require(written.has_value() && *written == merged->blocks);
  std::set<std::string> names;
  for (const blok::LoadedBlock& block : *written) Require(names.insert(block.name).second);
  for (const blok::MergeConflict& conflict : merged->conflicts) {
    Require(conflict.theirs_as.empty() || names.contains(conflict.theirs_as));
  }

  std::vector<blok::LoadedBlock> sides[3];
  for (int i = 0; i < 3; ++i) sides[i] = *blok::ReadBlocksByName(files[i]);
  // What a side holds is lost only where it is what base held: the other side changed or
  // removed that.
  for (const int side : {1, 2}) {
    for (const blok::LoadedBlock& block : sides[side]) {
      const blok::LoadedBlock* before = Named(sides[0], block.name);
      if (before != nullptr && blok::SameContent(*before, block)) continue;
      Require(Kept(block, *written));
    }
  }
  return 0;
}
