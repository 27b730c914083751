#include "document/library_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

#include "document/text_file.h"

namespace blok {
namespace {

// Another writer holds a library for milliseconds: a short pause between tries is plenty.
constexpr std::chrono::milliseconds kRetryPause{10};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file the path names now, when it is the one open as fd.
bool StillNamed(const std::filesystem::path& path, int fd) {
  struct stat open_file {};
  struct stat named {};
  return ::fstat(fd, &open_file) == 0 && ::stat(path.c_str(), &named) == 0 &&
         SameFile(open_file, named);
}

Error Busy(const std::filesystem::path& library) {
  return Error{"Plik " + library.string() +
               " jest zajęty: zapisuje go inny program. Spróbuj ponownie za chwilę."};
}

}  // namespace

Result<LibraryLock> LibraryLock::Acquire(const std::filesystem::path& library,
                                         std::chrono::milliseconds patience) {
  return Acquire(library, true, patience);
}

Result<LibraryLock> LibraryLock::AcquireExisting(const std::filesystem::path& library,
                                                 std::chrono::milliseconds patience) {
  return Acquire(library, false, patience);
}

Result<LibraryLock> LibraryLock::Acquire(const std::filesystem::path& named, bool create,
                                         std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  // The file a link leads to is the one replaced, and so the one locked; a link that leads
  // nowhere gets its target made.
  const std::filesystem::path library = FollowLinks(named);
  for (;;) {
    // O_NONBLOCK: a FIFO in the library's place must not stall the open.
    bool created = false;
    int fd = ::open(library.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT && create) {
      fd = ::open(library.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno == EEXIST && std::chrono::steady_clock::now() < deadline) {
        continue;  // another writer made it first
      }
      created = fd >= 0;
    }
    if (fd < 0) {
      return std::unexpected(FileError(
          errno == ENOENT ? "Nie można odczytać pliku" : "Nie można zapisać pliku", named, errno));
    }
    LibraryLock lock(library, fd, created);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
      return std::unexpected(FileError("Nie można zapisać pliku", named, errno));
    }
    if (!S_ISREG(info.st_mode)) {
      return Fail("Nie zapisano pliku " + named.string() + ": to nie jest zwykły plik");
    }
    for (;;) {
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0) break;
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) {
        return std::unexpected(FileError("Nie można zablokować pliku", named, errno));
      }
      if (std::chrono::steady_clock::now() >= deadline) return std::unexpected(Busy(named));
      std::this_thread::sleep_for(kRetryPause);
    }
    // The writer we waited for may have replaced the file: then the new one is to be locked.
    if (StillNamed(library, fd)) return lock;
    lock.created_ = false;  // whatever was made empty here has been replaced or removed
    if (std::chrono::steady_clock::now() >= deadline) return std::unexpected(Busy(named));
  }
}

LibraryLock::LibraryLock(LibraryLock&& other) noexcept
    : path_(std::move(other.path_)),
      fd_(std::exchange(other.fd_, -1)),
      created_(std::exchange(other.created_, false)) {}

LibraryLock& LibraryLock::operator=(LibraryLock&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    created_ = std::exchange(other.created_, false);
  }
  return *this;
}

LibraryLock::~LibraryLock() { Release(); }

void LibraryLock::Release() {
  if (fd_ < 0) return;
  // An empty file made for the lock and never replaced is no library: it goes again, while the
  // lock still keeps other writers out.
  struct stat info {};
  if (created_ && StillNamed(path_, fd_) && ::fstat(fd_, &info) == 0 && info.st_size == 0) {
    ::unlink(path_.c_str());
  }
  ::close(fd_);  // releases the lock
  fd_ = -1;
}

}  // namespace blok
