#pragma once

// What every blk command shares: where the program and its data lie, how trouble is reported,
// standard input, and reading one block.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "model/error.h"
#include "view/stroke_font.h"

namespace blok::cli {

// Exit status of a command that could not do its work.
inline constexpr int kFailure = 2;

// The folder the running program lies in.
std::filesystem::path ExecutableDir();

// The stroke font the commands set texts with: Dane/ beside the program or in its share folder.
std::filesystem::path FontFile();

// The message on standard error, "blk: " in front; returns kFailure.
int Report(const Error& error);

// Standard input as lines; larger than the program takes ends blk with a message.
std::vector<std::string> ReadStdinLines();

Result<LoadedBlock> LoadBlock(const std::string& file, const std::string& name);

// The stroke font on the heap: its glyph tables are too large for the stack.
Result<std::unique_ptr<StrokeFont>> LoadPaintingFont(const std::filesystem::path& font_file);

// The commands that read or write block files refuse to run, before any file is touched, when
// the code page cannot be converted. Help and usage errors still answer.
void RequireCodePage(CLI::App& app);

// Parses the command line and runs the command chosen; returns the exit status. A first word
// that names no command is answered with the list of them.
int Run(CLI::App& app, int argc, char** argv, const int& status);

}  // namespace blok::cli
