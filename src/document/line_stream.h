#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/text_file.h"
#include "model/error.h"

namespace blok {

// A file read line by line through a buffer, so that memory does not grow with the file, only
// with its longest line. A line is the file's bytes up to a LF; its text leaves out the LF and
// a CR before it. A last line without a line end is a line; an empty file has none.
class LineStream {
 public:
  // Reads from fd, from where it stands, which stays the caller's; name is the file's, for
  // messages. More than limit bytes are refused with a message.
  LineStream(int fd, std::string name, std::uintmax_t limit = kMaxTextBytes);

  // Steps to the next line: false at the end of the file.
  Result<bool> Next();

  // The current line's text, and its bytes as they stand in the file with their line end.
  // Both stay valid until the next call of Next.
  std::string_view text() const { return text_; }
  std::string_view bytes() const { return bytes_; }
  // Where the current line's bytes begin, counted from where reading began.
  std::uint64_t offset() const { return offset_; }

 private:
  static constexpr std::size_t kChunk = 1 << 16;

  int fd_;
  std::string name_;
  std::uintmax_t limit_;
  std::uint64_t buffer_offset_ = 0;  // of buffer_[0]
  std::uint64_t offset_ = 0;
  std::string buffer_;
  std::size_t start_ = 0;    // where the next line begins
  std::size_t filled_ = 0;   // bytes of buffer_ read so far
  std::size_t scanned_ = 0;  // bytes from start_ known to hold no LF
  bool end_of_file_ = false;
  std::string_view text_;
  std::string_view bytes_;
};

}  // namespace blok
