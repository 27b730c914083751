#pragma once

// What the tests of a failing disk share: the calls the preloaded shim (tests/tools/
// failing_disk.cpp) can fail, the errors it fails them with, and the counts it leaves.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "support/test_dir.h"

namespace blok::testing {

constexpr const char* kFailingCalls[] = {"open", "write", "fsync", "rename"};

struct DiskError {
  const char* name;  // as BLOK_FAIL_ERRNO takes it
  int value;
};
constexpr DiskError kDiskErrors[] = {{"ENOSPC", ENOSPC}, {"EIO", EIO}, {"EDQUOT", EDQUOT}};

// The calls of each kind a run made, as the shim wrote them to BLOK_FAIL_COUNT.
inline std::map<std::string, long> FailingDiskCounts(const std::filesystem::path& file) {
  std::map<std::string, long> calls;
  std::ifstream in(file);
  std::string call;
  long count = 0;
  while (in >> call >> count) calls[call] = count;
  return calls;
}

// A folder's files and their bytes, to put back before each failing run.
using FolderFiles = std::map<std::string, std::string>;

inline FolderFiles FilesIn(const std::filesystem::path& folder) {
  FolderFiles files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = ReadBytes(entry.path());
  }
  return files;
}

// The folder holds these files again, and nothing else.
inline void PutBack(const std::filesystem::path& folder, const FolderFiles& files) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!files.contains(entry.path().filename().string())) std::filesystem::remove_all(entry);
  }
  for (const auto& [name, bytes] : files) WriteBytes(folder / name, bytes);
}

}  // namespace blok::testing
