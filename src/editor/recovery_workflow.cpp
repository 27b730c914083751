// The recovery file: an unsaved block is kept beside a lock of this run, so that the next start
// can offer it when this editor was killed; the files of editors still running are left alone.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "document/block_file.h"
#include "document/recovery_file.h"
#include "editor/recovery.h"

namespace blok {
namespace {

constexpr std::string_view kRecoveryFolder = "Odzysk";
constexpr std::string_view kRecoveryExtension = ".blkr";
constexpr std::string_view kLockExtension = ".lock";
constexpr std::string_view kSetAsideExtension = ".uszkodzony";

std::filesystem::path LockFileOf(std::filesystem::path recovery_file) {
  return recovery_file.replace_extension(kLockExtension);
}

std::string LocalTime(int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm local{};
  char text[32] = "?";
  if (::localtime_r(&time, &local) != nullptr) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  }
  return text;
}

}  // namespace

Recovery::Recovery(std::filesystem::path state_dir, Ui& ui, Messages& messages,
                   const EditedBlock& block, const Library& library)
    : state_dir_(std::move(state_dir)),
      ui_(ui),
      messages_(messages),
      block_(block),
      library_(library) {}

Recovery::~Recovery() = default;

void Recovery::Begin() {
  if (!recovery_lock_) TakeRecoveryLock();
}

void Recovery::DropRecoveryFile() {
  if (!recovery_kept_) return;
  recovery_writer_->Remove(recovery_file_);
  recovery_kept_ = false;
}

RecoverySnapshot Recovery::TakeRecoverySnapshot() const {
  return {
      library_.open_file().value_or(std::filesystem::path()), block_.block_name(), block_.unit(),
      std::vector<std::string>(block_.drawing().lines().begin(), block_.drawing().lines().end()),
      block_.changes().at};
}

bool Recovery::KeepRecoveryFile() {
  if (!recovery_writer_) {
    if (!recovery_problem_ || !block_.unsaved()) return false;
    messages_.Komunikat("Niezapisany blok nie jest chroniony: " + recovery_problem_->message);
    recovery_problem_.reset();
    return true;
  }
  bool shown = false;
  if (auto failed = recovery_writer_->TakeError(); failed && !recovery_failure_shown_) {
    // Once a run: a full disk would fill the pane otherwise.
    recovery_failure_shown_ = true;
    messages_.Komunikat("Nie można zapisać pliku odzyskiwania: " + failed->message);
    shown = true;
  }
  if (!block_.unsaved() || !library_.open_file()) {
    DropRecoveryFile();
    return shown;
  }
  if (recovery_kept_ && recovery_count_ == block_.changes().count &&
      recovery_name_ == block_.block_name() && recovery_unit_ == block_.unit()) {
    return shown;
  }
  recovery_writer_->Write(recovery_file_, TakeRecoverySnapshot());
  recovery_kept_ = true;
  recovery_count_ = block_.changes().count;
  recovery_name_ = block_.block_name();
  recovery_unit_ = block_.unit();
  return shown;
}

void Recovery::WaitForRecoveryFile() {
  if (recovery_writer_) recovery_writer_->WaitIdle();
}

void Recovery::TakeRecoveryLock() {
  const std::filesystem::path folder = state_dir_ / kRecoveryFolder;
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::string pid = std::to_string(::getpid());
  // Another editor of this process, or a dead one of the same number whose file waits to be
  // offered, makes this run take the next name.
  for (int n = 0; n < 100; ++n) {
    const std::string id = n == 0 ? pid : pid + "-" + std::to_string(n);
    const std::filesystem::path file = folder / (id + std::string(kRecoveryExtension));
    auto lock = HeldLock::TryTake(LockFileOf(file));
    if (!lock) {
      // A folder we may not write: nothing is kept, and the first change says so.
      recovery_problem_ = lock.error();
      return;
    }
    if (!*lock || FileExists(file)) continue;
    recovery_lock_ = std::move(**lock);
    recovery_file_ = file;
    recovery_writer_ = std::make_unique<RecoveryWriter>();
    return;
  }
}

void Recovery::OfferRecovery(const std::function<void(const RecoverySnapshot&)>& restore) {
  struct Found {
    std::filesystem::path file;
    HeldLock lock;
    RecoverySnapshot snapshot;
  };
  std::vector<std::filesystem::path> files;
  std::vector<std::filesystem::path> locks;
  std::error_code error;
  for (std::filesystem::directory_iterator it(state_dir_ / kRecoveryFolder, error), end;
       !error && it != end; it.increment(error)) {
    if (it->path().extension() == kRecoveryExtension && it->path() != recovery_file_) {
      files.push_back(it->path());
    } else if (it->path().extension() == kLockExtension) {
      locks.push_back(it->path());
    }
  }
  // An editor killed with nothing unsaved leaves its lock file alone: it goes once free.
  for (const std::filesystem::path& lock_file : locks) {
    if (FileExists(std::filesystem::path(lock_file).replace_extension(kRecoveryExtension)))
      continue;
    if (auto lock = HeldLock::TryTake(lock_file); lock && *lock) (*lock)->RemoveAndRelease();
  }
  std::sort(files.begin(), files.end());
  std::vector<Found> found;
  for (const std::filesystem::path& file : files) {
    auto lock = HeldLock::TryTake(LockFileOf(file));
    // Held: its editor is running. Gone meanwhile: another start took it.
    if (!lock || !*lock || !FileExists(file)) continue;
    RemoveLeftovers(file);
    auto snapshot = ReadRecoveryFile(file);
    if (!snapshot) {
      std::filesystem::path aside = file;
      aside += kSetAsideExtension;
      std::filesystem::rename(file, aside, error);
      ui_.ShowMessage(snapshot.error().message + "\nPlik odłożono jako " + aside.string() + ".");
      (*lock)->RemoveAndRelease();
      continue;
    }
    found.push_back({file, std::move(**lock), std::move(*snapshot)});
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.snapshot.changed_at > b.snapshot.changed_at;
  });
  for (Found& f : found) {
    const Answer answer =
        ui_.Ask("Znaleziono niezapisany blok " +
                (f.snapshot.block_name.empty() ? std::string("bez nazwy")
                                               : "„" + f.snapshot.block_name + "”") +
                " z pliku " + f.snapshot.library.string() + " (ostatnia zmiana " +
                LocalTime(f.snapshot.changed_at) + "). Przywrócić?");
    if (answer == Answer::kKasuj) continue;  // offered again at the next start
    if (answer == Answer::kTak) {
      restore(f.snapshot);
      // The file becomes this run's at once, so that no moment is left without it; the rest
      // wait for the next start.
      if (recovery_file_.empty() || std::rename(f.file.c_str(), recovery_file_.c_str()) != 0) {
        ::unlink(f.file.c_str());
      } else {
        recovery_kept_ = true;
      }
      f.lock.RemoveAndRelease();
      return;
    }
    ::unlink(f.file.c_str());
    f.lock.RemoveAndRelease();
  }
}

void Recovery::EndRecovery() {
  if (recovery_writer_) DropRecoveryFile();
  recovery_writer_.reset();
  if (recovery_lock_) recovery_lock_->RemoveAndRelease();
  recovery_lock_.reset();
  recovery_file_.clear();
  std::error_code ignored;
  std::filesystem::remove(state_dir_ / kRecoveryFolder, ignored);  // only when empty
}

}  // namespace blok
