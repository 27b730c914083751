// blk's commands for libraries kept in git: textconv (a library as text for git diff) and merge
// (git's merge driver).
#include <iostream>
#include <string>

#include "cli.h"
#include "commands.h"
#include "document/library_diff.h"
#include "document/library_merge.h"

namespace blok::cli {

void AddGitCommands(CLI::App& app, int& status) {
  static std::string file, base, ours, theirs, out;

  auto* textconv = app.add_subcommand(
      "textconv", "a block file as text for git diff: each block's name and unit, then its lines");
  textconv->add_option("FILE", file, "block file")->required();
  textconv->callback([&] {
    const auto blocks = ReadBlocksByName(file);
    if (!blocks) {
      status = Report(blocks.error());
      return;
    }
    for (const std::string& line : LibraryText(*blocks)) std::cout << line << "\n";
  });

  auto* merge = app.add_subcommand(
      "merge", "join two lines of work on a block file block by block (git's merge driver)");
  merge->add_option("BASE", base, "the common ancestor")->required();
  merge->add_option("OURS", ours, "our version, which takes the result unless -o is given")
      ->required();
  merge->add_option("THEIRS", theirs, "their version")->required();
  merge->add_option("-o,--output", out, "where the result goes");
  merge->footer(
      "A block both sides changed keeps ours and gets theirs beside it as \"NAME (konflikt)\". "
      "Exit status: 0 merged, 1 with conflicts, 2 trouble (OURS untouched).");
  merge->callback([&] {
    const auto merged = MergeLibraryFiles(base, ours, theirs, out.empty() ? ours : out);
    if (!merged) {
      status = Report(merged.error());
      return;
    }
    for (const std::string& line : ConflictLines(merged->conflicts)) Report({line});
    status = merged->conflicts.empty() ? 0 : 1;
  });
}

}  // namespace blok::cli
