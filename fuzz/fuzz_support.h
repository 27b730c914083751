// What the fuzz targets share: a failed check that stops the run where libFuzzer sees it, a
// folder of their own for the files they write, and a file's bytes written and read.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

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

// The file holds exactly bytes.
inline void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(out.good());
}

// Empty for a file that cannot be read.
inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace blok::fuzz
