#pragma once

// blk run through its real binary, as a person at a shell runs it. BLOK_BIN_DIR is where the
// build puts it.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_dir.h"

namespace blok::testing {

struct BlkRun {
  int status;
  std::string out;
  std::string err;
};

// The arguments are already quoted for the shell; standard input comes from a file.
inline BlkRun BlkFrom(const std::string& args, const std::filesystem::path& input) {
  static const std::string blk = std::string(BLOK_BIN_DIR) + "/blk";
  TestDir dir;
  const std::string command =
      blk + " " + args + " < " + input.string() + " 2>" + (dir / "err").string();
  BlkRun run{0, "", ""};
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadBytes(dir / "err");
  return run;
}

inline BlkRun BlkWithInput(const std::string& args, const std::string& input = "") {
  TestDir dir;
  WriteBytes(dir / "in", input);
  return BlkFrom(args, dir / "in");
}

}  // namespace blok::testing
