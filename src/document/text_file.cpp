#include "document/text_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <random>
#include <utility>

#include "model/cp1250.h"

namespace blok {
namespace {

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

Result<UniqueFd> OpenTextFile(const std::filesystem::path& file, std::uintmax_t limit) {
  const std::string what = "pliku " + file.string();
  // Looked at before it is opened: opening a device or a pipe can block or have effects.
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  }
  if (!S_ISREG(info.st_mode))
    return Fail("Nie można odczytać " + what + ": " + std::string(kNotARegularFile));
  UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  if (auto checked = CheckOpenTextFile(fd.get(), file, limit); !checked) {
    return std::unexpected(checked.error());
  }
  return fd;
}

Result<void> CheckOpenTextFile(int fd, const std::filesystem::path& file, std::uintmax_t limit) {
  const std::string what = "pliku " + file.string();
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  }
  if (!S_ISREG(info.st_mode))
    return Fail("Nie można odczytać " + what + ": " + std::string(kNotARegularFile));
  if (static_cast<std::uintmax_t>(info.st_size) > limit) return TooLarge(what, limit);
  return {};
}

Error TooLargeError(std::string_view what, std::uintmax_t limit) {
  return TooLarge(what, limit).error();
}

Result<std::vector<std::string>> ReadTextLines(const std::filesystem::path& file,
                                               std::uintmax_t limit) {
  const std::string what = "pliku " + file.string();
  auto fd = OpenTextFile(file, limit);
  if (!fd) return std::unexpected(fd.error());
  auto bytes = ReadLimited(fd->get(), what, limit);
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

namespace {

std::filesystem::path Target(const std::filesystem::path& file) { return FollowLinks(file); }

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  return target.parent_path().empty() ? "." : target.parent_path();
}

// Temporary files are named after the file they replace, so that a writer of one library
// never takes another's for a leftover: "UsunPom-<file name>-XXXXXX.txt".
std::string TempPrefix(const std::filesystem::path& target) {
  return "UsunPom-" + target.filename().string() + "-";
}
constexpr std::string_view kTempSuffix = ".txt";
constexpr size_t kTempRandom = 6;  // letters and digits between the prefix and the suffix

// Random letters and digits for a temporary file's name. The kernel's generator, or where it
// cannot answer at once (early at boot), a generator seeded once per thread.
std::string RandomName() {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[kTempRandom];
  if (::getrandom(bytes, sizeof(bytes), GRND_NONBLOCK) != static_cast<ssize_t>(sizeof(bytes))) {
    thread_local std::mt19937 engine{std::random_device{}()};
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(engine());
  }
  std::string name(kTempRandom, 'X');
  for (size_t i = 0; i < kTempRandom; ++i) name[i] = kLetters[bytes[i] % kLetters.size()];
  return name;
}

// Creates "<folder>/UsunPom-<file name>-XXXXXX.txt" with a fresh name, open for writing, with
// mode as the creation mode: the kernel takes the umask (or the folder's default ACL) off it,
// as for any other new file. Returns the descriptor, or -1 with errno set.
int CreateTemp(const std::filesystem::path& target, mode_t mode, std::string& name) {
  constexpr int kTries = 100;
  const std::string start = (FolderOf(target) / TempPrefix(target)).string();
  for (int attempt = 0; attempt < kTries; ++attempt) {
    name = start + RandomName() + std::string(kTempSuffix);
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name.clear();
  errno = error;
  return -1;
}

std::unexpected<Error> TooLargeToWrite(const std::filesystem::path& file, std::uintmax_t limit) {
  return Fail("Nie można zapisać pliku " + file.string() + ": dane są większe niż " +
              SizeText(limit));
}

// Writes are gathered into pieces of this size.
constexpr size_t kWriteChunk = 1 << 16;

}  // namespace

std::filesystem::path FollowLinks(const std::filesystem::path& file) {
  // As many hops as the system itself follows; a loop stays a link, and opening it fails.
  constexpr int kMostHops = 40;
  std::filesystem::path path = file;
  std::error_code ec;
  for (int hop = 0; hop < kMostHops && std::filesystem::is_symlink(path, ec); ++hop) {
    const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

Result<void> CheckReplaceable(const std::filesystem::path& file) {
  const std::filesystem::path target = Target(file);
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) return {};  // a new file
  if (!S_ISREG(info.st_mode)) {
    // A device or a pipe stays what it is; a new file in its place would hide it.
    return Fail("Nie można zapisać pliku " + file.string() + ": " + std::string(kNotARegularFile));
  }
  // The folder may let us put a new file in its place, but a file the user may not write is
  // not ours to replace. Without any write bit even root leaves it alone.
  if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
    return Fail("Nie można zapisać pliku " + file.string() + ": plik jest tylko do odczytu");
  }
  return {};
}

Result<FileReplacement> FileReplacement::Begin(const std::filesystem::path& file,
                                               const ReplaceOptions& options) {
  FileReplacement r;
  r.file_ = file;
  r.target_ = Target(file);
  r.options_ = options;
  if (auto writable = CheckReplaceable(file); !writable) return std::unexpected(writable.error());
  struct stat info {};
  const bool exists = ::stat(r.target_.c_str(), &info) == 0;
  // A new library is created with 0666 and gets what the umask leaves of it from the kernel;
  // reading the umask here would mean setting it, for every thread of the program at once.
  // An existing one's temporary starts private and takes the file's own mode below.
  r.fd_ = CreateTemp(r.target_, exists ? 0600 : 0666, r.temp_);
  if (r.fd_ < 0) return std::unexpected(FileError("Nie można zapisać pliku", file, errno));
  if (exists && ::fchmod(r.fd_, info.st_mode & 07777) != 0) return r.Failed(errno);
  if (exists) {
    // Keep the owner where we may (as root, for a file of another user), else at least the
    // group of a shared file; failing is harmless.
    if (::fchown(r.fd_, info.st_uid, info.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(r.fd_, static_cast<uid_t>(-1), info.st_gid);
    }
  }
  r.buffer_.reserve(kWriteChunk);
  return r;
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : file_(std::move(other.file_)),
      target_(std::move(other.target_)),
      temp_(std::exchange(other.temp_, {})),
      fd_(std::exchange(other.fd_, -1)),
      options_(other.options_),
      buffer_(std::move(other.buffer_)),
      written_(other.written_) {}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::unexpected<Error> FileReplacement::Failed(int error_number) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  return std::unexpected(FileError("Nie można zapisać pliku", file_, error_number));
}

Result<void> FileReplacement::Write(std::string_view bytes) {
  if (fd_ < 0) return Fail("Nie można zapisać pliku " + file_.string());
  // A file that could not be read back is not written.
  if (written_ + bytes.size() > options_.limit) {
    Failed(EFBIG);
    return TooLargeToWrite(file_, options_.limit);
  }
  written_ += bytes.size();
  if (buffer_.size() + bytes.size() > kWriteChunk) {
    if (auto flushed = Flush(); !flushed) return flushed;
    if (bytes.size() >= kWriteChunk) {
      if (!WriteAll(fd_, bytes)) return Failed(errno);
      return {};
    }
  }
  buffer_.append(bytes);
  return {};
}

Result<void> FileReplacement::Flush() {
  if (!WriteAll(fd_, buffer_)) return Failed(errno);
  buffer_.clear();
  return {};
}

Result<void> FileReplacement::Commit() {
  if (fd_ < 0) return Fail("Nie można zapisać pliku " + file_.string());
  if (auto flushed = Flush(); !flushed) return flushed;
  if (options_.durable && ::fsync(fd_) != 0) return Failed(errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return Failed(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return Failed(errno);
  temp_.clear();
  if (options_.durable) {
    // The rename itself must reach the disk too.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  return {};
}

Result<void> ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes,
                                 std::uintmax_t limit) {
  if (bytes.size() > limit) return TooLargeToWrite(file, limit);
  auto replacement = FileReplacement::Begin(file, {.limit = limit});
  if (!replacement) return std::unexpected(replacement.error());
  if (auto written = replacement->Write(bytes); !written) return written;
  return replacement->Commit();
}

void RemoveLeftovers(const std::filesystem::path& file) {
  const std::filesystem::path target = Target(file);
  const std::string prefix = TempPrefix(target);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(FolderOf(target), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == prefix.size() + kTempRandom + kTempSuffix.size() &&
        name.starts_with(prefix) && name.ends_with(kTempSuffix) && entry.is_regular_file(ec)) {
      std::filesystem::remove(entry.path(), ec);
    }
  }
}

}  // namespace blok
