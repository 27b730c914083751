// What the fuzz targets share: a failed check that stops the run where libFuzzer sees it, and
// a folder of their own for the files they write.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace blok::fuzz {

// The check's file and line go to stderr first, so that an inlined check is found at once.
inline void Require(bool condition, const char* file = __builtin_FILE(),
                    int line = __builtin_LINE()) {
  if (condition) return;
  std::fprintf(stderr, "check failed at %s:%d\n", file, line);
  std::abort();
}

// Made at the first call, in the system's temporary folder.
inline const std::filesystem::path& WorkDir() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "blok-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr);
    return std::filesystem::path(pattern);
  }();
  return dir;
}

}  // namespace blok::fuzz
