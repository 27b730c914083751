// What the fuzz targets share: a failed check that stops the run where libFuzzer sees it, and
// a folder of their own for the files they write.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace blok::fuzz {

inline void Require(bool condition) {
  if (!condition) std::abort();
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
