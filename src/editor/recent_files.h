#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace blok {

// The recent-files menu: up to four block files, most recent first.
class RecentFiles {
 public:
  static constexpr size_t kMaxEntries = 4;

  struct Entry {
    std::string path;  // full path, compared exactly
    std::string name;  // the file name without its directory
  };

  // Makes path entry 1. A path already listed moves up, closing its gap; a new one pushes the
  // others down and the oldest of four drops out. The file need not exist.
  void DodajDoOstatnich(std::string_view path);

  const std::vector<Entry>& entries() const { return entries_; }
  // "1. name" for entry 0, and so on.
  std::string Caption(size_t index) const;
  // The paths to remember at exit, oldest first; an entry of 3 characters or fewer is none.
  std::vector<std::string> PathsOldestFirst() const;

 private:
  std::vector<Entry> entries_;
};

}  // namespace blok
