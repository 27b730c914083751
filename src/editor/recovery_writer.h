#pragma once

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "document/recovery_file.h"
#include "model/error.h"

namespace blok {

// Writes recovery files on a thread of its own, so that the user never waits for the disk.
// Only the newest snapshot counts: one handed over while a write runs is written after it,
// and the ones it replaced are never written. Removing waits for a write under way, so that no
// write brings back a file that was removed.
class RecoveryWriter {
 public:
  explicit RecoveryWriter(bool durable = true);
  // Writes what is still waiting, then stops.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  void Write(std::filesystem::path file, RecoverySnapshot snapshot);
  // Drops a waiting write and removes the file once no write runs.
  void Remove(const std::filesystem::path& file);
  // Returns when nothing waits and nothing runs.
  void WaitIdle();
  // The failure of the last write, once; a write that succeeds clears it.
  std::optional<Error> TakeError();

 private:
  struct Job {
    std::filesystem::path file;
    RecoverySnapshot snapshot;
  };
  void Run(std::stop_token stop);

  const bool durable_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::condition_variable idle_;
  std::optional<Job> waiting_;
  bool running_ = false;
  std::optional<Error> error_;
  // Last: it stops and joins before the members it uses go.
  std::jthread thread_;
};

}  // namespace blok
