#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "document/recovery_file.h"
#include "editor/edited_block.h"
#include "editor/library.h"
#include "editor/messages.h"
#include "editor/recovery_writer.h"
#include "editor/ui.h"
#include "model/error.h"

namespace blok {

// The recovery file: an unsaved block outlives a killed editor. Each run keeps its own file
// beside a lock in <state>/Odzysk; a start offers the files that editors no longer running
// left behind.
class Recovery {
 public:
  Recovery(std::filesystem::path state_dir, Ui& ui, Messages& messages, const EditedBlock& block,
           const Library& library);
  ~Recovery();
  Recovery(const Recovery&) = delete;
  Recovery& operator=(const Recovery&) = delete;

  // At start: this run's lock (once), so that an unsaved block is kept from the first change.
  void Begin();
  // Offers the recovery files that editors no longer running left behind, newest first; the
  // one the user takes back goes to restore.
  void OfferRecovery(const std::function<void(const RecoverySnapshot&)>& restore);
  // The window calls this about once a second: an unsaved block that changed since the last
  // call goes to the recovery file, written on a thread of its own. True when it added a
  // message (a write that failed).
  bool KeepRecoveryFile();
  // What the recovery file is written from, taken at once on the caller's thread.
  RecoverySnapshot TakeRecoverySnapshot() const;
  // Returns when the recovery file holds the last snapshot handed over.
  void WaitForRecoveryFile();
  // This run's recovery file beside its lock file in <state>/Odzysk; empty before Start, and
  // when no lock could be made there (then nothing is kept).
  const std::filesystem::path& recovery_file() const { return recovery_file_; }
  // The block is as saved: the recovery file goes.
  void DropRecoveryFile();
  // The clean end: the recovery file and the lock go.
  void EndRecovery();

 private:
  // A lock of this run's own in the recovery folder, and a writer for its recovery file.
  void TakeRecoveryLock();
  std::filesystem::path state_dir_;
  Ui& ui_;
  Messages& messages_;
  const EditedBlock& block_;
  const Library& library_;

  std::optional<HeldLock> recovery_lock_;
  std::filesystem::path recovery_file_;
  std::optional<Error> recovery_problem_;  // why no lock could be made, until shown
  // What the last snapshot handed to the writer was of; kept_ while its file exists.
  bool recovery_kept_ = false;
  uint64_t recovery_count_ = 0;
  std::string recovery_name_;
  std::string recovery_unit_;
  bool recovery_failure_shown_ = false;
  // After the lock: it finishes its write before the lock goes.
  std::unique_ptr<RecoveryWriter> recovery_writer_;
};

}  // namespace blok
