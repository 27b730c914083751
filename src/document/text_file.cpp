#include "document/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

}  // namespace

Error FileError(std::string_view what, const std::filesystem::path& file, int error_number) {
  return Error{std::string(what) + " " + file.string() + ": " + std::strerror(error_number)};
}

Result<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file) {
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  }
  if (S_ISDIR(info.st_mode)) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, EISDIR));
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof(buffer));
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    if (end > start && bytes[end - 1] == '\r') --end;
    lines.push_back(Cp1250ToUtf8(std::string_view(bytes).substr(start, end - start)));
    start = next;
  }
  return lines;
}

void AppendTextLine(std::string& bytes, std::string_view line) {
  bytes += Utf8ToCp1250(line);
  bytes += "\r\n";
}

Result<void> ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::path target = std::filesystem::weakly_canonical(file, ec);
  if (ec) target = file;
  const std::filesystem::path dir = target.parent_path().empty() ? "." : target.parent_path();

  mode_t mode = 0666;
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
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
