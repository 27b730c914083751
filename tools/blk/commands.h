#pragma once

// The commands of blk, each group adding its own to the command line. A command's callback
// sets status when it fails; the options live as long as the program.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>

#include "document/library_diff.h"
#include "model/error.h"

namespace blok::cli {

// list, show, check, parse, save, remove, rename, copy, dups.
void AddLibraryCommands(CLI::App& app, int& status);

// export and import.
void AddDxfCommands(CLI::App& app, int& status);

// diff. What draws a changed block into a PNG file for --pictures is blk-draw's; blk gives none.
using DiffPictureWriter =
    std::function<Result<void>(const std::filesystem::path& png, const BlockChange& change)>;
void AddDiffCommand(CLI::App& app, int& status, DiffPictureWriter pictures);

// textconv and merge, for libraries kept in git.
void AddGitCommands(CLI::App& app, int& status);

}  // namespace blok::cli
