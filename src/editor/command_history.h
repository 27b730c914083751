#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

namespace blok {

// The entries typed into the command line, walked back and forth with Up and Down as a shell
// walks its history. Kept between runs in the state folder.
inline constexpr std::string_view kCommandHistoryFile = "Dane/Historia.txt";

class CommandHistory {
 public:
  static constexpr size_t kMostEntries = 500;

  // An entered line: blank ones are not kept, nor one equal to the newest. Ends any walk.
  // Whether it was kept.
  bool Add(std::string_view entry);
  // Up: the entry before the one shown; the first step from the line being typed keeps that
  // line to come back to. Nothing past the oldest.
  std::optional<std::string> Older(std::string_view typed);
  // Down: the entry after the one shown, and after the newest the line that was being typed.
  // Nothing when no walk is going on.
  std::optional<std::string> Newer();
  // Forgets where a walk stands (the line was edited or entered).
  void EndWalk() { position_.reset(); }

  const std::deque<std::string>& entries() const { return entries_; }
  // Oldest first.
  void Assign(const std::vector<std::string>& entries);

 private:
  std::deque<std::string> entries_;  // oldest first
  std::optional<size_t> position_;   // the entry shown while walking
  std::string typed_;
};

// The remembered entries, oldest first; none when the file does not exist.
Result<std::vector<std::string>> ReadCommandHistory(const std::filesystem::path& file);
Result<void> WriteCommandHistory(const std::filesystem::path& file,
                                 const std::deque<std::string>& entries);
// One entry added at the end of the file, so that a run that is killed keeps what it typed.
Result<void> AppendCommandHistory(const std::filesystem::path& file, std::string_view entry);

}  // namespace blok
