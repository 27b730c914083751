#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/text_file.h"
#include "model/error.h"

namespace blok {

// A block not yet saved, as kept in a recovery file so that it outlives a killed editor.
struct RecoverySnapshot {
  std::filesystem::path library;
  std::string block_name;
  std::string unit;
  std::vector<std::string> lines;
  int64_t changed_at = 0;  // the last change, seconds since the epoch
};

// The recovery file's bytes: UTF-8, one field a line after a line naming the format and its
// version, the entity lines counted and closed by an end line, so that a file cut short is
// told from a whole one. Line ends, CRs and backslashes inside fields are escaped.
std::string FormatRecovery(const RecoverySnapshot& snapshot);
// Untrusted bytes: anything but a whole file of this version is refused with the reason.
Result<RecoverySnapshot> ParseRecovery(std::string_view bytes);

// Written as libraries are: a reader sees the old file or the new one, never a part.
Result<void> WriteRecoveryFile(const std::filesystem::path& file, const RecoverySnapshot& snapshot,
                               bool durable = true);
Result<RecoverySnapshot> ReadRecoveryFile(const std::filesystem::path& file);

// An exclusive flock on a lock file, held while the object lives. A lock file whose lock can
// be taken belongs to no running editor.
class HeldLock {
 public:
  // Nothing when another open file holds the lock; an error when the file cannot be made.
  static Result<std::optional<HeldLock>> TryTake(const std::filesystem::path& file);
  const std::filesystem::path& file() const { return file_; }
  // Unlinks the lock file, then lets the lock go.
  void RemoveAndRelease();

 private:
  HeldLock(std::filesystem::path file, UniqueFd fd) : file_(std::move(file)), fd_(std::move(fd)) {}
  std::filesystem::path file_;
  UniqueFd fd_;
};

}  // namespace blok
