#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/error.h"

namespace blok {

// Text files of the program (block files, data files) are CP1250 with CR LF line ends. These
// read them into UTF-8 lines and write UTF-8 lines back out.

// Files and input larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t kMaxTextBytes = 256 * 1024 * 1024;

// A descriptor closed on every way out.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// A text file open for reading: only a regular file (or a link to one) of at most limit bytes;
// anything else is refused with a message.
Result<UniqueFd> OpenTextFile(const std::filesystem::path& file,
                              std::uintmax_t limit = kMaxTextBytes);
// The same checks on a descriptor already open.
Result<void> CheckOpenTextFile(int fd, const std::filesystem::path& file,
                               std::uintmax_t limit = kMaxTextBytes);
// "Nie można odczytać <what>: dane są większe niż <limit>".
Error TooLargeError(std::string_view what, std::uintmax_t limit);

// The file's lines, converted to UTF-8. Lines end at LF; a CR before it is dropped, so files
// with LF alone read the same. A last line without a line end is a line; an empty file has none.
// Only a regular file (or a link to one) of at most limit bytes is read; anything else is
// refused with a message, as is a lack of memory.
Result<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file,
                                               std::uintmax_t limit = kMaxTextBytes);

// The lines of an open descriptor (standard input), split as above but not converted: at most
// limit bytes, else a message naming what, e.g. "standardowego wejścia".
Result<std::vector<std::string>> ReadInputLines(int fd, std::string_view what,
                                                std::uintmax_t limit = kMaxTextBytes);

// Appends line, converted to CP1250, and CR LF to bytes.
void AppendTextLine(std::string& bytes, std::string_view line);

// How a replacement is made. durable = false leaves out flushing to the disk, for tests and
// fuzzing that would otherwise wait on it; a crash may then leave either version or none.
struct ReplaceOptions {
  std::uintmax_t limit = kMaxTextBytes;
  bool durable = true;
};

// A replacement of a file written piece by piece: the bytes go to a temporary file beside it,
// and Commit flushes that to disk and renames it over the file. Until Commit succeeds, and when
// the replacement is dropped without it, the file stays exactly as it was. A new file gets the
// permissions a new file would get; an existing one keeps its own. A symbolic link is followed,
// not replaced. A file the user may not write is refused as read-only, whatever its folder
// allows; so is anything but a regular file, and more than limit bytes in all.
class FileReplacement {
 public:
  static Result<FileReplacement> Begin(const std::filesystem::path& file,
                                       const ReplaceOptions& options = {});
  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&&) = delete;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  Result<void> Write(std::string_view bytes);
  Result<void> Commit();

 private:
  FileReplacement() = default;
  Result<void> Flush();
  std::unexpected<Error> Failed(int error_number);

  std::filesystem::path file_;    // as the caller named it, for messages
  std::filesystem::path target_;  // what is replaced: the file a link leads to
  std::string temp_;
  int fd_ = -1;
  ReplaceOptions options_;
  std::string buffer_;
  std::uintmax_t written_ = 0;
};

// The file a path leads to through symbolic links, also where it does not exist yet: that is
// the file a replacement writes, and a link that leads nowhere gets its target made.
std::filesystem::path FollowLinks(const std::filesystem::path& file);

// Whether FileReplacement may replace the file: it is missing, or a regular file the user may
// write.
Result<void> CheckReplaceable(const std::filesystem::path& file);

// Replaces the whole file by bytes at once, as FileReplacement does.
Result<void> ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes,
                                 std::uintmax_t limit = kMaxTextBytes);

// Removes the temporary files that replacements of this file left behind when they were
// killed before they could finish. Only for a caller that keeps every other writer of the file
// out (LibraryLock): a temporary file of a writer at work would go too.
void RemoveLeftovers(const std::filesystem::path& file);

// A message naming the file and the reason of the last system call's failure.
Error FileError(std::string_view what, const std::filesystem::path& file, int error_number);

}  // namespace blok
