// Preloaded (LD_PRELOAD) into a program by the tests: a disk that fails. Calls of one kind on
// files under one folder are counted, and the N-th of them fails with the error given, as a
// full disk, a failing one or a spent quota would make it fail.
//
//   BLOK_FAIL_DIR     the folder whose files count (other files are left alone)
//   BLOK_FAIL_CALL    open, write, fsync or rename
//   BLOK_FAIL_AT      which call of that kind fails, from 1 (0 or none: none fails)
//   BLOK_FAIL_ERRNO   ENOSPC, EIO or EDQUOT
//   BLOK_FAIL_COUNT   a file that gets, at exit, how many calls of each kind were made
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

enum Kind { kOpen, kWrite, kFsync, kRename, kKinds };
constexpr const char* kNames[kKinds] = {"open", "write", "fsync", "rename"};

struct Plan {
  std::string dir;
  int kind = -1;
  long at = 0;
  int error = EIO;
  std::string count_file;
  long counts[kKinds] = {};

  Plan() {
    if (const char* d = std::getenv("BLOK_FAIL_DIR")) dir = d;
    if (const char* c = std::getenv("BLOK_FAIL_CALL")) {
      for (int k = 0; k < kKinds; ++k) {
        if (std::strcmp(c, kNames[k]) == 0) kind = k;
      }
    }
    if (const char* a = std::getenv("BLOK_FAIL_AT")) at = std::strtol(a, nullptr, 10);
    if (const char* e = std::getenv("BLOK_FAIL_ERRNO")) {
      if (std::strcmp(e, "ENOSPC") == 0) error = ENOSPC;
      if (std::strcmp(e, "EDQUOT") == 0) error = EDQUOT;
    }
    if (const char* f = std::getenv("BLOK_FAIL_COUNT")) count_file = f;
  }
  ~Plan() {
    if (count_file.empty()) return;
    if (FILE* out = std::fopen(count_file.c_str(), "w")) {
      for (int k = 0; k < kKinds; ++k) std::fprintf(out, "%s %ld\n", kNames[k], counts[k]);
      std::fclose(out);
    }
  }

  // The folder's files, and the folder itself (a writer syncs it after a rename).
  bool Watched(std::string_view path) const {
    return !dir.empty() && path.starts_with(dir) &&
           (path.size() == dir.size() || path[dir.size()] == '/');
  }
  bool WatchedFd(int fd) const {
    if (dir.empty()) return false;
    char link[64];
    std::snprintf(link, sizeof(link), "/proc/self/fd/%d", fd);
    char path[PATH_MAX];
    const ssize_t n = ::readlink(link, path, sizeof(path));
    return n > 0 && Watched(std::string_view(path, static_cast<size_t>(n)));
  }
  // Counts a call on a watched file: true when this one is to fail.
  bool Fails(Kind k) {
    ++counts[k];
    return k == kind && counts[k] == at;
  }
};

Plan& ThePlan() {
  static Plan plan;
  return plan;
}

template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

int Failed() {
  errno = ThePlan().error;
  return -1;
}

// Relative paths are taken from the working folder, as the kernel takes them.
std::string Absolute(const char* path) {
  if (path == nullptr || path[0] == '/') return path == nullptr ? "" : path;
  char cwd[PATH_MAX];
  if (::getcwd(cwd, sizeof(cwd)) == nullptr) return path;
  return std::string(cwd) + "/" + path;
}

int OpenCall(const char* name, int dirfd, const char* path, int flags, mode_t mode) {
  const bool writes = (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
  if (writes && (dirfd == AT_FDCWD || path[0] == '/') && ThePlan().Watched(Absolute(path)) &&
      ThePlan().Fails(kOpen)) {
    return Failed();
  }
  if (dirfd == AT_FDCWD && std::strncmp(name, "open", 4) == 0 && name[4] != 'a') {
    using Open = int (*)(const char*, int, ...);
    return Next<Open>(name)(path, flags, mode);
  }
  using OpenAt = int (*)(int, const char*, int, ...);
  return Next<OpenAt>(name)(dirfd, path, flags, mode);
}

mode_t ModeOf(int flags, va_list args) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenCall("open", AT_FDCWD, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenCall("open64", AT_FDCWD, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenCall("openat", dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeOf(flags, args);
  va_end(args);
  return OpenCall("openat64", dirfd, path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
  if (ThePlan().WatchedFd(fd) && ThePlan().Fails(kWrite)) return Failed();
  using Write = ssize_t (*)(int, const void*, size_t);
  return Next<Write>("write")(fd, data, size);
}

int fsync(int fd) {
  if (ThePlan().WatchedFd(fd) && ThePlan().Fails(kFsync)) return Failed();
  using Fsync = int (*)(int);
  return Next<Fsync>("fsync")(fd);
}

int fdatasync(int fd) {
  if (ThePlan().WatchedFd(fd) && ThePlan().Fails(kFsync)) return Failed();
  using Fsync = int (*)(int);
  return Next<Fsync>("fdatasync")(fd);
}

int rename(const char* from, const char* to) {
  if ((ThePlan().Watched(Absolute(from)) || ThePlan().Watched(Absolute(to))) &&
      ThePlan().Fails(kRename)) {
    return Failed();
  }
  using Rename = int (*)(const char*, const char*);
  return Next<Rename>("rename")(from, to);
}

}  // extern "C"
