#pragma once

#include <chrono>
#include <filesystem>

#include "model/error.h"

namespace blok {

// How long a writer waits for another writer of the same library before it gives up.
inline constexpr std::chrono::milliseconds kLockPatience{5000};

// An exclusive advisory lock on a library for one read-modify-write: taken before the library
// is read, held until its replacement has been renamed into place, so that two writers (two
// editors, a script and an editor) never both write over what the other read.
//
// The lock is on the file the path names. A writer that waited while another replaced the file
// finds the path naming a new file and locks that one instead, so the lock holds across the
// replacement. A library that does not exist yet is created empty to be locked; when the
// writer gives up without writing it, the empty file goes again.
class LibraryLock {
 public:
  // Fails, after waiting at most patience, when another writer holds the library, and at once
  // when it is no regular file or cannot be opened for writing.
  static Result<LibraryLock> Acquire(const std::filesystem::path& library,
                                     std::chrono::milliseconds patience = kLockPatience);
  // The same for a library that must exist already: a missing one is an error, not made.
  static Result<LibraryLock> AcquireExisting(const std::filesystem::path& library,
                                             std::chrono::milliseconds patience = kLockPatience);

  LibraryLock(LibraryLock&& other) noexcept;
  LibraryLock& operator=(LibraryLock&& other) noexcept;
  LibraryLock(const LibraryLock&) = delete;
  LibraryLock& operator=(const LibraryLock&) = delete;
  ~LibraryLock();

  // Whether the library did not exist before this writer (it is the empty file made for the
  // lock until the writer replaces it).
  bool created() const { return created_; }
  // The locked file, open for reading and writing; it stays the lock's.
  int fd() const { return fd_; }

 private:
  static Result<LibraryLock> Acquire(const std::filesystem::path& library, bool create,
                                     std::chrono::milliseconds patience);
  LibraryLock(std::filesystem::path path, int fd, bool created)
      : path_(std::move(path)), fd_(fd), created_(created) {}
  void Release();

  std::filesystem::path path_;
  int fd_ = -1;
  bool created_ = false;
};

}  // namespace blok
