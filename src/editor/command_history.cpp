#include "editor/command_history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "document/text_file.h"

namespace blok {
namespace {

// Blank lines are not worth a step of Up; a line break would split the file's line.
bool Unkept(std::string_view text) {
  return text.find_first_not_of(" \t") == text.npos || text.find_first_of("\r\n") != text.npos;
}

}  // namespace

bool CommandHistory::Add(std::string_view entry) {
  position_.reset();
  if (Unkept(entry) || (!entries_.empty() && entries_.back() == entry)) return false;
  entries_.emplace_back(entry);
  if (entries_.size() > kMostEntries) entries_.pop_front();
  return true;
}

std::optional<std::string> CommandHistory::Older(std::string_view typed) {
  if (entries_.empty()) return std::nullopt;
  if (!position_) {
    typed_ = typed;
    position_ = entries_.size() - 1;
  } else if (*position_ == 0) {
    return std::nullopt;
  } else {
    --*position_;
  }
  return entries_[*position_];
}

std::optional<std::string> CommandHistory::Newer() {
  if (!position_) return std::nullopt;
  if (*position_ + 1 >= entries_.size()) {
    position_.reset();
    return typed_;
  }
  return entries_[++*position_];
}

void CommandHistory::Assign(const std::vector<std::string>& entries) {
  entries_.clear();
  position_.reset();
  for (const std::string& entry : entries) Add(entry);
}

Result<std::vector<std::string>> ReadCommandHistory(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::vector<std::string>{};
  return ReadTextLines(file);
}

Result<void> WriteCommandHistory(const std::filesystem::path& file,
                                 const std::deque<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) AppendTextLine(bytes, entry);
  return ReplaceFileContents(file, bytes);
}

Result<void> AppendCommandHistory(const std::filesystem::path& file, std::string_view entry) {
  std::string bytes;
  AppendTextLine(bytes, entry);
  const UniqueFd fd(::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (fd.get() < 0) return std::unexpected(FileError("Nie można zapisać", file, errno));
  struct stat before {};
  if (::fstat(fd.get(), &before) != 0) {
    return std::unexpected(FileError("Nie można zapisać", file, errno));
  }
  // One write of a short line: a reader never sees half of it.
  const ssize_t written = ::write(fd.get(), bytes.data(), bytes.size());
  if (written == static_cast<ssize_t>(bytes.size())) return {};
  const int error = written < 0 ? errno : EIO;
  // Half a line would join the next entry appended: the file goes back to what it held.
  if (written > 0) (void)::ftruncate(fd.get(), before.st_size);
  return std::unexpected(FileError("Nie można zapisać", file, error));
}

}  // namespace blok
