#include "cli.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <new>

#include "document/data_dir.h"
#include "document/text_file.h"
#include "model/cp1250.h"

namespace blok::cli {
namespace {

// Thrown once the command line is read when the code page cannot be converted.
struct NoCodePage {
  Error error;
};

// The commands with what each does, one a line, for a command line without a known one.
std::string CommandList(const CLI::App& app) {
  const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
  // The descriptions in one column, clear of the longest name.
  size_t width = 8;
  for (const CLI::App* command : commands) width = std::max(width, command->get_name().size() + 2);
  std::string list = "commands:\n";
  for (const CLI::App* command : commands) {
    std::string name = command->get_name();
    name.resize(width, ' ');
    list += "  " + name + command->get_description() + "\n";
  }
  return list + "blk COMMAND --help tells more of each.\n";
}

bool IsCommand(const CLI::App& app, const std::string& word) {
  return !app.get_subcommands([&](const CLI::App* command) { return command->check_name(word); })
              .empty();
}

}  // namespace

std::filesystem::path ExecutableDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}

std::filesystem::path FontFile() {
  std::filesystem::path dir = ExecutableDir();
  // Installed, blk-draw lies in libexec/blokedit/, a folder deeper than blk.
  if (dir.filename() == "blokedit" && dir.parent_path().filename() == "libexec") {
    dir = dir.parent_path();
  }
  return FindDataDir(dir) / "Dane" / "Romans100.Lzs";
}

int Report(const Error& error) {
  std::cerr << "blk: " << error.message << "\n";
  return kFailure;
}

std::vector<std::string> ReadStdinLines() {
  auto lines = ReadInputLines(STDIN_FILENO, "standardowego wejścia");
  if (!lines) std::exit(Report(lines.error()));
  return std::move(*lines);
}

Result<LoadedBlock> LoadBlock(const std::string& file, const std::string& name) {
  auto block = WczytajBlok(file, name);
  if (!block) return std::unexpected(block.error());
  if (!*block) return Fail("w pliku " + file + " nie ma bloku " + name);
  return std::move(**block);
}

Result<std::unique_ptr<StrokeFont>> LoadPaintingFont(const std::filesystem::path& font_file) {
  auto font = LoadStrokeFont(font_file);
  if (!font) return std::unexpected(font.error());
  return std::make_unique<StrokeFont>(*font);
}

void RequireCodePage(CLI::App& app) {
  app.parse_complete_callback([] {
    if (auto problem = CodePageProblem()) throw NoCodePage{std::move(*problem)};
  });
}

int Run(CLI::App& app, int argc, char** argv, const int& status) {
  // The first word names the command; CLI11 would only say that one is required.
  if (argc < 2 || (argv[1][0] != '-' && !IsCommand(app, argv[1]))) {
    std::cerr << (argc < 2 ? std::string("blk: no command given\n")
                           : "blk: unknown command '" + std::string(argv[1]) + "'\n")
              << CommandList(app);
    return kFailure;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    std::cerr << "blk: " << e.what() << " (blk --help lists the commands)\n";
    return kFailure;
  } catch (const NoCodePage& refused) {
    return Report(refused.error);
  } catch (const std::bad_alloc&) {
    // The library code answers a lack of memory itself; this is for anything else that runs out.
    std::cerr << "blk: za mało pamięci\n";
    return kFailure;
  }
  return status;
}

}  // namespace blok::cli
