#pragma once

// The commands of blk, each group adding its own to the command line. A command's callback
// sets status when it fails; the options live as long as the program.

#include <CLI/CLI.hpp>

namespace blok::cli {

// list, show, check, parse, save, remove, rename, copy, dups.
void AddLibraryCommands(CLI::App& app, int& status);

// export and import.
void AddDxfCommands(CLI::App& app, int& status);

}  // namespace blok::cli
