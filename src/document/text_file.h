#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

namespace blok {

// Text files of the program (block files, data files) are CP1250 with CR LF line ends. These
// read them into UTF-8 lines and write UTF-8 lines back out.

// Files and input larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t kMaxTextBytes = 256 * 1024 * 1024;

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

// Replaces the whole file by bytes, or leaves it exactly as it was: the bytes go to a temporary
// file beside it, are flushed to disk and renamed over it. A new file gets the permissions a
// new file would get; an existing one keeps its own. A symbolic link is followed, not replaced.
// A file the user may not write is refused as read-only, whatever its folder allows; so is
// anything but a regular file, and more than limit bytes.
Result<void> ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes,
                                 std::uintmax_t limit = kMaxTextBytes);

// A message naming the file and the reason of the last system call's failure.
Error FileError(std::string_view what, const std::filesystem::path& file, int error_number);

}  // namespace blok
