// blk diff: what changed between two block files, block by block. Compiled into blk and into
// blk-draw, which alone can draw the pictures of --pictures and gives the writer of them.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "cli.h"
#include "commands.h"
#include "document/library_diff.h"

namespace blok::cli {
namespace {

// A block's name as a file name of the folder: no path separators, no control characters, no
// name of a folder itself; names that come out the same are numbered.
std::string PictureFileName(const std::string& name, std::set<std::string>& used) {
  std::string safe = name;
  std::ranges::replace_if(
      safe, [](char c) { return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20; },
      '_');
  if (safe.empty() || safe.front() == '.') safe.insert(0, "_");
  std::string file = safe + ".png";
  for (int number = 2; !used.insert(file).second; ++number) {
    file = safe + " (" + std::to_string(number) + ").png";
  }
  return file;
}

bool HasBlock(const std::vector<LoadedBlock>& blocks, const std::string& name) {
  return std::ranges::any_of(blocks, [&](const LoadedBlock& block) { return block.name == name; });
}

}  // namespace

void AddDiffCommand(CLI::App& app, int& status, DiffPictureWriter pictures) {
  static std::string a, b, pictures_dir;
  static std::vector<std::string> names;
  static DiffPictureWriter writer;
  writer = std::move(pictures);
  auto* diff = app.add_subcommand(
      "diff", "blocks added, removed, renamed and changed from one block file to another");
  diff->add_option("A", a, "block file before")->required();
  diff->add_option("B", b, "block file after")->required();
  diff->add_option("NAME", names, "compare only these blocks");
  diff->add_option("--pictures", pictures_dir,
                   "folder for a PNG of each changed block: removed red, added green, kept black")
      ->type_name("DIR");
  diff->footer("Exit status: 0 the same, 1 different, 2 trouble.");
  diff->callback([&] {
    // The painting ends with the command, long before Qt's statics go.
    const DiffPictureWriter draw = std::exchange(writer, nullptr);
    auto before = ReadBlocksByName(a);
    if (!before) {
      status = Report(before.error());
      return;
    }
    auto after = ReadBlocksByName(b);
    if (!after) {
      status = Report(after.error());
      return;
    }
    for (const std::string& name : names) {
      if (!HasBlock(*before, name) && !HasBlock(*after, name)) {
        status = Report({"ani w pliku " + a + ", ani w pliku " + b + " nie ma bloku " + name});
        return;
      }
    }
    const std::vector<BlockChange> changes = DiffLibraries(*before, *after, names);
    for (const std::string& line : DiffReportLines(changes, a, b)) std::cout << line << "\n";
    std::cout.flush();
    status = changes.empty() ? 0 : 1;
    if (pictures_dir.empty()) return;
    if (!draw) {
      status = Report({"--pictures: obrazy rysuje blk-draw, którego blk nie uruchomił"});
      return;
    }
    std::error_code ec;
    std::filesystem::create_directories(pictures_dir, ec);
    if (ec) {
      status = Report({"Nie można utworzyć folderu " + pictures_dir + ": " + ec.message()});
      return;
    }
    std::set<std::string> used;
    for (const BlockChange& change : changes) {
      if (change.kind != BlockChangeKind::kChanged) continue;
      const auto png =
          std::filesystem::path(pictures_dir) / PictureFileName(change.before.name, used);
      if (auto written = draw(png, change); !written) {
        status = Report(written.error());
        return;
      }
    }
  });
}

}  // namespace blok::cli
