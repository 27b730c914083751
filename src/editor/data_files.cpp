#include "editor/data_files.h"

#include <unistd.h>

#include "document/text_file.h"

namespace blok {
namespace {

// A data file that is not there is no error: the defaults stand.
Result<std::optional<std::vector<std::string>>> LinesIfPresent(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return std::nullopt;
  auto lines = ReadTextLines(file);
  if (!lines) return std::unexpected(lines.error());
  return std::move(*lines);
}

Result<void> WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) AppendTextLine(bytes, line);
  return ReplaceFileContents(file, bytes);
}

}  // namespace

Result<std::optional<std::string>> ReadProjectDirectory(const std::filesystem::path& file) {
  auto lines = LinesIfPresent(file);
  if (!lines) return std::unexpected(lines.error());
  std::optional<std::string> directory;
  if (!*lines) return directory;
  const std::vector<std::string>& all = **lines;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] != kProjectDirectoryMarker) continue;
    directory = i + 1 < all.size() ? all[i + 1] : std::string();
    ++i;  // the directory line is never a marker of its own
  }
  return directory;
}

Result<void> WriteProjectDirectory(const std::filesystem::path& file, std::string_view directory) {
  return WriteLines(file, {std::string(kProjectDirectoryMarker), std::string(directory)});
}

Result<std::vector<std::string>> ReadRecentPaths(const std::filesystem::path& file) {
  auto lines = LinesIfPresent(file);
  if (!lines) return std::unexpected(lines.error());
  std::vector<std::string> paths;
  for (std::string& line : lines->value_or(std::vector<std::string>{})) {
    if (line.size() >= kShortestRecentPath) paths.push_back(std::move(line));
  }
  return paths;
}

Result<void> WriteRecentPaths(const std::filesystem::path& file,
                              const std::vector<std::string>& paths) {
  return WriteLines(file, paths);
}

std::filesystem::path FindStateDir(const std::filesystem::path& data_dir,
                                   const std::filesystem::path& user_dir) {
  if (::access((data_dir / "Dane").c_str(), W_OK) == 0) return data_dir;
  std::error_code ec;
  std::filesystem::create_directories(user_dir / "Dane", ec);
  return user_dir;
}

}  // namespace blok
