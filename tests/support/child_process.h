#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace blok::testing {

// Runs body in a child process, so that limits and a change of user stay there; true when body
// returned true in the child.
template <typename Body>
bool InChild(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body() ? 0 : 1);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs body in a child process in which every write past 4 KiB fails, as on a full disk.
template <typename Body>
bool OnAFullDisk(Body body) {
  return InChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 && body();
  });
}

}  // namespace blok::testing
