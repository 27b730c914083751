// The recovery file: an unsaved block is kept beside a lock of this run, so that the next start
// can offer it when this editor was killed; the files of editors still running are left alone.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "document/block_file.h"
#include "document/recovery_file.h"
#include "editor/editor.h"

namespace blok {
namespace {

constexpr std::string_view kRecoveryFolder = "Odzysk";
constexpr std::string_view kRecoveryExtension = ".blkr";
constexpr std::string_view kLockExtension = ".lock";
constexpr std::string_view kSetAsideExtension = ".uszkodzony";

std::filesystem::path LockFileOf(std::filesystem::path recovery_file) {
  return recovery_file.replace_extension(kLockExtension);
}

bool Exists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::exists(file, ignored);
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

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

void Editor::MarkChanged() {
  unsaved_ = true;
  ++change_count_;
  last_change_ = Now();
}

void Editor::MarkUnchanged() {
  unsaved_ = false;
  DropRecoveryFile();
}

void Editor::DropRecoveryFile() {
  if (!recovery_kept_) return;
  recovery_writer_->Remove(recovery_file_);
  recovery_kept_ = false;
}

RecoverySnapshot Editor::TakeRecoverySnapshot() const {
  return {open_file_.value_or(std::filesystem::path()), block_name_, unit_,
          std::vector<std::string>(drawing_.lines().begin(), drawing_.lines().end()), last_change_};
}

bool Editor::KeepRecoveryFile() {
  if (!recovery_writer_) {
    if (!recovery_problem_ || !unsaved_) return false;
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
  if (!unsaved_ || !open_file_) {
    DropRecoveryFile();
    return shown;
  }
  if (recovery_kept_ && recovery_count_ == change_count_ && recovery_name_ == block_name_ &&
      recovery_unit_ == unit_) {
    return shown;
  }
  recovery_writer_->Write(recovery_file_, TakeRecoverySnapshot());
  recovery_kept_ = true;
  recovery_count_ = change_count_;
  recovery_name_ = block_name_;
  recovery_unit_ = unit_;
  return shown;
}

void Editor::WaitForRecoveryFile() {
  if (recovery_writer_) recovery_writer_->WaitIdle();
}

void Editor::TakeRecoveryLock() {
  const std::filesystem::path folder = preferences_.paths().state / kRecoveryFolder;
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
    if (!*lock || Exists(file)) continue;
    recovery_lock_ = std::move(**lock);
    recovery_file_ = file;
    recovery_writer_ = std::make_unique<RecoveryWriter>();
    return;
  }
}

void Editor::OfferRecovery() {
  struct Found {
    std::filesystem::path file;
    HeldLock lock;
    RecoverySnapshot snapshot;
  };
  std::vector<std::filesystem::path> files;
  std::vector<std::filesystem::path> locks;
  std::error_code error;
  for (std::filesystem::directory_iterator it(preferences_.paths().state / kRecoveryFolder, error),
       end;
       !error && it != end; it.increment(error)) {
    if (it->path().extension() == kRecoveryExtension && it->path() != recovery_file_) {
      files.push_back(it->path());
    } else if (it->path().extension() == kLockExtension) {
      locks.push_back(it->path());
    }
  }
  // An editor killed with nothing unsaved leaves its lock file alone: it goes once free.
  for (const std::filesystem::path& lock_file : locks) {
    if (Exists(std::filesystem::path(lock_file).replace_extension(kRecoveryExtension))) continue;
    if (auto lock = HeldLock::TryTake(lock_file); lock && *lock) (*lock)->RemoveAndRelease();
  }
  std::sort(files.begin(), files.end());
  std::vector<Found> found;
  for (const std::filesystem::path& file : files) {
    auto lock = HeldLock::TryTake(LockFileOf(file));
    // Held: its editor is running. Gone meanwhile: another start took it.
    if (!lock || !*lock || !Exists(file)) continue;
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
      RestoreBlock(f.snapshot);
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

void Editor::RestoreBlock(const RecoverySnapshot& snapshot) {
  AnulujPolecenie();
  const std::filesystem::path& library = snapshot.library;
  const bool library_there = Exists(library);
  std::vector<std::string> names;
  if (library_there) {
    if (auto listed = CzytajListeBlokow(library)) {
      names = std::move(*listed);
    } else {
      ShowError(listed.error());
    }
  }
  OpenFile(library, std::move(names));
  drawing_.Load(snapshot.lines);
  journal_.Clear();
  syntax_checked_ = false;
  block_name_ = snapshot.block_name;
  SetUnit(snapshot.unit);
  MarkChanged();
  last_change_ = snapshot.changed_at;
  messages_.Komunikat("Przywrócono niezapisany blok " + block_name_);
  if (!library_there) {
    ui_.ShowMessage("Plik " + library.string() +
                    " nie istnieje. Blok przywrócono; zapisanie go utworzy plik na nowo.");
  }
  view_.Redraw();
}

void Editor::EndRecovery() {
  if (recovery_writer_) DropRecoveryFile();
  recovery_writer_.reset();
  if (recovery_lock_) recovery_lock_->RemoveAndRelease();
  recovery_lock_.reset();
  recovery_file_.clear();
  std::error_code ignored;
  std::filesystem::remove(preferences_.paths().state / kRecoveryFolder,
                          ignored);  // only when empty
}

}  // namespace blok
