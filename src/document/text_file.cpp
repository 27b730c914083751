#include "document/text_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "model/cp1250.h"

namespace blok {
namespace {

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

constexpr std::string_view kNotARegularFile = "to nie jest zwykły plik";

std::string SizeText(std::uintmax_t limit) {
  constexpr std::uintmax_t kMegabyte = 1024 * 1024;
  return limit % kMegabyte == 0 ? std::to_string(limit / kMegabyte) + " MB"
                                : std::to_string(limit) + " B";
}

std::unexpected<Error> TooLarge(std::string_view what, std::uintmax_t limit) {
  return Fail("Nie można odczytać " + std::string(what) + ": dane są większe niż " +
              SizeText(limit));
}

std::unexpected<Error> OutOfMemory(std::string_view what) {
  return Fail("Nie można odczytać " + std::string(what) + ": za mało pamięci");
}

// Everything the descriptor gives, but never more than limit bytes: a device or a pipe without
// end must not eat the memory.
Result<std::string> ReadLimited(int fd, std::string_view what, std::uintmax_t limit) {
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (regular && static_cast<std::uintmax_t>(info.st_size) > limit) return TooLarge(what, limit);
  try {
    std::string bytes;
    if (regular) bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof(buffer));
      if (got < 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN) {
          // A pipe opened without waiting: wait for its writer's bytes now.
          pollfd wait{fd, POLLIN, 0};
          ::poll(&wait, 1, -1);
          continue;
        }
        return Fail("Nie można odczytać " + std::string(what) + ": " + std::strerror(errno));
      }
      if (got == 0) return bytes;
      if (bytes.size() + static_cast<size_t>(got) > limit) return TooLarge(what, limit);
      bytes.append(buffer, static_cast<size_t>(got));
    }
  } catch (const std::bad_alloc&) {
    return OutOfMemory(what);
  }
}

// Lines end at LF; a CR before it is dropped, so files with LF alone read the same.
template <typename Convert>
Result<std::vector<std::string>> SplitLines(std::string_view bytes, std::string_view what,
                                            Convert convert) {
  try {
    std::vector<std::string> lines;
    // One allocation for the whole list, so that a file of empty lines too big for the memory
    // fails here and not halfway.
    lines.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find('\n', start);
      const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
      if (end == std::string_view::npos) end = bytes.size();
      if (end > start && bytes[end - 1] == '\r') --end;
      lines.push_back(convert(bytes.substr(start, end - start)));
      start = next;
    }
    return lines;
  } catch (const std::bad_alloc&) {
    return OutOfMemory(what);
  }
}

}  // namespace

Error FileError(std::string_view what, const std::filesystem::path& file, int error_number) {
  return Error{std::string(what) + " " + file.string() + ": " + std::strerror(error_number)};
}

Result<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file,
                                               std::uintmax_t limit) {
  const std::string what = "pliku " + file.string();
  // Looked at before it is opened: opening a device or a pipe can block or have effects.
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  }
  if (!S_ISREG(info.st_mode))
    return Fail("Nie można odczytać " + what + ": " + std::string(kNotARegularFile));
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  if (::fstat(fd.get(), &info) != 0) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  }
  if (!S_ISREG(info.st_mode))
    return Fail("Nie można odczytać " + what + ": " + std::string(kNotARegularFile));
  auto bytes = ReadLimited(fd.get(), what, limit);
  if (!bytes) return std::unexpected(bytes.error());
  return SplitLines(*bytes, what, Cp1250ToUtf8);
}

Result<std::vector<std::string>> ReadInputLines(int fd, std::string_view what,
                                                std::uintmax_t limit) {
  auto bytes = ReadLimited(fd, what, limit);
  if (!bytes) return std::unexpected(bytes.error());
  return SplitLines(*bytes, what, [](std::string_view line) { return std::string(line); });
}

void AppendTextLine(std::string& bytes, std::string_view line) {
  bytes += Utf8ToCp1250(line);
  bytes += "\r\n";
}

Result<void> ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes,
                                 std::uintmax_t limit) {
  // A file that could not be read back is not written.
  if (bytes.size() > limit) {
    return Fail("Nie można zapisać pliku " + file.string() + ": dane są większe niż " +
                SizeText(limit));
  }
  std::error_code ec;
  std::filesystem::path target = std::filesystem::weakly_canonical(file, ec);
  if (ec) target = file;
  const std::filesystem::path dir = target.parent_path().empty() ? "." : target.parent_path();

  mode_t mode = 0666;
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    // A device or a pipe stays what it is; a new file in its place would hide it.
    return Fail("Nie można zapisać pliku " + file.string() + ": " + std::string(kNotARegularFile));
  }
  if (exists) {
    // The folder may let us put a new file in its place, but a file the user may not write is
    // not ours to replace. Without any write bit even root leaves it alone.
    if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
      return Fail("Nie można zapisać pliku " + file.string() + ": plik jest tylko do odczytu");
    }
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }

  std::string temp = (dir / "UsunPom-XXXXXX.txt").string();
  Descriptor fd(::mkstemps(temp.data(), 4));
  if (fd.get() < 0) return std::unexpected(FileError("Nie można zapisać pliku", file, errno));
  const auto fail = [&](int error_number) {
    ::unlink(temp.c_str());
    return std::unexpected(FileError("Nie można zapisać pliku", file, error_number));
  };
  if (!WriteAll(fd.get(), bytes)) return fail(errno);
  if (::fchmod(fd.get(), mode) != 0) return fail(errno);
  if (exists) {
    // Keep the owner where we may (as root, for a file of another user), else at least the
    // group of a shared file; failing is harmless.
    if (::fchown(fd.get(), info.st_uid, info.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd.get(), static_cast<uid_t>(-1), info.st_gid);
    }
  }
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (fd.Close() != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
  // The rename itself must reach the disk too.
  Descriptor dir_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir_fd.get() >= 0) ::fsync(dir_fd.get());
  return {};
}

}  // namespace blok
