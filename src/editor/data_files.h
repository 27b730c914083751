#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

namespace blok {

// The files in Dane/ that carry the project directory and the recent files from one run to
// the next. Both are rewritten whole at exit.
inline constexpr std::string_view kProjectDirectoryFile = "Dane/Katalogi.Lst";
inline constexpr std::string_view kRecentFilesFile = "Dane/PozMenu.Lpk";
inline constexpr std::string_view kProjectDirectoryMarker = "__________________ kat. projektów";

// The directory on the line after the last marker line; a marker on the last line gives an
// empty directory. Nothing when the file does not exist or has no marker.
Result<std::optional<std::string>> ReadProjectDirectory(const std::filesystem::path& file);
// The marker and the directory, and nothing else.
Result<void> WriteProjectDirectory(const std::filesystem::path& file, std::string_view directory);

// Where the program keeps what it writes for itself (the files above): beside its data
// (FindDataDir) when that may be written, so that a set-up in a folder of its own keeps its
// remembered files; else user_dir, the user's data folder, made if need be.
std::filesystem::path FindStateDir(const std::filesystem::path& data_dir,
                                   const std::filesystem::path& user_dir);

// A remembered path shorter than this is a blank slot of the menu, not a file.
inline constexpr size_t kShortestRecentPath = 4;

// The remembered paths, oldest first, blank slots left out; none when the file does not exist.
Result<std::vector<std::string>> ReadRecentPaths(const std::filesystem::path& file);
Result<void> WriteRecentPaths(const std::filesystem::path& file,
                              const std::vector<std::string>& paths);

}  // namespace blok
