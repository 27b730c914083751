#include "editor/recent_files.h"

#include <algorithm>

#include "editor/data_files.h"

namespace blok {
namespace {

// Both separators count: the list may hold paths written on another system.
std::string FileNameOf(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

void RecentFiles::DodajDoOstatnich(std::string_view path) {
  const auto found = std::ranges::find_if(entries_, [&](const Entry& e) { return e.path == path; });
  if (found != entries_.end()) {
    std::rotate(entries_.begin(), found, found + 1);
    return;
  }
  entries_.insert(entries_.begin(), Entry{std::string(path), FileNameOf(path)});
  if (entries_.size() > kMaxEntries) entries_.pop_back();
}

std::string RecentFiles::Caption(size_t index) const {
  return std::to_string(index + 1) + ". " + entries_.at(index).name;
}

std::vector<std::string> RecentFiles::PathsOldestFirst() const {
  std::vector<std::string> paths;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->path.size() >= kShortestRecentPath) paths.push_back(it->path);
  }
  return paths;
}

}  // namespace blok
