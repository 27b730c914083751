#include "document/line_stream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace blok {

LineStream::LineStream(int fd, std::string name, std::uintmax_t limit)
    : fd_(fd), name_(std::move(name)), limit_(limit), buffer_(kChunk, '\0') {}

Result<bool> LineStream::Next() {
  for (;;) {
    const char* from = buffer_.data() + start_ + scanned_;
    const auto* lf = static_cast<const char*>(std::memchr(from, '\n', filled_ - start_ - scanned_));
    if (lf != nullptr || (end_of_file_ && start_ < filled_)) {
      const std::size_t end =
          lf != nullptr ? static_cast<std::size_t>(lf - buffer_.data()) + 1 : filled_;
      // Made in locals and stored once: read back from the members just written, the view
      // would wait on its own two halves.
      const std::string_view bytes = std::string_view(buffer_).substr(start_, end - start_);
      std::string_view text = bytes;
      if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      bytes_ = bytes;
      text_ = text;
      offset_ = buffer_offset_ + start_;
      start_ = end;
      scanned_ = 0;
      return true;
    }
    if (end_of_file_) {
      text_ = bytes_ = {};
      return false;
    }
    scanned_ = filled_ - start_;
    // The line so far to the front, then room for more of it.
    if (start_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + start_, filled_ - start_);
      buffer_offset_ += start_;
      filled_ -= start_;
      start_ = 0;
    }
    if (buffer_.size() - filled_ < kChunk / 2) buffer_.resize(buffer_.size() + kChunk);
    ssize_t got;
    do {
      got = ::read(fd_, buffer_.data() + filled_, buffer_.size() - filled_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return std::unexpected(FileError("Nie można odczytać pliku", name_, errno));
    if (got == 0) end_of_file_ = true;
    filled_ += static_cast<std::size_t>(got);
    if (buffer_offset_ + filled_ > limit_)
      return std::unexpected(TooLargeError("pliku " + name_, limit_));
  }
}

}  // namespace blok
