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

// The arguments are already quoted for the shell; standard input comes from a file. env, when
// given, is put before the command: "NAME=value ...".
inline BlkRun BlkFrom(const std::string& args, const std::filesystem::path& input,
                      const std::string& env = "") {
  static const std::string blk = std::string(BLOK_BIN_DIR) + "/blk";
  TestDir dir;
  const std::string command = (env.empty() ? "" : env + " ") + blk + " " + args + " < " +
                              input.string() + " 2>" + (dir / "err").string();
  BlkRun run{0, "", ""};
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadBytes(dir / "err");
  return run;
}

inline BlkRun BlkWithInput(const std::string& args, const std::string& input = "",
                           const std::string& env = "") {
  TestDir dir;
  WriteBytes(dir / "in", input);
  return BlkFrom(args, dir / "in", env);
}

}  // namespace blok::testing
