// blk: block libraries from the shell. Lists, shows, checks, parses, saves and removes blocks,
// and exchanges them with DXF drawings. The commands that draw are blk-draw's: blk hands their
// command line over, so that it starts without the drawing libraries.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "cli.h"
#include "commands.h"

namespace {

// The commands blk-draw answers, with what each does for blk's list of commands.
constexpr std::pair<std::string_view, std::string_view> kDrawingCommands[] = {
    {"render", "draw a block into an image file (PNG, JPEG, SVG...)"},
    {"catalogue", "every block of a file, drawn on A4 pages (PDF)"},
};

// blk diff draws with --pictures only: then blk-draw runs it.
bool DrawsDiffPictures(int argc, char** argv) {
  if (std::string_view(argv[1]) != "diff") return false;
  for (int i = 2; i < argc; ++i) {
    if (std::string_view(argv[i]).starts_with("--pictures")) return true;
  }
  return false;
}

// Beside blk in the build tree, in ../libexec/blokedit/ when installed.
std::filesystem::path DrawingProgram() {
  const std::filesystem::path dir = blok::cli::ExecutableDir();
  std::error_code ec;
  if (std::filesystem::exists(dir / "blk-draw", ec)) return dir / "blk-draw";
  return dir.parent_path() / "libexec" / "blokedit" / "blk-draw";
}

[[noreturn]] void RunDrawingProgram(char** argv) {
  const std::filesystem::path program = DrawingProgram();
  ::execv(program.c_str(), argv);
  std::cerr << "blk: nie można uruchomić programu rysującego " << program.string() << ": "
            << std::strerror(errno) << "\n";
  std::exit(blok::cli::kFailure);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    for (const auto& [command, what] : kDrawingCommands) {
      if (argv[1] == command) RunDrawingProgram(argv);
    }
    if (DrawsDiffPictures(argc, argv)) RunDrawingProgram(argv);
  }
  CLI::App app{
      "blk: lists, shows, checks, parses, saves, removes, renames, copies, renders, exports, "
      "imports and catalogues the blocks of block files (*.blk), finds blocks saved twice, and "
      "compares and merges block files"};
  app.require_subcommand(1);
  blok::cli::RequireCodePage(app);
  int status = 0;
  blok::cli::AddLibraryCommands(app, status);
  blok::cli::AddDxfCommands(app, status);
  blok::cli::AddDiffCommand(app, status, nullptr);
  blok::cli::AddGitCommands(app, status);
  // Listed here, run by blk-draw.
  for (const auto& [command, what] : kDrawingCommands) {
    app.add_subcommand(std::string(command), std::string(what));
  }
  return blok::cli::Run(app, argc, argv, status);
}
